#include "formats/arrl_log_file.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

#include "core/civil_time.h"
#include "core/numbers.h"
#include "core/text_field.h"
#include "formats/received_exchange.h"
#include "formats/remembered_day.h"
#include "formats/report_column.h"
#include "formats/text_line.h"

namespace quorvel {
namespace {

// Band labels by band code, used for writing and, compared exactly, for reading. An empty entry
// has no label.
constexpr const char* kBandLabels[kBandCount + 1] = {
    "",   "160", "80",  "40",  "30",  "20",  "17",  "15",  "12",  "10",  "50",
    "76", "144", "222", "432", "903", "1.2", "2.3", "3.4", "5.7", "10G", "24G",
    "",   "",    "",    "",    "",    "SAT", "PKT", "NOV", "LHT"};

// Mode labels by mode code. RTTY and AM have labels of their own: an empty mode column would
// move every later word of the line one place to the left for the reader.
constexpr const char* kModeLabels[kModeCount + 1] = {"",   "CW", "SSB", "RY", "AM",
                                                     "FM", "",   "",    "",   ""};
constexpr std::string_view kPhoneLabel = "PH";

// Written for a band or mode without a label and for a text column without a value. Three
// characters keep the date at column 8, where format detection looks for its first '/'.
constexpr const char* kUnknownWord = "???";
constexpr char kUnknownChar = '?';

constexpr std::size_t kLineRoom = 1024;  // longer lines are cut; their rest is passed over
constexpr char kMarker = '*';

// The contests an ARRL log holds; each has its columns after the QSO number in
// `AppendContestColumns`, one literal format per line layout.
constexpr int kArrlContests[] = {
    kContestSs, kContestArrlDx,       kContestIaru,   kContestArrl10, kContestArrl160,
    kContestFd, kContestArrlDxFromDx, kContestVhfQso, kContestNaqp,   kContestSprint};

bool IsArrlContest(int contest) {
  for (int known : kArrlContests) {
    if (known == contest) return true;
  }
  return false;
}

// ---- writing ----

const char* LabelOr(const char* const* labels, int count, int code) {
  if (code < 0 || code > count || labels[code][0] == '\0') return kUnknownWord;
  return labels[code];
}

// One word of a line; an empty text is written as "???".
struct Word : LineWord {
  explicit Word(std::string_view value) : LineWord(value, kUnknownWord) {}
  template <std::size_t N>
  explicit Word(const char (&field)[N]) : LineWord(field, kUnknownWord) {}
};

// A one-character column: printable characters as they are, anything else (a blank, a NUL) as
// '?', so that the column is never empty and never a NUL byte.
char ColumnChar(int c) {
  return (c > ' ' && c < 0x7F) ? static_cast<char>(c) : kUnknownChar;
}

// The own Field Day category: CT logs keep it as a letter index (0 = 'A'), ADIF logs as the
// letter itself.
char FieldDayCategory(std::uint8_t check) {
  if (check < 26) return static_cast<char>('A' + check);
  char letter = ToUpper(static_cast<char>(check));
  return IsUpperLetter(letter) ? letter : kUnknownChar;
}

// ARRL 10 m: a serial number or a state, wherever the input put it.
Word Arrl10Exchange(const QsoRecord& record) {
  if (!record.RcvdExch().empty() || record.srx == 0) return Word(ReceivedExchangeText(record));
  char serial[16];
  std::snprintf(serial, sizeof serial, "%d", record.srx);
  return Word(std::string_view(serial));
}

// A number kept in a character field (Sweepstakes check, Field Day transmitters) in a column
// of its own; the blank that marks it absent is printed as question marks, not as the number 32.
struct CountColumn {
  CountColumn(char value, int least_digits) {
    if (value == ' ') {
      CopyCut(text, "??");
    } else {
      std::snprintf(text, sizeof text, "%0*d", least_digits, static_cast<unsigned char>(value));
    }
  }
  char text[8];
};

// Reports in their three-character columns; one that does not fit is printed as 0, the column's
// form for no report.
constexpr std::size_t kReportWidth = 3;
ReportColumn SentReport(const QsoRecord& record) {
  return ReportColumn::Sent(record, kReportWidth, "0");
}
ReportColumn ReceivedReport(const QsoRecord& record) {
  return ReportColumn::Received(record, kReportWidth, "0");
}

void AppendContestColumns(TextLine& line, const ContestHeader& own, const QsoRecord& record) {
  Word call(record.call);
  char marker = record.mult_count != 0 ? kMarker : ' ';
  int points = record.points;
  switch (own.contest) {
    case kContestSs:
      line.Append("%-10s %02d %3s ", Word(own.call).c_str(), own.check,
                  Word(own.arrl_sect).c_str());
      line.Append("%-4d %c %-10s %2s %-5s %c %1d", record.srx, ColumnChar(record.prec),
                  call.c_str(), CountColumn(record.check, 2).text, Word(record.arrl_sect).c_str(),
                  marker, points);
      break;
    case kContestArrlDx:
      line.Append("%-14s %-9s %-3s %-5s %c %1d  0", call.c_str(), SentReport(record).c_str(),
                  ReceivedReport(record).c_str(), Word(ReceivedExchangeText(record)).c_str(),
                  marker, points);
      break;
    case kContestArrlDxFromDx:
      line.Append("%-14s %-3s      %-3s %-5s %c %1d  0", call.c_str(), SentReport(record).c_str(),
                  ReceivedReport(record).c_str(), Word(ReceivedExchangeText(record)).c_str(),
                  marker, points);
      break;
    case kContestIaru:
      if (record.ituz > 0) {
        line.Append("%-13s %-3s %5d %-3s %-2d    %c %1d  0", call.c_str(),
                    SentReport(record).c_str(), own.zone, ReceivedReport(record).c_str(),
                    record.ituz, marker, points);
      } else {
        line.Append("%-13s %-3s %5d %-3s %-5s %c %1d  0", call.c_str(), SentReport(record).c_str(),
                    own.zone, ReceivedReport(record).c_str(), Word(record.rcvd_exch).c_str(),
                    marker, points);
      }
      break;
    case kContestArrl10:
      line.Append(" %-13s %-3s %-5s %-3s %-5s %c %1d  0", call.c_str(), SentReport(record).c_str(),
                  "  ", ReceivedReport(record).c_str(), Arrl10Exchange(record).c_str(), marker,
                  points);
      break;
    case kContestArrl160:
      line.Append(" %-12s %-3s %-5s %-3s %-5s %c %1d  0", call.c_str(), SentReport(record).c_str(),
                  "  ", ReceivedReport(record).c_str(), Word(ReceivedExchangeText(record)).c_str(),
                  marker, points);
      break;
    case kContestFd:
      line.Append("%-14s %2d%c %-4s %2s%c %-4s %1d", call.c_str(), own.prec != 0 ? own.prec : 1,
                  FieldDayCategory(own.check), Word(own.arrl_sect).c_str(),
                  CountColumn(record.prec, 1).text, ColumnChar(record.check),
                  Word(record.arrl_sect).c_str(), points);
      break;
    case kContestVhfQso:
      line.Append("%-14s %4s %4s  %c %1d  0", call.c_str(), Word(own.gridsquare).c_str(),
                  Word(record.rcvd_exch).c_str(), marker, points);
      break;
    case kContestNaqp:
      line.Append("%-14s %-11s %-12s %c        %1d", call.c_str(), Word(record.name).c_str(),
                  Word(ReceivedExchangeText(record)).c_str(), marker, points);
      break;
    case kContestSprint:
      line.Append("%-13s %4d  %-11s %-6s %c        %1d", call.c_str(), record.srx,
                  Word(record.name).c_str(), Word(ReceivedExchangeText(record)).c_str(), marker,
                  points);
      break;
  }
}

// ---- reading ----

bool IsSeparator(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

// A line ends in its NUL when it was copied, or in the line feed (perhaps after a carriage
// return, a separator) that follows it in the stream's buffer.
bool IsLineEnd(char c) {
  return c == '\0' || c == '\n';
}

const char* PastSeparators(const char* text) {
  for (;; ++text) {
    if (*text == ' ') continue;
    if (*text != '\t' && *text != '\r') return text;
  }
}

// The end of the word at `text`: a separator or the end of the line. Every other character up
// to the blank is a control character and belongs to the word, so one compare passes over the
// letters and digits that make up nearly every word.
const char* WordEnd(const char* text) {
  for (;; ++text) {
    if (static_cast<unsigned char>(*text) > ' ') continue;
    if (IsLineEnd(*text) || IsSeparator(*text)) return text;
  }
}

// The words of one line, taken from the left; past the last word every word is empty.
class Words {
 public:
  explicit Words(const char* line) : cursor(line) {}

  std::string_view Next() {
    std::string_view word = Peek();
    cursor = word.data() + word.size();
    return word;
  }

  std::string_view Peek() const {
    const char* start = PastSeparators(cursor);
    return {start, static_cast<std::size_t>(WordEnd(start) - start)};
  }

  /// Words still to come, multiplier markers not counted.
  int CountLeftWithoutMarkers() const {
    Words rest = *this;
    int count = 0;
    for (std::string_view word = rest.Next(); !word.empty(); word = rest.Next()) {
      if (word != std::string_view(&kMarker, 1)) ++count;
    }
    return count;
  }

 private:
  const char* cursor;
};

bool IsUnknown(std::string_view word) {
  return !word.empty() && word.find_first_not_of(kUnknownChar) == std::string_view::npos;
}

// The text of a word; a placeholder of question marks stands for no text.
std::string_view TextOf(std::string_view word) {
  return IsUnknown(word) ? word.substr(0, 0) : word;
}

bool StartsWithDigit(std::string_view word) {
  return !word.empty() && IsDigit(word[0]);
}

// A word of at most three characters packed into one number, the first character lowest;
// 0 for a longer word, which no label matches, and for the empty word.
constexpr std::size_t kLongestLabel = 3;
constexpr std::uint32_t LabelKey(std::string_view word) {
  if (word.empty() || word.size() > kLongestLabel) return 0;
  std::uint32_t key = 0;
  for (std::size_t i = 0; i < word.size(); ++i) {
    key |= static_cast<std::uint32_t>(static_cast<unsigned char>(word[i])) << (8 * i);
  }
  return key;
}

template <std::size_t N>
constexpr bool FitKeys(const char* const (&labels)[N]) {
  for (const char* label : labels) {
    if (std::string_view(label).size() > kLongestLabel) return false;
  }
  return true;
}
static_assert(FitKeys(kBandLabels) && FitKeys(kModeLabels), "a label longer than a key holds");

// The keys of a label table, so that a word is matched by number compares alone.
template <std::size_t N>
constexpr std::array<std::uint32_t, N> LabelKeys(const char* const (&labels)[N]) {
  std::array<std::uint32_t, N> keys{};
  for (std::size_t code = 0; code < N; ++code) {
    keys[code] = LabelKey(labels[code]);
  }
  return keys;
}
constexpr auto kBandKeys = LabelKeys(kBandLabels);
constexpr auto kModeKeys = LabelKeys(kModeLabels);
constexpr std::uint32_t kPhoneKey = LabelKey(kPhoneLabel);

template <std::size_t N>
int CodeOfLabel(const std::array<std::uint32_t, N>& keys, std::string_view word) {
  std::uint32_t key = LabelKey(word);
  if (key == 0) return 0;
  for (std::size_t code = 1; code < N; ++code) {
    if (keys[code] == key) return static_cast<int>(code);
  }
  return 0;
}

std::uint8_t ModeOfLabel(std::string_view word) {
  int code = CodeOfLabel(kModeKeys, word);
  if (code == 0 && LabelKey(word) == kPhoneKey) code = kModeSsb;
  return static_cast<std::uint8_t>(code);
}

// The year column counts years since 1900 (99, 100, 124). Other programs write two digits, so
// below 70 it names 2000 to 2069; a full year (1900 and later) is taken as it stands.
std::int64_t YearOfColumn(std::int64_t column) {
  if (column < 70) return column + 2000;
  if (column >= 1900) return column;
  return column + 1900;
}

// The years a written year column reads back as: 70 to 169 for 1970 to 2069, on up to 3799.
constexpr int kFirstYear = 1970;
constexpr int kLastYear = 3799;

// The value of a word of digits only (at most 1,000,000), or -1 for any other word.
std::int64_t DigitsValue(std::string_view text) {
  if (text.empty()) return -1;
  std::int64_t value = 0;
  for (char c : text) {
    if (!IsDigit(c)) return -1;
    if (value < 1000000) value = value * 10 + (c - '0');
  }
  return std::min<std::int64_t>(value, 1000000);
}

// Date "dd/mm/yy": its three parts. A year below 10 years since 1900 is printed with a blank
// before it ("15/10/ 5"), so a date word that ends in its second '/' has its year in the next
// word.
struct DateParts {
  std::string_view day;
  std::string_view month;
  std::string_view year;
  bool year_apart;
};

DateParts SplitDate(std::string_view date) {
  std::size_t first = date.find('/');
  std::string_view rest =
      first == std::string_view::npos ? date.substr(date.size()) : date.substr(first + 1);
  std::size_t second = rest.find('/');
  std::string_view year =
      second == std::string_view::npos ? rest.substr(rest.size()) : rest.substr(second + 1);
  return {date.substr(0, first), rest.substr(0, second), year,
          second != std::string_view::npos && year.empty()};
}

// The moment the day of a date begins, as UTC; a date that names no calendar day is read as
// 1970-01-01 and is not valid.
ColumnDay DayOf(const DateParts& date) {
  std::int64_t day = DigitsValue(date.day);
  std::int64_t month = DigitsValue(date.month);
  std::int64_t column = DigitsValue(date.year);
  std::int64_t full_year = column < 0 ? -1 : YearOfColumn(column);
  bool valid = column >= 0 && month >= 1 && month <= 12 &&
               IsCalendarDate(full_year, static_cast<int>(month), static_cast<int>(day));
  if (!valid) return {0, false};
  return {UtcSeconds(full_year, month, day, 0, 0, 0), true};
}

// Time "hhmm": the seconds into the day; one that is no time of day is read as 00:00 and is
// not valid.
bool ReadTimeOfDay(std::string_view time, std::int64_t& seconds) {
  std::string_view hour = time.substr(0, time.size() < 2 ? time.size() : 2);
  std::int64_t hours = DigitsValue(hour);
  std::int64_t minutes = DigitsValue(time.substr(hour.size()));
  bool valid = hours >= 0 && hours <= 23 && minutes >= 0 && minutes <= 59;
  seconds = valid ? hours * 3600 + minutes * 60 : 0;
  return valid;
}

// Date and time, as UTC; false when either is not one.
bool ReadTime(Words& words, RememberedDay& last_day, QsoRecord& record) {
  std::string_view date = words.Next();
  ColumnDay day;
  if (!last_day.Recall(date, day)) {
    DateParts parts = SplitDate(date);
    if (parts.year_apart) {
      parts.year = words.Next();
      day = DayOf(parts);
    } else {
      day = DayOf(parts);
      last_day.Remember(date, day);
    }
  }
  std::int64_t seconds = 0;
  bool timed = ReadTimeOfDay(words.Next(), seconds);
  record.time_on = day.start + seconds;
  return day.valid && timed;
}

// The leading number of a word as the record's number setters read it, and as they store it:
// 0 for a value past the field's range. A word of a few digits alone, the usual number, is
// read without the general reading's blanks, signs and saturation.
template <typename Field>
Field NumberOf(std::string_view word) {
  constexpr std::size_t kPlainDigits = 9;  // below 10^9: no overflow to guard against
  if (word.empty() || word.size() > kPlainDigits) return ValueOrZero<Field>(ParseLeadingInt(word));
  std::int64_t value = 0;
  for (char c : word) {
    if (!IsDigit(c)) return ValueOrZero<Field>(ParseLeadingInt(word));
    value = value * 10 + (c - '0');
  }
  return ValueOrZero<Field>(value);
}

// A precedence or category letter; "?" (written for none) stays the blank of a cleared record.
void SetLetter(char& field, std::string_view word) {
  if (!word.empty() && word[0] != kUnknownChar) field = word[0];
}

void ReadSweepstakes(Words& words, QsoRecord& record) {
  for (int own = 0; own < 4; ++own) words.Next();  // own precedence, call, check and section
  record.srx = NumberOf<std::int32_t>(words.Next());
  SetLetter(record.prec, words.Next());
  record.SetCallText(TextOf(words.Next()));
  std::string_view check = words.Next();
  if (StartsWithDigit(check)) record.check = NumberOf<char>(check);
  record.SetArrlSect(TextOf(words.Next()));
}

// ARRL DX (both sides), ARRL 10 m and ARRL 160 m: sent report, perhaps a sent exchange, received
// report and exchange. This writer leaves the sent exchange column blank; other programs fill
// it, which shows as one word more before the points and the closing 0. The sent report is kept
// too: it is the contact's own data, not the station's.
void ReadReportAndExchange(Words& words, QsoRecord& record) {
  record.SetRstSent(words.Next());
  if (words.CountLeftWithoutMarkers() >= 5) words.Next();  // sent exchange
  record.SetRstRcvd(words.Next());
  record.SetRcvdExch(TextOf(words.Next()));
}

void ReadIaru(Words& words, QsoRecord& record) {
  record.SetRstSent(words.Next());
  words.Next();  // own zone
  record.SetRstRcvd(words.Next());
  std::string_view exchange = words.Next();
  if (StartsWithDigit(exchange)) {
    record.SetItuz(exchange);
  } else {
    record.SetRcvdExch(TextOf(exchange));
  }
}

// Class: the transmitter count followed by the category letter ("12A").
void ReadFieldDay(Words& words, QsoRecord& record) {
  words.Next();  // own class
  words.Next();  // own section
  std::string_view class_word = words.Next();
  if (!class_word.empty()) {
    char last = class_word.back();
    bool lettered = IsUpperLetter(ToUpper(last)) || last == kUnknownChar;
    if (lettered) {
      SetLetter(record.check, class_word.substr(class_word.size() - 1));
      class_word.remove_suffix(1);
    }
    if (StartsWithDigit(class_word)) record.SetPrec(class_word);  // "??" is no count
  }
  record.SetArrlSect(TextOf(words.Next()));
}

// Own grid, then the received grid. A line with one grid only is taken to carry the received
// one (the own grid is the same on every line and is what a log leaves out).
void ReadVhf(Words& words, QsoRecord& record) {
  auto is_grid = [](std::string_view word) {
    return !word.empty() && !IsDigit(word[0]) && word != std::string_view(&kMarker, 1);
  };
  std::string_view grid = words.Peek();
  if (!is_grid(grid)) return;
  words.Next();
  if (is_grid(words.Peek())) grid = words.Next();
  record.SetRcvdExch(TextOf(grid));
}

// Multiplier marker and points, or the points alone. Any word that does not begin with a digit
// is a marker, so points of 10 and more read as points.
void ReadTail(Words& words, QsoRecord& record) {
  std::string_view word = words.Next();
  if (!word.empty() && !IsDigit(word[0])) {
    record.mult_count = 1;
    word = words.Next();
  }
  record.points = NumberOf<std::uint8_t>(word);
}

void ReadContestColumns(int contest, Words& words, QsoRecord& record) {
  if (contest != kContestSs) record.SetCallText(TextOf(words.Next()));
  switch (contest) {
    case kContestSs:
      ReadSweepstakes(words, record);
      break;
    case kContestArrlDx:
    case kContestArrl10:
    case kContestArrl160:
    case kContestArrlDxFromDx:
      ReadReportAndExchange(words, record);
      break;
    case kContestIaru:
      ReadIaru(words, record);
      break;
    case kContestFd:
      ReadFieldDay(words, record);
      break;
    case kContestVhfQso:
      ReadVhf(words, record);
      break;
    case kContestNaqp:
      record.SetName(TextOf(words.Next()));
      record.SetRcvdExch(TextOf(words.Next()));
      break;
    case kContestSprint:
      record.SetSrx(words.Next());
      record.SetName(TextOf(words.Next()));
      record.SetRcvdExch(TextOf(words.Next()));
      break;
    default:
      break;
  }
  ReadTail(words, record);
}

bool IsBlankLine(const char* line) {
  return IsLineEnd(*PastSeparators(line));
}

// Makes a record from the line ReadRawQso kept: the line's words in the columns of the log's
// contest.
class LineMaker final : public QsoMaker {
 public:
  explicit LineMaker(int contest) : contest(contest) {}

  bool Make(const RawQso& raw, QsoRecord& record) override {
    record.Clear();
    Words words(raw.Count() > 0 ? raw.Value(0).data() : "");
    record.band = static_cast<std::uint8_t>(CodeOfLabel(kBandKeys, words.Next()));
    record.mode = ModeOfLabel(words.Next());
    bool dated = ReadTime(words, last_day, record);
    std::string_view number = words.Next();  // the QSO number; in Sweepstakes the serial sent
    if (contest == kContestSs) record.stx = NumberOf<std::int32_t>(number);
    ReadContestColumns(contest, words, record);
    return dated;
  }

 private:
  int contest;
  RememberedDay last_day;
};

}  // namespace

bool ArrlLogFile::SupportsContest(int contest) {
  return IsArrlContest(contest);
}

int ArrlLogFile::Open(const char* path, unsigned mode) {
  if (!LogStream::Open(path, mode)) return 0;
  header.contest = options.contest;
  CopyCut(header.call, "NOCALL");
  qso_count = 0;
  own_maker.reset();
  return 1;
}

int ArrlLogFile::WriteHeader(ContestHeader source) {
  if (!SupportsContest(source.contest)) return 0;
  header = source;
  return 1;
}

// A line wholly in the stream's buffer and ended by a line feed, as a view of the buffer that
// ends with the line feed; false for any other line (one that runs past the buffer or the line
// room, one with a carriage return before its end, the last line), which the stream's line
// reading then copies.
bool ArrlLogFile::BufferedLine(std::string_view& line) {
  std::string_view buffered = PeekBuffered();
  const char* start = buffered.data();
  std::size_t scanned = std::min<std::size_t>(buffered.size(), kLineRoom);
  const void* line_feed = scanned == 0 ? nullptr : std::memchr(start, '\n', scanned);
  if (line_feed == nullptr) return false;
  std::size_t length = static_cast<std::size_t>(static_cast<const char*>(line_feed) - start);
  std::size_t text_length = length;
  if (length > 0 && start[length - 1] == '\r') --text_length;
  if (text_length >= kLineRoom - 1 || std::memchr(start, '\r', text_length) != nullptr) {
    return false;
  }
  TakeBuffered(length + 1);
  line = {start, length + 1};
  return true;
}

// One line of the file, a last line without a line end included. A line longer than the buffer
// is cut and its rest passed over, so that the rest is not taken for a line of its own.
bool ArrlLogFile::ReadLogLine(char* line, int size) {
  if (!ReadLine(line, size)) return false;
  if (std::strlen(line) + 1 == static_cast<std::size_t>(size)) {
    char rest[256];
    while (ReadLine(rest, sizeof rest) && std::strlen(rest) + 1 == sizeof rest) {
    }
  }
  return true;
}

// The next line that is not blank, in the stream's buffer or copied into `room`, with the line
// feed or NUL that ends it; false at the end of the file.
bool ArrlLogFile::NextQsoLine(char* room, std::string_view& line) {
  for (;;) {
    if (!BufferedLine(line)) {
      if (!ReadLogLine(room, static_cast<int>(kLineRoom))) return false;
      line = {room, std::strlen(room) + 1};
    }
    if (!IsBlankLine(line.data())) return true;
  }
}

std::unique_ptr<QsoMaker> ArrlLogFile::NewQsoMaker() const {
  return std::make_unique<LineMaker>(header.contest);
}

int ArrlLogFile::ReadQso(QsoRecord& record) {
  return ReadQsoInTwoSteps(record, raw_line, own_maker);
}

// The next line that is not blank, kept whole with its end for the maker, which splits it.
int ArrlLogFile::ReadRawQso(RawQso& raw) {
  raw.Clear();
  char room[kLineRoom];
  std::string_view line;
  if (!NextQsoLine(room, line)) return EndOfText();
  raw.Add(0, line, line.size());
  ++qso_count;
  return 1;
}

int ArrlLogFile::WriteQso(const QsoRecord& record) {
  CivilTime time = UtcCalendar(record.time_on);
  if (time.year < kFirstYear || time.year > kLastYear) return 0;  // the year column cannot say it
  ++qso_count;
  if (!IsArrlContest(header.contest)) return 0;
  const char* band = LabelOr(kBandLabels, kBandCount, record.band);
  const char* mode = LabelOr(kModeLabels, kModeCount, record.mode);
  int year = time.year - 1900;
  TextLine line;
  // The common part and the QSO number: "%-3s %-3s %02d/%02d/%2d %02d%02d ", then "%-5d ", or
  // in Sweepstakes "%-4d %c " with the own precedence.
  if (header.contest == kContestSs) {
    int serial = record.stx != 0 ? record.stx : qso_count;
    line.Append("%-3s %-3s %02d/%02d/%2d %02d%02d %-4d %c ", band, mode, time.day, time.month, year,
                time.hour, time.minute, serial, ColumnChar(header.prec));
  } else {
    line.Append("%-3s %-3s %02d/%02d/%2d %02d%02d %-5d ", band, mode, time.day, time.month, year,
                time.hour, time.minute, qso_count);
  }
  AppendContestColumns(line, header, record);
  line.AppendText("\r\n");
  return line.WriteTo(*this);
}

}  // namespace quorvel
