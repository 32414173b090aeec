// Reading ADIF: the tag scanner, the header and the contacts.
#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "core/civil_time.h"
#include "core/data_files.h"
#include "core/numbers.h"
#include "core/text_field.h"
#include "formats/adif_log_file.h"

namespace quorvel {
namespace {

constexpr std::int64_t kLengthLimit = 1LL << 60;  // stated lengths saturate here
constexpr std::int64_t kMhzLimit = 1000000000;    // keeps the frequency arithmetic in range

bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsBlank(int c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), IsDigit);
}

// `count` digits from `from`, or -1 when they are not all there.
int DigitsAt(std::string_view text, std::size_t from, std::size_t count) {
  if (from + count > text.size()) return -1;
  int value = 0;
  for (std::size_t i = from; i < from + count; ++i) {
    if (!IsDigit(text[i])) return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

// YYYYMMDD of a date that exists; false for anything else ("2024-1-5", 20240231).
bool ReadDate(std::string_view value, int (&date)[3]) {
  int year = DigitsAt(value, 0, 4);
  int month = DigitsAt(value, 4, 2);
  int day = DigitsAt(value, 6, 2);
  if (year < 0 || !IsCalendarDate(year, month, day)) return false;
  date[0] = year;
  date[1] = month;
  date[2] = day;
  return true;
}

// HHMM, or HHMMSS when the value has exactly six characters; false when it is not a time of
// day.
bool ReadTimeOfDay(std::string_view value, int (&fields)[3]) {
  int hour = DigitsAt(value, 0, 2);
  int minute = DigitsAt(value, 2, 2);
  int second = value.size() == 6 ? DigitsAt(value, 4, 2) : 0;
  if (!IsTimeOfDay(hour, minute, second)) return false;
  fields[0] = hour;
  fields[1] = minute;
  fields[2] = second;
  return true;
}

// MHz with an optional fraction of which the first three digits count (kHz); in 100 Hz units.
// A frequency beyond what the record holds (or below 0) is no frequency.
std::uint32_t ParseFrequency(std::string_view value) {
  std::int64_t mhz = std::clamp(ParseLeadingInt(value), -kMhzLimit, kMhzLimit);
  std::size_t i = 0;
  while (i < value.size() && IsBlank(value[i])) ++i;
  if (i < value.size() && (value[i] == '+' || value[i] == '-')) ++i;
  while (i < value.size() && IsDigit(value[i])) ++i;
  int khz = 0;
  int digits = 0;
  if (i < value.size() && value[i] == '.') {
    for (++i; digits < 3 && i < value.size() && IsDigit(value[i]); ++i, ++digits) {
      khz = khz * 10 + (value[i] - '0');
    }
  }
  for (; digits < 3; ++digits) khz *= 10;
  if (mhz < 0) return 0;
  return ValueOrZero<std::uint32_t>(mhz * 10000 + khz * 10);
}

// Earlier spellings of bands that ADIF names otherwise, as files of this program's earlier
// versions wrote them.
constexpr std::pair<std::string_view, int> kFormerBandNames[] = {{"??M", 11}, {"35cm", 15}};

int BandFromName(std::string_view value) {
  for (int code = 1; code <= kBandCount; ++code) {
    if (EqualsNoCase(value, kAdifBandNames[code])) return code;
  }
  for (const auto& [name, code] : kFormerBandNames) {
    if (EqualsNoCase(value, name)) return code;
  }
  return 0;
}

int ModeFromName(std::string_view value) {
  for (int code = 1; code <= kModeCount; ++code) {
    if (EqualsNoCase(value, kModeNames[code])) return code;
  }
  return 0;
}

// The mode code of a mode value; FSK is RTTY, and USB and LSB (which ADIF makes submodes of
// SSB) are SSB. Any other mode is kept by its name.
void ApplyMode(std::string_view value, QsoRecord& record) {
  int mode = ModeFromName(value);
  if (mode == 0 && EqualsNoCase(value, "FSK")) mode = kModeRtty;
  if (mode == 0 && (EqualsNoCase(value, "USB") || EqualsNoCase(value, "LSB"))) {
    mode = kModeSsb;
    if (record.Submode().empty()) record.SetSubmode(value);
  }
  record.mode = static_cast<std::uint8_t>(mode);
  if (mode == 0) {
    record.SetModeName(value);
  } else {
    record.mode_name[0] = '\0';  // a later mode tag replaces an earlier one
  }
}

// A Field Day class: the number of transmitters and the category letter, as in 2A. A class
// without its letter gives no class.
bool ReadFieldDayClass(std::string_view value, char& transmitters, char& category) {
  if (value.size() < 2 || !IsLetter(value.back())) return false;
  std::string_view count = value.substr(0, value.size() - 1);
  if (!AllDigits(count)) return false;
  transmitters = ValueOrZero<char>(ParseLeadingInt(count));
  category = ToUpper(value.back());
  return true;
}

// The tags in which a contest's layout writes the received exchange, best first.
struct ExchangeTags {
  int contest;
  AdifTag tags[2];
};
constexpr ExchangeTags kExchangeTags[] = {
    {kContestArrlDx, {kAdifRxPwr, kAdifUnknown}},
    {kContestIaru, {kAdifSrxString, kAdifComment}},
    {kContestArrl10, {kAdifState, kAdifSrx}},
    {kContestArrl160, {kAdifArrlSect, kAdifQth}},
    {kContestCq160, {kAdifState, kAdifQth}},
    {kContestCqp, {kAdifQth, kAdifUnknown}},
    {kContestArrlDxFromDx, {kAdifState, kAdifQth}},
    {kContestWae, {kAdifRxPwr, kAdifUnknown}},
    {kContestVhfQso, {kAdifGridsquare, kAdifUnknown}},
    {kContestDxped, {kAdifQth, kAdifUnknown}},
    {kContestAllAsian, {kAdifAge, kAdifUnknown}},
    {kContestNaqp, {kAdifState, kAdifQth}},
    {kContestGridloc, {kAdifGridsquare, kAdifUnknown}},
    {kContestYodx, {kAdifQth, kAdifUnknown}},
    {kContestKcj, {kAdifQth, kAdifUnknown}},
    {kContestSprint, {kAdifQth, kAdifUnknown}},
    {kContestSac, {kAdifRxPwr, kAdifUnknown}},
    {kContestToec, {kAdifGridsquare, kAdifUnknown}},
    {kContestJadx, {kAdifPrefecture, kAdifUnknown}},
    {kContestArci, {kAdifQth, kAdifUnknown}},
    {kContestIota, {kAdifIota, kAdifUnknown}},
    {kContestInternetSprint, {kAdifQth, kAdifUnknown}},
    {kContestGeneralQso, {kAdifSrxString, kAdifUnknown}},
    {kContestStewPerry, {kAdifGridsquare, kAdifUnknown}},
};

// Tags that carry a received exchange of their own kind (power, grid, prefecture): outside the
// contests whose exchange they are, they fill the received exchange only when nothing else
// does.
constexpr AdifTag kFallbackExchangeTags[] = {kAdifRxPwr, kAdifGridsquare, kAdifPrefecture};
constexpr std::uint8_t kFallbackRank = 3;

// Per contest and tag: 1 for the contest's best exchange tag, 2 for the next, 3 for a
// fallback, else 0.
using ExchangeRanks = std::array<std::array<std::uint8_t, kAdifTagCount>, kContestCount + 1>;

constexpr ExchangeRanks BuildExchangeRanks() {
  ExchangeRanks ranks{};
  for (auto& contest : ranks) {
    for (AdifTag tag : kFallbackExchangeTags) contest[tag] = kFallbackRank;
  }
  for (const ExchangeTags& entry : kExchangeTags) {
    for (AdifTag tag : kFallbackExchangeTags) ranks[entry.contest][tag] = kFallbackRank;
    for (int rank = 0; rank < 2; ++rank) {
      if (entry.tags[rank] != kAdifUnknown) ranks[entry.contest][entry.tags[rank]] = rank + 1;
    }
  }
  return ranks;
}

constexpr ExchangeRanks kExchangeRanks = BuildExchangeRanks();

using ExchangeRankRow = ExchangeRanks::value_type;
constexpr ExchangeRankRow kNoExchangeRanks{};

const ExchangeRankRow& ExchangeRanksOf(int contest) {
  return contest >= 0 && contest <= kContestCount ? kExchangeRanks[contest] : kNoExchangeRanks;
}

int ExchangeRankOf(const ExchangeRankRow& ranks, int tag) {
  return tag >= 0 && tag < kAdifTagCount ? ranks[tag] : 0;
}

template <typename Field>
Field Number(std::string_view value) {
  return ValueOrZero<Field>(ParseLeadingInt(value));
}

// The words of an exchange text ("1 B 80 WCF"), at most `N`.
template <std::size_t N>
std::size_t SplitWords(std::string_view text, std::string_view (&words)[N]) {
  std::size_t count = 0;
  std::size_t at = 0;
  while (count < N) {
    at = text.find_first_not_of(' ', at);
    if (at == std::string_view::npos) break;
    std::size_t end = std::min(text.find(' ', at), text.size());
    words[count++] = text.substr(at, end - at);
    at = end;
  }
  return count;
}

// The header's address tag: the street, then "city, state zip" on a line of its own.
void ApplyAddress(std::string_view value, ContestHeader& header) {
  std::size_t line_end = value.find('\n');
  std::string_view street = value.substr(0, std::min(line_end, value.size()));
  if (!street.empty() && street.back() == '\r') street.remove_suffix(1);
  CopyCut(header.address, street);
  if (line_end == std::string_view::npos) return;
  std::string_view place = value.substr(line_end + 1);
  place = place.substr(0, std::min(place.find_first_of("\r\n"), place.size()));
  std::size_t comma = place.rfind(", ");
  if (comma == std::string_view::npos) {
    CopyCut(header.city, place);
    return;
  }
  CopyCut(header.city, place.substr(0, comma));
  std::string_view rest = place.substr(comma + 2);
  std::size_t blank = std::min(rest.find(' '), rest.size());
  CopyCut(header.state, rest.substr(0, blank));
  CopyCut(header.zip, blank < rest.size() ? rest.substr(blank + 1) : std::string_view{});
}

template <std::size_t N>
int CodeOfName(const std::string_view (&names)[N], std::string_view value) {
  for (std::size_t code = 0; code < N; ++code) {
    if (!names[code].empty() && EqualsNoCase(names[code], value)) return static_cast<int>(code);
  }
  return -1;
}

}  // namespace

// ---- Tag scanner ----

void AdifTagScanner::Reset() {
  begin = pos = end = nullptr;
  window_offset = stream.Tell();
}

void AdifTagScanner::Sync() {
  stream.TakeBuffered(static_cast<std::size_t>(pos - begin));
  window_offset += pos - begin;
  begin = pos;
}

bool AdifTagScanner::Refill() {
  stream.TakeBuffered(static_cast<std::size_t>(end - begin));
  window_offset += end - begin;
  std::string_view window = stream.PeekBuffered();
  begin = pos = window.data();
  end = begin + window.size();
  return !window.empty();
}

bool AdifTagScanner::SearchTagStart() {
  for (;;) {
    if (pos != end) {
      const void* open = std::memchr(pos, '<', static_cast<std::size_t>(end - pos));
      if (open != nullptr) {
        pos = static_cast<const char*>(open) + 1;
        return true;
      }
      pos = end;
    }
    if (!Refill()) return false;
  }
}

namespace {

// Tag names are read eight bytes at a time: each word is searched for the first byte below
// '@' (the ':' or '>' that ends a name, and also digits, blanks and other punctuation) and
// lowered as a whole. A name that stops at anything but ':' or '>' is read again a byte at a
// time.
constexpr std::uint64_t kEveryByte = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

std::uint64_t LoadWord(const char* at) {
  std::uint64_t word;
  std::memcpy(&word, at, sizeof word);  // the bytes in file order, the first lowest
  return word;
}

// The high bit of every byte of `word` below '@' (bytes from 0x80 up are not).
constexpr std::uint64_t BytesBelowAt(std::uint64_t word) {
  std::uint64_t from_at = (word & ~kHighBits) + kEveryByte * (0x80 - '@');
  return ~from_at & ~word & kHighBits;
}

// `word` with the letters A to Z lowered; every other byte as it is.
constexpr std::uint64_t Lowered(std::uint64_t word) {
  std::uint64_t low_seven = word & ~kHighBits;
  std::uint64_t above_z = low_seven + kEveryByte * (0x7F - 'Z');
  std::uint64_t from_a = low_seven + kEveryByte * (0x80 - 'A');
  std::uint64_t capitals = from_a & ~above_z & ~word & kHighBits;
  return word | (capitals >> 2);
}

// Per byte of a tag name: its lower-case form, or kNameStop for the bytes that end a name
// (':' and '>' end it, a line feed or a '<' breaks the tag).
constexpr std::uint16_t kNameStop = 0x100;
constexpr std::array<std::uint16_t, 256> kNameBytes = [] {
  std::array<std::uint16_t, 256> bytes{};
  for (int c = 0; c < 256; ++c) bytes[c] = static_cast<std::uint16_t>(c);
  for (int c = 'A'; c <= 'Z'; ++c) bytes[c] = static_cast<std::uint16_t>(c + 32);
  for (unsigned char c : {':', '>', '\n', '<'}) bytes[c] = kNameStop;
  return bytes;
}();

// A plain tag is read only when the buffer holds this many bytes after its '<': the longest
// name, its colon, the longest length and type indicator, and the '>'.
constexpr std::ptrdiff_t kPlainTagRoom = 64;
constexpr int kPlainLengthDigits = 9;
constexpr int kPlainTypeRoom = 8;  // ":d", ":N", or an enumeration's name
constexpr std::size_t kNameWords = kAdifLongestTagName / 8;
static_assert(kNameWords * 8 == kAdifLongestTagName, "names fill whole words");

// The name of the tag at `at` in lower case, in words, by whole words; its length, or 0 when
// it stops at anything but ':' or '>' or is longer than every known name.
std::size_t LowerNameByWords(const char* at, std::uint64_t (&words)[kNameWords]) {
  for (std::size_t i = 0; i < kNameWords; ++i) {
    std::uint64_t word = LoadWord(at + 8 * i);
    if (std::uint64_t stops = BytesBelowAt(word)) {
      auto kept = static_cast<unsigned>(std::countr_zero(stops)) / 8;
      if (kept > 0) words[i] = Lowered(word) & (~std::uint64_t{0} >> (64 - 8 * kept));
      std::size_t size = 8 * i + kept;
      return at[size] == ':' || at[size] == '>' ? size : 0;
    }
    words[i] = Lowered(word);
  }
  return 0;
}

// The same a byte at a time, for names with digits or other bytes below '@'.
std::size_t LowerNameByBytes(const char* at, std::uint64_t (&words)[kNameWords]) {
  char lower[kAdifLongestTagName] = {};
  std::size_t size = 0;
  for (;; ++at) {
    std::uint16_t byte = kNameBytes[static_cast<unsigned char>(*at)];
    if (byte == kNameStop) break;
    if (size == sizeof lower) return 0;
    lower[size++] = static_cast<char>(byte);
  }
  std::memcpy(words, lower, sizeof lower);
  return size;
}

// The length and type indicator after a name's ':', up to and past the '>'; false for any
// form but a few digits and a short type.
bool ReadPlainLength(const char*& at, std::int64_t& length) {
  // Most lengths are one or two digits with no type after them.
  if (IsDigit(at[0]) && at[1] == '>') {
    length = at[0] - '0';
    at += 2;
    return true;
  }
  if (IsDigit(at[0]) && IsDigit(at[1]) && at[2] == '>') {
    length = (at[0] - '0') * 10 + (at[1] - '0');
    at += 3;
    return true;
  }
  int digits = 0;
  for (length = 0; digits < kPlainLengthDigits && IsDigit(*at); ++at, ++digits) {
    length = length * 10 + (*at - '0');
  }
  if (digits == 0 || IsDigit(*at)) return false;
  for (int rest = 0; *at != '>'; ++at) {
    if (*at == '\n' || *at == '<' || ++rest > kPlainTypeRoom) return false;
  }
  ++at;
  return true;
}

}  // namespace

// The tag as nearly every log writes it, "<name:length>", "<name:length:type>" or "<name>",
// read straight from the buffer. False, with nothing taken, for any other form, or near the
// end of the buffer: the byte-wise readers below read those.
inline bool AdifTagScanner::ReadPlainTag(int& number, std::int64_t& length) {
  if (end - pos < kPlainTagRoom) return false;
  std::size_t size = 0;
  if (!GuessName(pos, number, size)) {
    std::uint64_t words[kNameWords] = {};
    size = LowerNameByWords(pos, words);
    if (size == 0) size = LowerNameByBytes(pos, words);
    if (size == 0) return false;
    char lower[kAdifLongestTagName];
    std::memcpy(lower, words, sizeof lower);
    number = AdifLowerTagNumber(lower, size);
    RememberName(number, size);
  }
  previous_name = number;
  const char* at = pos + size;
  char stop = *at++;
  length = -1;  // none stated
  if (stop == ':') {
    if (!ReadPlainLength(at, length)) return false;
  } else if (stop != '>') {
    return false;
  }
  pos = at;
  return true;
}

namespace {

std::size_t GuessSlot(int number) {
  return number >= 0 && number < kAdifTagCount ? static_cast<std::size_t>(number)
                                               : static_cast<std::size_t>(kAdifTagCount);
}

}  // namespace

// True, with the name's number and size, when the bytes at `name` are the name that followed
// the previous name last time. The buffer holds kPlainTagRoom bytes there.
bool AdifTagScanner::GuessName(const char* name, int& number, std::size_t& size) const {
  const NameGuess& guess = next_names[GuessSlot(previous_name)];
  if (guess.size == 0) return false;
  if ((LoadWord(name) & guess.masks[0]) != guess.bytes[0]) return false;
  if ((LoadWord(name + 8) & guess.masks[1]) != guess.bytes[1]) return false;
  number = guess.number;
  size = guess.size;
  return true;
}

void AdifTagScanner::RememberName(int number, std::size_t size) {
  NameGuess& guess = next_names[GuessSlot(previous_name)];
  std::size_t kept = size + 1;  // the name and its ':' or '>'
  if (kept > 16 || (pos[size] != ':' && pos[size] != '>')) {
    guess.size = 0;
    return;
  }
  auto mask_of = [](std::size_t bytes) {
    return bytes >= 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * bytes)) - 1;
  };
  guess.masks[0] = mask_of(kept);
  guess.masks[1] = kept > 8 ? mask_of(kept - 8) : 0;
  guess.bytes[0] = LoadWord(pos) & guess.masks[0];
  guess.bytes[1] = LoadWord(pos + 8) & guess.masks[1];
  guess.number = number;
  guess.size = size;
}

