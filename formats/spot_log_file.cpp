#include "formats/spot_log_file.h"

#include <cstring>
#include <iterator>
#include <string_view>

#include "core/civil_time.h"
#include "core/numbers.h"
#include "core/text_field.h"
#include "formats/word_end.h"

namespace quorvel {
namespace {

// The spot frequency table: upper limit in kHz (inclusive), band code, mode code.
struct SpotBandRow {
  std::int64_t limit_khz;
  SpotBand band;
};
constexpr SpotBandRow kSpotBands[] = {
    {1830, {1, kModeCw}},       {1900, {1, kModeSsb}},      {3750, {2, kModeCw}},
    {4000, {2, kModeSsb}},      {7150, {3, kModeCw}},       {7300, {3, kModeSsb}},
    {10150, {4, kModeCw}},      {14150, {5, kModeCw}},      {14350, {5, kModeSsb}},
    {18100, {6, kModeCw}},      {18168, {6, kModeSsb}},     {21200, {7, kModeCw}},
    {21450, {7, kModeSsb}},     {24900, {8, kModeCw}},      {24990, {8, kModeSsb}},
    {28300, {9, kModeCw}},      {29700, {9, kModeSsb}},     {50100, {10, kModeCw}},
    {51000, {10, kModeSsb}},    {54000, {10, kModeFm}},     {144100, {12, kModeCw}},
    {144700, {12, kModeSsb}},   {148000, {12, kModeFm}},    {222100, {13, kModeCw}},
    {222400, {13, kModeSsb}},   {225000, {13, kModeFm}},    {440000, {14, kModeSsb}},
    {450000, {14, kModeFm}},    {928000, {15, kModeSsb}},   {1300000, {16, kModeSsb}},
    {2450000, {17, kModeSsb}},  {3500000, {18, kModeSsb}},  {5900000, {19, kModeSsb}},
    {10500000, {20, kModeSsb}}, {24250000, {21, kModeSsb}},
};

constexpr std::string_view kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// The contest of every spot log.
constexpr std::uint8_t kSpotContest = kContestCqww;
// Frequencies past this many kHz are no frequency of the record.
constexpr std::int64_t kLargestKhz = UINT32_MAX / 10;
// The last year a spot's date can name: four digits.
constexpr std::int64_t kLastYear = 9999;

// The month of a three-letter name, compared with case; January for any other text.
std::int64_t MonthOfName(std::string_view name) {
  for (std::size_t i = 0; i < std::size(kMonths); ++i) {
    if (name == kMonths[i]) return static_cast<std::int64_t>(i) + 1;
  }
  return 1;
}

// A frequency in kHz as the spots give it ("14025.0"): the whole kHz and the tenths digit.
struct SpotFrequency {
  std::int64_t khz = 0;
  int tenths = 0;
};
// The kHz are the number C reads from the text; the tenths follow the blanks, the sign and the
// digits (a tab before the number leaves them out).
SpotFrequency ReadFrequency(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && text[at] == ' ') ++at;
  std::size_t number_start = at;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
  while (at < text.size() && IsDigit(text[at])) ++at;
  // Past the blanks, C reads the sign and the digits just found, unless there were none.
  std::string_view number = text.substr(number_start, at - number_start);
  SpotFrequency frequency{number.empty() ? ParseLeadingInt(text) : ParseDigitsOrLeadingInt(number),
                          0};
  if (at + 1 < text.size() && text[at] == '.' && IsDigit(text[at + 1])) {
    frequency.tenths = text[at + 1] - '0';
  }
  return frequency;
}

// Columns of a DX Cluster line, counting from 0.
namespace cluster_column {
constexpr std::size_t kCall = 10;
constexpr std::size_t kCallWidth = 13;
constexpr std::size_t kDay = 23;
constexpr std::size_t kDateDash = 25;
constexpr std::size_t kMonth = 26;
constexpr std::size_t kYear = 30;
constexpr std::size_t kHour = 35;
constexpr std::size_t kMinute = 37;
constexpr std::size_t kZulu = 39;
}  // namespace cluster_column

// The text of `width` columns from `at`, up to a NUL (where a short last line ended). A plain
// loop: the columns are a few characters, fewer than a library search costs.
std::string_view Columns(const char* line, std::size_t at, std::size_t width) {
  std::size_t length = 0;
  while (length < width && line[at + length] != '\0') ++length;
  return {line + at, length};
}

// DX Info words are separated by blanks, and a line end separates them as a blank does; the
// words of a date by '-' too.
bool IsDxInfoBlank(char c) {
  return c == ' ' || c == '\r' || c == '\n';
}
bool IsDxInfoDateSeparator(char c) {
  return c == '-' || IsDxInfoBlank(c);
}

// The words of a DX Info line one after the other: separators are skipped, the word runs to the
// next separator, and that one separator is taken with it. Each word says which bytes separate
// it; all of them lie below '.'.
class DxInfoWords {
 public:
  explicit DxInfoWords(std::string_view text) : at(text.data()), end(text.data() + text.size()) {}

