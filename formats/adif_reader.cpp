// Reading ADIF: the tag scanner, the header and the contacts.
#include <algorithm>
#include <array>
#include <cstring>

#include "core/civil_time.h"
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
char ToLowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}
bool IsBlank(int c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// `count` characters of `text` from `from`, or fewer where the text is shorter.
std::string_view Slice(std::string_view text, std::size_t from, std::size_t count) {
  return from < text.size() ? text.substr(from, count) : std::string_view{};
}

int SliceNumber(std::string_view text, std::size_t from, std::size_t count) {
  return static_cast<int>(ParseLeadingInt(Slice(text, from, count)));
}

// HHMM, or HHMMSS when the value has exactly six characters.
void ParseTimeOfDay(std::string_view value, int (&fields)[3]) {
  fields[0] = SliceNumber(value, 0, 2);
  fields[1] = SliceNumber(value, 2, 2);
  fields[2] = value.size() == 6 ? SliceNumber(value, 4, 2) : 0;
}

// MHz with an optional fraction of which the first three digits count (kHz); in 100 Hz units.
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
  return CutToField<std::uint32_t>(mhz * 10000 + khz * 10);
}

int BandFromName(std::string_view value) {
  for (int code = 1; code <= kBandCount; ++code) {
    if (EqualsNoCase(value, kAdifBandNames[code])) return code;
  }
  return 0;
}

int ModeFromName(std::string_view value) {
  for (int code = 1; code <= kModeCount; ++code) {
    if (EqualsNoCase(value, kModeNames[code])) return code;
  }
  return 0;
}

// The tags in which a contest's layout writes the received exchange, best first.
struct ExchangeTags {
  int contest;
  AdifTag tags[2];
};
constexpr ExchangeTags kExchangeTags[] = {
    {kContestIaru, {kAdifComment, kAdifUnknown}},
    {kContestArrl10, {kAdifState, kAdifSrx}},
    {kContestArrl160, {kAdifArrlSect, kAdifQth}},
    {kContestCq160, {kAdifState, kAdifQth}},
    {kContestCqp, {kAdifQth, kAdifUnknown}},
    {kContestArrlDxFromDx, {kAdifState, kAdifQth}},
    {kContestDxped, {kAdifQth, kAdifUnknown}},
    {kContestAllAsian, {kAdifAge, kAdifUnknown}},
    {kContestNaqp, {kAdifState, kAdifQth}},
    {kContestYodx, {kAdifQth, kAdifUnknown}},
    {kContestKcj, {kAdifQth, kAdifUnknown}},
    {kContestSprint, {kAdifQth, kAdifUnknown}},
    {kContestArci, {kAdifQth, kAdifUnknown}},
    {kContestIota, {kAdifIota, kAdifUnknown}},
    {kContestInternetSprint, {kAdifQth, kAdifUnknown}},
    {kContestGeneralQso, {kAdifComment, kAdifUnknown}},
};

// Per contest and tag: 1 for the contest's best exchange tag, 2 for the next, else 0.
using ExchangeRanks = std::array<std::array<std::uint8_t, kAdifTagCount>, kContestCount + 1>;

constexpr ExchangeRanks BuildExchangeRanks() {
  ExchangeRanks ranks{};
  for (const ExchangeTags& entry : kExchangeTags) {
    for (int rank = 0; rank < 2; ++rank) {
      if (entry.tags[rank] != kAdifUnknown) ranks[entry.contest][entry.tags[rank]] = rank + 1;
    }
  }
  return ranks;
}

constexpr ExchangeRanks kExchangeRanks = BuildExchangeRanks();

int ExchangeRank(int contest, int tag) {
  if (contest > kContestCount || tag < 0 || tag >= kAdifTagCount) return 0;
  return kExchangeRanks[contest][tag];
}

