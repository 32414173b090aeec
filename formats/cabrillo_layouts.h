// What the Cabrillo writer and reader share: the contest names, each contest's layout of the
// exchange columns and where its exchanges come from and go to, and the words of the mode and
// frequency columns.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/contest_header.h"
#include "core/qso_record.h"

namespace quorvel::cabrillo {

/// The columns of a QSO line after the date and time. Each layout is the sent half (own call
/// first) followed by the received half (worked call first), the same number of columns each;
/// an optional transmitter number may end the line.
enum class Layout : std::uint8_t {
  kReports,      // call, report, exchange
  kSweepstakes,  // call, serial, precedence, check, section
  kVhf,          // call, report (may be left out), grid
  kQsoParty,     // call, serial, name (may be left out), location
  kNaqp,         // call, name, location
  kFieldDay,     // call, class (transmitters and category letter), section
  kGeneral,      // call, report when it is one, the exchange words
};

/// The columns of each half of a layout, the calls included; 0 for a layout whose halves are
/// as long as the line makes them.
constexpr std::size_t HalfColumns(Layout layout) {
  switch (layout) {
    case Layout::kReports:
    case Layout::kNaqp:
    case Layout::kFieldDay:
      return 3;
    case Layout::kSweepstakes:
      return 5;
    case Layout::kVhf:
      return 3;  // 2 without the reports
    case Layout::kQsoParty:
      return 4;  // 3 without the names
    case Layout::kGeneral:
      return 0;
  }
  return 0;
}

/// The sent exchange of layout R: where the writer takes it from and the reader puts it.
enum class SentExchange : std::uint8_t {
  kUnknown,          // "???": the log holds no such value
  kPower,            // "????": the power sent from outside W/VE in the ARRL DX contest
  kSerial,           // the contact's serial sent (`stx`), "???" when there is none
  kZone,             // the header's zone, two digits, "??" when there is none
  kSerialOutsideNa,  // "???" from W/VE, the serial sent from anywhere else
};

/// The received exchange of layout R.
enum class ReceivedExchange : std::uint8_t {
  kText,         // `rcvd_exch`, or where other logs keep the exchange (state, section, QTH)
  kCqZone,       // `cqz`, two digits
  kSerial,       // `srx`, "%5d"
  kItuZone,      // `ituz`, two digits; a society's name (not a number) in `rcvd_exch`
  kSerialState,  // the serial, else the state, else the text; read back as the text
};

/// One Cabrillo contest name and what its QSO lines hold. A name ending in '-' is a stem:
/// the log's mode (or for the VHF party the month) completes it.
struct Contest {
  std::uint8_t contest;
  std::string_view name;
  Layout layout;
  SentExchange sent = SentExchange::kUnknown;
  ReceivedExchange received = ReceivedExchange::kText;
  /// The writer writes the contest, under the first name of its code.
  bool written = true;
};

using L = Layout;
using S = SentExchange;
using R = ReceivedExchange;

inline constexpr Contest kContests[] = {
    {kContestSs, "ARRL-SS-", L::kSweepstakes},
    {kContestArrlDx, "ARRL-DX-", L::kReports},
    {kContestCqww, "CQ-WW-", L::kReports, S::kUnknown, R::kCqZone},
    {kContestWpx, "CQ-WPX-", L::kReports, S::kSerial, R::kSerial},
    {kContestIaru, "IARU-HF", L::kReports, S::kZone, R::kItuZone},
    {kContestArrl10, "ARRL-10", L::kReports, S::kSerialOutsideNa, R::kSerialState},
    {kContestArrl160, "ARRL-160", L::kReports},
    {kContestCq160, "CQ-160-", L::kReports},
    {kContestCqp, "CA-QSO-PARTY", L::kQsoParty},
    {kContestArrlDxFromDx, "ARRL-DX-", L::kReports, S::kPower},
    {kContestVhfQso, "ARRL-VHF-", L::kVhf},
    {kContestNaqp, "NAQP-", L::kNaqp},
    {kContestSprint, "NA-SPRINT-", L::kQsoParty},
    {kContestStewPerry, "STEW-PERRY", L::kReports},
    // Read only: contests the writer does not write, and other names of written ones.
    {kContestFd, "ARRL-FD", L::kFieldDay, S::kUnknown, R::kText, false},
    {kContestCqp, "NCCC-CQP", L::kQsoParty, S::kUnknown, R::kText, false},
    {kContestCqp, "CQP", L::kQsoParty, S::kUnknown, R::kText, false},
    {kContestWae, "DARC-WAEDC-", L::kGeneral, S::kUnknown, R::kText, false},
    {kContestAllAsian, "AADX-", L::kGeneral, S::kUnknown, R::kText, false},
    {kContestAllAsian, "AA-", L::kGeneral, S::kUnknown, R::kText, false},
    {kContestGridloc, "GRIDLOC", L::kGeneral, S::kUnknown, R::kText, false},
    {kContestYodx, "YODX-HF", L::kGeneral, S::kUnknown, R::kText, false},
    {kContestYodx, "YO-DX-HF", L::kGeneral, S::kUnknown, R::kText, false},
    {kContestKcj, "KCJ", L::kGeneral, S::kUnknown, R::kText, false},
    {kContestKcj, "KCJ-", L::kGeneral, S::kUnknown, R::kText, false},
    {kContestTenTen, "10-10-", L::kGeneral, S::kUnknown, R::kText, false},
    {kContestSac, "SAC-", L::kGeneral, S::kUnknown, R::kText, false},
    {kContestToec, "TOEC", L::kGeneral, S::kUnknown, R::kText, false},
    {kContestJadx, "JIDX-", L::kGeneral, S::kUnknown, R::kText, false},
    {kContestArci, "ARCI-", L::kGeneral, S::kUnknown, R::kText, false},
    {kContestIota, "RSGB-IOTA", L::kGeneral, S::kUnknown, R::kText, false},
    {kContestInternetSprint, "INTERNET-SPRINT", L::kGeneral, S::kUnknown, R::kText, false},
    {kContestHelvetia, "HELVETIA", L::kGeneral, S::kUnknown, R::kText, false},
    {kContestWag, "DARC-WAG", L::kGeneral, S::kUnknown, R::kText, false},
    {kContestWag, "WAG", L::kGeneral, S::kUnknown, R::kText, false},
    {kContestAri, "ARI-DX", L::kGeneral, S::kUnknown, R::kText, false},
    {kContestRac, "RAC-", L::kGeneral, S::kUnknown, R::kText, false},
};

/// The contest of a code, as the writer writes it; null for a code it does not write.
constexpr const Contest* WrittenContest(int code) {
  for (const Contest& entry : kContests) {
    if (entry.written && entry.contest == code) return &entry;
  }
  return nullptr;
}

/// The layout a log of no known contest is read with.
inline constexpr Contest kGeneralContest = {kContestNone, "",       L::kGeneral,
                                            S::kUnknown,  R::kText, false};

/// The mode column's words by mode code. TOR, packet, PACTOR, G-TOR and every mode without a
/// code (FT8, PSK31) are the digital "DG"; AM is phone.
inline constexpr std::string_view kModeUnknown = "?MODE?";
inline constexpr std::string_view kDigitalWord = "DG";
inline constexpr std::string_view kModeWords[kModeCount + 1] = {
    kModeUnknown, "CW",         "PH",         "RY",         "PH",
    "FM",         kDigitalWord, kDigitalWord, kDigitalWord, kDigitalWord};

/// The frequency column for contacts without a frequency in kHz: the lower edge of each HF
/// band in kHz, the band designators from 6 m up. Satellite, packet and novice pseudo-bands
/// (27 to 29) have none. Band 21 (2 cm) shares 24G with 1.25 cm, which it is read back as.
inline constexpr std::string_view kBandUnknown = "?BAND?";
inline constexpr std::string_view kBandWords[kBandCount + 1] = {
    "",    "1800", "3500", "7000", "10000", "14000", "18068", "21000", "24890", "28000", "50",
    "70",  "144",  "222",  "432",  "902",   "1.2G",  "2.3G",  "3.4G",  "5.7G",  "10G",   "24G",
    "24G", "47G",  "119G", "142G", "241G",  "",      "",      "",      "LIGHT"};
inline constexpr int kFirstBandAboveHf = 10;

/// The operator words of the 2.0 CATEGORY line by category code.
inline constexpr std::string_view kCategoryWords[] = {
    "SINGLE-OP",   "SINGLE-OP-ASSISTED",     "MULTI-ONE", "MULTI-TWO",
    "MULTI-MULTI", "SINGLE-OP-QRP-PORTABLE", "SINGLE-OP", "SINGLE-OP",
    "ROVER",       "MULTI-LIMITED"};

/// Power words by power category.
inline constexpr std::string_view kPowerUnknown = "?PWR?";
inline constexpr std::string_view kPowerWords[] = {kPowerUnknown, "QRP", "LOW", "HIGH"};

/// The placeholder of the VHF party's month.
inline constexpr std::string_view kMonthUnknown = "?MON?";

}  // namespace quorvel::cabrillo
