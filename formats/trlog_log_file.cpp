#include "formats/trlog_log_file.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <string_view>

#include "core/civil_time.h"
#include "core/numbers.h"
#include "core/text_field.h"
#include "formats/received_exchange.h"
#include "formats/remembered_day.h"
#include "formats/report_column.h"
#include "formats/text_line.h"
#include "refdata/country_table.h"

namespace quorvel {
namespace {

// ---- tables ----

// The contest names of the title line, by contest code. Code 11 has the text of code 2: which
// of the two a log is, its own call decides.
constexpr std::string_view kTitleNames[kContestCount + 1] = {"",
                                                             "ARRL Sweepstakes",
                                                             "ARRL DX Test",
                                                             "CQ WW Contest",
                                                             "CQ WPX Contest",
                                                             "IARU Radiosport",
                                                             "ARRL Ten Meter Contest",
                                                             "ARRL 160 Contest",
                                                             "CQ 160 Contest",
                                                             "Field Day",
                                                             "California QSO Party",
                                                             "ARRL DX Test",
                                                             "WAE Contest",
                                                             "VHF QSO Party",
                                                             "General QSOs",
                                                             "All Asian",
                                                             "North American QSO Party",
                                                             "Grid Loc Contest",
                                                             "YO DX Contest",
                                                             "KCJ Single Op Contest",
                                                             "Ten Ten QSO Party",
                                                             "North American Sprint",
                                                             "Scandinavian Contest",
                                                             "TOEC WW GRID CONTEST",
                                                             "Japan International DX Test",
                                                             "ARCI QSO PARTY",
                                                             "RSGB IOTA Contest",
                                                             "Internet SprINT",
                                                             " ",
                                                             "STEW PERRY TOPBAND CHALLENGE",
                                                             "Helvetia Contest",
                                                             "Worked All Germany Contest",
                                                             "ARI International DX Contest",
                                                             "RAC Winter Contest"};

// Band labels by band code, three characters each; an empty one is no label.
constexpr std::string_view kBandLabels[kBandCount + 1] = {
    "",    "160", " 80", " 40", " 30", " 20", " 17", " 15", " 12", " 10", "  6",
    "  4", "  2", "222", "432", "902", "1GH", "2GH", "3GH", "5GH", "10G", "24G",
    "",    "",    "",    "",    "",    "SAT", "PKT", "NOV", "LGT"};
// Written for a band without a label: visible, and read back as no band.
constexpr std::string_view kUnknownBand = "???";

// Mode labels by mode code; RTTY and AM are three blanks (read back as AM), as is any mode
// without a label.
constexpr std::string_view kModeLabels[] = {"", "CW ", "SSB", "   ", "   ", "FM "};
constexpr std::string_view kNoModeLabel = "   ";

constexpr std::string_view kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

struct ColumnTitles {
  std::string_view titles;
  std::string_view dashes;
};
constexpr ColumnTitles kSs = {"   Rcvd  P Ck  Qth          Mults   Pts",
                              "   ----  - -- -----         -----   ---"};
constexpr ColumnTitles kPower = {"   Sent Rcvd Power          Mults   Pts",
                                 "   ---- ---- -----          -----   ---"};
constexpr ColumnTitles kZone = {"   Sent Rcvd Zone           Mults   Pts",
                                "   ---- ---- ----           -----   ---"};
constexpr ColumnTitles kSerial = {"   Sent Rcvd Rcvd           Mults   Pts",
                                  "   ---- ---- ----           -----   ---"};
constexpr ColumnTitles kZoneQth = {"   Sent Rcvd Zone  Qth      Mults   Pts",
                                   "   ---- ---- ---- -----     -----   ---"};
constexpr ColumnTitles kSerialQth = {"   Sent Rcvd Rcvd   Qth     Mults   Pts",
                                     "   ---- ---- ----  -----    -----   ---"};
constexpr ColumnTitles kQth = {"   Sent Rcvd  Qth           Mults   Pts",
                               "   ---- ---- -----          -----   ---"};
constexpr ColumnTitles kClass = {"   Class   Qth              Mults   Pts",
                                 "   -----  -----             -----   ---"};
constexpr ColumnTitles kCqp = {"   Rcvd   Qth               Mults   Pts",
                               "   ----  -----              -----   ---"};
constexpr ColumnTitles kGeneral = {"   Sent Rcvd Name        Qth       Pts",
                                   "   ---- ---- ----        ---       ---"};
constexpr ColumnTitles kAge = {"   Sent Rcvd Age            Mults   Pts",
                               "   ---- ---- ---            -----   ---"};
constexpr ColumnTitles kNameQth = {"   Name         Qth         Mults   Pts",
                                   "   ----        -----        -----   ---"};
constexpr ColumnTitles kTenTen = {"   Name         1010#  Qth  Mults   Pts",
                                  "   ----         ----- ----- -----   ---"};
constexpr ColumnTitles kSprint = {"   Rcvd  Name         Qth   Mults   Pts",
                                  "   ----  ----        -----  -----   ---"};
constexpr ColumnTitles kStewPerry = {"   Sent Rcvd  Qth                  Pts",
                                     "   ---- ---- -----                ---"};
constexpr ColumnTitles kNone = {"", ""};

constexpr ColumnTitles kColumnTitles[kContestCount + 1] = {
    kNone,    kSs,        kPower,     kZone,      kSerial,    kZoneQth,   kSerialQth,
    kQth,     kQth,       kClass,     kCqp,       kQth,       kSerial,    kQth,
    kGeneral, kAge,       kNameQth,   kNameQth,   kZoneQth,   kQth,       kTenTen,
    kSprint,  kSerial,    kQth,       kZone,      kSerialQth, kSerialQth, kSprint,
    kNone,    kStewPerry, kSerialQth, kSerialQth, kSerialQth, kSerialQth};

constexpr std::string_view kColumnTitleStart = " Band    Date    Time  QSO#  Call worked";
constexpr std::string_view kDashStart = " ----    ----    ----  ----  -----------";

// ---- columns of a QSO line (counted from 0) ----

namespace column {
constexpr int kBand = 0;
constexpr int kMode = 3;
constexpr int kDay = 7;
constexpr int kDateDash = 9;
constexpr int kMonth = 10;
constexpr int kYear = 14;
constexpr int kHour = 17;
constexpr int kTimeColon = 19;
constexpr int kMinute = 20;
constexpr int kCall = 29;
constexpr int kCallWidth = 13;
constexpr int kSentReport = 44;
constexpr int kExchange = 48;  // after the sent report
constexpr int kExchangeEnd = 67;
constexpr int kMults = 68;
constexpr int kMultsWidth = 8;
constexpr int kPoints = 76;
}  // namespace column

// Contests whose lines carry no sent report: their exchange starts at column 43.
bool HasSentReport(int contest) {
  switch (contest) {
    case kContestSs:
    case kContestFd:
    case kContestCqp:
    case kContestNaqp:
    case kContestGridloc:
    case kContestTenTen:
    case kContestSprint:
    case kContestInternetSprint:
      return false;
    default:
      return true;
  }
}

// ---- writing: a line of fixed columns ----

// A QSO line built column by column in a blank-filled buffer. A value that is wider than its
// field runs on into the blanks after it, up to the last column it may use, so that no later
// column moves; a text that is longer still is cut there, a number is written as stars.
class ColumnLine {
 public:
  ColumnLine() { std::memset(text, ' ', sizeof text); }