// The tag name up to ':' or '>', a byte at a time. A line feed breaks the tag; a '<' starts a
// new one. Names longer than the known ones are only counted.
AdifTagScanner::Stop AdifTagScanner::ReadName(int& number) {
  char name[kAdifLongestTagName + 1];
  std::size_t length = 0;
  for (;;) {
    int c = Get();
    if (c < 0) return Stop::kEndOfFile;
    if (c == ':' || c == '>') {
      number = AdifTagNumber({name, length});
      return c == ':' ? Stop::kColon : Stop::kClose;
    }
    if (c == '\n') return Stop::kBroken;
    if (c == '<') {
      Unget();
      return Stop::kBroken;
    }
    if (length < sizeof name) name[length++] = static_cast<char>(c);
  }
}

// The length text up to '>': its leading digits give the length; a type indicator after them
// (":d") is passed over. No digits give 0.
AdifTagScanner::Stop AdifTagScanner::ReadLength(std::int64_t& length) {
  enum { kLeading, kDigits, kRest } phase = kLeading;
  bool negative = false;
  length = 0;
  for (;;) {
    int c = Get();
    if (c < 0) return Stop::kEndOfFile;
    if (c == '>') break;
    if (c == '\n') return Stop::kBroken;
    if (c == '<') {
      Unget();
      return Stop::kBroken;
    }
    if (phase == kLeading) {
      if (IsBlank(c)) continue;
      phase = kDigits;
      if (c == '+' || c == '-') {
        negative = c == '-';
        continue;
      }
    }
    if (phase == kDigits) {
      if (IsDigit(static_cast<char>(c))) {
        length = length < kLengthLimit / 10 ? length * 10 + (c - '0') : kLengthLimit;
      } else {
        phase = kRest;
      }
    }
  }
  if (negative) length = 0;
  return Stop::kClose;
}

