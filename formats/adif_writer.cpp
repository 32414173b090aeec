// Writing ADIF: the header block and three to four lines per contact, the exchange spelled with
// the tags that suit the log's contest. Every tag states the true length of its value.
#include <algorithm>
#include <array>
#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "core/bands.h"
#include "core/civil_time.h"
#include "core/clock.h"
#include "core/decimal_text.h"
#include "core/numbers.h"
#include "core/text_field.h"
#include "core/version.h"
#include "formats/adif_log_file.h"

namespace quorvel {
namespace {

constexpr std::size_t kWrapWidth = 80;

constexpr const char* kAdifVersion = "3.1.4";
constexpr const char* kProgramId = "Quorvel";
// The dates ADIF's eight-digit date field can hold.
constexpr int kLastYear = 9999;

std::string_view TagName(AdifTag tag) {
  return kAdifTagNames[tag];
}

// "<name:" of every tag, padded so that it is copied with one move of a fixed size.
constexpr std::size_t kOpeningRoom = 32;
struct TagOpening {
  char text[kOpeningRoom];
  std::uint8_t size;
};
static_assert(kAdifLongestTagName + 2 <= kOpeningRoom, "'<', the longest name and ':' fit");
constexpr std::array<TagOpening, kAdifTagCount> kTagOpenings = [] {
  std::array<TagOpening, kAdifTagCount> openings{};
  for (int tag = 0; tag < kAdifTagCount; ++tag) {
    TagOpening& opening = openings[tag];
    std::string_view name = kAdifTagNames[tag];
    std::size_t at = 0;
    opening.text[at++] = '<';
    for (char c : name) opening.text[at++] = c;
    opening.text[at++] = ':';
    opening.size = static_cast<std::uint8_t>(at);
  }
  return openings;
}();

// "00" to "99", two characters per number.
constexpr std::array<char, 200> kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (int i = 0; i < 100; ++i) {
    pairs[2 * i] = static_cast<char>('0' + i / 10);
    pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}();

// Copies `count` bytes: the few characters of a tag value in two overlapping moves of a fixed
// size instead of a library call, never reading or writing outside the `count` bytes.
inline void CopyBytes(char* out, const char* in, std::size_t count) {
  if (count >= 8 && count <= 16) {
    std::uint64_t head;
    std::uint64_t tail;
    std::memcpy(&head, in, 8);
    std::memcpy(&tail, in + count - 8, 8);
    std::memcpy(out, &head, 8);
    std::memcpy(out + count - 8, &tail, 8);
  } else if (count >= 4 && count < 8) {
    std::uint32_t head;
    std::uint32_t tail;
    std::memcpy(&head, in, 4);
    std::memcpy(&tail, in + count - 4, 4);
    std::memcpy(out, &head, 4);
    std::memcpy(out + count - 4, &tail, 4);
  } else if (count < 4) {
    for (std::size_t i = 0; i < count; ++i) out[i] = in[i];
  } else {
    std::memcpy(out, in, count);
  }
}

// A whole tag with a value from a fixed list ("<band:3>80M", "<mode:2>CW"), padded so that it
// is copied with one move of a fixed size.
constexpr std::size_t kWholeTagRoom = 32;
struct WholeTag {
  char text[kWholeTagRoom];
  std::uint8_t size;
};
template <std::size_t N>
constexpr std::array<WholeTag, N> WholeTags(AdifTag tag, const std::string_view (&values)[N]) {
  std::array<WholeTag, N> tags{};
  for (std::size_t i = 0; i < N; ++i) {
    WholeTag& whole = tags[i];
    const TagOpening& opening = kTagOpenings[static_cast<std::size_t>(tag)];
    std::size_t at = 0;
    for (std::size_t c = 0; c < opening.size; ++c) whole.text[at++] = opening.text[c];
    std::size_t length = values[i].size();  // a short name: one or two digits
    if (length >= 10) whole.text[at++] = static_cast<char>('0' + length / 10);
    whole.text[at++] = static_cast<char>('0' + length % 10);
    whole.text[at++] = '>';
    for (char c : values[i]) whole.text[at++] = c;
    whole.size = static_cast<std::uint8_t>(at);
  }
  return tags;
}
constexpr std::array<WholeTag, kBandCount + 1> kBandTags = WholeTags(kAdifBand, kAdifBandNames);
constexpr std::array<WholeTag, kModeCount + 1> kModeTags = WholeTags(kAdifMode, kModeNames);
constexpr std::array<WholeTag, kContestCount + 1> kContestIdTags =
    WholeTags(kAdifContestId, kAdifContestNames);

// ---- Tags written without a check of the room ----
//
// The first two lines of a contact are bounded by the record's field sizes; the caller checks
// once that kFirstLinesRoom bytes are free, and these write at `out` and return the end. A tag
// may touch kOpeningRoom + 3 bytes past its start before its value (the opening's move).

constexpr std::size_t kTagRoom = kOpeningRoom + 3;  // an opening's move, two digits and '>'
constexpr std::size_t kShortTextRoom = 16;          // a band name of the frequency table
static_assert(std::ranges::all_of(kBandEdges,
                                  [](const BandEdges& band) {
                                    return band.adif_name.size() <= kShortTextRoom;
                                  }),
              "every band name of the frequency table is a short text");
constexpr std::size_t kNumberRoom = 20;  // a 64-bit number with its sign
// Each tag counts kTagRoom and its longest value: no move reaches past the sum of the counts
// up to its own.
constexpr std::size_t kFirstLinesRoom =
    (kTagRoom + sizeof QsoRecord{}.call) + 14 + 8 +  // call, "<qso_date:8:d>" and the date
    2 * (kTagRoom + 6) + 2 +                         // start and end, line end
    kWholeTagRoom + (kTagRoom + kShortTextRoom) +    // band, whole or by name
    (kTagRoom + 12) +                                // frequency
    (kTagRoom + sizeof QsoRecord{}.mode_name) +      // mode
    (kTagRoom + sizeof QsoRecord{}.submode) +        // submode
    2 * (kTagRoom + kShortTextRoom) + 2;             // reports, line end

// "<name:n>" for a value of fewer than ten characters.
inline char* PutShortOpening(char* out, AdifTag tag, std::size_t value_length) {
  const TagOpening& opening = kTagOpenings[static_cast<std::size_t>(tag)];
  std::memcpy(out, opening.text, kOpeningRoom);
  out += opening.size;
  out[0] = static_cast<char>('0' + value_length);
  out[1] = '>';
  return out + 2;
}

// "<name:n>" for a value of fewer than a hundred characters.
inline char* PutOpening(char* out, AdifTag tag, std::size_t value_length) {
  if (value_length < 10) return PutShortOpening(out, tag, value_length);
  const TagOpening& opening = kTagOpenings[static_cast<std::size_t>(tag)];
  std::memcpy(out, opening.text, kOpeningRoom);
  out += opening.size;
  std::memcpy(out, &kDigitPairs[value_length % 100 * 2], 2);
  out[2] = '>';
  return out + 3;
}

// The text of a record's field of N bytes (up to its first NUL), the whole field copied with
// one move of its size; the bytes past the text are written over by what follows.
template <std::size_t N>
char* PutField(char* out, AdifTag tag, const char (&field)[N]) {
  static_assert(N <= 16, "a short field");
  std::size_t length = FieldText(field).size();
  out = PutOpening(out, tag, length);
  std::memcpy(out, field, N);
  return out + length;
}

// A short text, at most kShortTextRoom characters of it.
inline char* PutShortText(char* out, AdifTag tag, std::string_view value) {
  value = value.substr(0, std::min(value.size(), kShortTextRoom));
  out = PutOpening(out, tag, value.size());
  CopyBytes(out, value.data(), value.size());
  return out + value.size();
}

inline char* PutWhole(char* out, const WholeTag& tag) {
  std::memcpy(out, tag.text, kWholeTagRoom);
  return out + tag.size;
}

template <std::size_t N>
char* PutConstant(char* out, const char (&text)[N]) {
  std::memcpy(out, text, N - 1);
  return out + N - 1;
}

// Two digits of each number 0..99 ("20261128", "000017"); a number outside that range (none
// of a calendar's) is written as 99.
template <std::size_t N>
char* PutDigitPairs(char* out, const std::array<int, N>& values) {
  for (int value : values) {
    std::memcpy(out, &kDigitPairs[std::min(static_cast<unsigned>(value), 99u) * 2], 2);
    out += 2;
  }
  return out;
}

// A time of day as a six-character tag, hours, minutes and seconds.
inline char* PutClock(char* out, AdifTag tag, const CivilTime& time) {
  out = PutShortOpening(out, tag, 6);
  return PutDigitPairs(out, std::array{time.hour, time.minute, time.second});
}

// A number: 0 to 999 (the reports) without a division loop, others as "%d" prints them,
// through the library's conversion, which takes two digits at a time.
inline char* PutNumber(char* out, AdifTag tag, std::int64_t value) {
  if (value < 0 || value >= 1000) {
    char digits[kNumberRoom];
    auto length =
        static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, value).ptr - digits);
    out = PutOpening(out, tag, length);
    CopyBytes(out, digits, length);
    return out + length;
  }
  auto number = static_cast<unsigned>(value);
  const char* pair = &kDigitPairs[number % 100 * 2];
  if (number < 10) {
    out = PutShortOpening(out, tag, 1);
    *out = pair[1];
    return out + 1;
  }
  if (number < 100) {
    out = PutShortOpening(out, tag, 2);
    std::memcpy(out, pair, 2);
    return out + 2;
  }
  out = PutShortOpening(out, tag, 3);
  out[0] = static_cast<char>('0' + number / 100);
  std::memcpy(out + 1, pair, 2);
  return out + 3;
}

