#include "formats/wrtc_log_file.h"

#include <cstdint>
#include <iterator>
#include <memory>
#include <span>
#include <string_view>

#include "core/civil_time.h"
#include "core/numbers.h"
#include "core/text_field.h"
#include "formats/remembered_day.h"
#include "formats/word_end.h"

namespace quorvel {
namespace {

// Band words in metres, by band code from 1: "18" is the 17 m band.
constexpr std::string_view kBandWords[] = {"160", "80", "40", "30", "20", "18", "15", "12", "10"};

constexpr std::size_t kOwnCallColumn = 5;
constexpr std::size_t kYearColumn = 18;
constexpr std::size_t kYearWidth = 4;
constexpr std::string_view kContestName = "IARU HF Championships";
// The own call of the first line ends at a blank or a carriage return.
constexpr std::string_view kBlanks = " \r";
constexpr std::int64_t kLastYear = 9999;

// The band code of a band word; 0 for any other word. The words are two or three characters,
// compared one by one without a library call.
std::uint8_t BandOfWord(std::string_view word) {
  if (word.size() < 2 || word.size() > 3) return 0;
  for (std::size_t i = 0; i < std::size(kBandWords); ++i) {
    std::string_view band = kBandWords[i];
    if (band.size() == word.size() && band[0] == word[0] && band[1] == word[1] &&
        (band.size() == 2 || band[2] == word[2])) {
      return static_cast<std::uint8_t>(i + 1);
    }
  }
  return 0;
}

// The text from `column` of a line up to the next `stop` character; empty past the line.
std::string_view TextFrom(std::string_view line, std::size_t column, std::string_view stop) {
  if (column >= line.size()) return {};
  std::string_view rest = line.substr(column);
  return rest.substr(0, rest.find_first_of(stop));
}

// Words are separated by blanks; a carriage return left in a line ends a word too.
bool IsBlank(char c) {
  return c == ' ' || c == '\r';
}
// The words of a QSO line: number, own call, band, mode, date, time, call, report and
// exchange. Those the line lacks are empty; words after them are not read.
enum WordIndex : std::size_t {
  kNumber,
  kOwnCall,
  kBand,
  kMode,
  kDate,
  kTime,
  kCall,
  kReport,
  kExchange,
  kWordCount
};
struct QsoWords {
  WordView word[kWordCount];  // SplitWords sets each one a line has room for
};

// The first `count` words of a line: a line as long as most from one mask of its blanks,
// another in one pass over its bytes. The words are filled in place: a copy of the words just
// stored would wait for the stores to land.
void SplitWords(std::string_view line, QsoWords& words, std::size_t count = kWordCount) {
  if (SplitShortLine(line, ' ', '\r', std::span(words.word, count))) return;
  const char* at = line.data();
  const char* end = at + line.size();
  for (WordView& word : std::span(words.word, count)) {
    while (at != end && IsBlank(*at)) ++at;
    const char* start = at;
    at = WordEnd<IsBlank>(at, end, ' ' + 1);
    word = {start, static_cast<std::size_t>(at - start)};
  }
}

// The text of `rest` up to the next `separator`, which is taken off `rest` with it.
std::string_view TakeUpTo(std::string_view& rest, char separator) {
  std::size_t end = 0;
  while (end < rest.size() && rest[end] != separator) ++end;
  std::string_view piece = rest.substr(0, end);
  rest = end == rest.size() ? std::string_view{} : rest.substr(end + 1);
  return piece;
}

// The three numbers of a word such as "2002/07/13" or "12:00:00"; those it lacks are 0.
struct ThreeNumbers {
  std::int64_t first = 0, second = 0, third = 0;
};
ThreeNumbers SplitNumbers(std::string_view word, char separator) {
  ThreeNumbers numbers;
  numbers.first = ParseLeadingInt(TakeUpTo(word, separator));
  numbers.second = ParseLeadingInt(TakeUpTo(word, separator));
  numbers.third = ParseLeadingInt(word);
  return numbers;
}

std::int64_t DigitsAt(std::string_view word, std::size_t at, std::size_t count) {
  std::int64_t value = 0;
  for (std::size_t i = at; i < at + count; ++i) value = value * 10 + (word[i] - '0');
  return value;
}

// The three numbers of a word as every line writes them, "2002/07/13" or "12:00:00": a
// number of `first_width` digits and two of two digits, with `separator` between them. They
// are read from their columns; false for a word of any other shape, which SplitNumbers reads.
bool ReadUsualNumbers(std::string_view word, std::size_t first_width, char separator,
                      ThreeNumbers& numbers) {
  std::size_t second_separator = first_width + 3;
  if (word.size() != second_separator + 3) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    bool separator_column = i == first_width || i == second_separator;
    if (separator_column ? word[i] != separator : !IsDigit(word[i])) return false;
  }
  numbers = {DigitsAt(word, 0, first_width), DigitsAt(word, first_width + 1, 2),
             DigitsAt(word, second_separator + 1, 2)};
  return true;
}

ThreeNumbers ReadNumbers(std::string_view word, std::size_t first_width, char separator) {
  ThreeNumbers numbers;
  if (ReadUsualNumbers(word, first_width, separator, numbers)) return numbers;
  return SplitNumbers(word, separator);
}

// The day a date word names; 1970-01-01, not valid, for a word that names no calendar day.
ColumnDay DayOfWord(std::string_view date_word) {
  ThreeNumbers date = ReadNumbers(date_word, 4, '/');
  bool readable = date.first >= 0 && date.first <= kLastYear && date.second >= 1 &&
                  date.second <= 12 &&
                  IsCalendarDate(date.first, static_cast<int>(date.second),
                                 static_cast<int>(ValueOrZero<std::int32_t>(date.third)));
  if (!readable) return {UtcSeconds(1970, 1, 1, 0, 0, 0), false};
  return {UtcSeconds(date.first, date.second, date.third, 0, 0, 0), true};
}

// The QSO's start from its date and time words, UTC. A date that names no calendar day is read
// as 1970-01-01 and a time that is no time of day as 00:00:00; false then. The lines of one day
// read their date once.
bool ReadTime(std::string_view date_word, std::string_view time_word, RememberedDay& last_day,
              QsoRecord& record) {
  ColumnDay day;
  if (!last_day.Recall(date_word, day)) {
    day = DayOfWord(date_word);
    last_day.Remember(date_word, day);
  }
  ThreeNumbers clock = ReadNumbers(time_word, 2, ':');
  bool time_readable = clock.first >= 0 && clock.first <= 23 && clock.second >= 0 &&
                       clock.second <= 59 && clock.third >= 0 && clock.third <= 59;
  if (!time_readable) clock = {};
  record.time_on = day.start + clock.first * 3600 + clock.second * 60 + clock.third;
  return day.valid && time_readable;
}

// The mode code of a mode word, "CW" or "SSB"; 0 for any other word.
std::uint8_t ModeOfWord(std::string_view word) {
  if (word == "CW") return kModeCw;
  if (word == "SSB") return kModeSsb;
  return 0;
}

// Makes a record from the line ReadRawQso kept.
class LineMaker final : public QsoMaker {
 public:
  bool Make(const RawQso& raw, QsoRecord& record) override {
    record.Clear();
    QsoWords line;
    SplitWords(raw.Count() > 0 ? raw.Value(0) : std::string_view{}, line);
    const auto& words = line.word;
    record.srx = ValueOrZero<std::int32_t>(ParseDigitsOrLeadingInt(words[kNumber]));
    record.band = BandOfWord(words[kBand]);
    record.mode = ModeOfWord(words[kMode]);
    bool dated = ReadTime(words[kDate], words[kTime], last_day, record);
    record.SetCallText(words[kCall]);
    record.SetRstRcvd(words[kReport]);
    record.SetRcvdExch(words[kExchange]);
    return dated;
  }