// Exactly `length` bytes, line feeds included; fewer when the file ends first.
std::string_view AdifTagScanner::ReadCountedValue(std::int64_t length) {
  if (length <= 0) return {value_copy, 0};
  auto remaining = static_cast<std::uint64_t>(length);
  if (remaining <= static_cast<std::uint64_t>(end - pos)) {
    std::string_view value(
        pos, static_cast<std::size_t>(std::min<std::uint64_t>(remaining, kValueRoom)));
    pos += remaining;
    return value;
  }
  std::size_t kept = 0;
  for (;;) {
    auto take = static_cast<std::size_t>(
        std::min<std::uint64_t>(remaining, static_cast<std::uint64_t>(end - pos)));
    std::size_t copy = std::min(take, kValueRoom - kept);
    if (copy > 0) std::memcpy(value_copy + kept, pos, copy);
    kept += copy;
    pos += take;
    remaining -= take;
    if (remaining == 0 || !Refill()) break;
  }
  return {value_copy, kept};
}

// A value without a length: the text up to the next '<' or the end of the line.
std::string_view AdifTagScanner::ReadOpenValue() {
  std::size_t kept = 0;
  for (;;) {
    if (pos == end && !Refill()) break;
    const char* stop = pos;
    while (stop != end && *stop != '<' && *stop != '\n') ++stop;
    std::size_t copy = std::min(static_cast<std::size_t>(stop - pos), kValueRoom - kept);
    if (copy > 0) std::memcpy(value_copy + kept, pos, copy);
    kept += copy;
    pos = stop;
    if (stop != end) {
      if (*stop == '\n') ++pos;
      break;
    }
  }
  if (kept > 0 && value_copy[kept - 1] == '\r') --kept;  // the line end's carriage return
  return {value_copy, kept};
}