  void Put(int at, std::string_view value) {
    Reach(at + static_cast<int>(value.size()));
    std::memcpy(text + at, value.data(), value.size());
  }
  /// A text from `at`, at most up to column `last`; blanks and control characters inside it as
  /// '_', so that it reads back as one word.
  void Word(int at, int width, int last, std::string_view value) {
    Reach(at + width);
    value = value.substr(0, static_cast<std::size_t>(std::max(0, last - at + 1)));
    Put(at, LineWord(value).c_str());
  }
  /// Words separated by blanks (the multipliers), from `at` up to column `last`; control
  /// characters as blanks.
  void Words(int at, int width, int last, std::string_view value) {
    Reach(at + width);
    value = value.substr(0, static_cast<std::size_t>(std::max(0, last - at + 1)));
    for (std::size_t i = 0; i < value.size(); ++i) {
      unsigned char c = static_cast<unsigned char>(value[i]);
      text[at + static_cast<int>(i)] = (c < ' ' || c == 0x7F) ? ' ' : value[i];
    }
    Reach(at + static_cast<int>(value.size()));
  }
  /// A number right-aligned in `width` columns from `at`; a wider one from `at` on, up to
  /// column `last`.
  void Number(int at, int width, int last, std::int64_t value) {
    char digits[24];
    auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    RightAligned(at, width, last, std::string_view(digits, static_cast<std::size_t>(end - digits)));
  }
  void RightAligned(int at, int width, int last, std::string_view value) {
    Reach(at + width);
    int size = static_cast<int>(value.size());
    if (size <= width) return Put(at + width - size, value);
    if (at + size - 1 <= last) return Put(at, value);
    for (int i = at; i <= last; ++i) text[i] = '*';  // no room: never a number cut short
  }
  /// The line reaches at least column `end` - 1 (printf's padding of a field).
  void Reach(int end) { length = std::max(length, std::min(end, kRoom)); }
  int Length() const { return length; }
  std::string_view Text() const { return {text, static_cast<std::size_t>(length)}; }
  /// The line and its "\r\n", which the room past the last column holds.
  std::string_view TextWithLineEnd() {
    text[length] = '\r';
    text[length + 1] = '\n';
    return {text, static_cast<std::size_t>(length) + 2};
  }

