// Round-trip properties of the four formats that both write and read: thousands of seeded
// random contacts per contest are written by the format's writer and read back by its reader,
// and every field the contest's layout carries must come back as the writer was given it
// (after the format's documented changes: CT's upper case, the words of text logs). Fields a
// layout does not carry are named beside each format and not compared.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/bands.h"
#include "core/numbers.h"
#include "formats/adif_log_file.h"
#include "formats/arrl_log_file.h"
#include "formats/cabrillo_log_file.h"
#include "formats/ct8_log_file.h"
#include "formats/ct_tables.h"
#include "formats/received_exchange.h"
#include "formats/trlog_log_file.h"
#include "log_test_support.h"
#include "random_qso.h"

namespace quorvel {
namespace {

using testing::QsoRanges;
using testing::RandomQso;

constexpr int kRecordsPerContest = 2000;

// ---- the fields compared, one row each ----

enum Field : std::uint64_t {
  kCall = 1ull << 0,
  kTimeOn = 1ull << 1,
  kTimeOff = 1ull << 2,
  kBand = 1ull << 3,
  kFreq = 1ull << 4,
  kMode = 1ull << 5,
  kContest = 1ull << 6,
  kTxPwr = 1ull << 7,
  kStx = 1ull << 8,
  kSrx = 1ull << 9,
  kName = 1ull << 10,
  kCqz = 1ull << 11,
  kItuz = 1ull << 12,
  kQth = 1ull << 13,
  kSection = 1ull << 14,
  kState = 1ull << 15,
  kRstSent = 1ull << 16,
  kRstRcvd = 1ull << 17,
  kTenTen = 1ull << 18,
  kArci = 1ull << 19,
  kAge = 1ull << 20,
  kExchange = 1ull << 21,
  kComment = 1ull << 22,
  kPrec = 1ull << 23,
  kCheck = 1ull << 24,
  kPoints = 1ull << 25,
  kMultCount = 1ull << 26,
  kMults = 1ull << 27,
  kExchWord = 1ull << 28,
  kQslSent = 1ull << 29,
  kAuxDigit = 1ull << 30,
  kGrid = 1ull << 31,
};

std::string Number(std::int64_t value) {
  return std::to_string(value);
}
std::string Byte(char value) {
  return std::to_string(static_cast<unsigned char>(value));
}
std::string Report(std::int16_t value, bool with_sign) {
  return Number(value) + (with_sign ? " signed" : "");
}

struct FieldRow {
  Field field;
  const char* name;
  std::string (*show)(const QsoRecord&);
};

constexpr FieldRow kFieldRows[] = {
    {kCall, "call", [](const QsoRecord& r) { return std::string(r.Call()); }},
    {kTimeOn, "time_on", [](const QsoRecord& r) { return Number(r.time_on); }},
    {kTimeOff, "time_off", [](const QsoRecord& r) { return Number(r.time_off); }},
    {kBand, "band", [](const QsoRecord& r) { return Number(r.band); }},
    {kFreq, "freq", [](const QsoRecord& r) { return Number(r.freq); }},
    {kMode, "mode", [](const QsoRecord& r) { return Number(r.mode); }},
    {kContest, "contest", [](const QsoRecord& r) { return Number(r.contest); }},
    {kTxPwr, "tx_pwr", [](const QsoRecord& r) { return Number(r.tx_pwr); }},
    {kStx, "stx", [](const QsoRecord& r) { return Number(r.stx); }},
    {kSrx, "srx", [](const QsoRecord& r) { return Number(r.srx); }},
    {kName, "name", [](const QsoRecord& r) { return std::string(r.Name()); }},
    {kCqz, "cqz", [](const QsoRecord& r) { return Number(r.cqz); }},
    {kItuz, "ituz", [](const QsoRecord& r) { return Number(r.ituz); }},
    {kQth, "qth", [](const QsoRecord& r) { return std::string(r.Qth()); }},
    {kSection, "arrl_sect", [](const QsoRecord& r) { return std::string(r.ArrlSect()); }},
    {kState, "state", [](const QsoRecord& r) { return std::string(r.State()); }},
    {kRstSent, "rst_sent",
     [](const QsoRecord& r) { return Report(r.rst_sent, r.report_signs & kSignedRstSent); }},
    {kRstRcvd, "rst_rcvd",
     [](const QsoRecord& r) { return Report(r.rst_rcvd, r.report_signs & kSignedRstRcvd); }},
    {kTenTen, "ten_ten", [](const QsoRecord& r) { return Number(r.ten_ten); }},
    {kArci, "arci_num", [](const QsoRecord& r) { return Number(r.arci_num); }},
    {kAge, "age", [](const QsoRecord& r) { return Number(r.age); }},
    {kExchange, "rcvd_exch", [](const QsoRecord& r) { return std::string(r.RcvdExch()); }},
    {kComment, "comment", [](const QsoRecord& r) { return std::string(r.Comment()); }},
    {kPrec, "prec", [](const QsoRecord& r) { return Byte(r.prec); }},
    {kCheck, "check", [](const QsoRecord& r) { return Byte(r.check); }},
    {kPoints, "points", [](const QsoRecord& r) { return Number(r.points); }},
    {kMultCount, "mult_count", [](const QsoRecord& r) { return Number(r.mult_count); }},
    {kMults, "mults", [](const QsoRecord& r) { return std::string(r.Mults()); }},
    {kExchWord, "exch_word", [](const QsoRecord& r) { return Number(r.exch_word); }},
    {kQslSent, "qsl_sent", [](const QsoRecord& r) { return Byte(r.qsl_sent); }},
    {kAuxDigit, "aux_digit", [](const QsoRecord& r) { return Number(r.aux_digit); }},
    {kGrid, "gridsquare", [](const QsoRecord& r) { return std::string(r.Gridsquare()); }},
};

// ---- what each format does to a contact ----

/// The contact a written one reads back as, and the fields of it that are compared.
struct Expectation {
  QsoRecord record;
  std::uint64_t compared;
};

struct FormatUnderTest {
  const char* name;
  const char* extension;
  std::unique_ptr<LogFile> (*make)();
  std::vector<int> contests;
  QsoRanges (*ranges)(int contest);
  /// The own station: some formats tell contests apart by it.
  ContestHeader (*header)(int contest);
  /// The -c option the reader needs to know the contest (text formats without a header).
  int (*contest_option)(int contest);
  /// `index` counts the contacts written before this one.
  Expectation (*expect)(const QsoRecord& written, int contest, int index);
};

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = ToUpper(c);
  return upper;
}

// A text written as one word of a line: blanks and control characters as '_'.
std::string AsWord(std::string_view text) {
  std::string word(text);
  for (char& c : word) {
    if (static_cast<unsigned char>(c) <= ' ' || c == 0x7F) c = '_';
  }
  return word;
}

ContestHeader OwnStation(int contest) {
  return testing::HeaderFor(contest, "N0QV");
}

// ---- ADIF ----

// Not carried: reserved, iota (but in IOTA logs), qsl letters, exch_word and aux_digit (CT's
// own bytes), points and multipliers; the sent and received state, QTH and section outside the
// layouts that write them (the state line of US sections and the state or QTH tag chosen by
// the worked station's country are read into those fields too).
std::uint64_t AdifExchangeFields(int contest) {
  switch (contest) {
    case kContestSs:
      return kStx | kSrx | kPrec | kCheck | kSection;
    case kContestCqww:
      return kCqz;
    case kContestWpx:
      return kStx | kSrx;
    case kContestIaru:
      return kItuz | kExchange;
    case kContestFd:
      return kPrec | kCheck | kSection;
    case kContestCqp:
      return kStx | kSrx | kExchange;
    case kContestDxped:
    case kContestNaqp:
    case kContestGridloc:
      return kName | kExchange;
    case kContestAllAsian:
      return kAge;
    case kContestYodx:
      return kCqz | kExchange;
    case kContestTenTen:
      return kName | kTenTen | kQth;
    case kContestSprint:
    case kContestInternetSprint:
      return kStx | kSrx | kName | kExchange;
    case kContestArci:
      return kArci | kExchange;
    case kContestIota:
      return kStx | kSrx | kExchange;
    case kContestGeneralQso:
      return kContest | kTxPwr | kName | kQth | kState | kCqz | kItuz | kExchange | kComment |
             kTimeOff;
    case kContestHelvetia:
    case kContestWag:
    case kContestAri:
    case kContestRac:
      return kStx | kSrx | kQth;
    case kContestNone:
      return 0;
    default:  // 2, 6, 7, 8, 11, 12, 13, 19, 22, 23, 24, 29
      return kExchange;
  }
}

bool IsGridContest(int contest) {
  return contest == kContestVhfQso || contest == kContestGridloc || contest == kContestToec ||
         contest == kContestStewPerry;
}

std::uint8_t AdifBandOfFrequency(std::uint32_t freq) {
  const BandEdges* band = BandOfFrequency(freq);
  return band != nullptr ? band->code : 0;
}

Expectation ExpectAdif(const QsoRecord& w, int contest, int index) {
  Expectation e{w, kCall | kTimeOn | kBand | kFreq | kMode | AdifExchangeFields(contest)};
  QsoRecord& r = e.record;
  r.freq = w.freq - w.freq % 10;  // MHz with three decimals: the 100 Hz digit is dropped
  if (w.band == 0) r.band = AdifBandOfFrequency(w.freq);  // the band its frequency lies in
  bool reports = contest != kContestSs && contest != kContestFd && contest != kContestGridloc;
  if (reports) e.compared |= kRstSent | kRstRcvd;
  if (!w.HasRstSent()) r.rst_sent = 0, r.report_signs &= ~kSignedRstSent;
  if (!w.HasRstRcvd()) r.rst_rcvd = 0, r.report_signs &= ~kSignedRstRcvd;
  if (contest != kContestNone && !IsGridContest(contest)) e.compared |= kGrid;
  if (contest == kContestSs && w.stx == 0) r.stx = index + 1;
  if (contest == kContestAllAsian && w.age == 0) {
    r.age = ValueOrZero<std::uint8_t>(ParseLeadingInt(w.RcvdExch()));
  }
  if (contest == kContestIaru && w.ituz != 0) e.compared &= ~kExchange;  // no society then
  // "ARRLDX" names both ARRL DX contests and reads as the first.
  if (w.contest == kContestArrlDxFromDx) r.contest = kContestArrlDx;
  if (contest == kContestGeneralQso && w.RcvdExch() == w.Gridsquare()) r.SetRcvdExch("");
  // ARRL 160 m: a station outside W, KH6, KL7 and VE gets its own QTH as the exchange, when it
  // has one.
  if (contest == kContestArrl160 && !w.Qth().empty()) e.compared &= ~kExchange;
  // A grid fills an empty exchange: another program's log may give the exchange only so.
  if (r.RcvdExch().empty() && !IsGridContest(contest) && contest != kContestNone) {
    r.SetRcvdExch(w.Gridsquare());
  }
  return e;
}

QsoRanges AdifRanges(int) {
  QsoRanges ranges;
  ranges.time = {UtcSeconds(0, 1, 1, 0, 0, 0), UtcSeconds(9999, 12, 31, 23, 59, 59)};
  return ranges;
}

const FormatUnderTest kAdif = {
    "Adif",
    ".adi",
    [] { return std::unique_ptr<LogFile>(new AdifLogFile); },
    [] {
      std::vector<int> all;
      for (int contest = 0; contest <= kContestCount; ++contest) all.push_back(contest);
      return all;
    }(),
    AdifRanges,
    OwnStation,
    // "ARRLDX" reads as the first ARRL DX contest: a log of the second needs its -c.
    [](int contest) { return contest == kContestArrlDxFromDx ? contest : 0; },
    ExpectAdif,
};

// ---- CT version 8 ----

// The bands a contest's CT band numbering has; any other is written as unknown.
bool CtHoldsBand(int contest, int band) {
  static constexpr int kGeneral[] = {1, 2, 3, 5, 7, 9, 27, 28, 29};
  static constexpr int kVhf[] = {10, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 30};
  static constexpr int kDxpedition[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 27};
  auto in = [band](const auto& bands) { return std::ranges::find(bands, band) != std::end(bands); };
  if (contest == kContestVhfQso) return in(kVhf);
  if (contest == kContestDxped) return in(kDxpedition);
  return in(kGeneral);
}

// Not carried: the frequency, the sent report (read as 599 or 59 by the mode) and serial,
// name, QTH, state, IOTA, comment, ten-ten and ARCI numbers, age, points, multipliers, the
// second QSL letter, the grid, the end time and the contact's own contest. A log of no contest
// is labelled CQWW: its exchange text reads back as a CQ zone and is not compared.
Expectation ExpectCt8(const QsoRecord& w, int contest, int) {
  Expectation e{w, kCall | kTimeOn | kBand | kMode | kAuxDigit | kQslSent};
  QsoRecord& r = e.record;
  r.report_signs = 0;
  if (contest == kContestArrl10) {
    r.band = 9;  // every QSO of an ARRL 10 m log is on 10 m
  } else if (!CtHoldsBand(contest, w.band)) {
    r.band = 0;
  }
  std::string exchange = Upper(w.RcvdExch().substr(0, 8));
  r.SetRcvdExch(exchange);
  auto received = [&w](int word) {
    return ValueOrZero<std::int16_t>(CtReceivedReport(static_cast<std::int16_t>(word), w.mode));
  };
  switch (contest) {
    case kContestSs:
      if (w.prec != 'A' && w.prec != 'B') r.prec = 'Q';
      r.SetArrlSect(Upper(w.ArrlSect()));
      e.compared |= kSrx | kPrec | kCheck | kSection;
      return e;
    case kContestFd:
      r.SetArrlSect(Upper(w.ArrlSect()));
      e.compared |= kPrec | kCheck | kSection;
      return e;
    case kContestCqp:
      // A serial of 0 leaves the second word 0: the report word is read, after the report rule.
      if (w.srx == 0) r.srx = received(0);
      e.compared |= kSrx | kExchange;
      return e;
    default:
      break;
  }
  r.rst_rcvd = received(w.rst_rcvd);
  e.compared |= kRstRcvd;
  switch (contest) {
    case kContestNone:
      break;
    case kContestCqww:
      e.compared |= kCqz;
      break;
    case kContestWpx:
      e.compared |= kSrx;
      break;
    case kContestIaru:
      if (w.ituz == 0 && !exchange.empty() && IsDigit(exchange[0])) {
        r.SetItuz(exchange);  // a text that begins with a digit is a zone
        r.SetRcvdExch("");
      }
      e.compared |= kItuz | (w.ituz == 0 ? std::uint64_t{kExchange} : 0);
      break;
    case kContestWae:
      e.compared |= kExchange | kExchWord;
      break;
    default:
      e.compared |= kExchange;
  }
  return e;
}

QsoRanges Ct8Ranges(int contest) {
  QsoRanges ranges;
  // The file's 32-bit times, seven hours ahead of UTC.
  ranges.time = {std::numeric_limits<std::int32_t>::min() - std::int64_t{kCtTimeOffset},
                 std::numeric_limits<std::int32_t>::max() - std::int64_t{kCtTimeOffset}};
  // Serials in the 16-bit report word (SS, CQP), or as at most seven characters of text (WPX).
  if (contest == kContestSs || contest == kContestCqp) ranges.srx = {-32768, 32767};
  if (contest == kContestWpx) ranges.srx = {-999999, 9999999};
  return ranges;
}

const FormatUnderTest kCt8 = {
    "Ct8",
    ".bin",
    [] { return std::unique_ptr<LogFile>(new Ct8LogFile); },
    [] {
      std::vector<int> held;
      for (int contest = 0; contest <= 15; ++contest) held.push_back(contest);
      return held;
    }(),
    Ct8Ranges,
    OwnStation,
    [](int) { return 0; },
    ExpectCt8,
};

// ---- ARRL log ----

// A text as it reads back from one word of a line: blanks as '_'; none, or question marks
// only, is no text.
std::string ArrlWord(std::string_view text) {
  std::string word = AsWord(text);
  if (word.find_first_not_of('?') == std::string::npos) word.clear();
  return word;
}

// A report in its three-character column: one that does not fit is no report.
void ArrlReport(std::int16_t& value, std::uint8_t& signs, std::uint8_t bit, bool present,
                const ReportText& text) {
  if (present && text.length <= 3) return;
  value = 0;
  signs &= static_cast<std::uint8_t>(~bit);
}

bool ArrlBandLabelled(int band) {
  return (band >= 1 && band <= 21) || (band >= 27 && band <= 30);
}

// Not carried: seconds, the frequency, the end time, the contact's own contest, power, IOTA,
// comment, QSL letters, CT's own bytes, the grid, the multiplier names (only whether the
// contact counts one), and every exchange field outside the contest's columns.
Expectation ExpectArrl(const QsoRecord& w, int contest, int index) {
  Expectation e{w, kCall | kTimeOn | kBand | kMode | kPoints};
  QsoRecord& r = e.record;
  r.SetCallText(ArrlWord(w.Call()));
  if (!ArrlBandLabelled(w.band)) r.band = 0;
  if (w.mode > kModeFm) r.mode = 0;
  r.mult_count = w.mult_count != 0 ? 1 : 0;
  if (contest != kContestFd) e.compared |= kMultCount;  // Field Day lines have no marker
  ArrlReport(r.rst_sent, r.report_signs, kSignedRstSent, w.HasRstSent(), w.RstSentText());
  ArrlReport(r.rst_rcvd, r.report_signs, kSignedRstRcvd, w.HasRstRcvd(), w.RstRcvdText());
  r.SetRcvdExch(ArrlWord(ReceivedExchangeText(w)));
  r.SetName(ArrlWord(w.Name()));
  r.SetArrlSect(ArrlWord(w.ArrlSect()));
  switch (contest) {
    case kContestSs:
      if (w.stx == 0) r.stx = index + 1;  // the QSO number column
      e.compared |= kStx | kSrx | kPrec | kCheck | kSection;
      break;
    case kContestFd:
      e.compared |= kPrec | kCheck | kSection;
      break;
    case kContestArrl10:
      if (w.RcvdExch().empty() && w.srx != 0) r.SetRcvdExch(std::to_string(w.srx));
      e.compared |= kRstSent | kRstRcvd | kExchange;
      break;
    case kContestIaru:
      e.compared |= kRstSent | kRstRcvd | kItuz;
      if (w.ituz != 0) break;
      r.SetRcvdExch(ArrlWord(w.RcvdExch()));  // the society, not the fallbacks
      if (!r.RcvdExch().empty() && IsDigit(r.RcvdExch()[0])) {
        r.SetItuz(r.RcvdExch());  // a word that begins with a digit is a zone
        r.SetRcvdExch("");
      }
      e.compared |= kExchange;
      break;
    case kContestVhfQso:
      r.SetRcvdExch(ArrlWord(w.RcvdExch()));
      e.compared |= kExchange;
      // Grids begin with a letter: a word that begins with a digit is no grid, and the reader
      // takes it for the points (documented); the rest of such a line is not compared.
      if (!r.RcvdExch().empty() && IsDigit(r.RcvdExch()[0])) {
        e.compared &= ~(kExchange | kPoints | kMultCount);
      }
      break;
    case kContestNaqp:
      e.compared |= kName | kExchange;
      break;
    case kContestSprint:
      e.compared |= kSrx | kName | kExchange;
      break;
    default:  // both ARRL DX sides and ARRL 160 m
      e.compared |= kRstSent | kRstRcvd | kExchange;
  }
  return e;
}

QsoRanges ArrlRanges(int) {
  QsoRanges ranges;
  // The year column counts years since 1900 and gives back 1970 to 3799; no seconds.
  ranges.time = {UtcSeconds(1970, 1, 1, 0, 0, 0), UtcSeconds(3799, 12, 31, 23, 59, 0)};
  ranges.whole_minutes = true;
  ranges.srx = {0, std::numeric_limits<std::int32_t>::max()};
  ranges.stx = {0, std::numeric_limits<std::int32_t>::max()};
  return ranges;
}

const FormatUnderTest kArrl = {
    "Arrl",
    ".log",
    [] { return std::unique_ptr<LogFile>(new ArrlLogFile); },
    {kContestSs, kContestArrlDx, kContestIaru, kContestArrl10, kContestArrl160, kContestFd,
     kContestArrlDxFromDx, kContestVhfQso, kContestNaqp, kContestSprint},
    ArrlRanges,
    OwnStation,
    [](int contest) { return contest; },  // the file does not name its contest
    ExpectArrl,
};

// ---- TR Log ----

// Where a TR Log line keeps a contest's exchange: which fields, and how many characters of
// each text reach the reader before the next column begins (a longer text is cut there).
struct TrColumns {
  std::uint64_t fields;
  int exchange_room = 0;
  int name_room = 0;
  int qth_room = 0;
};

constexpr std::uint64_t kTrReports = kRstSent | kRstRcvd;
constexpr std::uint64_t kTrTrailer = kMultCount | kMults | kPoints;

TrColumns TrColumnsOf(int contest) {
  switch (contest) {
    case kContestSs:
      return {kSrx | kPrec | kCheck | kSection | kTrTrailer};
    case kContestCqww:
      return {kTrReports | kCqz | kTrTrailer};
    case kContestWpx:
      return {kTrReports | kSrx | kTrTrailer};
    case kContestIaru:
      return {kTrReports | kItuz | kExchange | kTrTrailer, 11};
    case kContestArrl10:
      return {kTrReports | kExchange | kTrTrailer, 9};
    case kContestFd:
      return {kPrec | kCheck | kSection | kTrTrailer};
    case kContestCqp:
      return {kSrx | kExchange | kTrTrailer, 19};
    case kContestDxped:
      return {kTrReports | kName | kExchange | kPoints, 11, 11};
    case kContestAllAsian:
      return {kTrReports | kAge | kTrTrailer};
    case kContestNaqp:
    case kContestGridloc:
      return {kName | kExchange | kTrTrailer, 13, 11};
    case kContestYodx:
      return {kTrReports | kCqz | kExchange | kTrTrailer, 10};
    case kContestTenTen:
      return {kName | kTenTen | kQth, 0, 12, 5};
    case kContestSprint:
      return {kSrx | kName | kExchange | kTrTrailer, 7, 11};
    case kContestInternetSprint:
      return {kSrx | kName | kExchange | kTrTrailer, 6, 11};
    case kContestJadx:
      return {kTrReports | kExchange | kTrTrailer, 14};
    case kContestArci:
      return {kTrReports | kArci | kExchange | kTrTrailer, 9};
    case kContestIota:
      return {kTrReports | kSrx | kExchange | kTrTrailer, 8};
    case kContestGeneralQso:
      return {kTrReports | kExchange | kTrTrailer, 14};  // words are read up to column 66
    case kContestHelvetia:
      return {kTrReports | kSrx | kQth | kTrTrailer, 0, 0, 10};
    case kContestWag:
    case kContestAri:
    case kContestRac:
      return {kTrReports | kSrx | kQth | kTrTrailer, 0, 0, 9};
    default:  // 2, 7, 8, 11, 12, 13, 19, 22, 23, 29
      return {kTrReports | kExchange | kTrTrailer, 15};
  }
}

bool TrBandLabelled(int band) {
  return (band >= 1 && band <= 21) || (band >= 27 && band <= 30);
}

// Not carried: seconds, the frequency, the end time, the contact's own contest, power, IOTA,
// comment, QSL letters, CT's own bytes, the grid, multipliers past the eighth character or the
// second name, and every exchange field outside the contest's columns. A text is written as one
// word (blanks as '_') and cut where the next column begins.
Expectation ExpectTr(const QsoRecord& w, int contest, int) {
  TrColumns columns = TrColumnsOf(contest);
  Expectation e{w, kCall | kTimeOn | kBand | kMode | columns.fields};
  QsoRecord& r = e.record;
  if (!TrBandLabelled(w.band)) r.band = 0;
  bool labelled_mode = w.mode == kModeCw || w.mode == kModeSsb || w.mode == kModeFm;
  if (!labelled_mode) r.mode = kModeAm;  // three blanks read back as AM
  ArrlReport(r.rst_sent, r.report_signs, kSignedRstSent, w.HasRstSent(), w.RstSentText());
  ArrlReport(r.rst_rcvd, r.report_signs, kSignedRstRcvd, w.HasRstRcvd(), w.RstRcvdText());
  auto cut = [](std::string_view text, int room) { return AsWord(text).substr(0, room); };
  std::string exchange(ReceivedExchangeText(w));
  if (contest == kContestArrl10 && w.RcvdExch().empty() && w.srx != 0) {
    exchange = std::to_string(w.srx);
  }
  if (contest == kContestIaru && w.ituz != 0) exchange.clear();
  r.SetRcvdExch(cut(exchange, columns.exchange_room));
  r.SetName(cut(w.Name(), columns.name_room));
  std::string qth(w.Qth().empty() && contest != kContestTenTen ? exchange : w.Qth());
  r.SetQth(cut(qth, columns.qth_room));
  r.SetArrlSect(AsWord(w.ArrlSect()));
  r.mult_count = 0;
  r.mults[0] = '\0';
  std::string mults(w.Mults().substr(0, 8));
  for (std::size_t at = 0, words = 0; words < 2 && at < mults.size(); ++words) {
    std::size_t end = std::min(mults.find(' ', at), mults.size());
    r.AddMult(std::string_view(mults).substr(at, end - at));
    at = end + 1;
  }
  // A Sweepstakes precedence is read only as a word of one letter: without one, a section of
  // one letter is taken for it.
  if (contest == kContestSs && w.prec == ' ' && r.ArrlSect().size() == 1) {
    e.compared &= ~(kPrec | kSection);
  }
  return e;
}

QsoRanges TrRanges(int contest) {
  QsoRanges ranges;
  // The two-digit year column gives back 1950 to 2049; no seconds.
  ranges.time = {UtcSeconds(1950, 1, 1, 0, 0, 0), UtcSeconds(2049, 12, 31, 23, 59, 0)};
  ranges.whole_minutes = true;
  // Words that begin with a digit are numbers (zones, reports, serials) to the reader: texts
  // of letters and signs only.
  ranges.text_characters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz /-.";
  // Numbers within their columns; wider ones are written as stars (tests/trlog_test.cpp).
  ranges.srx = {0, contest == kContestHelvetia ? 9999 : 99999};
  ranges.ten_ten = {0, 99999};
  ranges.report = {-99, 999};
  return ranges;
}

const FormatUnderTest kTrLog = {
    "TrLog",
    ".dat",
    [] { return std::unique_ptr<LogFile>(new TrLogFile); },
    [] {
      std::vector<int> named;
      for (int contest = 1; contest <= kContestCount; ++contest) named.push_back(contest);
      return named;
    }(),
    TrRanges,
    // The DX side of the ARRL DX contest is told from the W/VE side by the own call.
    [](int contest) {
      return testing::HeaderFor(contest, contest == kContestArrlDxFromDx ? "DL1AB" : "N0QV");
    },
    [](int) { return 0; },
    ExpectTr,
};

// ---- Cabrillo ----

// The words of a text as the Cabrillo writer prints them and the reader reads them back: blanks
// as '_', cut to the field's 39 characters.
std::string CabrilloWord(std::string_view text) {
  return AsWord(text).substr(0, 39);
}

// The frequency column: kHz where the writer prints them (the 100 Hz digit dropped), the band
// alone for a designator from 6 m up, the band edge for an HF band without a frequency.
void ExpectCabrilloFrequency(const QsoRecord& w, QsoRecord& r) {
  auto has_word = [](int band) { return (band >= 1 && band <= 26) || band == 30; };
  int band = w.band;
  if (!has_word(band) && w.freq != 0) {
    const BandEdges* edges = BandOfFrequency(w.freq);
    if (edges != nullptr && edges->code != 0) band = edges->code;
  }
  bool designated = band >= 10 && has_word(band);
  std::uint32_t khz = 0;
  if (w.freq != 0 && !designated) {
    khz = w.freq / 10;
  } else if (band >= 1 && band <= 9) {
    constexpr std::uint32_t kEdges[] = {1800, 3500, 7000, 10000, 14000, 18068, 21000, 24890, 28000};
    khz = kEdges[band - 1];
  }
  if (khz != 0) {
    r.freq = khz * 10;
    const BandEdges* edges = BandOfFrequency(r.freq);
    r.band = edges != nullptr ? edges->code : 0;
  } else {
    r.freq = 0;
    r.band = !has_word(band) ? 0 : band == 21 ? 22 : static_cast<std::uint8_t>(band);  // 24G
  }
}

// Texts the writer prints as words of their own: one left empty takes its word out of the
// line, and the words after it move up a column.
struct TextField {
  char* field;
  std::size_t width;
};
void FillShifted(std::vector<std::string> words, std::initializer_list<TextField> fields) {
  std::erase(words, std::string());
  std::size_t i = 0;
  for (const TextField& text : fields) {
    std::string value = i < words.size() ? words[i] : std::string();
    std::snprintf(text.field, text.width, "%s", value.c_str());
    ++i;
  }
}

// Not carried: seconds, the end time, the contact's own contest, power, IOTA, comment, QSL
// letters, CT's own bytes, the grid, points and multipliers, and every exchange field outside
// the contest's columns. A received text read back lands in `rcvd_exch` whichever field the
// writer took it from.
Expectation ExpectCabrillo(const QsoRecord& w, int contest, int index) {
  Expectation e{w, kCall | kTimeOn | kBand | kFreq | kMode};
  QsoRecord& r = e.record;
  r.SetCallText(AsWord(w.Call()));
  ExpectCabrilloFrequency(w, r);
  constexpr std::uint8_t kModes[] = {0,       kModeCw, kModeSsb, kModeRtty, kModeSsb,
                                     kModeFm, 0,       0,        0,         0};
  r.mode = kModes[w.mode];
  ArrlReport(r.rst_sent, r.report_signs, kSignedRstSent, w.HasRstSent(), w.RstSentText());
  ArrlReport(r.rst_rcvd, r.report_signs, kSignedRstRcvd, w.HasRstRcvd(), w.RstRcvdText());
  int serial = w.stx != 0 ? w.stx : index + 1;
  switch (contest) {
    case kContestSs:
      r.stx = serial;
      r.SetArrlSect(AsWord(w.ArrlSect()));
      if (r.prec < 'A' || r.prec > 'Z') r.prec = ' ';
      e.compared |= kStx | kSrx | kPrec | kCheck | kSection;
      return e;
    case kContestVhfQso: {
      r.SetRcvdExch(CabrilloWord(w.RcvdExch()));
      e.compared |= kRstSent | kRstRcvd | kExchange;
      return e;
    }
    case kContestCqp:
    case kContestSprint:
      r.stx = serial;
      FillShifted({CabrilloWord(w.Name()), CabrilloWord(ReceivedExchangeText(w))},
                  {{r.name, sizeof r.name}, {r.rcvd_exch, sizeof r.rcvd_exch}});
      e.compared |= kStx | kSrx | kName | kExchange;
      return e;
    case kContestNaqp:
      FillShifted({CabrilloWord(w.Name()), CabrilloWord(ReceivedExchangeText(w))},
                  {{r.name, sizeof r.name}, {r.rcvd_exch, sizeof r.rcvd_exch}});
      e.compared |= kName | kExchange;
      return e;
    default:
      break;
  }
  // Layout R: reports and one exchange word on each side.
  e.compared |= kRstSent | kRstRcvd;
  r.SetRcvdExch(CabrilloWord(ReceivedExchangeText(w)));
  switch (contest) {
    case kContestCqww:
      e.compared |= kCqz;
      break;
    case kContestWpx:
      e.compared |= kStx | kSrx;
      break;
    case kContestIaru:
      r.SetRcvdExch(w.ituz != 0 ? "" : CabrilloWord(w.RcvdExch()));
      e.compared |= kItuz | kExchange;
      break;
    case kContestArrl10: {
      std::string_view text = !w.State().empty() ? w.State() : w.RcvdExch();
      r.SetRcvdExch(w.srx != 0 ? std::to_string(w.srx) : CabrilloWord(text));
      e.compared |= kExchange;
      break;
    }
    default:  // both ARRL DX sides, ARRL 160 m, CQ 160 m, Stew Perry
      e.compared |= kExchange;
  }
  return e;
}

QsoRanges CabrilloRanges(int) {
  QsoRanges ranges;
  // Four-digit years, no seconds.
  ranges.time = {UtcSeconds(1000, 1, 1, 0, 0, 0), UtcSeconds(9999, 12, 31, 23, 59, 0)};
  ranges.whole_minutes = true;
  // Words that begin with a digit are zones and serials to the reader, and question marks are
  // the writer's placeholders: texts of letters and signs.
  ranges.text_characters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz /-.";
  return ranges;
}

const FormatUnderTest kCabrillo = {
    "Cabrillo",
    ".cbr",
    [] { return std::unique_ptr<LogFile>(new CabrilloLogFile); },
    {kContestSs, kContestArrlDx, kContestCqww, kContestWpx, kContestIaru, kContestArrl10,
     kContestArrl160, kContestCq160, kContestCqp, kContestArrlDxFromDx, kContestVhfQso,
     kContestNaqp, kContestSprint, kContestStewPerry},
    CabrilloRanges,
    // The own grid is a word of every VHF line, and the ARRL 10 m serial is sent from outside
    // W/VE only.
    [](int contest) {
      ContestHeader header =
          testing::HeaderFor(contest, contest == kContestArrl10 ? "DL1AB" : "N0QV");
      std::snprintf(header.gridsquare, sizeof header.gridsquare, "FN31");
      header.zone = 8;
      return header;
    },
    [](int) { return 0; },
    ExpectCabrillo,
};

}  // namespace