AdifTagScanner::Result AdifTagScanner::ReadTag(Tag& tag) {
  for (;;) {
    if (!FindTagStart()) return Result::kEndOfFile;
    tag.offset = Offset() - 1;
    int number = kAdifUnknown;
    std::int64_t length = -1;  // none stated
    Stop stop = ReadNameAndLength(number, length);
    if (stop == Stop::kEndOfFile) return Result::kEndOfFile;
    if (stop == Stop::kBroken) continue;
    if (number == kAdifEor) return Result::kEndOfRecord;
    if (number == kAdifEoh) return Result::kEndOfHeader;
    tag.number = number;
    if (length >= 0 && length <= end - pos && static_cast<std::size_t>(length) <= kValueRoom) {
      tag.value = {pos, static_cast<std::size_t>(length)};  // the value lies in the buffer
      tag.room = static_cast<std::size_t>(end - pos);
      pos += length;
    } else {
      tag.value = length >= 0 ? ReadCountedValue(length) : ReadOpenValue();
      tag.room = tag.value.size();
    }
    return Result::kTag;
  }
}

AdifTagScanner::Stop AdifTagScanner::ReadNameAndLength(int& number, std::int64_t& length) {
  if (ReadPlainTag(number, length)) return Stop::kClose;
  Stop stop = ReadName(number);
  if (stop == Stop::kColon) stop = ReadLength(length);
  return stop;
}

