// Decimal numbers as text without printf, for the fixed-width fields that every QSO of a log
// fills: the same characters as "%0*d" (and so as "%d" and "%02d"), built in a small buffer.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace quorvel {

struct DecimalText {
  char text[32];
  std::uint8_t length;
  std::string_view View() const { return {text, length}; }
};

/// What "%0*d" prints for `value` with `min_digits`: a minus sign for a negative value, then
/// its digits, zeros in front where it has fewer than `min_digits` (at most 20 of them).
inline DecimalText Decimal(std::int64_t value, int min_digits = 1) {
  char digits[20];  // filled from the end: the last digit first
  std::size_t first = sizeof digits;
  std::uint64_t magnitude =
      value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  do {
    digits[--first] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  std::size_t count = sizeof digits - first;
  DecimalText decimal;
  char* out = decimal.text;
  if (value < 0) *out++ = '-';
  long zeros = min_digits - static_cast<long>(count) - (value < 0 ? 1 : 0);
  for (; zeros > 0 && out - decimal.text < 20; --zeros) *out++ = '0';
  std::memcpy(out, digits + first, count);
  decimal.length = static_cast<std::uint8_t>(out + count - decimal.text);
  return decimal;
}

/// What "%*d" (`width` > 0) or "%-*d" (`width` < 0) prints: the number padded with blanks in
/// front, or behind, to at least |`width`| characters (at most 30).
inline DecimalText PaddedDecimal(std::int64_t value, int width) {
  DecimalText number = Decimal(value);
  int room = width < 0 ? -width : width;
  if (room > 30) room = 30;
  int blanks = room - number.length;
  if (blanks <= 0) return number;
  DecimalText padded{};
  std::size_t digits_at = width < 0 ? 0 : static_cast<std::size_t>(blanks);
  std::memset(padded.text, ' ', static_cast<std::size_t>(room));
  std::memcpy(padded.text + digits_at, number.text, number.length);
  padded.length = static_cast<std::uint8_t>(room);
  return padded;
}

/// A short text joined from pieces and numbers, cut at its room: the date and time fields of a
/// record ("28-Nov-26 00:17", "20261128"), built without printf.
class ShortText {
 public:
  ShortText& Add(std::string_view piece) {
    std::size_t count = piece.size() < sizeof text - length ? piece.size() : sizeof text - length;
    std::memcpy(text + length, piece.data(), count);
    length += count;
    return *this;
  }
  /// The number as "%0*d" prints it.
  ShortText& Add(std::int64_t value, int min_digits) {
    return Add(Decimal(value, min_digits).View());
  }
  std::string_view View() const { return {text, length}; }

 private:
  char text[32];
  std::size_t length = 0;
};

}  // namespace quorvel