// ---- the property ----

struct PropertyCase {
  const FormatUnderTest* format;
  int contest;
};

class RoundTripProperty : public ::testing::TestWithParam<PropertyCase> {};

namespace {

// A scratch folder in memory where there is one, holding the tests' reference files.
class MemoryFolder {
 public:
  MemoryFolder() {
    namespace fs = std::filesystem;
    fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    root = base / ("quorvel-property-" + std::to_string(::getpid()) + "-" +
                   std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    fs::create_directories(root);
    for (const char* name : {"cqww.cty", "stsec.dat"}) {
      fs::copy_file(testing::CabrilloGoldenDir() + "/" + name, root / name);
    }
  }
  ~MemoryFolder() {
    std::error_code error;
    std::filesystem::remove_all(root, error);
  }
  std::string Folder() const { return root.string(); }
  std::string Path(const std::string& name) const { return (root / name).string(); }

 private:
  std::filesystem::path root;
};

void ExpectCarried(const Expectation& expected, const QsoRecord& actual, const std::string& at,
                   int& failures) {
  for (const FieldRow& row : kFieldRows) {
    if ((expected.compared & row.field) == 0) continue;
    std::string want = row.show(expected.record);
    std::string got = row.show(actual);
    if (want == got) continue;
    if (++failures <= 12) {
      ADD_FAILURE() << at << ": " << row.name << " read back as \"" << got << "\", written \""
                    << want << "\"";
    }
  }
}

}  // namespace

TEST_P(RoundTripProperty, WrittenContactsReadBackWithEveryFieldTheLayoutCarries) {
  const FormatUnderTest& format = *GetParam().format;
  int contest = GetParam().contest;
  std::uint32_t seed = 20261215u + 100u * static_cast<std::uint32_t>(contest);
  MemoryFolder folder;
  testing::WorkingFolder working(folder.Folder());
  std::string path = folder.Path(std::string("log") + format.extension);

  RandomQso random(seed, format.ranges(contest));
  std::vector<QsoRecord> written;
  std::unique_ptr<LogFile> writer = format.make();
  ConversionOptions options{};
  options.contest = static_cast<std::uint8_t>(format.contest_option(contest));
  writer->SetOptions(&options);
  ASSERT_EQ(writer->Open(path.c_str(), kModeWriteNew), 1);
  ASSERT_EQ(writer->WriteHeader(format.header(contest)), 1) << "contest " << contest;
  int wrongly_kept = 0;
  for (int i = 0; i < kRecordsPerContest; ++i) {
    bool inside = true;
    QsoRecord record = random.Next(contest, inside);
    int kept = writer->WriteQso(record);
    if (kept != (inside ? 1 : 0) && ++wrongly_kept <= 5) {
      ADD_FAILURE() << "seed " << seed << " contact " << i << " at " << record.time_on
                    << (inside ? " was left out" : " was written outside the file's times");
    }
    if (kept) written.push_back(record);
  }
  writer->Close();
  ASSERT_FALSE(writer->WriteFailed());

  std::unique_ptr<LogFile> reader = format.make();
  reader->SetOptions(&options);
  ASSERT_EQ(reader->Open(path.c_str(), kModeReadText), 1);
  std::vector<QsoRecord> read;
  QsoRecord record;
  while (!reader->IsEof() && reader->ReadQso(record)) read.push_back(record);
  reader->Close();
  if (contest != kContestNone) {
    EXPECT_EQ(reader->Header().contest, contest);
  }
  ASSERT_EQ(read.size(), written.size()) << "seed " << seed;
  int failures = 0;
  for (std::size_t i = 0; i < read.size(); ++i) {
    Expectation expected = format.expect(written[i], contest, static_cast<int>(i));
    ExpectCarried(expected, read[i],
                  "seed " + std::to_string(seed) + " contact " + std::to_string(i), failures);
  }
  EXPECT_EQ(failures, 0) << "fields differing in " << format.name << " contest " << contest;
}

std::vector<PropertyCase> AllCases() {
  std::vector<PropertyCase> cases;
  for (const FormatUnderTest* format : {&kAdif, &kCt8, &kArrl, &kTrLog, &kCabrillo}) {
    for (int contest : format->contests) cases.push_back({format, contest});
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Formats, RoundTripProperty, ::testing::ValuesIn(AllCases()),
                         [](const ::testing::TestParamInfo<PropertyCase>& info) {
                           return std::string(info.param.format->name) + "Contest" +
                                  std::to_string(info.param.contest);
                         });

namespace {

// Regressions the property found (seeds 20261715 and 20264015).
TEST(RoundTripRegression, LongTrLogExchangeInARightAlignedColumnIsCutNotStarred) {
  MemoryFolder folder;
  testing::WorkingFolder working(folder.Folder());
  QsoRecord contact = testing::Contact("K1AB", 5, kModeCw, 2024, 11, 2, 21, 7);
  contact.SetRcvdExch("zTAtXjSaQenABCDEFG");
  TrLogFile writer;
  testing::WriteThrough(writer, folder.Path("cut.dat"), 0, OwnStation(kContestArrlDx), {contact});
  TrLogFile reader;
  std::vector<QsoRecord> read = testing::ReadThrough(reader, folder.Path("cut.dat"), 0);
  ASSERT_EQ(read.size(), 1u);
  EXPECT_EQ(read[0].RcvdExch(), "zTAtXjSaQenABCD");  // columns 53 to 67
}

TEST(RoundTripRegression, AdifEndTimeBefore1970IsWritten) {
  MemoryFolder folder;
  testing::WorkingFolder working(folder.Folder());
  QsoRecord contact = testing::Contact("K1AB", 5, kModeCw, 1965, 3, 4, 10, 0);
  contact.time_off = contact.time_on + 600;
  AdifLogFile writer;
  std::string text = testing::WriteThrough(writer, folder.Path("end.adi"), 0,
                                           OwnStation(kContestGeneralQso), {contact});
  EXPECT_NE(text.find("<time_off:6>101000"), std::string::npos) << text;
}

}  // namespace
}  // namespace quorvel
