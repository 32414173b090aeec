// Reading numbers out of log text: leading decimal digits, 0 when there are none.
#pragma once

#include <cstdint>
#include <limits>
#include <string_view>
#include <type_traits>

namespace quorvel {

/// Standard C decimal reading of a text: leading blanks skipped, an optional sign, then the
/// digits up to the first non-digit; 0 when there are none. Values past the 64-bit range
/// saturate instead of overflowing.
inline std::int64_t ParseLeadingInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::int64_t value = 0;
  constexpr std::int64_t kLimit = INT64_MAX / 10 - 10;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (value < kLimit) value = value * 10 + (text[i] - '0');
  }
  return negative ? -value : value;
}

/// ParseLeadingInt's number of `text`, read in one plain pass when the text is nothing but
/// digits, at most 18 of them (which cannot reach the saturation): the common number word or
/// column. Any other text is read by ParseLeadingInt itself.
inline std::int64_t ParseDigitsOrLeadingInt(std::string_view text) {
  constexpr std::size_t kMostPlainDigits = 18;
  if (text.empty() || text.size() > kMostPlainDigits) return ParseLeadingInt(text);
  std::int64_t value = 0;
  for (char c : text) {
    unsigned digit = static_cast<unsigned>(static_cast<unsigned char>(c)) - '0';
    if (digit > 9) return ParseLeadingInt(text);
    value = value * 10 + digit;
  }
  return value;
}

/// A 64-bit value cut to the width of an integer field, the way a C assignment to a narrower
/// type wraps.
template <typename Field>
Field CutToField(std::int64_t value) {
  return static_cast<Field>(static_cast<std::uint64_t>(value));
}

/// A value stored in an integer field when it lies in the field's range, else 0: a number too
/// large for its field is not that field's value, and storing it would wrap. A `char` field
/// holds a byte, 0 to 255.
template <typename Field>
Field ValueOrZero(std::int64_t value) {
  using Range = std::conditional_t<std::is_same_v<Field, char>, std::uint8_t, Field>;
  if (value < static_cast<std::int64_t>(std::numeric_limits<Range>::min()) ||
      value > static_cast<std::int64_t>(std::numeric_limits<Range>::max())) {
    return Field{};
  }
  return static_cast<Field>(value);
}

constexpr bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
constexpr bool IsUpperLetter(char c) {
  return c >= 'A' && c <= 'Z';
}
constexpr char ToUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

/// Case-insensitive comparison of two texts (ASCII letters only).
inline bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (ToUpper(a[i]) != ToUpper(b[i])) return false;
  }
  return true;
}

}  // namespace quorvel