// A report: as a number, or in the signed two-digit form ("-05", "+03") of decibel reports.
inline char* PutReport(char* out, AdifTag tag, std::int16_t value, bool with_sign) {
  if (!with_sign && value >= 0) return PutNumber(out, tag, value);
  return PutShortText(out, tag, FormatReport(value, true).View());
}

// MHz with three decimals: whole MHz, a point, then kHz within the MHz.
inline char* PutFrequency(char* out, std::uint32_t freq) {
  std::uint32_t whole_mhz = freq / 10000;
  std::uint32_t khz = freq % 10000 / 10;
  out = PutOpening(out, kAdifFreq, static_cast<std::size_t>(DigitCount(whole_mhz)) + 4);
  out = std::to_chars(out, out + 10, whole_mhz).ptr;
  *out++ = '.';
  *out++ = static_cast<char>('0' + khz / 100);
  std::memcpy(out, &kDigitPairs[khz % 100 * 2], 2);
  return out + 2;
}

}  // namespace

// Text of one contact or of the header, built in a bounded buffer and written in one block.
// Text that would not fit is cut; nothing is written past the buffer. Values come from the
// record's and the header's text accessors, which end at a field's NUL, and from constants:
// none holds a NUL.
//
// The usual tags are written by moves of a fixed size that may run past the tag's end; the
// tags after it write over those bytes, and the bytes past the text's end are never counted.
// Such a move is made only where the room for all of it is free.
class AdifRecordText {
 public:
  static constexpr std::size_t kRoom = 2048;
  static constexpr std::size_t kSpace = kRoom + 1;  // and vsnprintf's terminator

