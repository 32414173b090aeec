#include "formats/dbase_log_file.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>

#include "core/civil_time.h"
#include "core/clock.h"
#include "core/decimal_text.h"
#include "core/numbers.h"
#include "core/text_field.h"
#include "formats/received_exchange.h"

namespace quorvel {

enum class DbaseLogFile::Content : std::uint8_t {
  kCall,
  kQsoNumber,
  kDate,
  kTimeOn,
  kTimeOff,
  kBandText,
  kBandMetres,
  kFrequency,
  kMode,
  kRstSent,
  kRstRcvd,
  kSerial,
  kPrecedence,    // the Sweepstakes precedence letter
  kCheck,         // the Sweepstakes check, a number kept in a character
  kTransmitters,  // the Field Day transmitter count, a number kept in a character
  kCategory,      // the Field Day category letter
  kSection,
  kExchange,      // the received exchange text
  kZone,          // "%02d" of the CQ zone
  kZoneBlankPad,  // "%2d" of the CQ zone
  kZoneOrNumber,  // the CQ zone, else a numeric exchange text
  kItuz,
  kHqStation,       // the exchange text of a contact without an ITU zone
  kAge,             // the age, else a numeric exchange text
  kNumber,          // a numeric exchange text
  kSerialOrNumber,  // a numeric exchange text, else the serial
  kName,
  kQth,
  kTenTen,
  kArciNum,
};

namespace {

using Content = DbaseLogFile::Content;
using Column = DbaseLogFile::Column;

constexpr std::string_view kBandTexts[kBandCount + 1] = {
    "",       "160M",   "80M",    "40M",  "30M",   "20M",   "17M",   "15M",
    "12M",    "10M",    "6M",     "??M",  "2M",    "1.5CM", "70CM",  "902",
    "1GHZ",   "2GHZ",   "3GHZ",   "5GHZ", "10GHZ", "24GHZ", "47GHZ", "76GHZ",
    "119GHZ", "142GHZ", "241GHZ", "SAT",  "PACK",  "NOV",   "LIGHT"};
// Band in metres by band code, in thousandths.
constexpr std::int64_t kBandMillimetres[kBandCount + 1] = {
    0,    160000, 80000, 40000, 30000, 20000, 17000, 15000, 12000, 10000, 6000,
    4000, 2000,   1500,  700,   330,   230,   130,   90,    50,    30,    20,
    13,   4,      2,     2,     1,     0,     0,     0,     0};  // 1.25 cm prints as 0.013
// Default frequency by band code in kHz, for the frequency column of a contact without one.
constexpr std::int64_t kBandDefaultKhz[kBandCount + 1] = {
    0,         1800,      3500,      7000,    10000,    14000,    18000,    21000,
    24000,     28000,     50000,     76000,   144000,   222000,   430000,   902000,
    1296000,   2304000,   3300000,   5600000, 10000000, 24000000, 47000000, 76000000,
    119000000, 142000000, 241000000, 0,       0,        0,        0};
constexpr std::string_view kModeTexts[] = {"", "CW", "SSB", "RTTY", "AM", "FM", "AMTOR", "PACKET"};

// The contests whose tables have no report columns.
bool HasReports(int contest) {
  switch (contest) {
    case kContestSs:
    case kContestFd:
    case kContestCqp:
    case kContestVhfQso:
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

Column Make(const char* name, char type, int length, Content content, int decimals = 0) {
  Column column{};
  CopyCut(column.name, name);
  column.type = type;
  column.length = static_cast<std::uint8_t>(length);
  column.decimals = static_cast<std::uint8_t>(decimals);
  column.content = content;
  return column;
}

void AddContestColumns(int contest, std::vector<Column>& c) {
  using C = Content;
  switch (contest) {
    case kContestSs:
      c.push_back(Make("SERIAL", 'N', 4, C::kSerial));
      c.push_back(Make("PREC", 'C', 1, C::kPrecedence));
      c.push_back(Make("CHECK", 'N', 2, C::kCheck));
      c.push_back(Make("SECTION", 'C', 4, C::kSection));
      break;
    case kContestArrlDx:
      c.push_back(Make("rx_pwr", 'C', 8, C::kExchange));
      break;
    case kContestCqww:
      c.push_back(Make("cqz", 'N', 2, C::kZone));
      break;
    case kContestWpx:
      c.push_back(Make("SERIAL", 'N', 5, C::kSerial));
      break;
    case kContestIaru:
      c.push_back(Make("ituz", 'N', 2, C::kItuz));
      c.push_back(Make("HQ_STATION", 'C', 6, C::kHqStation));
      break;
    case kContestArrl160:
    case kContestCq160:
    case kContestKcj:
      c.push_back(Make("QTH", 'C', 8, C::kExchange));
      break;
    case kContestFd:
      c.push_back(Make("TX_COUNT", 'N', 2, C::kTransmitters));
      c.push_back(Make("CATEGORY", 'C', 1, C::kCategory));
      c.push_back(Make("SECTION", 'C', 4, C::kSection));
      break;
    case kContestCqp:
      c.push_back(Make("SERIAL", 'N', 4, C::kSerial));
      c.push_back(Make("QTH", 'C', 8, C::kExchange));
      break;
    case kContestVhfQso:
      c.push_back(Make("gridsquare", 'C', 8, C::kExchange));
      break;
    case kContestDxped:
      c.push_back(Make("cqz", 'N', 2, C::kZoneOrNumber));
      break;
    case kContestAllAsian:
      c.push_back(Make("AGE", 'N', 3, C::kAge));
      break;
    case kContestNaqp:
      c.push_back(Make("name", 'C', 10, C::kName));
      c.push_back(Make("STATE", 'C', 5, C::kExchange));
      break;
    case kContestGridloc:
      c.push_back(Make("name", 'C', 10, C::kName));
      c.push_back(Make("gridsquare", 'C', 5, C::kExchange));
      break;
    case kContestYodx:
      c.push_back(Make("cqz", 'N', 2, C::kZoneBlankPad));
      c.push_back(Make("COUNTY", 'C', 2, C::kExchange));
      break;
    case kContestTenTen:
      c.push_back(Make("name", 'C', 10, C::kName));
      c.push_back(Make("10-X", 'N', 5, C::kTenTen));
      c.push_back(Make("QTH", 'C', 8, C::kQth));
      break;
    case kContestSprint:
    case kContestInternetSprint:
      c.push_back(Make("SERIAL", 'N', 4, C::kSerial));
      c.push_back(Make("name", 'C', 10, C::kName));
      c.push_back(Make("QTH", 'C', 8, C::kExchange));
      break;
    case kContestSac:
      c.push_back(Make("SERIAL", 'N', 4, C::kSerialOrNumber));
      break;
    case kContestToec:
    case kContestStewPerry:
      c.push_back(Make("gridsquare", 'C', 5, C::kExchange));
      break;
    case kContestJadx:
      c.push_back(Make("PREF", 'N', 2, C::kNumber));
      break;
    case kContestArci:
      c.push_back(Make("PWR_MEM", 'N', 5, C::kArciNum));
      c.push_back(Make("QTH", 'C', 8, C::kExchange));
      break;
    case kContestIota:
      c.push_back(Make("SERIAL", 'N', 4, C::kSerial));
      c.push_back(Make("IOTA", 'C', 6, C::kExchange));
      break;
    case kContestHelvetia:
    case kContestWag:
    case kContestAri:
    case kContestRac:
      c.push_back(Make("SERIAL", 'N', 4, C::kSerial));
      c.push_back(Make("QTH", 'C', 5, C::kQth));
      break;
    default:  // 6, 11, 12, 28 and codes outside 1 to 33
      c.push_back(Make("INFO", 'C', 8, C::kExchange));
      break;
  }
}

// ---- one field of a record ----

// A text, cut to the field and padded with blanks.
void PutText(char* field, int length, std::string_view text) {
  CopyCutBlanks(field, static_cast<std::size_t>(length), text);
}

// A number right-aligned in the field; one that does not fit fills it with '*', dBase's mark
// of a value too wide for its column, rather than being cut to its leading digits.
void PutDigits(char* field, int length, std::string_view digits) {
  if (static_cast<int>(digits.size()) > length) {
    std::memset(field, '*', static_cast<std::size_t>(length));
    return;
  }
  if (digits.empty()) return;  // an empty view may hold no pointer
  std::memcpy(field + length - static_cast<int>(digits.size()), digits.data(), digits.size());
}

void PutNumber(char* field, int length, std::int64_t value, int min_digits = 1) {
  char digits[32];
  bool negative = value < 0;
  std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  char* out = digits;
  if (negative) *out++ = '-';
  char* start = out;
  out = std::to_chars(out, digits + sizeof digits, magnitude).ptr;
  int count = static_cast<int>(out - start);
  if (count < min_digits) {  // "%02d"
    std::memmove(start + (min_digits - count), start, static_cast<std::size_t>(count));
    std::memset(start, '0', static_cast<std::size_t>(min_digits - count));
    out += min_digits - count;
  }
  PutDigits(field, length, std::string_view(digits, static_cast<std::size_t>(out - digits)));
}

// A value in thousandths with `decimals` decimals ("%9.3f"); with fewer decimals where the
// whole of it does not fit otherwise (160 m in six columns is 160.00), stars when even the
// whole number does not fit.
void PutFixed(char* field, int length, std::int64_t thousandths, int decimals) {
  std::int64_t whole = thousandths / 1000;
  std::int64_t fraction = thousandths % 1000;
  char whole_digits[24];
  auto end = std::to_chars(whole_digits, whole_digits + sizeof whole_digits, whole).ptr;
  int whole_count = static_cast<int>(end - whole_digits);
  int room = length - whole_count - 1;
  int shown = std::min(decimals, room);
  if (whole_count > length || (shown < 1 && whole_count != length)) {
    std::memset(field, '*', static_cast<std::size_t>(length));
    return;
  }
  char text[40];
  std::memcpy(text, whole_digits, static_cast<std::size_t>(whole_count));
  int at = whole_count;
  if (shown >= 1) {
    char fraction_digits[3] = {static_cast<char>('0' + fraction / 100),
                               static_cast<char>('0' + fraction / 10 % 10),
                               static_cast<char>('0' + fraction % 10)};
    text[at++] = '.';
    std::memcpy(text + at, fraction_digits, static_cast<std::size_t>(shown));
    at += shown;
  }
  PutDigits(field, length, std::string_view(text, static_cast<std::size_t>(at)));
}

// A numeric exchange text as a number; blanks for text that is no number.
void PutNumberText(char* field, int length, std::string_view text) {
  std::size_t digit = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
  bool numeric =
      text.size() > digit &&
      std::all_of(text.begin() + static_cast<std::ptrdiff_t>(digit), text.end(), IsDigit);
  if (numeric) PutNumber(field, length, ParseLeadingInt(text));
}

// A letter kept in a character field: a blank for 0 and for the blank of "not given".
void PutLetter(char* field, char value) {
  unsigned char c = static_cast<unsigned char>(value);
  if (c > ' ' && c < 0x7F) field[0] = value;
}

// A number kept in a character field; blanks when it is absent (the record's blank) or 0.
void PutCount(char* field, int length, char value, bool zero_is_absent) {
  if (value == ' ' || (zero_is_absent && value == '\0')) return;
  PutNumber(field, length, static_cast<unsigned char>(value));
}

void PutClock(char* field, std::int64_t seconds) {
  CivilTime time = UtcCalendar(seconds);
  ShortText text;  // "%02d%02d%02d00"
  text.Add(time.hour, 2).Add(time.minute, 2).Add(time.second, 2).Add("00");
  PutText(field, 8, text.View());
}

// A report right-aligned in three columns ("%3d"), signed ones with their sign; one the column
// cannot hold is written in the column's form for none.
void PutReport(char* field, bool present, const ReportText& report, std::string_view absent) {
  std::string_view text = present && report.length <= 3 ? report.View() : absent;
  PutDigits(field, 3, text);
}

template <std::size_t N>
std::string_view TextOf(const std::string_view (&table)[N], unsigned code) {
  return code < N ? table[code] : std::string_view{};
}

}  // namespace

std::vector<Column> DbaseLogFile::ColumnsFor(int contest, const ConversionOptions& options) {
  using C = Content;
  bool approach = options.approach == 1;
  std::vector<Column> c;
  c.push_back(Make("call", 'C', 16, C::kCall));
  if (options.extra_fields & kExtraQsoNumber) c.push_back(Make("QSO_NUM", 'N', 6, C::kQsoNumber));
  c.push_back(Make("qso_date", 'D', 8, C::kDate));
  c.push_back(Make(approach ? "TIME_ONTM9" : "time_on", 'C', 8, C::kTimeOn));
  if (contest == kContestGeneralQso) {
    c.push_back(Make(approach ? "TIME_OFFTM9" : "time_off", 'C', 8, C::kTimeOff));
  }
  // The band as metres only for -bNumeric; the dialog's other choice (2) is the band as a name.
  if (options.band_numeric == 1) {
    c.push_back(Make("band", 'N', 6, C::kBandMetres, 3));
  } else {
    c.push_back(Make("band", 'C', 5, C::kBandText));
  }
  if (options.extra_fields & kExtraExactFrequency) {
    c.push_back(Make("freq", 'N', 9, C::kFrequency, 3));
  }
  c.push_back(Make("mode", 'C', 5, C::kMode));
  if (HasReports(contest)) {
    char type = contest == kContestYodx ? 'N' : 'C';
    c.push_back(Make("rst_sent", type, 3, C::kRstSent));
    c.push_back(Make("rst_rcvd", type, 3, C::kRstRcvd));
  }
  AddContestColumns(contest, c);
  return c;
}

int DbaseLogFile::Open(const char* path, unsigned mode) {
  qso_count = 0;
  header_written = false;
  if (!LogStream::Open(path, mode | kOpenBinary)) return 0;
  if ((mode & kOpenWrite) == 0) ReadBlock(file_header.data(), file_header.size());
  return 1;
}

int DbaseLogFile::WriteHeader(ContestHeader source) {
  header = source;
  columns = ColumnsFor(header.contest, options);
  CivilTime today = UtcCalendar(WritingTime());
  file_header.Clear();
  file_header.PutU8(0, 3);
  file_header.PutU8(1, static_cast<std::uint8_t>(std::clamp(today.year - 1900, 0, 255)));
  file_header.PutU8(2, static_cast<std::uint8_t>(today.month));
  file_header.PutU8(3, static_cast<std::uint8_t>(today.day));
  std::size_t record_length = 1;
  for (const Column& column : columns) record_length += column.length;
  file_header.PutU16(8, static_cast<std::uint16_t>(32 + 32 * columns.size() + 1));
  file_header.PutU16(10, static_cast<std::uint16_t>(record_length));
  WriteBlock(file_header.data(), file_header.size());
  for (const Column& column : columns) {
    ByteLayout<32> descriptor;
    descriptor.PutText(0, 11, FieldText(column.name));
    descriptor.PutU8(11, static_cast<std::uint8_t>(column.type));
    descriptor.PutU8(16, column.length);
    descriptor.PutU8(17, column.decimals);
    WriteBlock(descriptor.data(), descriptor.size());
  }
  WriteText("\r");
  record_bytes.assign(record_length, ' ');
  header_written = true;
  return 1;
}

int DbaseLogFile::WriteQso(const QsoRecord& record) {
  int year = UtcCalendar(record.time_on).year;
  if (!header_written || year < 1 || year > 9999) return 0;  // the date column cannot hold it
  std::fill(record_bytes.begin(), record_bytes.end(), ' ');
  char* field = record_bytes.data() + 1;
  for (const Column& column : columns) {
    WriteColumn(column, record, field);
    field += column.length;
  }
  WriteBlock(record_bytes.data(), record_bytes.size());
  ++qso_count;
  file_header.PutU32(4, static_cast<std::uint32_t>(qso_count));
  return 1;
}

void DbaseLogFile::WriteColumn(const Column& column, const QsoRecord& record, char* field) const {
  int length = column.length;
  // The received exchange is looked for only by the columns that print it.
  auto exchange = [&record] { return ReceivedExchangeText(record); };
  switch (column.content) {
    case Content::kCall:
      return PutText(field, length, record.Call());
    case Content::kQsoNumber:
      return PutNumber(field, length, std::int64_t{qso_count} + 1);
    case Content::kDate: {
      CivilTime date = UtcCalendar(record.time_on);
      ShortText text;  // "%04d%02d%02d"
      text.Add(date.year, 4).Add(date.month, 2).Add(date.day, 2);
      return PutText(field, length, text.View());
    }
    case Content::kTimeOn:
      return PutClock(field, record.time_on);
    case Content::kTimeOff:
      if (record.time_off != 0) PutClock(field, record.time_off);
      return;
    case Content::kBandText:
      return PutText(field, length, TextOf(kBandTexts, record.band));
    case Content::kBandMetres:
      if (record.band <= kBandCount) PutFixed(field, length, kBandMillimetres[record.band], 3);
      return;
    case Content::kFrequency:
      if (record.freq != 0) return PutFixed(field, length, std::int64_t{record.freq} / 10, 3);
      if (record.band <= kBandCount) PutFixed(field, length, kBandDefaultKhz[record.band], 3);
      return;
    case Content::kMode: {
      std::string_view text = TextOf(kModeTexts, record.mode);
      if (record.mode == kModeNone) text = record.ModeName();  // FT8 and the like, by name
      return PutText(field, length, text);
    }
    case Content::kRstSent: {
      bool cw_like = record.mode == kModeCw || record.mode == kModeRtty || record.mode == kModePkt;
      return PutReport(field, record.HasRstSent(), record.RstSentText(), cw_like ? "599" : "59");
    }
    case Content::kRstRcvd:
      return PutReport(field, record.HasRstRcvd(), record.RstRcvdText(), "0");
    case Content::kSerial:
      return PutNumber(field, length, record.srx);
    case Content::kPrecedence:
      return PutLetter(field, record.prec);
    case Content::kCheck:
      return PutCount(field, length, record.check, false);
    case Content::kTransmitters:
      return PutCount(field, length, record.prec, true);
    case Content::kCategory:
      return PutLetter(field, record.check);
    case Content::kSection:
      return PutText(field, length, record.ArrlSect());
    case Content::kExchange:
      return PutText(field, length, exchange());
    case Content::kZone:
      return PutNumber(field, length, record.cqz, 2);
    case Content::kZoneBlankPad:
      return PutNumber(field, length, record.cqz);
    case Content::kZoneOrNumber:
      if (record.cqz != 0) return PutNumber(field, length, record.cqz);
      return PutNumberText(field, length, exchange());
    case Content::kItuz:
      if (record.ituz > 0) PutNumber(field, length, record.ituz, 2);
      return;
    case Content::kHqStation:
      if (record.ituz == 0) PutText(field, length, exchange());
      return;
    case Content::kAge:
      if (record.age != 0) return PutNumber(field, length, record.age);
      return PutNumberText(field, length, exchange());
    case Content::kNumber:
      return PutNumberText(field, length, exchange());
    case Content::kSerialOrNumber:
      if (!exchange().empty()) return PutNumberText(field, length, exchange());
      if (record.srx != 0) PutNumber(field, length, record.srx);
      return;
    case Content::kName:
      return PutText(field, length, record.Name());
    case Content::kQth:
      return PutText(field, length, record.Qth());
    case Content::kTenTen:
      if (record.ten_ten != 0) PutNumber(field, length, record.ten_ten);
      return;
    case Content::kArciNum:
      return PutNumber(field, length, record.arci_num);
  }
}

int DbaseLogFile::Close() {
  if (!IsOpen()) return 1;  // the output existed: nothing of it is touched
  if (header_written) {
    WriteText("\x1A");
    Seek(0);
    WriteBlock(file_header.data(), file_header.size());
  }
  return LogStream::Close();
}

}  // namespace quorvel
