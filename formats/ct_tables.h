// Tables shared by the CT binary log formats: CT contest numbers, radio models, band numbers, the
// Sweepstakes precedence bits, and how a CT report word becomes the QSO's reports.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "core/contest_header.h"
#include "core/qso_record.h"

namespace quorvel {

/// Offsets and widths in the 50-byte QSO record of CT versions 8 and 9.
namespace ct_record {
constexpr std::size_t kCall = 0;
constexpr std::size_t kCallWidth = 16;
constexpr std::size_t kCallLimit = 13;
constexpr std::size_t kExchange = 16;
constexpr std::size_t kExchangeWidth = 8;
constexpr std::size_t kFdSectionWidth = 5;
constexpr std::size_t kBand = 24;
constexpr std::size_t kMode = 25;
constexpr std::size_t kFlags = 26;
constexpr std::size_t kAuxDigit = 27;
constexpr std::size_t kReport = 28;
constexpr std::size_t kSecondNumber = 30;
constexpr std::size_t kFdTransmitters = 32;
constexpr std::size_t kFdCategory = 33;
constexpr std::size_t kTime = 42;
constexpr std::size_t kSsCheck = 46;
constexpr std::size_t kExchWord = 46;
constexpr std::size_t kQslSent = 48;
// Version 9 only: the frequency in Hz, and the Sweepstakes precedence letter from 9.37 on.
constexpr std::size_t kFrequencyHz = 34;
constexpr std::size_t kSsPrecedenceLetter = 47;
}  // namespace ct_record

/// CT keeps QSO times seven hours ahead of UTC.
inline constexpr std::int32_t kCtTimeOffset = 25200;

/// Contest code of each CT contest number 0..14; higher CT numbers name no contest.
inline constexpr std::uint8_t kCtContestCodes[] = {
    kContestCqww,   kContestCq160,   kContestWpx, kContestArrlDx, kContestArrlDxFromDx,
    kContestArrl10, kContestArrl160, kContestSs,  kContestVhfQso, kContestFd,
    kContestWae,    kContestDxped,   kContestCqp, kContestIaru,   kContestAllAsian};
inline constexpr int kCtContestNumberCount = sizeof kCtContestCodes;

/// Contest code of a CT contest number; 0 when the number names no contest.
constexpr int ContestFromCtNumber(unsigned number) {
  return number < kCtContestNumberCount ? kCtContestCodes[number] : 0;
}

/// CT contest number of a contest code; an unknown contest (0) is stored like CQWW. -1 for a
/// contest CT has no number for.
constexpr int CtNumberFromContest(int code) {
  if (code == kContestNone) return 0;
  for (int number = 0; number < kCtContestNumberCount; ++number) {
    if (kCtContestCodes[number] == code) return number;
  }
  return -1;
}

/// Radio models by the index CT stores.
inline constexpr std::string_view kCtRadios[] = {"NONE",  "TS440", "TS850", "TS940", "TS950",
                                                 "IC725", "IC735", "IC751", "IC761", "IC765",
                                                 "IC781", "FT890", "FT990", "FT1000"};
inline constexpr int kCtRadioCount = sizeof kCtRadios / sizeof kCtRadios[0];

/// Band code of each CT band number; numbers past the table are band 0 (unknown).
using CtBandTable = std::array<std::uint8_t, 16>;
/// HF contests: 160, 80, 40, 20, 15 and 10 m, then novice, satellite and packet.
inline constexpr CtBandTable kCtBandsGeneral = {0, 1, 2, 3, 5, 7, 9, 0, 0, 0, 29, 27, 28, 0, 0, 0};
/// VHF QSO party: 6 m up to 2 cm, then light.
inline constexpr CtBandTable kCtBandsVhf = {0,  10, 12, 13, 14, 15, 16, 17,
                                            18, 19, 20, 21, 30, 0,  0,  0};
/// DXpedition logs: every HF band including 30, 17 and 12 m, then satellite.
inline constexpr CtBandTable kCtBandsDxped = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 27, 0, 0, 0, 0, 0};

/// CT version 9's HF table: as version 8's, with novice, satellite and packet one number up.
inline constexpr CtBandTable kCt9BandsGeneral = {0, 1, 2, 3, 5, 7, 9, 0, 0, 0, 0, 29, 27, 28, 0, 0};