  AdifRecordText() = default;
  /// Text built straight into `space` (kSpace bytes, the output's write buffer), or into its
  /// own storage when `space` is null.
  explicit AdifRecordText(char* space)
      : data(space != nullptr ? space : storage), at(data), limit(data + kRoom) {}
  AdifRecordText(const AdifRecordText&) = delete;
  AdifRecordText& operator=(const AdifRecordText&) = delete;
  bool InPlace() const { return data != storage; }
  /// Writing without a check: the bytes free from the end of the text, where the caller writes
  /// at most as many, and then the new end.
  std::size_t Left() const { return Left(at); }
  char* End() { return at; }
  void MoveEnd(char* end) { at = std::min(end, limit); }

  void Append(std::string_view text) {
    char* out = at;
    std::size_t count = std::min(text.size(), Left(out));
    CopyBytes(out, text.data(), count);
    at = out + count;
  }
  void Append(const AdifRecordText& other) { Append(other.View()); }
  /// A text constant, written with one move of its fixed size when it fits.
  template <std::size_t N>
  void AppendConstant(const char (&text)[N]) {
    char* out = at;
    if (Left(out) < N - 1) return Append({text, N - 1});
    std::memcpy(out, text, N - 1);
    at = out + N - 1;
  }
  [[gnu::format(printf, 2, 3)]] void Format(const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    std::size_t length = Size();
    int written = std::vsnprintf(data + length, kRoom + 1 - length, format, arguments);
    va_end(arguments);
    if (written > 0) at += std::min(static_cast<std::size_t>(written), kRoom - length);
  }
  void Clear() { at = data; }
  bool Empty() const { return at == data; }
  std::size_t Size() const { return static_cast<std::size_t>(at - data); }
  std::string_view View() const { return {data, Size()}; }

