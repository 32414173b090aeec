#include "formats/wrtc_log_file.h"

#include <cstdint>
#include <iterator>
#include <string_view>

#include "core/civil_time.h"
#include "core/numbers.h"
#include "core/text_field.h"
#include "refdata/words.h"

namespace quorvel {
namespace {

// Band words in metres, by band code from 1: "18" is the 17 m band.
constexpr std::string_view kBandWords[] = {"160", "80", "40", "30", "20", "18", "15", "12", "10"};

constexpr std::size_t kOwnCallColumn = 5;
constexpr std::size_t kYearColumn = 18;
constexpr std::size_t kYearWidth = 4;
constexpr std::string_view kContestName = "IARU HF Championships";
// Words are separated by blanks; a carriage return left in a line ends a word too.
constexpr std::string_view kBlanks = " \r";
constexpr std::int64_t kLastYear = 9999;

std::uint8_t BandOfWord(std::string_view word) {
  for (std::size_t i = 0; i < std::size(kBandWords); ++i) {
    if (word == kBandWords[i]) return static_cast<std::uint8_t>(i + 1);
  }
  return 0;
}

// The text from `column` of a line up to the next `stop` character; empty past the line.
std::string_view TextFrom(std::string_view line, std::size_t column, std::string_view stop) {
  if (column >= line.size()) return {};
  std::string_view rest = line.substr(column);
  return rest.substr(0, rest.find_first_of(stop));
}

// The text of `rest` up to the next `separator`, which is taken off `rest` with it.
std::string_view TakeUpTo(std::string_view& rest, char separator) {
  std::size_t end = rest.find(separator);
  std::string_view piece = rest.substr(0, end);
  rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
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

// The QSO's start from its date and time words, UTC. A date that names no calendar day is read
// as 1970-01-01 and a time that is no time of day as 00:00:00; false then.
bool ReadTime(std::string_view date_word, std::string_view time_word, QsoRecord& record) {
  ThreeNumbers date = SplitNumbers(date_word, '/');
  ThreeNumbers clock = SplitNumbers(time_word, ':');
  bool date_readable = date.first >= 0 && date.first <= kLastYear && date.second >= 1 &&
                       date.second <= 12 &&
                       IsCalendarDate(date.first, static_cast<int>(date.second),
                                      static_cast<int>(ValueOrZero<std::int32_t>(date.third)));
  bool time_readable = clock.first >= 0 && clock.first <= 23 && clock.second >= 0 &&
                       clock.second <= 59 && clock.third >= 0 && clock.third <= 59;
  if (!date_readable) date = {1970, 1, 1};
  if (!time_readable) clock = {};
  record.time_on =
      UtcSeconds(date.first, date.second, date.third, clock.first, clock.second, clock.third);
  return date_readable && time_readable;
}

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

int WrtcLogFile::ReadQso(QsoRecord& record) {
  record.Clear();
  std::size_t pos = 0;
  std::string_view first;
  std::int64_t line_start = 0;
  while (first.empty()) {
    line_start = Tell();
    if (!ReadLine(line)) return EndOfText();  // a last line without a line end is read too
    pos = 0;
    first = NextWord(line, pos, kBlanks).text;  // blank lines are passed over
  }
  std::string_view text = line;
  auto next = [&text, &pos] { return NextWord(text, pos, kBlanks).text; };
  record.SetSrx(first);
  next();  // the own call
  record.band = BandOfWord(next());
  std::string_view mode = next();
  if (mode == "CW") {
    record.mode = kModeCw;
  } else if (mode == "SSB") {
    record.mode = kModeSsb;
  } else if (!mode.empty()) {
    NoteStop(line_start);  // a line of no mode this format knows: the log cannot go on
    return 0;
  }
  std::string_view date = next();
  if (!ReadTime(date, next(), record)) ++notes.undated_qsos;
  record.SetCallText(next());
  record.SetRstRcvd(next());
  record.SetRcvdExch(next());
  ++qso_count;
  return 1;
}

}  // namespace quorvel
