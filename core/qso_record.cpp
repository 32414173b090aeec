#include "core/qso_record.h"

#include <cstring>

#include "core/civil_time.h"
#include "core/numbers.h"
#include "core/text_field.h"

namespace quorvel {
namespace {

std::string_view Counted(const char* text, int count) {
  return count > 0 ? BoundedText(text, static_cast<std::size_t>(count)) : std::string_view{};
}

}  // namespace

void QsoRecord::Clear() {
  *this = QsoRecord{};
  prec = ' ';
  check = ' ';
}

void QsoRecord::SetCall(const char* text, int length) {
  std::memset(call, 0, sizeof call);
  if (text == nullptr || length <= 0) return;
  if (length >= 14) {
    CopyCut(call, BoundedText(text, 13));
    return;
  }
  std::string_view given = BoundedText(text, static_cast<std::size_t>(length));
  CopyCut(call, given.substr(0, given.find(' ')));
}

void QsoRecord::SetCallText(std::string_view text) {
  CopyCut(call, text);
}

void QsoRecord::SetTime(int year, int month, int day, int hour, int minute) {
  time_on = ToTime32(
      UtcSeconds(std::int64_t{year} + 1900, std::int64_t{month} + 1, day, hour, minute, 0));
}

void QsoRecord::SetTxPwr(std::string_view text) {
  tx_pwr = CutToField<std::uint16_t>(ParseLeadingInt(text));
}
void QsoRecord::SetStx(std::string_view text) {
  stx = CutToField<std::int32_t>(ParseLeadingInt(text));
}
void QsoRecord::SetSrx(std::string_view text) {
  srx = CutToField<std::int32_t>(ParseLeadingInt(text));
}
void QsoRecord::SetCqz(std::string_view text) {
  cqz = CutToField<std::uint8_t>(ParseLeadingInt(text));
}
void QsoRecord::SetItuz(std::string_view text) {
  ituz = CutToField<std::uint8_t>(ParseLeadingInt(text));
}
void QsoRecord::SetRstSent(std::string_view text) {
  rst_sent = CutToField<std::uint16_t>(ParseLeadingInt(text));
}
void QsoRecord::SetRstRcvd(std::string_view text) {
  rst_rcvd = CutToField<std::uint16_t>(ParseLeadingInt(text));
}
void QsoRecord::SetTenTen(std::string_view text) {
  ten_ten = CutToField<std::int32_t>(ParseLeadingInt(text));
}
void QsoRecord::SetArciNum(std::string_view text) {
  arci_num = CutToField<std::uint16_t>(ParseLeadingInt(text));
}
void QsoRecord::SetAge(std::string_view text) {
  age = CutToField<std::uint8_t>(ParseLeadingInt(text));
}
void QsoRecord::SetPrec(std::string_view text) {
  prec = CutToField<char>(ParseLeadingInt(text));
}
void QsoRecord::SetCheck(std::string_view text) {
  check = CutToField<char>(ParseLeadingInt(text));
}
void QsoRecord::SetPoints(std::string_view text) {
  points = CutToField<std::uint8_t>(ParseLeadingInt(text));
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

}  // namespace quorvel