  // Tag forms: text, number, two digits and one character. Built by hand rather than through
  // printf: every contact has a dozen tags, and this is the writer's hot path. Where the room
  // for the longest such tag is free, the tag is written with the unchecked writers above.
  void Text(AdifTag tag, std::string_view value) {
    char* out = at;
    if (value.size() <= kShortTextRoom && Left(out) >= kTagRoom + kShortTextRoom) {
      at = PutShortText(out, tag, value);
      return;
    }
    value = value.substr(0, std::min(value.size(), kRoom - 1));
    TagStart(tag, static_cast<std::int64_t>(value.size()));
    Append(value);
  }
  /// The text of a record's field of N bytes (ending at its first NUL).
  template <std::size_t N>
  void Field(AdifTag tag, const char (&field)[N]) {
    char* out = at;
    if (Left(out) < kTagRoom + N) return Text(tag, FieldText(field));
    at = PutField(out, tag, field);
  }
  /// A tag with a value from a fixed list, written whole.
  void Whole(const WholeTag& tag) {
    char* out = at;
    if (Left(out) < kWholeTagRoom) return Append({tag.text, tag.size});
    at = PutWhole(out, tag);
  }
  void Number(AdifTag tag, std::int64_t value) {
    char* out = at;
    if (Left(out) >= kTagRoom + kNumberRoom) {
      at = PutNumber(out, tag, value);
      return;
    }
    DecimalText digits = Decimal(value);
    TagStart(tag, digits.length);
    Append(digits.View());
  }
  [[gnu::always_inline]] void TwoDigits(AdifTag tag, int value) {
    char* out = at;
    if (value >= 0 && value <= 99 && Left(out) >= kTagRoom + 2) {
      at = PutDigitPairs(PutShortOpening(out, tag, 2), std::array{value});
      return;
    }
    TwoDigitsChecked(tag, value);
  }
  void Character(AdifTag tag, char value) {
    // A NUL byte would corrupt the text file; a blank is a record's absent letter.
    if (value == '\0' || value == ' ') return Text(tag, "");
    TagStart(tag, 1);
    AppendChar(value);
  }
  /// A tag whose value the caller appends itself, `value_length` characters long.
  void TagStart(AdifTag tag, std::int64_t value_length, std::string_view type = {}) {
    char* out = at;
    if (type.empty() && value_length >= 0 && value_length < 10 && Left(out) >= kTagRoom) {
      at = PutShortOpening(out, tag, static_cast<std::size_t>(value_length));
      return;
    }
    const TagOpening& opening = kTagOpenings[static_cast<std::size_t>(tag)];
    Append({opening.text, opening.size});
    AppendNumber(value_length);
    if (!type.empty()) {
      AppendChar(':');
      Append(type);
    }
    AppendChar('>');
  }
  void AppendChar(char c) {
    char* out = at;
    if (out == limit) return;
    *out = c;
    at = out + 1;
  }
  void AppendNumber(std::int64_t value) {
    char digits[24];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    Append(std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)));
  }
  void AppendTwoDigits(int value) {
    char* out = at;
    if (Left(out) < 2) return;
    std::memcpy(out, &kDigitPairs[static_cast<std::size_t>(value % 100) * 2], 2);
    at = out + 2;
  }
  void LineEnd() { AppendConstant("\r\n"); }

 private:
  std::size_t Left(const char* out) const { return static_cast<std::size_t>(limit - out); }
  void TwoDigitsChecked(AdifTag tag, int value) {
    if (value < 0 || value > 99) return Number(tag, value);
    TagStart(tag, 2);
    AppendTwoDigits(value);
  }

  char storage[kSpace];
  char* data = storage;
  char* at = storage;
  char* limit = storage + kRoom;
};