 private:
  static constexpr int kRoom = 120;
  char text[kRoom + 8];
  int length = 0;
};

// ---- writing: the exchange piece of each contest ----

enum class Source : std::uint8_t {
  kRstRcvd,
  kSrx,
  kSsPrecedence,  // a letter
  kSsCheck,       // a number kept in a character
  kArrlSect,
  kExchange,  // the received exchange text, or where ADIF logs keep it
  kCqz,
  kItuz,
  kFdTransmitters,  // a number kept in a character
  kFdCategory,      // a letter
  kName,
  kQth,
  kAge,
  kArciNum,
  kTenTen,
};

enum class Form : std::uint8_t { kLeft, kRight, kTwoDigits, kLetter, kReport };

// One field of an exchange piece: its column, its width as the layout prints it, and the
// last column a wider value may reach.
struct Field {
  Source source;
  Form form;
  std::uint8_t at;
  std::uint8_t width;
  std::uint8_t last;
};

enum class Trailer : std::uint8_t {
  kNone,         // no multipliers, no points
  kSpaced,       // "%-8s %d": multipliers from 68, points from 77
  kTight,        // "%-8s%2d": multipliers from 68, points in 76 and 77
  kPointsAfter,  // " %d": points from 77, after an exchange that runs to column 75
};

struct Piece {
  Field fields[4];
  std::uint8_t count;
  std::uint8_t end;  // the piece is padded up to this column
  Trailer trailer;
};

using S = Source;
using F = Form;
using T = Trailer;

constexpr Field kRcvdReport = {S::kRstRcvd, F::kReport, 49, 3, 51};

constexpr Piece kPieceSs = {{{S::kSrx, F::kRight, 43, 4, 47},
                             {S::kSsPrecedence, F::kLetter, 49, 1, 49},
                             {S::kSsCheck, F::kRight, 51, 2, 52},
                             {S::kArrlSect, F::kLeft, 54, 5, 67}},
                            4,
                            67,
                            T::kSpaced};
constexpr Piece kPieceExchangeRight4 = {
    {kRcvdReport, {S::kExchange, F::kRight, 53, 4, 67}}, 2, 67, T::kSpaced};
constexpr Piece kPieceCqz = {{kRcvdReport, {S::kCqz, F::kTwoDigits, 54, 2, 67}}, 2, 67, T::kSpaced};
constexpr Piece kPieceSerial = {{kRcvdReport, {S::kSrx, F::kRight, 53, 4, 67}}, 2, 67, T::kSpaced};
constexpr Piece kPieceItuz = {
    {kRcvdReport, {S::kItuz, F::kTwoDigits, 54, 2, 67}}, 2, 67, T::kSpaced};
constexpr Piece kPieceIaruSociety = {
    {kRcvdReport, {S::kExchange, F::kRight, 57, 5, 67}}, 2, 67, T::kSpaced};
constexpr Piece kPieceArrl10State = {
    {kRcvdReport, {S::kExchange, F::kLeft, 59, 5, 67}}, 2, 67, T::kSpaced};
constexpr Piece kPieceExchangeLeft5 = {
    {kRcvdReport, {S::kExchange, F::kLeft, 53, 5, 67}}, 2, 67, T::kSpaced};
constexpr Piece kPieceFieldDay = {{{S::kFdTransmitters, F::kRight, 43, 3, 45},
                                   {S::kFdCategory, F::kLetter, 46, 1, 46},
                                   {S::kArrlSect, F::kLeft, 52, 3, 67}},
                                  3,
                                  67,
                                  T::kSpaced};
// " %3d" is "%4d" for serials of three digits; a fourth digit takes the blank before them.
constexpr Piece kPieceCqp = {
    {{S::kSrx, F::kRight, 43, 4, 47}, {S::kExchange, F::kLeft, 49, 4, 67}}, 2, 67, T::kSpaced};
constexpr Piece kPieceGeneral = {
    {kRcvdReport, {S::kName, F::kLeft, 53, 11, 63}, {S::kExchange, F::kLeft, 65, 11, 75}},
    3,
    75,
    T::kPointsAfter};
constexpr Piece kPieceAge = {{kRcvdReport, {S::kAge, F::kTwoDigits, 54, 2, 67}}, 2, 67, T::kSpaced};
constexpr Piece kPieceNameQth = {
    {{S::kName, F::kLeft, 43, 8, 53}, {S::kExchange, F::kLeft, 55, 4, 67}}, 2, 67, T::kSpaced};
constexpr Piece kPieceYodx = {
    {kRcvdReport, {S::kCqz, F::kTwoDigits, 54, 2, 56}, {S::kExchange, F::kLeft, 58, 9, 67}},
    3,
    67,
    T::kSpaced};
constexpr Piece kPieceTenTenWithout = {
    {{S::kName, F::kLeft, 43, 8, 54}, {S::kQth, F::kLeft, 62, 5, 66}}, 2, 66, T::kNone};
constexpr Piece kPieceTenTen = {{{S::kName, F::kLeft, 43, 8, 54},
                                 {S::kTenTen, F::kRight, 56, 5, 60},
                                 {S::kQth, F::kLeft, 62, 5, 66}},
                                3,
                                66,
                                T::kNone};
constexpr Piece kPieceSprint = {{{S::kSrx, F::kRight, 43, 4, 47},
                                 {S::kName, F::kLeft, 49, 10, 59},
                                 {S::kExchange, F::kLeft, 61, 5, 67}},
                                3,
                                67,
                                T::kSpaced};
constexpr Piece kPieceJadx = {
    {kRcvdReport, {S::kExchange, F::kLeft, 54, 3, 67}}, 2, 67, T::kSpaced};
constexpr Piece kPieceArci = {
    {kRcvdReport, {S::kArciNum, F::kRight, 53, 4, 57}, {S::kExchange, F::kLeft, 59, 6, 67}},
    3,
    67,
    T::kSpaced};
constexpr Piece kPieceIota = {
    {kRcvdReport, {S::kSrx, F::kRight, 53, 4, 57}, {S::kExchange, F::kLeft, 59, 8, 66}},
    3,
    67,
    T::kTight};
constexpr Piece kPieceInternetSprint = {{{S::kSrx, F::kRight, 43, 4, 47},
                                         {S::kName, F::kLeft, 49, 11, 59},
                                         {S::kExchange, F::kLeft, 61, 6, 66}},
                                        3,
                                        67,
                                        T::kTight};
constexpr Piece kPieceGridWithoutReport = {
    {{S::kExchange, F::kRight, 53, 4, 67}}, 1, 67, T::kSpaced};
constexpr Piece kPieceHelvetia = {
    {kRcvdReport, {S::kSrx, F::kRight, 53, 4, 56}, {S::kQth, F::kRight, 58, 3, 67}},
    3,
    67,
    T::kSpaced};
constexpr Piece kPieceQthWithout = {
    {kRcvdReport, {S::kQth, F::kLeft, 59, 5, 67}}, 2, 67, T::kSpaced};
constexpr Piece kPieceSerialQth = {
    {kRcvdReport, {S::kSrx, F::kRight, 53, 4, 57}, {S::kQth, F::kLeft, 59, 5, 67}},
    3,
    67,
    T::kSpaced};
constexpr Piece kPieceQthWithoutTight = {
    {kRcvdReport, {S::kQth, F::kLeft, 59, 5, 67}}, 2, 67, T::kTight};
constexpr Piece kPieceSerialQthTight = {
    {kRcvdReport, {S::kSrx, F::kRight, 53, 4, 57}, {S::kQth, F::kLeft, 59, 5, 67}},
    3,
    67,
    T::kTight};

bool StartsWithDigit(std::string_view word) {
  return !word.empty() && IsDigit(word[0]);
}

// ARRL 10 m: a serial number or a state, wherever the input put it.
std::string_view Arrl10Exchange(const QsoRecord& record, char (&serial)[16]) {
  if (!record.RcvdExch().empty() || record.srx == 0) return ReceivedExchangeText(record);
  auto end = std::to_chars(serial, serial + sizeof serial, record.srx).ptr;
  return {serial, static_cast<std::size_t>(end - serial)};
}

// The piece of a contest: some contests print one of two, by what the contact holds.
const Piece& PieceFor(int contest, const QsoRecord& record) {
  switch (contest) {
    case kContestSs:
      return kPieceSs;
    case kContestCqww:
      return kPieceCqz;
    case kContestWpx:
      return kPieceSerial;
    case kContestIaru:
      return record.ituz != 0 ? kPieceItuz : kPieceIaruSociety;
    case kContestArrl10: {
      char serial[16];
      return StartsWithDigit(Arrl10Exchange(record, serial)) ? kPieceExchangeRight4
                                                             : kPieceArrl10State;
    }
    case kContestArrl160:
    case kContestCq160:
    case kContestArrlDxFromDx:
    case kContestKcj:
      return kPieceExchangeLeft5;
    case kContestFd:
      return kPieceFieldDay;
    case kContestCqp:
      return kPieceCqp;
    case kContestDxped:
      return kPieceGeneral;
    case kContestAllAsian:
      return kPieceAge;
    case kContestNaqp:
    case kContestGridloc:
      return kPieceNameQth;
    case kContestYodx:
      return kPieceYodx;
    case kContestTenTen:
      return record.ten_ten != 0 ? kPieceTenTen : kPieceTenTenWithout;
    case kContestSprint:
      return kPieceSprint;
    case kContestJadx:
      return kPieceJadx;
    case kContestArci:
      return kPieceArci;
    case kContestIota:
      return kPieceIota;
    case kContestInternetSprint:
      return kPieceInternetSprint;
    case kContestStewPerry:
      return record.HasRstRcvd() ? kPieceExchangeRight4 : kPieceGridWithoutReport;
    case kContestHelvetia:
      return kPieceHelvetia;
    case kContestWag:
      return record.srx != 0 ? kPieceSerialQth : kPieceQthWithout;
    case kContestAri:
    case kContestRac:
      return record.srx != 0 ? kPieceSerialQthTight : kPieceQthWithoutTight;
    default:  // 2, 12, 13, 22, 23, 28
      return kPieceExchangeRight4;
  }
}

// A letter kept in a character field; 0 and the blank of "not given" are a blank.
std::string_view LetterOf(const char& value) {
  unsigned char c = static_cast<unsigned char>(value);
  return (c > ' ' && c < 0x7F) ? std::string_view(&value, 1) : std::string_view(" ");
}

void PutField(ColumnLine& line, const Field& field, const QsoRecord& record, int contest) {
  auto number = [&](std::int64_t value) { line.Number(field.at, field.width, field.last, value); };
  auto text = [&](std::string_view value) {
    if (field.form == Form::kRight) {
      // A text is cut at the last column it may reach; only numbers are written as stars.
      value = value.substr(0, static_cast<std::size_t>(field.last - field.at + 1));
      line.RightAligned(field.at, field.width, field.last, LineWord(value).c_str());
    } else {
      line.Word(field.at, field.width, field.last, value);
    }
  };
  auto two_digits = [&](int value) {
    char digits[8] = {static_cast<char>('0' + value / 10 % 10),
                      static_cast<char>('0' + value % 10)};
    if (value > 99) return number(value);
    line.RightAligned(field.at, field.width, field.last, std::string_view(digits, 2));
  };
  char serial[16];
  switch (field.source) {
    case Source::kRstRcvd:
      line.Word(field.at, field.width, field.last,
                ReportColumn::Received(record, field.width, "0").c_str());
      break;
    case Source::kSrx:
      number(record.srx);
      break;
    case Source::kSsPrecedence:
    case Source::kFdCategory:
      line.Put(field.at,
               LetterOf(field.source == Source::kSsPrecedence ? record.prec : record.check));
      break;
    case Source::kSsCheck:
      if (record.check != ' ') number(static_cast<unsigned char>(record.check));
      line.Reach(field.at + field.width);
      break;
    case Source::kFdTransmitters:
      if (record.prec != ' ' && record.prec != '\0')
        number(static_cast<unsigned char>(record.prec));
      line.Reach(field.at + field.width);
      break;
    case Source::kArrlSect:
      text(record.ArrlSect());
      break;
    case Source::kExchange:
      text(contest == kContestArrl10 ? Arrl10Exchange(record, serial)
                                     : ReceivedExchangeText(record));
      break;
    case Source::kCqz:
      two_digits(record.cqz);
      break;
    case Source::kItuz:
      two_digits(record.ituz);
      break;
    case Source::kAge:
      two_digits(record.age);
      break;
    case Source::kName:
      text(record.Name());
      break;
    case Source::kQth:
      text(record.Qth().empty() && contest != kContestTenTen ? ReceivedExchangeText(record)
                                                             : record.Qth());
      break;
    case Source::kArciNum:
      number(record.arci_num);
      break;
    case Source::kTenTen:
      number(record.ten_ten);
      break;
  }
}

void PutTrailer(ColumnLine& line, Trailer trailer, const QsoRecord& record) {
  if (trailer == Trailer::kNone) return;
  if (trailer != Trailer::kPointsAfter) {
    line.Words(column::kMults, column::kMultsWidth, column::kMults + column::kMultsWidth - 1,
               record.Mults());
  }
  int points_at = trailer == Trailer::kTight ? column::kPoints : column::kPoints + 1;
  int width = trailer == Trailer::kTight ? 2 : 1;
  line.Number(points_at, width, points_at + 3, record.points);
}

// Date and time, "%02d-%s-%02d %02d:%02d" (day, month, year, hour, minute), from column 7. A
// calendar's day, hour and minute and a year's last two digits are two digits each, so the
// field is always 15 characters, built in place.
void PutDateAndTime(ColumnLine& line, const CivilTime& time) {
  auto two_digits = [](char* out, int value) {
    out[0] = static_cast<char>('0' + value / 10);
    out[1] = static_cast<char>('0' + value % 10);
  };
  char field[15];
  two_digits(field, time.day);
  field[2] = '-';
  std::memcpy(field + 3, kMonths[time.month - 1].data(), 3);
  field[6] = '-';
  two_digits(field + 7, time.year % 100);
  field[9] = ' ';
  two_digits(field + 10, time.hour);
  field[12] = ':';
  two_digits(field + 13, time.minute);
  line.Put(column::kDay, std::string_view(field, sizeof field));
}

// The QSO number: right-aligned in 23 to 26, or from 23 on for five and six digits, from 22
// for seven; it is not read back, but it is never cut.
void PutQsoNumber(ColumnLine& line, int number) {
  char digits[16];
  auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
  std::string_view text(digits, static_cast<std::size_t>(end - digits));
  if (text.size() <= 4) return line.Put(27 - static_cast<int>(text.size()), text);
  if (text.size() <= 6) return line.Put(23, text);
  if (text.size() == 7) return line.Put(22, text);
  line.Put(22, "*******");
}

// ---- reading: the columns of one line ----

class LineColumns {
 public:
  explicit LineColumns(std::string_view text) : text(text) {}
  /// The character of a column; NUL past the end of the line.
  char At(int column) const {
    return column >= 0 && static_cast<std::size_t>(column) < text.size() ? text[column] : '\0';
  }
  bool Blank(int column) const { return At(column) == ' ' || At(column) == '\0'; }
  std::string_view Slice(int from, int count) const {
    if (from < 0 || static_cast<std::size_t>(from) >= text.size()) return {};
    return text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(count));
  }
  std::size_t Size() const { return text.size(); }

