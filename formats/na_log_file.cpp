#include "formats/na_log_file.h"

#include <iterator>
#include <span>
#include <string_view>

#include "core/numbers.h"
#include "core/text_field.h"
#include "formats/header_fields.h"

namespace quorvel {
namespace {

// Offsets and widths in the 800-byte file header that are not plain texts.
namespace header_layout {
constexpr std::size_t kSsPrecedence = 13;
constexpr std::size_t kFdClass = 13;
constexpr std::size_t kFdClassWidth = 8;
constexpr std::size_t kSsCheck = 19;
constexpr std::size_t kSsCheckWidth = 2;
constexpr std::size_t kSection = 21;
constexpr std::size_t kSectionWidth = 4;
constexpr std::size_t kZone = 21;
constexpr std::size_t kZoneWidth = 4;
constexpr std::size_t kContestNumber = 158;   // older generation
constexpr std::size_t kCategoryNumber = 160;  // newer generation
constexpr std::size_t kStationClass = 186;
constexpr std::size_t kContestName = 394;  // newer generation, up to the end of the header
}  // namespace header_layout

// Offsets and widths in the 40-byte QSO record; the exchange fields are in kExchangeLayouts.
namespace record_layout {
constexpr std::size_t kTime = 0;
constexpr std::size_t kFrequency = 4;
constexpr std::size_t kCall = 9;
constexpr std::size_t kCallWidth = 12;
}  // namespace record_layout

// A blank-padded text field: at most `width` characters, ending early at a NUL, without its
// trailing blanks, but never without its first character: a field of blanks reads as one.
template <std::size_t Size>
std::string_view TrimmedField(ByteView<Size> bytes, std::size_t at, std::size_t width) {
  std::string_view trimmed = bytes.TrimmedText(at, width);
  if (!trimmed.empty()) return trimmed;
  return bytes.Text(at, width).substr(0, 1);  // a blank, or nothing before the NUL
}

// The header texts of both generations. The four free text lines are 32-byte fields holding
// 31 characters and their terminator; lines 2 and 3 are stored in the other order.
constexpr HeaderText kHeaderTexts[] = {
    {1, 12, TextOf<&ContestHeader::call>},     {25, 30, TextOf<&ContestHeader::name>},
    {61, 30, TextOf<&ContestHeader::address>}, {91, 30, TextOf<&ContestHeader::city>},
    {121, 2, TextOf<&ContestHeader::state>},   {123, 5, TextOf<&ContestHeader::zip>},
    {128, 30, TextOf<&ContestHeader::club>},   {191, 31, TextOf<&ContestHeader::text1>},
    {223, 31, TextOf<&ContestHeader::text3>},  {255, 31, TextOf<&ContestHeader::text2>},
    {319, 31, TextOf<&ContestHeader::text4>},
};

// Older generation: the contest number 0..15 of the header; none where the number names a
// contest the system has no code for.
constexpr std::uint8_t kOlderContests[] = {
    kContestSprint, kContestNaqp,    kContestIaru,         kContestSs,
    kContestArrl10, kContestArrl160, kContestCq160,        kContestFd,
    kContestNone,   kContestArrlDx,  kContestArrlDxFromDx, kContestNone,
    kContestNone,   kContestVhfQso,  kContestWpx,          kContestCqww};

// Newer generation: the contest name the header's name field begins with.
struct ContestName {
  std::uint8_t contest;
  std::string_view name;
};
constexpr ContestName kNewerContests[] = {
    {kContestSs, "SS"},   {kContestArrlDx, "ARRLDX1"}, {kContestCqww, "CQWW"},
    {kContestWpx, "WPX"}, {kContestIaru, "IARU"},      {kContestNaqp, "NAQP"},
};

// Newer generation: the category number 0..12 of the header as a category code.
constexpr std::uint8_t kNewerCategories[] = {
    kCategorySingleOp,    kCategorySingleOpAssisted, kCategorySingleBand,  kCategorySingleOp,
    kCategorySingleOp,    kCategorySingleOp,         kCategoryQrpPortable, kCategoryRover,
    kCategoryMultiSingle, kCategoryMultiSingle,      kCategoryMultiTwo,    kCategoryLimitedMulti,
    kCategoryMultiMulti};

// Upper band edges in whole MHz, by band code from 1.
constexpr std::int64_t kBandLimitsMhz[] = {
    2,   4,   8,    11,   15,   19,   22,    25,    30,    54,    77,     148,    225,
    450, 928, 1300, 2450, 3500, 6000, 10500, 24250, 47200, 77000, 120000, 150000, 250000};

// The two low bits of the frequency word.
constexpr std::uint8_t kModes[] = {kModeCw, kModeSsb, kModeNone, kModeNone};

// How the 15-byte exchange area of a record is laid out, by contest.
enum class Exchange : std::uint8_t {
  kEnd,
  kSerial,         // srx
  kReport,         // rst_rcvd
  kCqZone,         // cqz
  kItuZoneOrText,  // ituz when it begins with a digit, else rcvd_exch
  kPrecedence,     // Sweepstakes precedence letter, one byte as it is
  kCheck,          // Sweepstakes check as a number
  kSection,        // arrl_sect
  kName,           // name
  kText,           // rcvd_exch
  kFieldDayClass,  // transmitter count and category letter
};
struct ExchangeField {
  Exchange kind;
  std::uint8_t at;
  std::uint8_t width;
};
struct ExchangeLayout {
  std::uint8_t contest;
  bool sent_report;  // newer generation: the sent report follows from the mode
  ExchangeField fields[4];
};
constexpr ExchangeLayout kExchangeLayouts[] = {
    {kContestSs,
     false,
     {{Exchange::kSerial, 21, 4},
      {Exchange::kPrecedence, 25, 1},
      {Exchange::kCheck, 30, 2},
      {Exchange::kSection, 32, 4}}},
    {kContestCqww, true, {{Exchange::kReport, 21, 3}, {Exchange::kCqZone, 32, 4}}},
    {kContestWpx, true, {{Exchange::kReport, 21, 3}, {Exchange::kSerial, 24, 4}}},
    {kContestIaru, true, {{Exchange::kReport, 21, 3}, {Exchange::kItuZoneOrText, 32, 4}}},
    {kContestFd, false, {{Exchange::kFieldDayClass, 21, 8}, {Exchange::kSection, 32, 4}}},
    {kContestNaqp, false, {{Exchange::kName, 21, 11}, {Exchange::kText, 32, 4}}},
    {kContestSprint,
     false,
     {{Exchange::kSerial, 21, 3}, {Exchange::kName, 24, 8}, {Exchange::kText, 32, 4}}},
};
// Every other contest.
constexpr ExchangeLayout kReportAndText = {
    kContestNone, true, {{Exchange::kReport, 21, 3}, {Exchange::kText, 32, 4}}};

const ExchangeLayout& LayoutOfContest(std::uint8_t contest) {
  for (const ExchangeLayout& layout : kExchangeLayouts) {
    if (layout.contest == contest) return layout;
  }
  return kReportAndText;
}

// A Field Day class such as "12A": the transmitter count and the category letter (upper case,
// 0 when the class does not end in a letter). An empty class is count 0 without a category.
struct FieldDayClass {
  std::int64_t transmitters = 0;
  char category = 0;
};
FieldDayClass ReadFieldDayClass(std::string_view text) {
  FieldDayClass result;
  char last = text.empty() ? '\0' : ToUpper(text.back());
  if (IsUpperLetter(last)) {
    result.category = last;
    text.remove_suffix(1);
  }
  result.transmitters = ParseLeadingInt(text);
  return result;
}

}  // namespace

std::uint8_t NaBandFromFrequency(std::int64_t frequency) {
  std::int64_t mhz = frequency / 10000;
  for (std::size_t i = 0; i < std::size(kBandLimitsMhz); ++i) {
    if (kBandLimitsMhz[i] >= mhz) return static_cast<std::uint8_t>(i + 1);
  }
  return 0;
}

int NaBinaryLogFile::Open(const char* path, unsigned mode) {
  qso_count = 0;
  if (!LogStream::Open(path, mode | kOpenBinary)) return 0;
  if (mode & kOpenWrite) return 1;
  raw_header.Clear();
  header = ContestHeader{};
  // A header cut short, or one naming a contest or category outside the tables, is no log:
  // nothing of it is kept.
  if (!ReadBlock(raw_header.data(), raw_header.size()) || !ReadContest()) {
    raw_header.Clear();
    header = ContestHeader{};
    Close();
    return 0;
  }
  ReadHeaderTexts();
  header.ct_option = raw_header.U8(header_layout::kStationClass);
  ReadOwnExchange();
  return 1;
}

bool NaBinaryLogFile::ReadContest() {
  using namespace header_layout;
  if (generation == NaGeneration::kOlder) {
    int number = raw_header.I16(kContestNumber);
    if (number < 0 || number >= static_cast<int>(std::size(kOlderContests))) return false;
    header.contest = kOlderContests[number];
    return header.contest != kContestNone;
  }
  std::string_view name = raw_header.Text(kContestName, kNaHeaderSize - kContestName);
  for (const ContestName& entry : kNewerContests) {
    if (name.starts_with(entry.name)) header.contest = entry.contest;
  }
  int category = raw_header.I16(kCategoryNumber);
  if (category < 0 || category >= static_cast<int>(std::size(kNewerCategories))) return false;
  header.category = kNewerCategories[category];
  return true;
}

void NaBinaryLogFile::ReadHeaderTexts() {
  for (const HeaderText& text : kHeaderTexts) {
    std::span<char> field = text.field(header);
    CopyCut(field.data(), field.size(), TrimmedField(raw_header.View(), text.at, text.width));
  }
}

// The own exchange of the contests whose header carries one.
void NaBinaryLogFile::ReadOwnExchange() {
  using namespace header_layout;
  switch (header.contest) {
    case kContestSs:
      header.prec = raw_header.U8(kSsPrecedence);
      header.check =
          ValueOrZero<std::uint8_t>(ParseLeadingInt(raw_header.Text(kSsCheck, kSsCheckWidth)));
      CopyCut(header.arrl_sect, TrimmedField(raw_header.View(), kSection, kSectionWidth));
      break;
    case kContestCqww:
      header.zone = ValueOrZero<std::uint8_t>(ParseLeadingInt(raw_header.Text(kZone, kZoneWidth)));
      break;
    case kContestFd: {
      // The header keeps the own category as a letter index (0 = 'A').
      FieldDayClass own =
          ReadFieldDayClass(TrimmedField(raw_header.View(), kFdClass, kFdClassWidth));
      header.prec = ValueOrZero<std::uint8_t>(own.transmitters);
      header.check = own.category != 0 ? static_cast<std::uint8_t>(own.category - 'A') : 0;
      break;
    }
    default:
      break;
  }
}

int NaBinaryLogFile::ReadQso(QsoRecord& record) {
  using namespace record_layout;
  record.Clear();
  Record spare;
  std::optional<RecordView> read = ReadRecord(spare);
  if (!read) return 0;
  const RecordView& raw = *read;
  record.SetCallText(TrimmedField(raw, kCall, kCallWidth));
  record.time_on = std::int64_t{raw.I32(kTime)} + kNaTimeOffset;
  std::uint32_t word = raw.U32(kFrequency);
  std::int64_t frequency = raw.I32(kFrequency) >> 2;  // the sign is kept
  record.band = NaBandFromFrequency(frequency);
  record.mode = kModes[word & 3];
  if (generation == NaGeneration::kOlder) record.freq = ValueOrZero<std::uint32_t>(frequency);
  ReadExchange(raw, record);
  ++qso_count;
  return 1;
}

void NaBinaryLogFile::ReadExchange(const RecordView& raw, QsoRecord& record) const {
  const ExchangeLayout& layout = LayoutOfContest(header.contest);
  for (const ExchangeField& field : layout.fields) {
    if (field.kind == Exchange::kEnd) break;  // the layout has no more fields
    std::string_view text = TrimmedField(raw, field.at, field.width);
    switch (field.kind) {
      case Exchange::kEnd:
        break;
      case Exchange::kSerial:
        record.SetSrx(text);
        break;
      case Exchange::kReport:
        record.SetRstRcvd(text);
        break;
      case Exchange::kCqZone:
        record.SetCqz(text);
        break;
      case Exchange::kItuZoneOrText:
        if (!text.empty() && IsDigit(text[0])) {
          record.SetItuz(text);
        } else {
          record.SetRcvdExch(text);
        }
        break;
      case Exchange::kPrecedence:
        if (char letter = static_cast<char>(raw.U8(field.at)); letter != '\0') record.prec = letter;
        break;
      case Exchange::kCheck:
        record.SetCheck(text);
        break;
      case Exchange::kSection:
        record.SetArrlSect(text);
        break;
      case Exchange::kName:
        record.SetName(text);
        break;
      case Exchange::kText:
        record.SetRcvdExch(text);
        break;
      case Exchange::kFieldDayClass: {
        FieldDayClass received = ReadFieldDayClass(text);
        record.prec = ValueOrZero<char>(received.transmitters);
        if (received.category != 0) record.check = received.category;
        break;
      }
    }
  }
  if (generation == NaGeneration::kNewer && layout.sent_report) {
    record.rst_sent = record.mode == kModeSsb ? 59 : 599;
  }
}

}  // namespace quorvel