namespace {

// A number kept in a character field (Sweepstakes check, Field Day transmitters). The blank
// that marks it absent is written as an empty value rather than as the number 32.
void WriteCountInCharacter(AdifRecordText& line, AdifTag tag, char value, bool two_digits) {
  if (value == ' ') {
    line.Text(tag, "");
    return;
  }
  int count = static_cast<unsigned char>(value);
  if (two_digits) {
    line.TwoDigits(tag, count);
  } else {
    line.Number(tag, count);
  }
}

// The contests whose layout writes the received exchange as the grid square.
bool WritesGridAsExchange(int contest) {
  return contest == kContestVhfQso || contest == kContestGridloc || contest == kContestToec ||
         contest == kContestStewPerry;
}

// The contests whose US stations get a state line.
bool HasStateLine(int contest) {
  return contest == kContestSs || contest == kContestFd || contest == kContestArrl160;
}

// The serial sent, in the layouts that carry serials, when the input logged it.
void SentSerialIfSet(AdifRecordText& line, const QsoRecord& record) {
  if (record.stx != 0) line.Number(kAdifStx, record.stx);
}

// Adds `item` to the line when both fit in 80 characters; otherwise the line so far goes out
// (an empty one too) and `item` starts the next.
void AppendWrapped(AdifRecordText& text, AdifRecordText& line, const AdifRecordText& item) {
  if (line.Size() + item.Size() <= kWrapWidth) {
    line.Append(item);
    return;
  }
  text.Append(line);
  text.LineEnd();
  line.Clear();
  line.Append(item);
}

}  // namespace

// ---- Header ----

int AdifLogFile::WriteHeader(ContestHeader source) {
  header = source;
  AdifRecordText text;
  text.Format("This file created by Quorvel v%s\r\n", kQuorvelVersion);
  auto text_line = [&text](AdifTag tag, std::string_view value) {
    if (value.empty()) return;
    text.Text(tag, value);
    text.LineEnd();
  };
  WriteProgramLines(text);
  text_line(kAdifCall, FieldText(header.call));
  if (header.contest >= 1 && header.contest <= kContestCount) {
    text_line(kAdifContestId, kAdifContestNames[header.contest]);
  }
  text_line(kAdifContestName, FieldText(header.contest_name));
  text_line(kAdifYear, FieldText(header.year));
  if (header.category < std::size(kAdifCategoryNames)) {
    text_line(kAdifCategory, kAdifCategoryNames[header.category]);
  }
  if (header.power_cat < std::size(kAdifPowerNames)) {
    text_line(kAdifPowerCat, kAdifPowerNames[header.power_cat]);
  }
  if (header.mode >= 1 && header.mode <= kModeCount) {
    text_line(kAdifMode, kModeNames[header.mode]);
  }
  text_line(kAdifName, FieldText(header.name));
  WriteAddress(text);
  text_line(kAdifClub, FieldText(header.club));
  if (header.zone != 0) {
    text.Number(kAdifZone, header.zone);
    text.LineEnd();
  }
  text_line(kAdifGridsquare, FieldText(header.gridsquare));
  WriteOwnExchange(text);
  text.AppendConstant("<eoh>\r\n");
  WriteBlock(text.View().data(), text.Size());
  return 1;
}

// ADIF 3's header fields: the version, the program and the time of writing.
void AdifLogFile::WriteProgramLines(AdifRecordText& text) const {
  text.Text(kAdifAdifVer, kAdifVersion);
  text.LineEnd();
  text.Text(kAdifProgramId, kProgramId);
  text.LineEnd();
  text.Text(kAdifProgramVersion, kQuorvelVersion);
  text.LineEnd();
  CivilTime now = UtcCalendar(WritingTime());
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d %02d%02d%02d", now.year % 10000, now.month,
                now.day, now.hour, now.minute, now.second);
  text.Text(kAdifCreatedTimestamp, stamp);
  text.LineEnd();
}

// The address tag spans two lines: the street, then city, state and zip.
void AdifLogFile::WriteAddress(AdifRecordText& text) const {
  std::string_view street = FieldText(header.address);
  if (street.empty()) return;
  std::string_view city = FieldText(header.city);
  std::string_view state = FieldText(header.state);
  std::string_view zip = FieldText(header.zip);
  char parts[4][sizeof header.address];
  CopyCut(parts[0], sizeof parts[0], street);
  CopyCut(parts[1], sizeof parts[1], city);
  CopyCut(parts[2], sizeof parts[2], state);
  CopyCut(parts[3], sizeof parts[3], zip);
  int length = static_cast<int>(street.size() + city.size() + state.size() + zip.size() + 5);
  text.Format("<%s:%d>%s\r\n%s, %s %s\r\n", TagName(kAdifAddress).data(), length, parts[0],
              parts[1], parts[2], parts[3]);
}