// Most tags of a contest logger's file are read here without a call: a name that is the one
// guessed, right after the last value or its line end, with a stated length whose value lies
// in the buffer. False, with nothing taken, for every other tag, which ReadTag reads.
inline bool AdifTagScanner::ReadGuessedTag(Tag& tag) {
  if (end - pos < kPlainTagRoom + 3) return false;
  std::size_t skip = pos[0] == '<'                                       ? 1
                     : pos[0] == '\n' && pos[1] == '<'                   ? 2
                     : pos[0] == '\r' && pos[1] == '\n' && pos[2] == '<' ? 3
                                                                         : 0;
  const char* name = pos + skip;
  int number = kAdifUnknown;
  std::size_t size = 0;
  if (skip == 0 || !GuessName(name, number, size) || number == kAdifEoh) return false;
  const char* at = name + size;
  std::int64_t length = -1;  // none stated
  if (*at++ == ':' && !ReadPlainLength(at, length)) return false;
  if (number != kAdifEor && (length < 0 || length > end - at || length > kValueRoomLength)) {
    return false;
  }
  previous_name = number;
  tag.offset = window_offset + (name - 1 - begin);
  tag.number = number;
  if (number == kAdifEor) {
    pos = at;
    return true;
  }
  tag.value = {at, static_cast<std::size_t>(length)};
  tag.room = static_cast<std::size_t>(end - at);
  pos = at + length;
  return true;
}

inline AdifTagScanner::Result AdifTagScanner::Next(Tag& tag) {
  if (ReadGuessedTag(tag)) return tag.number == kAdifEor ? Result::kEndOfRecord : Result::kTag;
  return ReadTag(tag);
}

// ---- Header ----

// Reads the first line once: it may name DX4WIN, and header tags are taken only after it.
bool AdifLogFile::ProbeFirstLine(std::int64_t& first_line_end) {
  constexpr std::string_view kMarker = "DX4WIN";
  std::size_t matched = 0;
  bool read_any = false;
  from_dx4win = false;
  first_line_end = 0;
  for (;;) {
    std::string_view window = PeekBuffered();
    if (window.empty()) break;
    read_any = true;
    std::size_t line_feed = window.find('\n');
    std::size_t count = line_feed == std::string_view::npos ? window.size() : line_feed + 1;
    for (std::size_t i = 0; i < count && !from_dx4win; ++i) {
      // The marker has no repeated beginning, so a mismatch restarts the match at this byte.
      if (window[i] == kMarker[matched]) {
        from_dx4win = ++matched == kMarker.size();
      } else {
        matched = window[i] == kMarker[0] ? 1 : 0;
      }
    }
    TakeBuffered(count);
    first_line_end += static_cast<std::int64_t>(count);
    if (line_feed != std::string_view::npos) break;
  }
  Seek(0);
  scanner.Reset();
  return read_any;
}

// The header is what comes before the first <eoh>; its first line is passed over. A file that
// reaches an <eor> first has no header: its contacts are read from its first byte.
void AdifLogFile::ReadHeaderTags(std::int64_t first_line_end) {
  const ContestHeader before = header;
  AdifTagScanner::Tag tag;
  std::int64_t first_tag = -1;
  bool date_seen = false;
  for (;;) {
    AdifTagScanner::Result result = scanner.Next(tag);
    if (result == AdifTagScanner::Result::kTag) {
      if (first_tag < 0) first_tag = tag.offset;
      date_seen = date_seen || tag.number == kAdifQsoDate;
      if (tag.offset >= first_line_end) ApplyHeaderTag(tag);
      continue;
    }
    // Neither an <eoh> nor an <eor> to the end of the file, but a contact's date: the file is
    // cut in its first contact. Header tags alone (an empty report) are a log without QSOs.
    if (result == AdifTagScanner::Result::kEndOfFile && date_seen) NoteStop(first_tag);
    if (result == AdifTagScanner::Result::kEndOfRecord) {
      header = before;
      Seek(0);
      scanner.Reset();
    }
    break;
  }
  scanner.Sync();
}