template <typename Field>
Field Number(std::string_view value) {
  return CutToField<Field>(ParseLeadingInt(value));
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

bool AdifTagScanner::FindTagStart() {
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

// The tag name up to ':' or '>'. A line feed breaks the tag; a '<' starts a new one.
AdifTagScanner::Stop AdifTagScanner::ReadName(int& number) {
  char name[16] = {};  // lower case; longer names than the known ones are only counted
  std::size_t length = 0;
  for (;;) {
    int c = Get();
    if (c < 0) return Stop::kEndOfFile;
    if (c == ':' || c == '>') {
      number = AdifLowerTagNumber(name, length);
      return c == ':' ? Stop::kColon : Stop::kClose;
    }
    if (c == '\n') return Stop::kBroken;
    if (c == '<') {
      Unget();
      return Stop::kBroken;
    }
    if (length < sizeof name) name[length] = ToLowerAscii(static_cast<char>(c));
    if (length <= sizeof name) ++length;
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

AdifTagScanner::Result AdifTagScanner::Next(Tag& tag) {
  for (;;) {
    if (!FindTagStart()) return Result::kEndOfFile;
    tag.offset = Offset() - 1;
    int number = kAdifUnknown;
    Stop stop = ReadName(number);
    std::int64_t length = -1;  // none stated
    if (stop == Stop::kColon) stop = ReadLength(length);
    if (stop == Stop::kEndOfFile) return Result::kEndOfFile;
    if (stop == Stop::kBroken) continue;
    if (number == kAdifEor) return Result::kEndOfRecord;
    if (number == kAdifEoh) return Result::kEndOfHeader;
    tag.number = number;
    tag.value = length >= 0 ? ReadCountedValue(length) : ReadOpenValue();
    return Result::kTag;
  }
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
  for (;;) {
    AdifTagScanner::Result result = scanner.Next(tag);
    if (result == AdifTagScanner::Result::kTag) {
      if (tag.offset >= first_line_end) ApplyHeaderTag(tag);
      continue;
    }
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
      header.zone = Number<std::uint8_t>(value);
      break;
    case kAdifGridsquare:
      CopyCut(header.gridsquare, value);
      break;
    case kAdifTxCount:
      header.prec = Number<std::uint8_t>(value);
      break;
    case kAdifCategory:
      if (!value.empty()) header.check = static_cast<std::uint8_t>(value[0]);
      break;
    default:
      break;
  }
}

// ---- Contacts ----

int AdifLogFile::ReadQso(QsoRecord& record) {
  record.Clear();
  if (IsEof()) return 0;
  ContactState state;
  AdifTagScanner::Tag tag;
  for (;;) {
    AdifTagScanner::Result result = scanner.Next(tag);
    if (result == AdifTagScanner::Result::kEndOfFile) return 0;  // a record without <eor>
    if (result != AdifTagScanner::Result::kTag) break;
    ApplyQsoTag(tag, record, state);
  }
  // The IARU layout writes the exchange as a comment only when there is no ITU zone.
  bool exchange_from_comment = header.contest == kContestIaru && state.exchange_rank == 1;
  if (exchange_from_comment && record.ituz != 0) {
    record.SetRcvdExch("");
  }
  std::int64_t start = UtcSeconds(state.year, state.month, state.day, state.start[0],
                                  state.start[1], state.start[2]);
  record.time_on = ToTime32(start);
  if (state.end_seen) {
    std::int64_t finish =
        UtcSeconds(state.year, state.month, state.day, state.end[0], state.end[1], state.end[2]);
    if (finish < start) finish += 86400;
    record.time_off = ToTime32(finish);
  }
  scanner.Sync();
  ++qso_count;
  return 1;
}

void AdifLogFile::ApplyQsoTag(const AdifTagScanner::Tag& tag, QsoRecord& record,
                              ContactState& state) const {
  std::string_view value = tag.value;
  switch (tag.number) {
    case kAdifCall:
      record.SetCall(value.data(), static_cast<int>(std::min<std::size_t>(value.size(), 14)));
      break;
    case kAdifQsoDate:
      state.year = SliceNumber(value, 0, 4);
      state.month = SliceNumber(value, 4, 2);
      state.day = SliceNumber(value, 6, 2);
      break;
    case kAdifTimeOn:
      ParseTimeOfDay(value, state.start);
      break;
    case kAdifTimeOff:
      ParseTimeOfDay(value, state.end);
      state.end_seen = true;
      break;
    case kAdifFreq:
      record.freq = ParseFrequency(value);
      break;
    case kAdifBand:
      record.band = static_cast<std::uint8_t>(BandFromName(value));
      break;
    case kAdifMode: {
      int mode = ModeFromName(value);
      if (mode == 0 && EqualsNoCase(value, "FSK")) mode = kModeRtty;
      record.mode = static_cast<std::uint8_t>(mode);
      break;
    }
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
      record.SetContest(static_cast<std::uint8_t>(AdifContestFromId(value)));
      break;
    case kAdifStx:
      record.SetStx(value);
      break;
    case kAdifSrx:
      ApplyReceivedSerial(value, record);
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
    case kAdifRxPwr:
    case kAdifGridsquare:
    case kAdifPrefecture:
      record.SetRcvdExch(value);
      state.exchange_rank = 0;
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
    default:
      break;  // eoh, address, club, power_cat and names the format does not know
  }
  ApplyExchangeTag(tag, record, state);
}

// A log read from ADIF keeps its received exchange where the other formats look for it: the
// tag in which the contest's layout writes the exchange fills `rcvd_exch` as well.
void AdifLogFile::ApplyExchangeTag(const AdifTagScanner::Tag& tag, QsoRecord& record,
                                   ContactState& state) const {
  int rank = ExchangeRank(header.contest, tag.number);
  if (rank == 0 || rank >= state.exchange_rank || tag.value.empty()) return;
  record.SetRcvdExch(tag.value);
  state.exchange_rank = rank;
}

// DX4WIN writes the Canadian province of ARRL 10 m contacts in the serial-number tag.
void AdifLogFile::ApplyReceivedSerial(std::string_view value, QsoRecord& record) const {
  if (from_dx4win && header.contest == kContestArrl10 && CountryPrefixIs(record, {"VE"})) {
    record.SetRcvdExch(value);
  } else {
    record.SetSrx(value);
  }
}

bool AdifLogFile::CountryPrefixIs(const QsoRecord& record,
                                  std::initializer_list<std::string_view> prefixes) const {
  // A contact may ask several times (exchange, then state line): look its call up once.
  if (!last_lookup.valid || last_lookup.call != record.Call()) {
    last_lookup.call.assign(record.Call());
    last_lookup.country = country_table.LookupCall(record.Call());
    last_lookup.valid = true;
  }
  const Country* country = last_lookup.country;
  if (country == nullptr) return false;
  return std::find(prefixes.begin(), prefixes.end(), country->prefix) != prefixes.end();
}

}  // namespace quorvel