// Sweepstakes and Field Day logs also carry the station's own exchange.
void AdifLogFile::WriteOwnExchange(AdifRecordText& text) const {
  if (header.contest == kContestSs) {
    if (header.prec != 0) {
      text.Character(kAdifPrec, static_cast<char>(header.prec));
      text.LineEnd();
    }
    if (header.check != 0) {
      text.Number(kAdifCheck, header.check);
      text.LineEnd();
    }
  }
  if (header.contest == kContestFd) {
    if (header.prec != 0) {
      text.Number(kAdifTxCount, header.prec);
      text.LineEnd();
    }
    if (header.check != 0 || header.prec != 0) {
      // CT logs keep the category as a letter index (0 = 'A'); ADIF logs keep the letter. A
      // station with its transmitters given has a category, 'A' (index 0) included.
      char letter = header.check < 26 ? static_cast<char>('A' + header.check)
                                      : static_cast<char>(header.check);
      text.Character(kAdifCategory, letter);
      text.LineEnd();
    }
  }
  if (header.contest == kContestSs || header.contest == kContestFd) {
    std::string_view section = FieldText(header.arrl_sect);
    if (!section.empty()) {
      text.Text(kAdifArrlSect, section);
      text.LineEnd();
    }
  }
}

// ---- Contacts ----

int AdifLogFile::WriteQso(const QsoRecord& record) {
  CivilTime on = calendar.Of(record.time_on);
  if (on.year < 0 || on.year > kLastYear) return 0;  // no eight-digit date holds it
  AdifRecordText text(WriteSpace(AdifRecordText::kSpace));
  static_assert(kFirstLinesRoom <= AdifRecordText::kRoom, "a new text holds the first lines");
  if (text.Left() < kFirstLinesRoom) return 0;  // never: the text is new
  WriteTimes(record, on, text);
  WriteBandModeAndReports(record, text);
  if (header.contest == kContestGeneralQso) {
    AdifRecordText line;
    WriteGeneralQsoTags(record, text, line);
    if (!line.Empty()) {
      text.Append(line);
      text.LineEnd();
    }
  } else if (header.contest >= 1 && header.contest <= kContestCount) {
    // Line 3 (and the state line) always holds the contest's name.
    text.Whole(kContestIdTags[header.contest]);
    WriteExchange(record, text);
    if (record.gridsquare[0] != '\0' && !WritesGridAsExchange(header.contest)) {
      text.Field(kAdifGridsquare, record.gridsquare);
    }
    if (HasStateLine(header.contest)) WriteStateLine(record, text);
    text.LineEnd();
  }
  text.AppendConstant("<eor>\r\n");
  if (text.InPlace()) {
    Wrote(text.Size());
  } else {
    WriteBlock(text.View().data(), text.Size());
  }
  ++qso_count;
  return 1;
}

// Line 1: call, date and start time; the end time too in general-QSO logs.
void AdifLogFile::WriteTimes(const QsoRecord& record, const CivilTime& on,
                             AdifRecordText& text) const {
  char* out = text.End();  // WriteQso made room for the first two lines
  out = PutField(out, kAdifCall, record.call);
  out = PutConstant(out, "<qso_date:8:d>");
  auto year = static_cast<unsigned>(on.year);  // 0..9999
  out = PutDigitPairs(out, std::array{static_cast<int>(year / 100), static_cast<int>(year % 100),
                                      on.month, on.day});
  out = PutClock(out, kAdifTimeOn, on);
  // 0 is no end time; an end before 1970 is a time like any other.
  if (header.contest == kContestGeneralQso && record.time_off != 0) {
    out = PutClock(out, kAdifTimeOff, UtcCalendar(record.time_off));
  }
  text.MoveEnd(PutConstant(out, "\r\n"));
}