void AdifLogFile::ApplyHeaderTag(const AdifTagScanner::Tag& tag) {
  std::string_view value = tag.value;
  switch (tag.number) {
    case kAdifCall:
      CopyCut(header.call, value);
      break;
    case kAdifMode:
      if (int mode = ModeFromName(value)) header.mode = static_cast<std::uint8_t>(mode);
      break;
    case kAdifName:
      CopyCut(header.name, value);
      break;
    case kAdifState:
      CopyCut(header.state, value);
      break;
    case kAdifContestId:
      if (int contest = AdifContestFromId(value))
        header.contest = static_cast<std::uint8_t>(contest);
      break;
    case kAdifPrec:
      if (!value.empty()) header.prec = static_cast<std::uint8_t>(value[0]);
      break;
    case kAdifCheck:
      header.check = Number<std::uint8_t>(value);
      break;
    case kAdifArrlSect:
      CopyCut(header.arrl_sect, value);
      break;
    case kAdifCqz:
    case kAdifItuz:
    case kAdifZone:
      header.zone = Number<std::uint8_t>(value);
      break;
    case kAdifGridsquare:
      CopyCut(header.gridsquare, value);
      break;
    case kAdifTxCount:
      header.prec = Number<std::uint8_t>(value);
      break;
    case kAdifCategory:
      ApplyHeaderCategory(value);
      break;
    case kAdifPowerCat:
      if (int power = CodeOfName(kAdifPowerNames, value); power > 0)
        header.power_cat = static_cast<std::uint8_t>(power);
      break;
    case kAdifYear:
      CopyCut(header.year, value);
      break;
    case kAdifAddress:
      ApplyAddress(value, header);
      break;
    case kAdifClub:
      CopyCut(header.club, value);
      break;
    case kAdifContestName:
      CopyCut(header.contest_name, value);
      break;
    default:
      break;
  }
}

// "category" names the station category ("Single Op"); a single letter is the own Field Day
// category, which the header keeps as the letter.
void AdifLogFile::ApplyHeaderCategory(std::string_view value) {
  if (value.size() == 1) {
    header.check = static_cast<std::uint8_t>(value[0]);
    return;
  }
  if (int category = CodeOfName(kAdifCategoryNames, value); category >= 0) {
    header.category = static_cast<std::uint8_t>(category);
  }
}

// Contest loggers name the contest, the own call and the mode on every record and nothing of
// it in the header. What the header lacks is taken from the first record, which is then read
// again as the first contact.
void AdifLogFile::FillHeaderFromFirstRecord() {
  const std::int64_t start = scanner.Offset();
  FirstRecord first;
  AdifTagScanner::Tag tag;
  while (scanner.Next(tag) == AdifTagScanner::Result::kTag) first.Take(tag);
  Seek(start);
  scanner.Reset();

  if (header.contest == kContestNone && options.contest == kContestNone) {
    header.contest = static_cast<std::uint8_t>(AdifContestFromId(first.contest_id));
  }
  if (header.call[0] == '\0') {
    CopyCut(header.call, !first.station_call.empty() ? first.station_call : first.operator_call);
  }
  if (header.mode == kModeNone) {
    int mode = AdifContestModeFromId(first.contest_id);
    if (mode == kModeNone) mode = first.mode;
    header.mode = static_cast<std::uint8_t>(mode);
  }
  FillOwnExchange(first.sent_exchange);
}

void AdifLogFile::FirstRecord::Take(const AdifTagScanner::Tag& tag) {
  auto keep = [&tag](std::string& field) { field.assign(tag.value.substr(0, 64)); };
  switch (tag.number) {
    case kAdifContestId:
      keep(contest_id);
      break;
    case kAdifStationCallsign:
      keep(station_call);
      break;
    case kAdifOperator:
      keep(operator_call);
      break;
    case kAdifStxString:
      keep(sent_exchange);
      break;
    case kAdifMode:
      mode = ModeFromName(tag.value);
      if (mode == 0 && EqualsNoCase(tag.value, "FSK")) mode = kModeRtty;
      break;
    default:
      break;
  }
}

// The own Sweepstakes and Field Day exchange from the sent exchange a contest logger wrote,
// where the header has none: "1 B 80 WCF" (serial, precedence, check, section) or "1D WCF".
void AdifLogFile::FillOwnExchange(std::string_view sent) {
  std::string_view words[4];
  std::size_t count = SplitWords(sent, words);
  if (header.contest == kContestSs && count >= 3) {
    std::size_t at = count == 4 ? 1 : 0;  // the serial is the contact's, not the station's
    if (header.prec == 0 && words[at].size() == 1 && IsLetter(words[at][0]))
      header.prec = static_cast<std::uint8_t>(ToUpper(words[at][0]));
    if (header.check == 0 && words[at + 1].size() == 2 && AllDigits(words[at + 1]))
      header.check = Number<std::uint8_t>(words[at + 1]);
    if (header.arrl_sect[0] == '\0') CopyCut(header.arrl_sect, words[at + 2]);
  }
  char transmitters = 0;
  char category = 0;
  if (header.contest == kContestFd && count == 2 &&
      ReadFieldDayClass(words[0], transmitters, category)) {
    if (header.prec == 0) header.prec = static_cast<std::uint8_t>(transmitters);
    if (header.check == 0) header.check = static_cast<std::uint8_t>(ToUpper(category));
    if (header.arrl_sect[0] == '\0') CopyCut(header.arrl_sect, words[1]);
  }
}

// ---- Contacts ----

