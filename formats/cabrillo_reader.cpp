// Reading Cabrillo logs. The keyword lines before the first QSO line make the header; each
// "QSO:" line is split into words in place (loggers differ in column widths, never in the order
// of the words) and its exchange words are read by the layout of the log's contest, the one the
// writer writes.
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

#include "core/bands.h"
#include "core/civil_time.h"
#include "core/numbers.h"
#include "core/text_field.h"
#include "formats/cabrillo_layouts.h"
#include "formats/cabrillo_log_file.h"
#include "formats/word_end.h"

namespace quorvel {
namespace {

using cabrillo::Layout;
using cabrillo::ReceivedExchange;
using cabrillo::SentExchange;

// ---- words ----

// Words are separated by blanks; tabs, carriage returns and every other control character
// separate them too, so that none of them ends up inside a field.
bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

// The words of a line, as views into it. A line of more words than this is no QSO line of any
// layout.
constexpr std::size_t kMostWords = 32;
struct Words {
  WordView word[kMostWords];  // the first `count` are set
  std::size_t count = 0;
  bool too_many = false;

  std::string_view operator[](std::size_t i) const {
    return i < count ? std::string_view(word[i].data, word[i].size) : std::string_view{};
  }
  void Add(const char* data, std::size_t size) {
    if (count == kMostWords) {
      too_many = true;
    } else {
      word[count++] = {data, size};
    }
  }
};

// The words of a line: a line as long as most from masks of its blanks, another in one pass
// over its bytes.
Words SplitWords(std::string_view text) {
  Words words;
  if (WordSplit split; SplitBlankSeparated(text, std::span<WordView>(words.word), split)) {
    words.count = split.count;
    words.too_many = split.more;
    return words;
  }
  const char* at = text.data();
  const char* end = at + text.size();
  for (;;) {
    while (at != end && IsBlank(*at)) ++at;
    if (at == end) break;
    const char* start = at;
    while (at != end && !IsBlank(*at)) ++at;
    words.Add(start, static_cast<std::size_t>(at - start));
  }
  return words;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool AllDigits(std::string_view word) {
  if (word.empty()) return false;
  for (char c : word) {
    if (!IsDigit(c)) return false;
  }
  return true;
}

// A number word: digits with an optional sign ("-5", as a serial of 0 or below is written).
bool IsNumber(std::string_view word) {
  if (!word.empty() && (word[0] == '-' || word[0] == '+')) word.remove_prefix(1);
  return AllDigits(word);
}

// A signal report: RS or RST ("59", "599", "5NN" is not one), or a signed decibel report.
bool IsReport(std::string_view word) {
  if (word.size() == 3 && (word[0] == '-' || word[0] == '+')) return AllDigits(word.substr(1));
  if (word.size() != 2 && word.size() != 3) return false;
  if (!AllDigits(word)) return false;
  return word[0] >= '1' && word[0] <= '5' && word[1] >= '1';
}

// The text of a word; a placeholder of question marks (what the writer prints for a value it
// does not have) is no text.
std::string_view TextOf(std::string_view word) {
  for (char c : word) {
    if (c != '?') return word;
  }
  return {};
}

// ---- keyword lines ----

struct KeywordLine {
  std::string_view keyword;  // empty for a line that is no keyword line
  std::string_view value;
};

// "KEYWORD: value": the keyword runs up to the first ':' and holds no blank.
KeywordLine SplitKeyword(std::string_view line) {
  line = Trimmed(line);
  std::size_t colon = line.find(':');
  if (colon == std::string_view::npos || colon == 0) return {};
  std::string_view keyword = line.substr(0, colon);
  for (char c : keyword) {
    if (IsBlank(c)) return {};
  }
  return {keyword, Trimmed(line.substr(colon + 1))};
}

bool IsQsoLine(std::string_view line) {
  return line.size() >= 4 && line[0] == 'Q' && line[1] == 'S' && line[2] == 'O' && line[3] == ':';
}

// ---- the columns every QSO line begins with ----

// Kilohertz with an optional fraction ("14025", "14025.5"), or a band designator from 6 m up
// ("50", "144", "1.2G", "LIGHT"); the writer's "?BAND?" is neither band nor frequency.
bool ReadFrequency(std::string_view word, QsoRecord& record) {
  if (word == cabrillo::kBandUnknown) return true;
  // Designators, highest band first: "24G" names both 2 cm and 1.25 cm, and is 24 GHz. None
  // begins with four digits, as every frequency in kHz from 1 MHz up does.
  bool kilohertz = word.size() >= 4 && AllDigits(word.substr(0, 4));
  for (int code = kBandCount; !kilohertz && code >= cabrillo::kFirstBandAboveHf; --code) {
    if (word == cabrillo::kBandWords[code]) {
      record.band = static_cast<std::uint8_t>(code);
      return true;
    }
  }
  // Digits, then perhaps a point and more digits, of which the first is kept.
  std::size_t i = 0;
  std::uint64_t freq = 0;
  for (; i < word.size() && IsDigit(word[i]); ++i) {
    if (i == 9) return false;  // past any frequency the record holds
    freq = freq * 10 + static_cast<std::uint64_t>(word[i] - '0');
  }
  if (i == 0) return false;
  std::uint64_t tenth = 0;
  if (i < word.size()) {
    if (word[i] != '.' || !AllDigits(word.substr(i + 1))) return false;
    tenth = static_cast<std::uint64_t>(word[i + 1] - '0');
  }
  freq = freq * 10 + tenth;
  if (freq > UINT32_MAX) return false;
  record.freq = static_cast<std::uint32_t>(freq);
  if (const BandEdges* band = BandOfFrequency(freq)) {
    record.band = band->code;
    if (band->code == 0) record.SetBandName(band->adif_name);
  }
  return true;
}

// CW, PH, FM, RY; the digital DG, which no mode code names, keeps its word as the mode's name,
// and so does DI, which some loggers write for it.
bool ReadMode(std::string_view word, QsoRecord& record) {
  if (word.size() != 2) return word == cabrillo::kModeUnknown;
  if (word == "CW") {
    record.mode = kModeCw;
  } else if (word == "PH") {
    record.mode = kModeSsb;
  } else if (word == "RY") {
    record.mode = kModeRtty;
  } else if (word == "FM") {
    record.mode = kModeFm;
  } else if (word == cabrillo::kDigitalWord || word == "DI") {
    record.SetModeName(word);
  } else {
    return false;
  }
  return true;
}

int DigitsValue(std::string_view digits) {
  int value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  return value;
}

// "yyyy-mm-dd" and "hhmm", UTC; a date that names no calendar day or a time that is no time of
// day makes the line unreadable.
bool ReadTime(std::string_view date, std::string_view time, CabrilloDay& day, QsoRecord& record) {
  if (date.size() != CabrilloDay::kDateSize || time.size() != 4 || !AllDigits(time)) return false;
  int hour = DigitsValue(time.substr(0, 2)), minute = DigitsValue(time.substr(2));
  if (!IsTimeOfDay(hour, minute, 0)) return false;
  // Contacts come in order: most lines have the date of the line before.
  if (!day.known || std::memcmp(day.date, date.data(), CabrilloDay::kDateSize) != 0) {
    if (date[4] != '-' || date[7] != '-') return false;
    std::string_view year = date.substr(0, 4), month = date.substr(5, 2), d = date.substr(8, 2);
    if (!AllDigits(year) || !AllDigits(month) || !AllDigits(d)) return false;
    int y = DigitsValue(year), m = DigitsValue(month), dd = DigitsValue(d);
    if (!IsCalendarDate(y, m, dd)) return false;
    std::memcpy(day.date, date.data(), CabrilloDay::kDateSize);
    day.midnight = UtcSeconds(y, m, dd, 0, 0, 0);
    day.known = true;
  }
  record.time_on = day.midnight + hour * 3600 + minute * 60;
  return true;
}

// ---- the exchange columns ----

// The sent half and the received half of a line's exchange words. A received half may be
// shorter than the sent one: the writer leaves a column without a value empty, which takes
// its word out of the line, and the words of the last columns are the ones missing then.
struct Halves {
  const Words* words = nullptr;
  std::size_t first = 0;  // the word the sent half begins with
  std::size_t half = 0;
  std::size_t received_count = 0;

  std::string_view Sent(std::size_t i) const {
    return i < half ? (*words)[first + i] : std::string_view{};
  }
  std::string_view Received(std::size_t i) const {
    return i < received_count ? (*words)[first + half + i] : std::string_view{};
  }
};

// A transmitter number ends the line: 0 or 1 for the run and the second radio.
bool IsTransmitter(std::string_view word) {
  return word.size() <= 2 && AllDigits(word);
}

// A word shaped like a call sign: letters and digits, at least one of each, three characters or
// more (a report, a serial, a state or a grid square with its letters first is none).
bool LooksLikeCall(std::string_view word) {
  if (word.size() < 3) return false;
  bool letter = false, digit = false;
  for (char c : word) {
    letter = letter || IsUpperLetter(ToUpper(c));
    digit = digit || IsDigit(c);
  }
  return letter && digit;
}

// Where the worked call stands in a line of no known layout: in the middle of the words (a
// transmitter number at the end not counted), or beside the middle when only that word looks
// like a call, as when one side sends a word more than the other.
std::size_t GeneralCallAt(const Words& words, std::size_t first) {
  std::size_t count = words.count - first;
  if (count % 2 == 1 && count >= 3 && IsTransmitter(words[words.count - 1])) --count;
  std::size_t middle = count / 2;
  const std::size_t candidates[] = {middle, middle + 1, middle - 1};
  for (std::size_t at : candidates) {
    if (at >= 1 && at < count && LooksLikeCall(words[first + at])) return at;
  }
  return (count + 1) / 2;
}

// The columns of each half the words of a line give a layout.
std::size_t HalfOf(Layout layout, const Words& words, std::size_t first) {
  auto word = [&words, first](std::size_t i) { return words[first + i]; };
  switch (layout) {
    case Layout::kVhf:
      return IsNumber(word(1)) ? 3 : 2;  // the sent half with its report or without
    case Layout::kQsoParty:
      // With the names the fifth word is the worked call and the sixth the serial received;
      // without them the fifth is that serial. A call is never a number.
      if (IsNumber(word(5))) return 4;
      return IsNumber(word(4)) ? 3 : 4;
    case Layout::kGeneral:
      return GeneralCallAt(words, first);
    default:
      return cabrillo::HalfColumns(layout);
  }
}

// False for words that fit no line of the layout: not even the worked call, or more than both
// halves and a transmitter number.
bool SplitHalves(Layout layout, const Words& words, std::size_t first, Halves& halves) {
  std::size_t count = words.count - first;
  std::size_t half = HalfOf(layout, words, first);
  if (half == 0 || count <= half) return false;
  if (layout == Layout::kVhf) {  // each half has its report or not: ReadVhf counts the rest
    halves = {&words, first, half, count - half};
    return true;
  }
  if (layout == Layout::kGeneral) {  // the halves need not be alike
    if (count % 2 == 1 && count >= 3 && IsTransmitter(words[words.count - 1])) --count;
    halves = {&words, first, half, count - half};
    return true;
  }
  if (count == 2 * half + 1) {
    if (!IsTransmitter(words[words.count - 1])) return false;
    --count;
  } else if (count > 2 * half) {
    return false;
  }
  halves = {&words, first, half, count - half};
  return true;
}

void SetNumberIfOne(std::string_view word, void (QsoRecord::*set)(std::string_view),
                    QsoRecord& record) {
  if (IsNumber(word)) (record.*set)(word);
}

void ReadReportsExchange(const cabrillo::Contest& contest, const Halves& h, QsoRecord& record) {
  record.SetRstSent(TextOf(h.Sent(1)));
  if (contest.sent == SentExchange::kSerial || contest.sent == SentExchange::kSerialOutsideNa) {
    SetNumberIfOne(h.Sent(2), &QsoRecord::SetStx, record);
  }
  record.SetRstRcvd(TextOf(h.Received(1)));
  std::string_view exchange = TextOf(h.Received(2));
  bool number = IsNumber(exchange);
  switch (contest.received) {
    case ReceivedExchange::kCqZone:
      if (number) return record.SetCqz(exchange);
      break;
    case ReceivedExchange::kSerial:
      if (number) return record.SetSrx(exchange);
      break;
    case ReceivedExchange::kItuZone:
      if (!exchange.empty() && IsDigit(exchange[0])) return record.SetItuz(exchange);
      break;
    case ReceivedExchange::kText:
    case ReceivedExchange::kSerialState:
      break;
  }
  record.SetRcvdExch(exchange);
}

// A precedence or category letter; "?" (written for none) stays the blank of a cleared record.
char LetterOf(std::string_view word, char absent) {
  return !word.empty() && word[0] != '?' ? word[0] : absent;
}

void ReadSweepstakes(const Halves& h, QsoRecord& record) {
  SetNumberIfOne(h.Sent(1), &QsoRecord::SetStx, record);
  SetNumberIfOne(h.Received(1), &QsoRecord::SetSrx, record);
  record.prec = LetterOf(h.Received(2), record.prec);
  std::string_view check = h.Received(3);
  if (!check.empty() && IsDigit(check[0])) record.SetCheck(check);
  record.SetArrlSect(TextOf(h.Received(4)));
}

// Reports are left out where the contact has none, on either side alone: the received half is
// the call, the report when it is a number, the grid, and perhaps a transmitter number.
bool ReadVhf(const Halves& h, QsoRecord& record) {
  if (h.half == 3) record.SetRstSent(h.Sent(1));
  std::size_t grid = 1;
  if (IsNumber(h.Received(1))) record.SetRstRcvd(h.Received(grid++));
  record.SetRcvdExch(TextOf(h.Received(grid)));
  std::size_t end = grid + 1;
  if (h.received_count == end + 1) return IsTransmitter(h.Received(end));
  return h.received_count <= end;
}

void ReadQsoParty(const Halves& h, QsoRecord& record) {
  SetNumberIfOne(h.Sent(1), &QsoRecord::SetStx, record);
  SetNumberIfOne(h.Received(1), &QsoRecord::SetSrx, record);
  if (h.half == 4) record.SetName(TextOf(h.Received(2)));
  record.SetRcvdExch(TextOf(h.Received(h.half - 1)));
}

// A Field Day class: the number of transmitters, then the category letter ("12A").
struct FieldDayClass {
  std::string_view transmitters;
  char category = 0;
};
FieldDayClass SplitClass(std::string_view word) {
  FieldDayClass result;
  if (word.size() < 2 || !IsUpperLetter(ToUpper(word.back()))) return result;
  std::string_view count = word.substr(0, word.size() - 1);
  if (!AllDigits(count)) return result;
  return {count, ToUpper(word.back())};
}

void ReadFieldDay(const Halves& h, QsoRecord& record) {
  FieldDayClass received = SplitClass(h.Received(1));
  if (received.category != 0) {
    record.SetPrec(received.transmitters);
    record.check = received.category;
  }
  record.SetArrlSect(TextOf(h.Received(2)));
}

// A log of no layout of its own: a report where a word is one, the rest of the received words
// as the exchange.
void ReadGeneral(const Halves& h, QsoRecord& record) {
  if (IsReport(h.Sent(1))) record.SetRstSent(h.Sent(1));
  std::size_t next = 1;
  if (IsReport(h.Received(1))) record.SetRstRcvd(h.Received(next++));
  char exchange[sizeof record.rcvd_exch];
  std::size_t length = 0;
  for (; next < h.received_count; ++next) {
    std::string_view word = h.Received(next);
    if (length != 0 && length < sizeof exchange) exchange[length++] = ' ';
    std::size_t room = sizeof exchange - length;
    std::size_t count = word.size() < room ? word.size() : room;
    std::memcpy(exchange + length, word.data(), count);
    length += count;
  }
  record.SetRcvdExch(std::string_view(exchange, length));
}

bool ReadExchange(const cabrillo::Contest& contest, const Words& words, std::size_t first,
                  QsoRecord& record) {
  Halves h;
  if (!SplitHalves(contest.layout, words, first, h)) return false;
  record.SetCallText(TextOf(h.Received(0)));
  switch (contest.layout) {
    case Layout::kReports:
      ReadReportsExchange(contest, h, record);
      break;
    case Layout::kSweepstakes:
      ReadSweepstakes(h, record);
      break;
    case Layout::kVhf:
      return ReadVhf(h, record);
    case Layout::kQsoParty:
      ReadQsoParty(h, record);
      break;
    case Layout::kNaqp:
      record.SetName(TextOf(h.Received(1)));
      record.SetRcvdExch(TextOf(h.Received(2)));
      break;
    case Layout::kFieldDay:
      ReadFieldDay(h, record);
      break;
    case Layout::kGeneral:
      ReadGeneral(h, record);
      break;
  }
  return true;
}

// The words after "QSO:": frequency, mode, date, time, then the exchange of both sides.
constexpr std::size_t kExchangeStart = 4;

bool ReadQsoWords(const cabrillo::Contest& contest, const Words& words, CabrilloDay& day,
                  QsoRecord& record) {
  if (words.too_many || words.count < kExchangeStart + 2) return false;
  return ReadFrequency(words[0], record) && ReadMode(words[1], record) &&
         ReadTime(words[2], words[3], day, record) &&
         ReadExchange(contest, words, kExchangeStart, record);
}

// ---- the header ----

// What some Windows editors put before the first line of a text file saved as UTF-8.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// What the keyword lines say before it is known how they combine.
// The lines themselves are gone by then: only values are kept.
struct HeaderWords {
  bool address_read = false;
  bool category_lines = false;  // CATEGORY-OPERATOR and its fellows (version 3.0)
  std::uint8_t operator_code = 0;
  bool multi_op = false;
  bool assisted = false;
  bool portable = false;
  bool rover = false;
  std::uint8_t multi_category = kCategoryMultiSingle;  // by CATEGORY-TRANSMITTER
  std::uint8_t mode = kModeNone;
};

template <std::size_t N>
void CopyValue(char (&field)[N], std::string_view value) {
  CopyCut(field, value);
}

std::uint8_t PowerOf(std::string_view word) {
  for (std::size_t code = 1; code < std::size(cabrillo::kPowerWords); ++code) {
    if (EqualsNoCase(word, cabrillo::kPowerWords[code])) return static_cast<std::uint8_t>(code);
  }
  return 0;
}

// The mode a contest name or CATEGORY-MODE line gives: CW, SSB (or PH), RTTY (or RY), FM.
std::uint8_t ModeOfWord(std::string_view word) {
  if (EqualsNoCase(word, "CW")) return kModeCw;
  if (EqualsNoCase(word, "SSB") || EqualsNoCase(word, "PH")) return kModeSsb;
  if (EqualsNoCase(word, "RTTY") || EqualsNoCase(word, "RY")) return kModeRtty;
  if (EqualsNoCase(word, "FM")) return kModeFm;
  return kModeNone;
}

// The category code of an operator word of a version 2.0 CATEGORY line, the older spellings
// included; 0xFF for a word that is none.
constexpr std::uint8_t kNoCategory = 0xFF;
std::uint8_t CategoryOfWord(std::string_view word) {
  for (std::size_t code = 0; code < std::size(cabrillo::kCategoryWords); ++code) {
    if (EqualsNoCase(word, cabrillo::kCategoryWords[code])) return static_cast<std::uint8_t>(code);
  }
  if (EqualsNoCase(word, "SINGLE_OP_ASSISTED")) return kCategorySingleOpAssisted;
  if (EqualsNoCase(word, "MULTI-LIMTED")) return kCategoryLimitedMulti;
  return kNoCategory;
}

// "CATEGORY: SINGLE-OP ALL LOW": operator, band, power.
void ReadCategoryLine(std::string_view value, ContestHeader& header) {
  Words words = SplitWords(value);
  std::uint8_t code = CategoryOfWord(words[0]);
  if (code != kNoCategory) header.category = code;
  for (std::size_t i = 1; i < words.count; ++i) {
    if (std::uint8_t power = PowerOf(words[i]); power != 0) header.power_cat = power;
  }
}

// The second ADDRESS line of a log this program wrote: "city, state zip".
void ReadCityLine(std::string_view value, ContestHeader& header) {
  std::size_t comma = value.find(',');
  if (comma == std::string_view::npos) return;
  CopyValue(header.city, Trimmed(value.substr(0, comma)));
  Words rest = SplitWords(value.substr(comma + 1));
  CopyValue(header.state, rest[0]);
  CopyValue(header.zip, rest[1]);
}

void ReadCategoryKeyword(std::string_view keyword, std::string_view value, HeaderWords& words,
                         ContestHeader& header) {
  std::string_view which = keyword.substr(std::string_view("CATEGORY-").size());
  std::string_view word = SplitWords(value)[0];
  bool operator_line = EqualsNoCase(which, "OPERATOR") || EqualsNoCase(which, "ASSISTED") ||
                       EqualsNoCase(which, "STATION") || EqualsNoCase(which, "TRANSMITTER");
  words.category_lines = words.category_lines || operator_line;
  if (EqualsNoCase(which, "OPERATOR")) {
    words.multi_op = EqualsNoCase(word, "MULTI-OP");
  } else if (EqualsNoCase(which, "ASSISTED")) {
    words.assisted = EqualsNoCase(word, "ASSISTED");
  } else if (EqualsNoCase(which, "POWER")) {
    header.power_cat = PowerOf(word);
  } else if (EqualsNoCase(which, "STATION")) {
    words.portable = EqualsNoCase(word, "PORTABLE");
    words.rover = word.size() >= 5 && EqualsNoCase(word.substr(0, 5), "ROVER");
  } else if (EqualsNoCase(which, "TRANSMITTER")) {
    words.multi_category = EqualsNoCase(word, "TWO")         ? kCategoryMultiTwo
                           : EqualsNoCase(word, "UNLIMITED") ? kCategoryMultiMulti
                           : EqualsNoCase(word, "LIMITED")   ? kCategoryLimitedMulti
                                                             : kCategoryMultiSingle;
  } else if (EqualsNoCase(which, "MODE")) {
    words.mode = ModeOfWord(word);
  }
}

void ReadHeaderLine(const KeywordLine& line, HeaderWords& words, ContestHeader& header) {
  std::string_view keyword = line.keyword;
  std::string_view value = line.value;
  if (EqualsNoCase(keyword, "CONTEST")) {
    CopyValue(header.contest_name, value);
  } else if (EqualsNoCase(keyword, "CALLSIGN")) {
    CopyValue(header.call, SplitWords(value)[0]);
  } else if (EqualsNoCase(keyword, "CATEGORY")) {
    ReadCategoryLine(value, header);
  } else if (keyword.size() > 9 && EqualsNoCase(keyword.substr(0, 9), "CATEGORY-")) {
    ReadCategoryKeyword(keyword, value, words, header);
  } else if (EqualsNoCase(keyword, "NAME")) {
    CopyValue(header.name, value);
  } else if (EqualsNoCase(keyword, "ADDRESS")) {
    if (!words.address_read) {
      CopyValue(header.address, value);
      words.address_read = true;
    } else if (header.city[0] == '\0') {
      ReadCityLine(value, header);
    }
  } else if (EqualsNoCase(keyword, "ADDRESS-CITY")) {
    CopyValue(header.city, value);
  } else if (EqualsNoCase(keyword, "ADDRESS-STATE-PROVINCE")) {
    CopyValue(header.state, value);
  } else if (EqualsNoCase(keyword, "ADDRESS-POSTALCODE")) {
    CopyValue(header.zip, value);
  } else if (EqualsNoCase(keyword, "CLUB")) {
    CopyValue(header.club, value);
  } else if (EqualsNoCase(keyword, "OPERATORS")) {
    CopyValue(header.operators, value);
  } else if (EqualsNoCase(keyword, "LOCATION") || EqualsNoCase(keyword, "ARRL-SECTION")) {
    if (!value.empty()) CopyValue(header.arrl_sect, SplitWords(value)[0]);
  } else if (EqualsNoCase(keyword, "GRID-LOCATOR")) {
    CopyValue(header.gridsquare, SplitWords(value)[0]);
  }
}

// The category code of the version 3.0 lines.
std::uint8_t CategoryOfLines(const HeaderWords& words, std::uint8_t power) {
  if (words.rover) return kCategoryRover;
  if (!words.multi_op) {
    if (words.assisted) return kCategorySingleOpAssisted;
    return words.portable && power == 1 ? kCategoryQrpPortable : kCategorySingleOp;
  }
  return words.multi_category;
}

// The contest a CONTEST value names: a name the table has, or a stem it has followed by the
// mode or month.
const cabrillo::Contest* FindContest(std::string_view name, std::string_view& rest) {
  for (const cabrillo::Contest& entry : cabrillo::kContests) {
    if (entry.name.back() == '-') {
      if (name.size() > entry.name.size() &&
          EqualsNoCase(name.substr(0, entry.name.size()), entry.name)) {
        rest = name.substr(entry.name.size());
        return &entry;
      }
    } else if (EqualsNoCase(name, entry.name)) {
      rest = {};
      return &entry;
    }
  }
  return nullptr;
}

// The layout a contest is read with: its first row, written or not.
const cabrillo::Contest* ContestOfCode(int code) {
  for (const cabrillo::Contest& entry : cabrillo::kContests) {
    if (entry.contest == code) return &entry;
  }
  return nullptr;
}

}  // namespace

int CabrilloLogFile::Open(const char* path, unsigned mode) {
  qso_count = 0;
  log_ended = false;
  day = CabrilloDay{};
  reading = &cabrillo::kGeneralContest;
  if (!LogStream::Open(path, mode)) return 0;
  if (mode & kOpenWrite) {
    CopyCut(header.call, "NOCALL");
    return 1;
  }
  header = ContestHeader{};
  return ReadHeader() ? 1 : 0;
}

// False when the file has no "START-OF-LOG:" line before its first QSO line: it is no
// Cabrillo log then.
bool CabrilloLogFile::ReadHeader() {
  HeaderWords words;
  std::int64_t first_qso = -1;
  bool started = false;
  for (;;) {
    std::int64_t at = Tell();
    if (!ReadLine(line)) break;
    std::string_view text = line;
    if (at == 0 && text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    KeywordLine keyword = SplitKeyword(text);
    if (EqualsNoCase(keyword.keyword, "QSO") || EqualsNoCase(keyword.keyword, "X-QSO")) {
      first_qso = at;
      break;
    }
    if (EqualsNoCase(keyword.keyword, "END-OF-LOG")) {
      log_ended = true;
      break;
    }
    started = started || EqualsNoCase(keyword.keyword, "START-OF-LOG");
    ReadHeaderLine(keyword, words, header);
  }
  if (!started) return false;

  std::string_view rest;
  const cabrillo::Contest* contest =
      FindContest(SplitWords(FieldText(header.contest_name))[0], rest);
  if (contest != nullptr && contest->contest == kContestArrlDx &&
      EqualsNoCase(FieldText(header.arrl_sect), "DX")) {
    contest = cabrillo::WrittenContest(kContestArrlDxFromDx);  // worked from outside W/VE
  }
  if (contest == nullptr && options.contest != kContestNone) {
    header.contest = options.contest;  // a contest of no Cabrillo name: the one the user names
    contest = ContestOfCode(options.contest);
  }
  if (contest != nullptr) {
    reading = contest;
    header.contest = contest->contest;
  }
  header.mode = contest != nullptr && contest->contest != kContestVhfQso ? ModeOfWord(rest) : 0;
  if (header.mode == kModeNone) header.mode = words.mode;
  if (words.category_lines) header.category = CategoryOfLines(words, header.power_cat);

  if (first_qso >= 0) {
    TakeOwnExchange(SplitKeyword(line).value);
    Seek(first_qso);
  }
  return true;
}

// What the first QSO line says of the own station: the year, and the own exchange where the
// header has a field for it (Sweepstakes precedence, check and section, IARU zone, VHF grid,
// Field Day class and section).
void CabrilloLogFile::TakeOwnExchange(std::string_view qso_line) {
  Words words = SplitWords(qso_line);
  QsoRecord record;
  record.Clear();
  CabrilloDay own_day;
  if (!ReadQsoWords(*reading, words, own_day, record)) return;
  CopyCut(header.year, words[2].substr(0, 4));
  Halves h;
  SplitHalves(reading->layout, words, kExchangeStart, h);
  if (header.call[0] == '\0') CopyValue(header.call, TextOf(h.Sent(0)));
  auto section = [this](std::string_view word) {
    if (header.arrl_sect[0] == '\0') CopyValue(header.arrl_sect, TextOf(word));
  };
  switch (reading->layout) {
    case Layout::kSweepstakes: {
      header.prec = static_cast<std::uint8_t>(LetterOf(h.Sent(2), '\0'));
      if (AllDigits(h.Sent(3)))
        header.check = ValueOrZero<std::uint8_t>(ParseLeadingInt(h.Sent(3)));
      section(h.Sent(4));
      break;
    }
    case Layout::kReports:
      if (reading->sent == SentExchange::kZone && AllDigits(h.Sent(2))) {
        header.zone = ValueOrZero<std::uint8_t>(ParseLeadingInt(h.Sent(2)));
      }
      break;
    case Layout::kVhf:
      if (header.gridsquare[0] == '\0') CopyValue(header.gridsquare, TextOf(h.Sent(h.half - 1)));
      break;
    case Layout::kFieldDay: {
      FieldDayClass own = SplitClass(h.Sent(1));
      if (own.category != 0) {
        header.prec = ValueOrZero<std::uint8_t>(ParseLeadingInt(own.transmitters));
        header.check = static_cast<std::uint8_t>(own.category - 'A');
      }
      section(h.Sent(2));
      break;
    }
    default:
      break;
  }
}

// The next line: a view into the stream's buffer when the whole line is there, as it mostly is,
// else read whole into `line`. A carriage return inside the line (not the one before its line
// feed) ends a text line too, which the stream's own line reading sees to. The view lasts until
// the next read.
bool CabrilloLogFile::NextLine(std::string_view& text) {
  std::string_view buffered = PeekBuffered();
  const char* start = buffered.data();
  const void* lf = buffered.empty() ? nullptr : std::memchr(start, '\n', buffered.size());
  if (lf != nullptr) {
    std::size_t length = static_cast<std::size_t>(static_cast<const char*>(lf) - start);
    const void* cr = std::memchr(start, '\r', length);
    if (cr == nullptr || static_cast<const char*>(cr) == start + length - 1) {
      text = buffered.substr(0, cr == nullptr ? length : length - 1);
      TakeBuffered(length + 1);
      return true;
    }
  }
  if (!ReadLine(line)) return false;
  text = line;
  return true;
}

int CabrilloLogFile::ReadQso(QsoRecord& record) {
  record.Clear();
  while (!log_ended) {
    std::string_view text;
    if (!NextLine(text)) return EndOfText();
    if (IsQsoLine(text)) {
      if (ReadQsoWords(*reading, SplitWords(text.substr(4)), day, record)) {
        ++qso_count;
        return 1;
      }
      ++notes.unread_lines;
      record.Clear();
      continue;
    }
    KeywordLine keyword = SplitKeyword(text);
    if (keyword.keyword.empty()) continue;
    if (EqualsNoCase(keyword.keyword, "QSO")) {  // the keyword in small letters, or indented
      if (ReadQsoWords(*reading, SplitWords(keyword.value), day, record)) {
        ++qso_count;
        return 1;
      }
      ++notes.unread_lines;
      record.Clear();
    } else if (EqualsNoCase(keyword.keyword, "X-QSO")) {
      ++notes.x_qsos;
    } else if (EqualsNoCase(keyword.keyword, "END-OF-LOG")) {
      log_ended = true;
    }
  }
  return 0;
}

}  // namespace quorvel