// Line 2: band, frequency in MHz, mode and the reports (not in contests without reports).
void AdifLogFile::WriteBandModeAndReports(const QsoRecord& record, AdifRecordText& text) const {
  char* out = text.End();  // WriteQso made room for the first two lines
  if (record.band >= 1 && record.band <= kBandCount) {
    out = PutWhole(out, kBandTags[record.band]);
  } else if (record.band_name[0] != '\0') {
    out = PutField(out, kAdifBand, record.band_name);
  } else if (const BandEdges* band = BandOfFrequency(record.freq); band != nullptr) {
    if (!band->adif_name.empty()) out = PutShortText(out, kAdifBand, band->adif_name);
  }
  if (record.freq != 0) out = PutFrequency(out, record.freq);
  if (record.mode >= 1 && record.mode <= kModeCount) {
    out = PutWhole(out, kModeTags[record.mode]);
  } else if (record.mode_name[0] != '\0') {
    out = PutField(out, kAdifMode, record.mode_name);
  }
  if (record.submode[0] != '\0') out = PutField(out, kAdifSubmode, record.submode);
  bool has_reports = header.contest != kContestSs && header.contest != kContestFd &&
                     header.contest != kContestGridloc;
  if (has_reports) {
    if (record.HasRstSent()) {
      out = PutReport(out, kAdifRstSent, record.rst_sent, record.report_signs & kSignedRstSent);
    }
    if (record.HasRstRcvd()) {
      out = PutReport(out, kAdifRstRcvd, record.rst_rcvd, record.report_signs & kSignedRstRcvd);
    }
  }
  text.MoveEnd(PutConstant(out, "\r\n"));
}

// Line 3: the exchange tags of the log's contest.
void AdifLogFile::WriteExchange(const QsoRecord& record, AdifRecordText& line) const {
  // Looked up only by the layouts that write it.
  auto exchange = [&record] { return record.RcvdExch(); };
  auto text_if_set = [&line](AdifTag tag, std::string_view value) {
    if (!value.empty()) line.Text(tag, value);
  };
  switch (header.contest) {
    case kContestSs:
      line.Number(kAdifStx, record.stx != 0 ? record.stx : std::int64_t{qso_count} + 1);
      line.Number(kAdifSrx, record.srx);
      line.Character(kAdifPrec, record.prec);
      WriteCountInCharacter(line, kAdifCheck, record.check, true);
      line.Text(kAdifArrlSect, record.ArrlSect());
      break;
    case kContestArrlDx:
    case kContestWae:
    case kContestSac:
      line.Text(kAdifRxPwr, exchange());
      break;
    case kContestCqww:
      line.TwoDigits(kAdifCqz, record.cqz);
      break;
    case kContestWpx:
      SentSerialIfSet(line, record);
      line.Number(kAdifSrx, record.srx);
      break;
    case kContestIaru:
      if (record.ituz != 0) {
        line.TwoDigits(kAdifItuz, record.ituz);
      } else {
        line.Text(kAdifSrxString, exchange());  // a society's name, as in DARC
      }
      break;
    case kContestArrl10:
      line.Text(record.RcvdExchIsNumeric() ? kAdifSrx : kAdifState, exchange());
      break;
    case kContestArrl160:
      if (CountryPrefixIs(record, {"W", "KH6", "KL7", "VE"})) {
        line.Text(kAdifArrlSect, exchange());
      } else {
        line.Text(kAdifQth, record.Qth().empty() ? exchange() : record.Qth());
      }
      break;
    case kContestCq160:
      line.Text(CountryPrefixIs(record, {"W", "KH6", "KL7"}) ? kAdifState : kAdifQth, exchange());
      break;
    case kContestFd:
      WriteCountInCharacter(line, kAdifTxCount, record.prec, false);
      line.Character(kAdifCategory, record.check);
      line.Text(kAdifArrlSect, record.ArrlSect());
      break;
    case kContestCqp:
      SentSerialIfSet(line, record);
      line.Number(kAdifSrx, record.srx);
      line.Text(kAdifQth, exchange());
      break;
    case kContestArrlDxFromDx:
      line.Text(CountryPrefixIs(record, {"W"}) ? kAdifState : kAdifQth, exchange());
      break;
    case kContestVhfQso:
    case kContestToec:
    case kContestStewPerry:
      line.Text(kAdifGridsquare, exchange());
      break;
    case kContestDxped:
      text_if_set(kAdifName, record.Name());
      text_if_set(kAdifQth, exchange());
      break;
    case kContestAllAsian:
      // CT logs keep the age as the exchange text.
      line.Number(kAdifAge, record.age != 0 ? record.age : ParseLeadingInt(exchange()));
      break;
    case kContestNaqp:
      line.Text(kAdifName, record.Name());
      line.Text(CountryPrefixIs(record, {"W", "KL7", "KH6"}) ? kAdifState : kAdifQth, exchange());
      break;
    case kContestGridloc:
      line.Text(kAdifName, record.Name());
      text_if_set(kAdifGridsquare, exchange());
      break;
    case kContestYodx:
      line.TwoDigits(kAdifCqz, record.cqz);
      text_if_set(kAdifQth, exchange());
      break;
    case kContestKcj:
      line.Text(kAdifQth, exchange());
      break;
    case kContestTenTen:
      line.Text(kAdifName, record.Name());
      if (record.ten_ten != 0) line.Number(kAdifTenTen, record.ten_ten);
      text_if_set(kAdifQth, record.Qth());
      break;
    case kContestSprint:
    case kContestInternetSprint:
      SentSerialIfSet(line, record);
      line.Number(kAdifSrx, record.srx);
      line.Text(kAdifName, record.Name());
      line.Text(kAdifQth, exchange());
      break;
    case kContestJadx:
      line.Text(kAdifPrefecture, exchange());
      break;
    case kContestArci:
      line.Number(kAdifArciNum, record.arci_num);
      text_if_set(kAdifQth, exchange());
      break;
    case kContestIota:
      SentSerialIfSet(line, record);
      line.Number(kAdifSrx, record.srx);
      text_if_set(kAdifIota, exchange());
      break;
    case kContestHelvetia:
      SentSerialIfSet(line, record);
      line.Number(kAdifSrx, record.srx);
      text_if_set(kAdifQth, record.Qth());
      break;
    case kContestWag:
    case kContestAri:
    case kContestRac:
      SentSerialIfSet(line, record);
      if (record.srx != 0) line.Number(kAdifSrx, record.srx);
      line.Text(kAdifQth, record.Qth());
      break;
    default:
      break;
  }
}