/// Mode code of each CT version 9 mode number (CW, SSB, then FM at 4); others are no mode.
inline constexpr std::uint8_t kCt9Modes[] = {0, kModeCw, kModeSsb, 0, kModeFm, 0, 0, 0};
constexpr std::uint8_t Ct9Mode(unsigned number) {
  return number < std::size(kCt9Modes) ? kCt9Modes[number] : 0;
}

/// Band code of a CT band number in a log of `contest`. `general` is the table of the contests
/// without one of their own. A 10-metre contest log is on 10 m whatever the record says.
constexpr std::uint8_t CtBandFromNumber(int contest, unsigned number,
                                        const CtBandTable& general = kCtBandsGeneral) {
  if (contest == kContestArrl10) return 9;
  const CtBandTable& table = contest == kContestVhfQso  ? kCtBandsVhf
                             : contest == kContestDxped ? kCtBandsDxped
                                                        : general;
  return number < table.size() ? table[number] : 0;
}

/// CT band number of each band code 0..31 for one band table: its inverse. A band the table
/// does not carry is stored as 0 (unknown), never as another band's number.
using CtBandNumbers = std::array<std::uint8_t, 32>;
constexpr CtBandNumbers InvertCtBandTable(const CtBandTable& table) {
  CtBandNumbers numbers{};
  for (std::size_t number = 1; number < table.size(); ++number) {
    std::uint8_t band = table[number];
    if (band != 0 && numbers[band] == 0) numbers[band] = static_cast<std::uint8_t>(number);
  }
  return numbers;
}
inline constexpr CtBandNumbers kCtNumbersGeneral = InvertCtBandTable(kCtBandsGeneral);
inline constexpr CtBandNumbers kCtNumbersVhf = InvertCtBandTable(kCtBandsVhf);
inline constexpr CtBandNumbers kCtNumbersDxped = InvertCtBandTable(kCtBandsDxped);

/// CT band number of a band code in a log of `contest`; 0 for a band the contest's CT band
/// numbering does not have.
constexpr std::uint8_t CtNumberFromBand(int contest, unsigned band) {
  const CtBandNumbers& numbers = contest == kContestVhfQso  ? kCtNumbersVhf
                                 : contest == kContestDxped ? kCtNumbersDxped
                                                            : kCtNumbersGeneral;
  return band < numbers.size() ? numbers[band] : 0;
}

/// The received report of a CT report word: outside CW a three-digit report loses its tone
/// digit; in CW a two-digit report gets the tone digit 9.
constexpr int CtReceivedReport(int word, int mode) {
  if (mode != kModeCw && word > 59) return word / 10;
  if (mode == kModeCw && word < 100) return word * 10 + 9;
  return word;
}

/// CT logs hold no sent report: 599 for the modes with a tone digit, else 59.
constexpr std::uint16_t CtSentReport(int mode) {
  return (mode == kModeCw || mode == kModeRtty || mode == kModePkt) ? 599 : 59;
}

/// A Field Day class in a QSO record: a transmitter count or category of 0 is none, the
/// record's blank.
inline void SetFieldDayClass(QsoRecord& record, std::uint8_t transmitters, std::uint8_t category) {
  record.prec = transmitters != 0 ? static_cast<char>(transmitters) : ' ';
  record.check = category != 0 ? static_cast<char>(category) : ' ';
}

/// Sweepstakes precedence in the flag bits of a CT QSO record.
inline constexpr std::uint8_t kCtPrecedenceB = 0x40;
inline constexpr std::uint8_t kCtPrecedenceA = 0x04;

constexpr char SsPrecedenceFromFlags(std::uint8_t flags) {
  switch (flags & (kCtPrecedenceA | kCtPrecedenceB)) {
    case 0:
      return 'Q';
    case kCtPrecedenceB:
      return 'B';
    default:
      return 'A';
  }
}

constexpr std::uint8_t FlagsFromSsPrecedence(char letter) {
  if (letter == 'B') return kCtPrecedenceB;
  if (letter == 'A') return kCtPrecedenceA;
  return 0;
}

}  // namespace quorvel