  template <bool (*IsSeparator)(char)>
  std::string_view Next() {
    while (at != end && IsSeparator(*at)) ++at;
    const char* start = at;
    at = WordEnd<IsSeparator>(at, end, '-' + 1);
    std::string_view word(start, static_cast<std::size_t>(at - start));
    if (at != end) ++at;
    return word;
  }
  std::string_view NextWord() { return Next<IsDxInfoBlank>(); }
  std::string_view NextDateWord() { return Next<IsDxInfoDateSeparator>(); }

 private:
  const char* at;
  const char* end;
};

// A DX Info year word: two digits are 1970 to 2069 (00 to 69 are 2000 to 2069), three digits
// count from 1900, and a year of four digits is taken as it is.
std::int64_t YearOfDxInfoWord(std::int64_t year) {
  if (year < 70) return year + 2000;
  if (year < 1000) return year + 1900;
  return year;
}

// Fills in what a spot's line gives beyond its call: the frequency (whole kHz and tenths),
// band, mode, time, report and, from `countries` (may be null), the CQ zone. An unreadable
// date or time becomes 1970-01-01 00:00 and gives false.
bool CompleteSpot(QsoRecord& record, std::int64_t khz, int tenths, const SpotTime& time,
                  const CountryTable* countries) {
  if (khz > 0 && khz <= kLargestKhz) record.freq = static_cast<std::uint32_t>(khz * 10 + tenths);
  SpotBand band = SpotBandFromKhz(khz);
  record.band = band.band;
  record.mode = band.mode;
  // The engine's rule for unreadable dates and times: 1970-01-01, 00:00, and a note.
  bool date_readable = time.year >= 0 && time.year <= kLastYear &&
                       IsCalendarDate(time.year, static_cast<int>(time.month),
                                      static_cast<int>(ValueOrZero<std::int32_t>(time.day)));
  bool time_readable = time.hour >= 0 && time.hour <= 23 && time.minute >= 0 && time.minute <= 59;
  SpotTime used = time;
  if (!date_readable) used.year = 1970, used.month = 1, used.day = 1;
  if (!time_readable) used.hour = used.minute = 0;
  record.time_on = UtcSeconds(used.year, used.month, used.day, used.hour, used.minute, 0);
  record.rst_rcvd = record.mode == kModeCw || record.mode == kModeRtty ? 599 : 59;
  const Country* country = countries ? countries->LookupCall(record.Call()) : nullptr;
  if (country != nullptr) record.cqz = ValueOrZero<std::uint8_t>(country->zone);
  return date_readable && time_readable;
}

// A spot line's first word, its mark, begins with 'O'.
bool HasDxInfoMark(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && IsDxInfoBlank(text[at])) ++at;
  return at < text.size() && text[at] == 'O';
}

// Makes a QSO of a DX Info line that ReadRawQso kept: the mark, the frequency, the call, the
// date (day-month-year) and the time (hhmm), words in that order.
class DxInfoMaker final : public QsoMaker {
 public:
  explicit DxInfoMaker(const CountryTable* countries) : countries(countries) {}

  bool Make(const RawQso& raw, QsoRecord& record) override {
    record.Clear();
    DxInfoWords words(raw.Count() > 0 ? raw.Value(0) : std::string_view{});
    words.NextWord();  // the mark, which the reader checked
    SpotFrequency frequency = ReadFrequency(words.NextWord());
    record.SetCallText(words.NextWord());
    SpotTime time;
    time.day = ParseDigitsOrLeadingInt(words.NextDateWord());
    time.month = MonthOfName(words.NextDateWord());
    time.year = YearOfDxInfoWord(ParseDigitsOrLeadingInt(words.NextDateWord()));
    std::string_view clock = words.NextWord();
    std::string_view hour = clock.substr(0, clock.size() < 2 ? clock.size() : 2);
    time.hour = ParseDigitsOrLeadingInt(hour);
    time.minute = ParseDigitsOrLeadingInt(clock.substr(hour.size()));
    return CompleteSpot(record, frequency.khz, frequency.tenths, time, countries);
  }