// General-QSO logs: the tags that are set, wrapped at 80 characters.
void AdifLogFile::WriteGeneralQsoTags(const QsoRecord& record, AdifRecordText& text,
                                      AdifRecordText& line) const {
  AdifRecordText item;
  auto add = [&]() {
    AppendWrapped(text, line, item);
    item.Clear();
  };
  auto add_text_if_set = [&](AdifTag tag, std::string_view value) {
    if (value.empty()) return;
    item.Text(tag, value);
    add();
  };
  if (record.contest >= 1 && record.contest <= kContestCount) {
    add_text_if_set(kAdifContestId, kAdifContestNames[record.contest]);
  }
  if (record.tx_pwr != 0) {
    item.Number(kAdifTxPwr, record.tx_pwr);
    add();
  }
  add_text_if_set(kAdifName, record.Name());
  add_text_if_set(kAdifQth, record.Qth());
  add_text_if_set(kAdifState, record.State());
  if (record.cqz != 0) {
    item.TwoDigits(kAdifCqz, record.cqz);
    add();
  }
  if (record.ituz != 0) {
    item.TwoDigits(kAdifItuz, record.ituz);
    add();
  }
  add_text_if_set(kAdifGridsquare, record.Gridsquare());
  if (record.RcvdExch() != record.Gridsquare()) {
    add_text_if_set(kAdifSrxString, record.RcvdExch());
  }
  add_text_if_set(kAdifComment, record.Comment());
}

// US stations get the state of their section on a line of its own.
void AdifLogFile::WriteStateLine(const QsoRecord& record, AdifRecordText& line) const {
  std::string_view key;
  if (header.contest == kContestSs || header.contest == kContestFd) {
    key = record.ArrlSect();
  } else if (header.contest == kContestArrl160) {
    key = record.RcvdExch();
  } else {
    return;
  }
  if (section_table == nullptr || key.empty()) return;
  if (!CountryPrefixIs(record, {"W", "KL7", "KH6"})) return;
  char state[12];
  if (section_table->Lookup(key, state, sizeof state)) {
    line.LineEnd();
    line.Text(kAdifState, state);
  }
}

}  // namespace quorvel
