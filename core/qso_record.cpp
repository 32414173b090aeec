#include "core/qso_record.h"

#include <charconv>
#include <cstddef>
#include <cstring>
#include <type_traits>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/civil_time.h"
#include "core/numbers.h"
#include "core/text_field.h"

namespace quorvel {
namespace {

std::string_view Counted(const char* text, int count) {
  return count > 0 ? BoundedText(text, static_cast<std::size_t>(count)) : std::string_view{};
}

template <typename Field>
Field NumberOf(std::string_view text) {
  return ValueOrZero<Field>(ParseLeadingInt(text));
}

bool IsSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// A report and whether it was written with a sign: the leading number as C reads it. Without
// digits, or beyond the field's range, it is no report.
void SetReport(std::string_view text, std::int16_t& report, std::uint8_t& signs,
               std::uint8_t sign_bit) {
  if (text.size() == 3 && IsDigit(text[0]) && IsDigit(text[1]) && IsDigit(text[2])) {
    // The common report, "599" or "579": no sign, no blanks.
    report =
        static_cast<std::int16_t>((text[0] - '0') * 100 + (text[1] - '0') * 10 + (text[2] - '0'));
    signs = static_cast<std::uint8_t>(signs & ~sign_bit);
    return;
  }
  std::size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool sign = i < text.size() && (text[i] == '+' || text[i] == '-');
  bool negative = sign && text[i] == '-';
  if (sign) ++i;
  std::int64_t value = 0;
  std::size_t first_digit = i;
  for (; i < text.size() && IsDigit(text[i]) && value <= 32768; ++i) {
    value = value * 10 + (text[i] - '0');
  }
  bool digits = i > first_digit;
  report = ValueOrZero<std::int16_t>(negative ? -value : value);
  bool in_range = report != 0 || value == 0;
  bool signed_report = sign && digits && in_range;
  signs = static_cast<std::uint8_t>(signed_report ? (signs | sign_bit) : (signs & ~sign_bit));
}

constexpr std::size_t kCacheLine = 64;

// Zeroes and tests whole cache lines of a record sixteen bytes at a time where the machine
// can; a library call costs more than the few moves these short lengths take.
#if defined(__SSE2__)
template <std::size_t... Block>
void ZeroBlocks(unsigned char* lines, std::index_sequence<Block...>) {
  const __m128i zero = _mm_setzero_si128();
  (_mm_store_si128(reinterpret_cast<__m128i*>(lines + 16 * Block), zero), ...);
}

template <std::size_t... Block>
__m128i OrOfBlocks(const unsigned char* lines, std::index_sequence<Block...>) {
  return (_mm_load_si128(reinterpret_cast<const __m128i*>(lines + 16 * Block)) | ...);
}

template <std::size_t Size>
void ZeroLines(unsigned char* lines) {
  ZeroBlocks(lines, std::make_index_sequence<Size / 16>{});
}

template <std::size_t Size>
bool LinesAreZero(const unsigned char* lines) {
  __m128i any = OrOfBlocks(lines, std::make_index_sequence<Size / 16>{});
  return _mm_movemask_epi8(_mm_cmpeq_epi8(any, _mm_setzero_si128())) == 0xFFFF;
}
#else
template <std::size_t Size>
void ZeroLines(unsigned char* lines) {
  std::memset(lines, 0, Size);
}

template <std::size_t Size>
bool LinesAreZero(const unsigned char* lines) {
  static constexpr unsigned char kZeros[Size] = {};
  return std::memcmp(lines, kZeros, Size) == 0;
}
#endif

}  // namespace

void QsoRecord::Clear() {
  static_assert(std::is_trivially_copyable_v<QsoRecord> && alignof(QsoRecord) == kCacheLine &&
                sizeof(QsoRecord) % kCacheLine == 0);
  // Every field but the comment lies in the first cache lines, and nearly every reader sets
  // something in each of them (the call, the points, the exchange): those lines are cleared
  // whole, which costs a few stores.
  constexpr std::size_t kFieldLines =
      (offsetof(QsoRecord, comment) + kCacheLine - 1) / kCacheLine * kCacheLine;
  auto* bytes = reinterpret_cast<unsigned char*>(this);
  ZeroLines<kFieldLines>(bytes);
  // The comment's lines are mostly zero. Reading ahead fills records on one core and writes
  // them out on another: a line that is still zero is only read here, not written, for
  // written it would travel to the writing core again.
  if (!LinesAreZero<sizeof(QsoRecord) - kFieldLines>(bytes + kFieldLines)) {
    for (std::size_t at = kFieldLines; at < sizeof *this; at += kCacheLine) {
      if (!LinesAreZero<kCacheLine>(bytes + at)) ZeroLines<kCacheLine>(bytes + at);
    }
  }
  prec = ' ';
  check = ' ';
}

void QsoRecord::SetCall(const char* text, int length) {
  std::memset(call, 0, sizeof call);
  if (text == nullptr || length <= 0) return;
  // A call of a given length ends at its first blank; a text of the field's size or longer is
  // taken as it stands, cut to the field. Both end at a NUL.
  bool whole_field = length >= static_cast<int>(sizeof call);
  std::size_t limit = whole_field ? sizeof call - 1 : static_cast<std::size_t>(length);
  for (std::size_t i = 0; i < limit; ++i) {
    char c = text[i];
    if (c == '\0' || (c == ' ' && !whole_field)) break;
    call[i] = c;
  }
}

void QsoRecord::SetCallText(std::string_view text) {
  CopyCut(call, text);
}

void QsoRecord::SetTime(int year, int month, int day, int hour, int minute) {
  time_on = UtcSeconds(std::int64_t{year} + 1900, std::int64_t{month} + 1, day, hour, minute, 0);
}

void QsoRecord::SetTxPwr(std::string_view text) {
  tx_pwr = NumberOf<std::uint16_t>(text);
}
void QsoRecord::SetStx(std::string_view text) {
  stx = NumberOf<std::int32_t>(text);
}
void QsoRecord::SetSrx(std::string_view text) {
  srx = NumberOf<std::int32_t>(text);
}
void QsoRecord::SetCqz(std::string_view text) {
  cqz = NumberOf<std::uint8_t>(text);
}
void QsoRecord::SetItuz(std::string_view text) {
  ituz = NumberOf<std::uint8_t>(text);
}
void QsoRecord::SetRstSent(std::string_view text) {
  SetReport(text, rst_sent, report_signs, kSignedRstSent);
}
void QsoRecord::SetRstRcvd(std::string_view text) {
  SetReport(text, rst_rcvd, report_signs, kSignedRstRcvd);
}
void QsoRecord::SetTenTen(std::string_view text) {
  ten_ten = NumberOf<std::int32_t>(text);
}
void QsoRecord::SetArciNum(std::string_view text) {
  arci_num = NumberOf<std::uint16_t>(text);
}
void QsoRecord::SetAge(std::string_view text) {
  age = NumberOf<std::uint8_t>(text);
}
void QsoRecord::SetPrec(std::string_view text) {
  prec = NumberOf<char>(text);
}
void QsoRecord::SetCheck(std::string_view text) {
  check = NumberOf<char>(text);
}
void QsoRecord::SetPoints(std::string_view text) {
  points = NumberOf<std::uint8_t>(text);
}

void QsoRecord::SetName(std::string_view text) {
  CopyCut(name, text);
}
void QsoRecord::SetIota(std::string_view text) {
  CopyCut(iota, text);
}
void QsoRecord::SetQth(std::string_view text) {
  CopyCut(qth, text);
}
void QsoRecord::SetQth(const char* text, int count) {
  SetQth(Counted(text, count));
}
void QsoRecord::SetArrlSect(std::string_view text) {
  CopyCut(arrl_sect, text);
}
void QsoRecord::SetArrlSect(const char* text, int count) {
  SetArrlSect(Counted(text, count));
}
void QsoRecord::SetState(const char* text, int count) {
  CopyCut(state, Counted(text, count), Termination::kUnterminated);
}
void QsoRecord::SetRcvdExch(std::string_view text) {
  CopyCut(rcvd_exch, text);
}
void QsoRecord::SetRcvdExch(const char* text, int count) {
  SetRcvdExch(Counted(text, count));
}
void QsoRecord::SetComment(std::string_view text) {
  CopyCut(comment, text);
}
void QsoRecord::SetComment(const char* text, int count) {
  SetComment(Counted(text, count));
}

void QsoRecord::SetBandName(std::string_view text) {
  CopyCut(band_name, text);
}
void QsoRecord::SetModeName(std::string_view text) {
  CopyCut(mode_name, text);
}
void QsoRecord::SetSubmode(std::string_view text) {
  CopyCut(submode, text);
}
void QsoRecord::SetGridsquare(std::string_view text) {
  CopyCut(gridsquare, text);
}

void QsoRecord::AddMult(std::string_view text) {
  std::string_view held = Mults();
  std::size_t needed = held.empty() ? text.size() : held.size() + 1 + text.size();
  if (needed < sizeof mults) {
    char* end = mults + held.size();
    if (!held.empty()) *end++ = ' ';
    std::memcpy(end, text.data(), text.size());
    end[text.size()] = '\0';
  }
  mult_count = static_cast<std::uint8_t>(mult_count + 1);
}

int QsoRecord::RcvdExchLength() const {
  return static_cast<int>(RcvdExch().size());
}
int QsoRecord::NameLength() const {
  return static_cast<int>(Name().size());
}
int QsoRecord::QthLength() const {
  return static_cast<int>(Qth().size());
}
bool QsoRecord::RcvdExchIsNumeric() const {
  return IsDigit(rcvd_exch[0]);
}

std::string_view QsoRecord::Call() const {
  return FieldText(call);
}
std::string_view QsoRecord::Name() const {
  return FieldText(name);
}
std::string_view QsoRecord::Iota() const {
  return FieldText(iota);
}
std::string_view QsoRecord::Qth() const {
  return FieldText(qth);
}
std::string_view QsoRecord::ArrlSect() const {
  return FieldText(arrl_sect);
}
std::string_view QsoRecord::State() const {
  return FieldText(state);
}
std::string_view QsoRecord::RcvdExch() const {
  return FieldText(rcvd_exch);
}
std::string_view QsoRecord::Comment() const {
  return FieldText(comment);
}
std::string_view QsoRecord::Mults() const {
  return FieldText(mults);
}
std::string_view QsoRecord::BandName() const {
  return FieldText(band_name);
}
std::string_view QsoRecord::ModeName() const {
  return FieldText(mode_name);
}
std::string_view QsoRecord::Submode() const {
  return FieldText(submode);
}
std::string_view QsoRecord::Gridsquare() const {
  return FieldText(gridsquare);
}

// Built by hand rather than with printf ("%+03d" or "%d"): every contact has two reports.
ReportText FormatReport(std::int16_t value, bool with_sign) {
  ReportText report{};
  char* out = report.text;
  int magnitude = value < 0 ? -static_cast<int>(value) : value;
  if (with_sign || value < 0) {
    *out++ = value < 0 ? '-' : '+';
    if (magnitude < 10) *out++ = '0';
  }
  out = std::to_chars(out, report.text + sizeof report.text - 1, magnitude).ptr;
  report.length = static_cast<std::uint8_t>(out - report.text);
  return report;
}

}  // namespace quorvel