 private:
  const CountryTable* countries;  // the reader's, which outlives its makers
};

}  // namespace

SpotBand SpotBandFromKhz(std::int64_t khz) {
  if (khz <= 0) return {};
  for (const SpotBandRow& row : kSpotBands) {
    if (row.limit_khz >= khz) return row.band;
  }
  return {};
}

int SpotLogFile::Open(const char* path, unsigned mode) {
  qso_count = 0;
  header = ContestHeader{};
  country_table.reset();
  if (!LogStream::Open(path, mode)) return 0;
  if (mode & kOpenWrite) return 1;
  header.contest = kSpotContest;
  country_table = std::make_unique<CountryTable>(kCountryFileName);
  return 1;
}

const char* SpotLogFile::ReadSpotLine(char* copy, std::size_t size, std::size_t& length) {
  record_start = Tell();
  std::string_view buffered = PeekBuffered();
  // Bytes without a carriage return read as they stand, so they are taken where they lie.
  if (buffered.size() >= size && std::memchr(buffered.data(), '\r', size) == nullptr) {
    TakeBuffered(size);
    length = size;
    return buffered.data();
  }
  std::memset(copy, 0, size + 1);
  // A short last line says how much of it there was; what it leaves unread stays NUL.
  length = ReadUpTo(copy, size);
  return copy;
}

int SpotLogFile::EndAtFailedRecord(const char* line, std::size_t length) {
  std::string_view text(line, length);
  bool only_line_ends = text.find_first_not_of(" \t\r\n") == std::string_view::npos;
  bool file_ended = IsEof() || PeekBuffered().empty();
  if (!(file_ended && only_line_ends)) NoteStop(record_start);
  return EndOfText();
}

int DxClusterFile::ReadQso(QsoRecord& record) {
  using namespace cluster_column;
  record.Clear();
  char copy[kDxClusterRecordSize + 1];
  std::size_t length = 0;
  const char* line = ReadSpotLine(copy, kDxClusterRecordSize, length);
  if (!IsDigit(line[0]) || line[kDateDash] != '-' || line[kZulu] != 'Z') {
    return EndAtFailedRecord(line, length);
  }
  record.SetCallText(WithoutTrailingBlanks(Columns(line, kCall, kCallWidth)));
  SpotTime time;
  time.day = ParseDigitsOrLeadingInt(Columns(line, kDay, 2));
  time.month = MonthOfName(Columns(line, kMonth, 3));
  time.year = ParseDigitsOrLeadingInt(Columns(line, kYear, 4));
  time.hour = ParseDigitsOrLeadingInt(Columns(line, kHour, 2));
  time.minute = ParseDigitsOrLeadingInt(Columns(line, kMinute, 2));
  SpotFrequency frequency = ReadFrequency(Columns(line, 0, kCall));
  if (!CompleteSpot(record, frequency.khz, frequency.tenths, time, Countries())) {
    ++notes.undated_qsos;
  }
  ++qso_count;
  return 1;
}

int DxInfoFile::Open(const char* path, unsigned mode) {
  own_maker.reset();  // it reads with the country file of the log it was made for
  return SpotLogFile::Open(path, mode);
}

std::unique_ptr<QsoMaker> DxInfoFile::NewQsoMaker() const {
  return std::make_unique<DxInfoMaker>(Countries());
}

int DxInfoFile::ReadQso(QsoRecord& record) {
  return ReadQsoInTwoSteps(record, raw_line, own_maker);
}

// The next line, kept up to its first NUL when its first word is the mark of a spot.
int DxInfoFile::ReadRawQso(RawQso& raw) {
  raw.Clear();
  char copy[kDxInfoRecordSize + 1];
  std::size_t length = 0;
  const char* line = ReadSpotLine(copy, kDxInfoRecordSize, length);
  std::string_view text = FieldText(line, kDxInfoRecordSize);
  if (!HasDxInfoMark(text)) return EndAtFailedRecord(line, length);
  raw.Add(0, text, text.size());
  ++qso_count;
  return 1;
}

}  // namespace quorvel