namespace {

// A call tag gives the contact a call unless its value is empty or, shorter than the call
// field, starts with a blank (QsoRecord::SetCall reads a call up to its first blank).
bool GivesCall(std::string_view value) {
  constexpr std::size_t kCallRoom = sizeof(QsoRecord{}.call);
  if (value.empty() || value[0] == '\0') return false;
  return value[0] != ' ' || value.size() >= kCallRoom;
}

}  // namespace

// Makes the record of a contact's tags. It keeps the last contest identifier and the last
// country looked up, which the next contact mostly asks for again.
class AdifLogFile::ContactMaker final : public QsoMaker {
 public:
  explicit ContactMaker(const AdifLogFile& log) : log(log) {}
  bool Make(const RawQso& raw, QsoRecord& record) override;

 private:
  void ApplyQsoTags(const RawQso& raw, QsoRecord& record, ContactState& state);
  void ApplyExchangeTag(int rank, std::string_view value, QsoRecord& record,
                        ContactState& state) const;
  void ApplyReceivedSerial(std::string_view value, QsoRecord& record, ContactState& state);
  void FinishContact(QsoRecord& record, const ContactState& state) const;
  int ContestOfId(std::string_view id);

  const AdifLogFile& log;
  // Contest loggers name the same contest on every record: the last identifier and its code
  // (the code depends on the identifier alone).
  struct ContestIdLookup {
    std::string id;
    int contest = 0;
    bool valid = false;
  } last_contest_id;
  CountryLookup last_lookup;
};

std::unique_ptr<QsoMaker> AdifLogFile::NewQsoMaker() const {
  return std::make_unique<ContactMaker>(*this);
}

int AdifLogFile::ReadQso(QsoRecord& record) {
  return ReadQsoInTwoSteps(record, raw_contact, own_maker);
}

// The tags of the next contact, up to its <eor>. A record is a contact when it names a call or
// a date; other records are counted and passed over.
int AdifLogFile::ReadRawQso(RawQso& raw) {
  for (;;) {
    raw.Clear();
    if (IsEof()) return 0;
    AdifTagScanner::Tag tag;
    AdifTagScanner::Result result;
    std::int64_t first_tag = -1;
    bool call_given = false;
    bool date_given = false;
    while ((result = scanner.Next(tag)) == AdifTagScanner::Result::kTag) {
      if (first_tag < 0) first_tag = tag.offset;
      if (tag.number == kAdifCall) call_given = GivesCall(tag.value);
      if (tag.number == kAdifQsoDate) date_given = !tag.value.empty();
      if (tag.number != kAdifUnknown) raw.Add(tag.number, tag.value, tag.room);
    }
    bool contact = call_given || date_given;
    if (result == AdifTagScanner::Result::kEndOfFile) {
      // A contact the end of the file cut off before its <eor> is not returned: the log stops
      // at its first tag. What follows the last <eor> without a call or a date (a trailer tag,
      // blanks) is no contact, and the log ends there normally.
      if (contact) NoteStop(first_tag);
      return 0;
    }
    scanner.Sync();
    if (!contact) {
      ++notes.skipped_records;  // a bare <eor>, or a record of application fields only
      continue;
    }
    ++qso_count;
    return 1;
  }
}

bool AdifLogFile::ContactMaker::Make(const RawQso& raw, QsoRecord& record) {
  record.Clear();
  ContactState state;
  ApplyQsoTags(raw, record, state);
  FinishContact(record, state);
  return state.date_valid && state.start_valid;
}

void AdifLogFile::ContactMaker::FinishContact(QsoRecord& record, const ContactState& state) const {
  const ContestHeader& header = log.header;
  // The IARU layout writes the exchange as text only when there is no ITU zone.
  if (header.contest == kContestIaru && record.ituz != 0) record.SetRcvdExch("");
  bool class_given = record.prec != ' ' || record.check != ' ';
  if (header.contest == kContestFd && !class_given && state.logged_class[1] != '\0') {
    record.prec = state.logged_class[0];
    record.check = state.logged_class[1];
  }
  std::int64_t start = UtcSeconds(state.date[0], state.date[1], state.date[2], state.start[0],
                                  state.start[1], state.start[2]);
  record.time_on = start;
  if (state.end_seen) {
    std::int64_t finish = UtcSeconds(state.date[0], state.date[1], state.date[2], state.end[0],
                                     state.end[1], state.end[2]);
    if (finish < start) finish += 86400;
    record.time_off = finish;
  }
}