 private:
  RememberedDay last_day;
};

}  // namespace

int WrtcLogFile::Open(const char* path, unsigned mode) {
  qso_count = 0;
  header = ContestHeader{};
  if (!LogStream::Open(path, mode)) return 0;
  if (mode & kOpenWrite) return 1;
  ReadHeaderLine();
  Seek(0);  // the first line is also the first QSO
  return 1;
}

void WrtcLogFile::ReadHeaderLine() {
  if (!ReadLine(line)) line.clear();
  CopyCut(header.call, TextFrom(line, kOwnCallColumn, kBlanks));
  std::string_view year = TextFrom(line, kYearColumn, "/");
  CopyCut(header.year, year.substr(0, year.size() < kYearWidth ? year.size() : kYearWidth));
  header.contest = kContestIaru;
  CopyCut(header.contest_name, kContestName);
}

std::unique_ptr<QsoMaker> WrtcLogFile::NewQsoMaker() const {
  return std::make_unique<LineMaker>();
}

int WrtcLogFile::ReadQso(QsoRecord& record) {
  return ReadQsoInTwoSteps(record, raw_line, own_maker);
}

// The next line with a word, kept whole. Only its first words are split here, for the mode,
// which decides whether the log goes on; the maker splits the rest.
int WrtcLogFile::ReadRawQso(RawQso& raw) {
  raw.Clear();
  QsoWords words;
  std::int64_t line_start = 0;
  std::string_view text;
  do {  // blank lines are passed over
    line_start = Tell();
    if (!ReadLineView(text, line)) return EndOfText();  // a last line without a line end too
    SplitWords(text, words, kMode + 1);
  } while (words.word[kNumber].size == 0);
  std::string_view mode = words.word[kMode];
  if (!mode.empty() && ModeOfWord(mode) == 0) {
    NoteStop(line_start);  // a line of no mode this format knows: the log cannot go on
    return 0;
  }
  raw.Add(0, text, text.size());
  ++qso_count;
  return 1;
}

}  // namespace quorvel