 private:
  std::string_view text;
};

// Blank-separated words read one after another from a column, none reaching past `last`. A
// NUL ends the words, as the end of the line does.
class Words {
 public:
  Words(const LineColumns& line, int from, int last) {
    std::string_view text = line.Slice(from, last < from ? 0 : last - from + 1);
    at = text.data();
    end = at + text.size();
  }
  std::string_view Next() {
    while (at != end && *at == ' ') ++at;
    const char* start = at;
    while (at != end && *at != ' ' && *at != '\0') ++at;
    return {start, static_cast<std::size_t>(at - start)};
  }
  std::string_view Peek() const {
    Words copy = *this;
    return copy.Next();
  }

 private:
  const char* at;
  const char* end;
};

// A report, signed ones included ("-05").
bool IsReport(std::string_view word) {
  std::size_t digit = !word.empty() && (word[0] == '+' || word[0] == '-') ? 1 : 0;
  return word.size() > digit && IsDigit(word[digit]);
}
// The number of a word; beyond the field's range, 0.
template <typename Field>
Field NumberOf(std::string_view word) {
  return ValueOrZero<Field>(ParseLeadingInt(word));
}

// The exchange, by contest. Words stop at column 67, where the multipliers begin.
constexpr int kWordsEnd = column::kExchangeEnd;

void ReadReports(Words& words, QsoRecord& record) {
  record.SetRstSent(words.Next());
  record.SetRstRcvd(words.Next());
}

void ReadSweepstakes(const LineColumns& line, QsoRecord& record) {
  Words words(line, 43, kWordsEnd);
  record.srx = NumberOf<std::int32_t>(words.Next());
  std::string_view word = words.Next();
  if (word.size() == 1 && IsUpperLetter(ToUpper(word[0]))) {  // a precedence is one letter
    record.prec = word[0];
    word = words.Next();
  }
  if (StartsWithDigit(word)) {
    record.SetCheck(word);
    word = words.Next();
  }
  record.SetArrlSect(word);
}

void ReadFieldDay(const LineColumns& line, QsoRecord& record) {
  char category = line.At(46);
  if (category > ' ') record.check = category;
  std::string_view count = line.Slice(43, 3);
  if (count.find_first_not_of(' ') != std::string_view::npos) record.SetPrec(count);
  record.SetArrlSect(Words(line, 47, kWordsEnd).Next());
}

// A word at a fixed column, unless that column (or `test`) is blank.
std::string_view WordAt(const LineColumns& line, int at, int test, int last = kWordsEnd) {
  if (line.Blank(test)) return {};
  return Words(line, at, last).Next();
}

void ReadUnrecognised(const LineColumns& line, QsoRecord& record, bool sent_column) {
  Words words(line, column::kSentReport, 66);
  if (sent_column) ReadReports(words, record);
  std::string joined;
  for (std::string_view word = words.Next(); !word.empty(); word = words.Next()) {
    if (!joined.empty()) joined += ' ';
    joined.append(word);
  }
  record.SetRcvdExch(joined);
}

void ReadExchange(int contest, const LineColumns& line, QsoRecord& record, bool sent_column) {
  Words words(line, column::kSentReport, kWordsEnd);
  switch (contest) {
    case kContestSs:
      return ReadSweepstakes(line, record);
    case kContestCqww:
      ReadReports(words, record);
      return record.SetCqz(words.Next());
    case kContestWpx:
      ReadReports(words, record);
      return record.SetSrx(words.Next());
    case kContestIaru: {
      ReadReports(words, record);
      std::string_view word = words.Next();
      return StartsWithDigit(word) ? record.SetItuz(word) : record.SetRcvdExch(word);
    }
    case kContestFd:
      return ReadFieldDay(line, record);
    case kContestCqp: {
      Words from43(line, 43, kWordsEnd);
      record.SetSrx(from43.Next());
      return record.SetRcvdExch(from43.Next());
    }
    case kContestDxped:
      ReadReports(words, record);
      record.SetName(WordAt(line, 53, 53));
      return record.SetRcvdExch(WordAt(line, 65, 65, 75));
    case kContestAllAsian:
      ReadReports(words, record);
      return record.SetAge(words.Next());
    case kContestNaqp:
    case kContestGridloc:
      // Name and location stand in their own columns: an empty name never takes the location.
      record.SetName(WordAt(line, 43, 43, 53));
      return record.SetRcvdExch(WordAt(line, 55, 55));
    case kContestYodx:
      ReadReports(words, record);
      record.SetCqz(words.Next());
      return record.SetRcvdExch(WordAt(line, 58, 58));
    case kContestTenTen:
      record.SetName(WordAt(line, 43, 43, 54));
      if (IsDigit(line.At(60))) record.SetTenTen(Words(line, 56, 60).Next());
      return record.SetQth(WordAt(line, 62, 62, 66));
    case kContestSprint:
    case kContestInternetSprint:
      record.SetSrx(Words(line, 43, 47).Next());
      record.SetName(WordAt(line, 49, 49, 59));
      return record.SetRcvdExch(WordAt(line, 61, 61));
    case kContestArci: {
      ReadReports(words, record);
      record.SetArciNum(words.Next());
      std::string_view word = words.Next();
      if (!StartsWithDigit(word)) record.SetRcvdExch(word);
      return;
    }
    case kContestIota:
      ReadReports(words, record);
      record.SetSrx(words.Next());
      return record.SetRcvdExch(WordAt(line, 59, 59));
    case kContestGeneralQso:
      return ReadUnrecognised(line, record, sent_column);
    case kContestStewPerry: {
      record.SetRstSent(words.Next());
      std::string_view word = words.Next();
      if (IsReport(word)) {
        record.SetRstRcvd(word);
        word = words.Next();
      }
      return record.SetRcvdExch(word);
    }
    case kContestHelvetia:
      ReadReports(words, record);
      record.SetSrx(words.Next());
      if (!line.Blank(60)) record.SetQth(words.Next());
      return;
    case kContestWag:
      ReadReports(words, record);
      if (!line.Blank(56)) record.SetSrx(words.Next());
      return record.SetQth(words.Next());
    case kContestAri:
    case kContestRac: {
      ReadReports(words, record);
      std::string_view word = words.Next();
      if (StartsWithDigit(word)) {
        record.SetSrx(word);
        word = words.Next();
      }
      return record.SetQth(word);
    }
    default:  // 0, 2, 6, 7, 8, 11, 12, 13, 19, 22, 23, 24
      ReadReports(words, record);
      return record.SetRcvdExch(words.Next());
  }
}

// Multipliers: up to two words in columns 68 to 75, unless column 68 holds '*' or a blank.
// The General QSOs and Ten-Ten layouts have their exchange there.
void ReadMults(int contest, const LineColumns& line, QsoRecord& record) {
  if (contest == kContestDxped || contest == kContestTenTen) return;
  if (line.Blank(column::kMults) || line.At(column::kMults) == '*') return;
  Words words(line, column::kMults, column::kMults + column::kMultsWidth - 1);
  for (int i = 0; i < 2; ++i) {
    std::string_view word = words.Next();
    if (!word.empty()) record.AddMult(word);
  }
}

template <std::size_t N>
int LabelCode(const std::string_view (&labels)[N], std::string_view text, bool last_wins) {
  int found = 0;
  for (std::size_t code = 1; code < N; ++code) {
    if (!labels[code].empty() && labels[code] == text) {
      found = static_cast<int>(code);
      if (!last_wins) break;
    }
  }
  return found;
}

int DigitsValue(std::string_view text) {
  if (text.empty()) return -1;
  int value = 0;
  for (char c : text) {
    if (!IsDigit(c)) return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

// Three letters packed into one number, upper-cased, the first lowest; 0 for a text of another
// length.
constexpr std::uint32_t MonthKey(std::string_view name) {
  if (name.size() != 3) return 0;
  std::uint32_t key = 0;
  for (std::size_t i = 0; i < 3; ++i) {
    key |= static_cast<std::uint32_t>(static_cast<unsigned char>(ToUpper(name[i]))) << (8 * i);
  }
  return key;
}

constexpr std::array<std::uint32_t, 12> MonthKeys() {
  std::array<std::uint32_t, 12> keys{};
  for (std::size_t i = 0; i < keys.size(); ++i) keys[i] = MonthKey(kMonths[i]);
  return keys;
}
constexpr std::array<std::uint32_t, 12> kMonthKeys = MonthKeys();

// The month of an English abbreviation in any case, 1 to 12; 0 for none.
int MonthOf(std::string_view name) {
  std::uint32_t key = MonthKey(name);
  for (std::size_t i = 0; i < kMonthKeys.size(); ++i) {
    if (key == kMonthKeys[i]) return static_cast<int>(i) + 1;
  }
  return 0;
}

// Day, English month abbreviation (any case) and two-digit year (below 50: 2000 on), as the
// moment the day begins (UTC). A date that names no calendar day (an unknown month among them)
// is read as 1970-01-01 and is not valid.
ColumnDay DayOf(const LineColumns& line) {
  int day = DigitsValue(line.Slice(column::kDay, 2));
  int month = MonthOf(line.Slice(column::kMonth, 3));
  int year = DigitsValue(line.Slice(column::kYear, 2));
  year += year < 50 ? 2000 : 1900;
  if (year < 1950 || !IsCalendarDate(year, month, day)) return {0, false};
  return {UtcSeconds(year, month, day, 0, 0, 0), true};
}

// Date, then hour and minute, as UTC; a time that is no time of day is read as 00:00. False
// when the date or the time is not one. The date columns of the last line are remembered.
bool ReadTime(const LineColumns& line, RememberedDay& last_day, QsoRecord& record) {
  constexpr int kDateWidth = column::kYear + 2 - column::kDay;  // "28-Nov-26"
  std::string_view date = line.Slice(column::kDay, kDateWidth);
  ColumnDay day;
  if (!last_day.Recall(date, day)) {
    day = DayOf(line);
    last_day.Remember(date, day);
  }
  int hour = DigitsValue(line.Slice(column::kHour, 2));
  int minute = DigitsValue(line.Slice(column::kMinute, 2));
  bool time_valid = IsTimeOfDay(hour, minute, 0);
  record.time_on = day.start + (time_valid ? hour * 3600 + minute * 60 : 0);
  return day.valid && time_valid;
}

bool IsQsoLine(const LineColumns& line) {
  return line.At(column::kDateDash) == '-' && line.At(column::kTimeColon) == ':';
}

// The own call: the call of the title decides whether "ARRL DX Test" is the contest worked
// from the USA and Canada (2) or from outside (11). A call the country file does not resolve,
// or no country file, gives 2.
bool WorksFromUsaOrCanada(std::string_view call) {
  CountryTable countries(kCountryFileName);
  const Country* country = countries.LookupCall(call);
  if (country == nullptr) return true;
  return country->prefix == "W" || country->prefix == "K" || country->prefix == "VE";
}

}  // namespace

// ---- Open and the title line ----

int TrLogFile::Open(const char* path, unsigned mode) {
  qso_count = 0;
  text_lines = (mode & kOpenBinary) == 0;
  last_day = {};
  sent_column = false;
  notes = {};
  if (!LogStream::Open(path, mode)) return 0;
  if (mode & kOpenWrite) return 1;
  header = ContestHeader{};
  std::string title;
  if (!ReadLine(title)) title.clear();
  if (!ReadTitle(title)) return 1;  // no contest name: contest 0
  if (header.contest == kContestNone) {
    header.contest = kContestGeneralQso;
    return FindSentColumn() ? 1 : 0;
  }
  // A listing of no contest as this class writes it: its reports stand in their columns.
  if (header.contest == kContestGeneralQso) sent_column = true;
  return 1;
}

// "2003 CQ WW Contest K7RAT": the year, the contest name up to the last blank, the own call.
// False when the title has no contest name.
bool TrLogFile::ReadTitle(const std::string& text) {
  std::string_view title = text;
  title = title.substr(0, title.find('\r'));
  if (title.empty() || !IsDigit(title[0])) {
    CopyCut(header.call, "NOCALL");
    return false;
  }
  CopyCut(header.year, title.substr(0, 4));
  // Trailing blanks are no part of the call: the call is the last word.
  std::size_t end = title.find_last_not_of(' ');
  title = title.substr(0, end == std::string_view::npos ? 0 : end + 1);
  std::size_t last_blank = title.rfind(' ');
  if (last_blank == std::string_view::npos || last_blank < 5) return false;
  CopyCut(header.call, title.substr(last_blank + 1));
  header.contest = static_cast<std::uint8_t>(ContestOfTitleName(title.substr(5, last_blank - 5)));
  return true;
}

// The highest code whose title name, upper-cased, begins the contest name.
int TrLogFile::ContestOfTitleName(std::string_view name) const {
  std::string upper(name);
  for (char& c : upper) c = ToUpper(c);
  int contest = kContestNone;
  for (int code = 1; code <= kContestCount; ++code) {
    std::string table_name(kTitleNames[code]);
    for (char& c : table_name) c = ToUpper(c);
    if (!std::string_view(upper).starts_with(table_name)) continue;
    if (code == kContestArrlDxFromDx && WorksFromUsaOrCanada(FieldText(header.call))) continue;
    contest = code;
  }
  return contest;
}

// A log of a contest the title does not name: the column titles (the first line of 50 or more
// characters) say whether the reports have their own "Sent" column at 43. A QSO line met first
// is left for ReadQso. No such line before the end of the file: the log cannot be read.
bool TrLogFile::FindSentColumn() {
  for (;;) {
    std::int64_t start = Tell();
    if (!ReadLine(line)) return false;
    LineColumns columns(line);
    if (IsQsoLine(columns)) {
      Seek(start);
      return true;
    }
    if (line.size() < 50) continue;
    sent_column = EqualsNoCase(Words(columns, 43, static_cast<int>(line.size())).Next(), "Sent");
    return true;
  }
}

// ---- QSO lines ----

// The next line, a last line without a line end included. A line wholly in the stream's
// buffer, ended by a line feed with no carriage return before it but perhaps the one of a DOS
// line end, is a view of the buffer; any other line is read by the stream's line reading into
// `line`, which also sees to a carriage return that ends a line alone. The view lasts until the
// next read.
bool TrLogFile::NextLine(std::string_view& text) {
  if (text_lines) {
    std::string_view buffered = PeekBuffered();
    const char* start = buffered.data();
    const void* lf = buffered.empty() ? nullptr : std::memchr(start, '\n', buffered.size());
    if (lf != nullptr) {
      std::size_t length = static_cast<std::size_t>(static_cast<const char*>(lf) - start);
      std::size_t text_length = length > 0 && start[length - 1] == '\r' ? length - 1 : length;
      if (std::memchr(start, '\r', text_length) == nullptr) {
        text = buffered.substr(0, text_length);
        TakeBuffered(length + 1);
        return true;
      }
    }
  }
  if (!ReadLine(line)) return false;
  text = line;
  return true;
}

int TrLogFile::ReadQso(QsoRecord& record) {
  record.Clear();
  std::string_view text;
  for (;;) {
    if (!NextLine(text)) return EndOfText();
    if (IsQsoLine(LineColumns(text))) break;
  }
  LineColumns columns(text);
  std::string_view call = columns.Slice(column::kCall, column::kCallWidth);
  record.SetCallText(call.substr(0, call.find_first_of(" *")));
  if (!ReadTime(columns, last_day, record)) ++notes.undated_qsos;
  record.mode =
      static_cast<std::uint8_t>(LabelCode(kModeLabels, columns.Slice(column::kMode, 3), true));
  record.band =
      static_cast<std::uint8_t>(LabelCode(kBandLabels, columns.Slice(column::kBand, 3), false));
  record.SetPoints(columns.Slice(column::kPoints, 8));
  ReadMults(header.contest, columns, record);
  ReadExchange(header.contest, columns, record, sent_column);
  ++qso_count;
  return 1;
}

// ---- writing ----

int TrLogFile::WriteHeader(ContestHeader source) {
  if (source.contest == kContestNone || source.contest > kContestCount) return 0;
  header = source;
  return 1;
}

int TrLogFile::WriteQso(const QsoRecord& record) {
  CivilTime time = UtcCalendar(record.time_on);
  if (time.year < 1950 || time.year > 2049) return 0;  // the year column cannot say it
  int number = ++qso_count;
  int written_before = number - 1;
  if (written_before % 50 == 0) {
    WritePageHeader(record);
  } else if (written_before % 10 == 0) {
    WriteText("\r\n");
  }
  ColumnLine line;
  bool labelled =
      record.band >= 1 && record.band <= kBandCount && !kBandLabels[record.band].empty();
  line.Put(column::kBand, labelled ? kBandLabels[record.band] : kUnknownBand);
  line.Put(column::kMode, record.mode < std::size(kModeLabels) && record.mode != 0
                              ? kModeLabels[record.mode]
                              : kNoModeLabel);
  PutDateAndTime(line, time);
  PutQsoNumber(line, number);
  line.Word(column::kCall, 14, 42, record.Call());
  int contest = header.contest;
  if (HasSentReport(contest)) {
    line.Word(column::kSentReport, 3, 46, ReportColumn::Sent(record, 3, "0").c_str());
    line.Reach(column::kExchange);
  }
  const Piece& piece = PieceFor(contest, record);
  for (int i = 0; i < piece.count; ++i) PutField(line, piece.fields[i], record, contest);
  line.Reach(piece.end + 1);
  PutTrailer(line, piece.trailer, record);
  WriteText(line.TextWithLineEnd());
  return 1;
}

void TrLogFile::WritePageHeader(const QsoRecord& record) {
  if (qso_count != 1) WriteText("\f");
  char year[8];
  std::string_view own_year = FieldText(header.year);
  if (own_year.empty() || !IsDigit(own_year[0])) {
    std::snprintf(year, sizeof year, "%04d", UtcCalendar(record.time_on).year % 10000);
    own_year = year;
  }
  const ColumnTitles& titles = kColumnTitles[header.contest];
  TextLine title;
  title.AppendText(own_year.substr(0, 4));
  title.AppendText(" ");
  title.AppendText(kTitleNames[header.contest]);
  title.AppendText(" ");
  title.AppendText(FieldText(header.call));
  title.AppendText("\r\n\r\n\r\n");
  title.WriteTo(*this);
  TextLine columns;
  columns.AppendText(kColumnTitleStart);
  columns.AppendText(titles.titles);
  columns.AppendText("\r\n");
  columns.AppendText(kDashStart);
  columns.AppendText(titles.dashes);
  columns.AppendText("\r\n");
  columns.WriteTo(*this);
}

}  // namespace quorvel