void AdifLogFile::ContactMaker::ApplyQsoTags(const RawQso& raw, QsoRecord& record,
                                             ContactState& state) {
  const ContestHeader& header = log.header;
  const ExchangeRankRow& ranks = ExchangeRanksOf(header.contest);
  for (std::size_t i = 0; i < raw.Count(); ++i) {
    const int number = raw.Number(i);
    const std::string_view value = raw.Value(i);
    switch (number) {
      case kAdifCall:
        record.SetCall(value.data(), static_cast<int>(std::min<std::size_t>(value.size(), 14)));
        break;
      case kAdifQsoDate:
        state.date_seen = !value.empty();
        state.date_valid = ReadDate(value, state.date);
        break;
      case kAdifTimeOn:
        state.start_valid = ReadTimeOfDay(value, state.start);
        break;
      case kAdifTimeOff:
        state.end_seen = ReadTimeOfDay(value, state.end);
        break;
      case kAdifFreq:
        record.freq = ParseFrequency(value);
        break;
      case kAdifBand:
        record.band = static_cast<std::uint8_t>(BandFromName(value));
        if (record.band == 0) {
          record.SetBandName(value);
        } else {
          record.band_name[0] = '\0';
        }
        break;
      case kAdifMode:
        ApplyMode(value, record);
        break;
      case kAdifSubmode:
        record.SetSubmode(value);
        break;
      case kAdifTxPwr:
        record.SetTxPwr(value);
        break;
      case kAdifRstSent:
        record.SetRstSent(value);
        break;
      case kAdifRstRcvd:
        record.SetRstRcvd(value);
        break;
      case kAdifQslSent:
        if (!value.empty()) record.SetQslSent(value[0]);
        break;
      case kAdifQslRcvd:
        if (!value.empty()) record.SetQslRcvd(value[0]);
        break;
      case kAdifName:
        record.SetName(value);
        break;
      case kAdifQth:
        record.SetQth(value);
        break;
      case kAdifState:
        record.SetState(value.data(), static_cast<int>(std::min<std::size_t>(value.size(), 3)));
        break;
      case kAdifComment:
        record.SetComment(value);
        break;
      case kAdifContestId:
        record.SetContest(static_cast<std::uint8_t>(ContestOfId(value)));
        break;
      case kAdifStx:
        record.SetStx(value);
        break;
      case kAdifSrx:
        ApplyReceivedSerial(value, record, state);
        break;
      case kAdifPrec:
      case kAdifPrecedence:
        if (!value.empty()) record.prec = value[0];
        break;
      case kAdifCheck:
        if (!value.empty()) record.SetCheck(value);
        break;
      case kAdifArrlSect:
        record.SetArrlSect(value);
        break;
      case kAdifGridsquare:
        record.SetGridsquare(value);
        break;
      case kAdifCqz:
        record.SetCqz(value);
        break;
      case kAdifItuz:
        record.SetItuz(value);
        break;
      case kAdifIota:
        record.SetIota(value);
        break;
      case kAdifTxCount:
        if (!value.empty()) record.SetPrec(value);
        break;
      case kAdifCategory:
        if (!value.empty()) record.check = value[0];
        break;
      case kAdifAge:
        record.SetAge(value);
        break;
      case kAdifTenTen:
        record.SetTenTen(value);
        break;
      case kAdifArciNum:
        record.SetArciNum(value);
        break;
      case kAdifRcv:
        // Field Day class: transmitters and category letter, as in 2A.
        if (header.contest == kContestFd && !value.empty()) {
          if (IsLetter(value.back())) record.check = value.back();
          record.SetPrec(value.substr(0, value.size() - 1));
        }
        break;
      case kAdifClass:
        if (header.contest == kContestFd) ReadFieldDayClass(value, record.prec, record.check);
        break;
      case kAdifSrxString:
        // Field Day loggers that write no class tag log the class first: "1F CT".
        if (header.contest == kContestFd) {
          std::string_view words[1];
          if (SplitWords(value, words) == 1) {
            ReadFieldDayClass(words[0], state.logged_class[0], state.logged_class[1]);
          }
        }
        break;
      default:
        break;  // eoh, address, club, power_cat and names the format does not know
    }
    ApplyExchangeTag(ExchangeRankOf(ranks, number), value, record, state);
  }
}

// A log read from ADIF keeps its received exchange where the other formats look for it: the
// tag in which the contest's layout writes the exchange fills `rcvd_exch` as well.
void AdifLogFile::ContactMaker::ApplyExchangeTag(int rank, std::string_view value,
                                                 QsoRecord& record, ContactState& state) const {
  if (rank == 0 || rank >= state.exchange_rank || value.empty()) return;
  record.SetRcvdExch(value);
  state.exchange_rank = rank;
}

// DX4WIN writes the Canadian province of ARRL 10 m contacts in the serial-number tag.
void AdifLogFile::ContactMaker::ApplyReceivedSerial(std::string_view value, QsoRecord& record,
                                                    ContactState& state) {
  if (log.from_dx4win && log.header.contest == kContestArrl10 &&
      last_lookup.PrefixIs(log.Countries(), record.Call(), {"VE"})) {
    record.SetRcvdExch(value);
    state.exchange_rank = 0;
  } else {
    record.SetSrx(value);
  }
}

int AdifLogFile::ContactMaker::ContestOfId(std::string_view id) {
  if (!last_contest_id.valid || last_contest_id.id != id) {
    last_contest_id.id.assign(id.substr(0, 64));
    last_contest_id.contest = AdifContestFromId(id);
    last_contest_id.valid = id.size() <= 64;  // a longer one is looked up every time
  }
  return last_contest_id.contest;
}

bool AdifLogFile::CountryLookup::PrefixIs(const CountryTable& table, std::string_view call,
                                          std::initializer_list<std::string_view> prefixes) {
  // A contact may ask several times (exchange, then state line): look its call up once.
  if (!valid || !SameShortText(std::string_view(this->call.data(), call_size), call)) {
    country = table.LookupCall(call);
    valid = call.size() <= this->call.size();  // a longer call is looked up every time
    call_size = valid ? call.size() : 0;
    std::copy_n(call.data(), call_size, this->call.data());
  }
  if (country == nullptr) return false;
  for (std::string_view prefix : prefixes) {
    if (SameShortText(prefix, country->prefix)) return true;
  }
  return false;
}

bool AdifLogFile::CountryPrefixIs(const QsoRecord& record,
                                  std::initializer_list<std::string_view> prefixes) const {
  return last_lookup.PrefixIs(Countries(), record.Call(), prefixes);
}

void AdifLogFile::LoadCountries() const {
  std::call_once(countries_loading, [this] {
    country_table.Open(FindDataFile(kCountryFileName).c_str(), kModeReadBinary);
    countries_loaded.store(true, std::memory_order_release);
  });
}

}  // namespace quorvel
