// Fixed-width text fields: the one place where text is copied into a field of a record, a header
// or a file layout. Text that does not fit is cut; nothing is written past the field.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace quorvel {

enum class Termination {
  kTerminated,   // at most width - 1 characters; the field always ends in NUL
  kUnterminated  // up to width characters; NUL padding only where the text is shorter
};

/// Copies `text` into the `width` bytes at `field`, cut to fit and padded with NUL bytes.
inline void CopyCut(char* field, std::size_t width, std::string_view text,
                    Termination termination = Termination::kTerminated) {
  if (width == 0) return;
  std::size_t room = termination == Termination::kTerminated ? width - 1 : width;
  std::size_t count = text.size() < room ? text.size() : room;
  if (count > 0) std::memcpy(field, text.data(), count);  // an empty view may hold no pointer
  std::memset(field + count, 0, width - count);
}

/// Copies `text` into the `width` bytes of a blank-padded text field (dBase, SDF and column
/// layouts), cut to fit and padded with blanks; never a NUL.
inline void CopyCutBlanks(char* field, std::size_t width, std::string_view text) {
  std::size_t count = text.size() < width ? text.size() : width;
  if (count > 0) std::memcpy(field, text.data(), count);
  std::memset(field + count, ' ', width - count);
}

template <std::size_t N>
void CopyCut(char (&field)[N], std::string_view text,
             Termination termination = Termination::kTerminated) {
  CopyCut(field, N, text, termination);
}

/// The eight bytes at `bytes` as one number, the first byte lowest.
inline std::uint64_t EightBytes(const char* bytes) {
  std::uint64_t word;
  std::memcpy(&word, bytes, sizeof word);
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
  return word;
}

/// The place of the first NUL among the eight bytes at `bytes`, 8 when there is none.
inline std::size_t FirstNulOfEight(const char* bytes) {
  std::uint64_t word = EightBytes(bytes);
  // The lowest byte whose top bit this sets is the first NUL: a borrow only runs upwards.
  std::uint64_t nul_bits = (word - 0x0101010101010101u) & ~word & 0x8080808080808080u;
  return nul_bits == 0 ? 8 : static_cast<std::size_t>(std::countr_zero(nul_bits)) / 8;
}

/// The text held in a field of `width` bytes: up to its first NUL, never past the field.
inline std::string_view FieldText(const char* field, std::size_t width) {
  if (width > 64) {
    const void* nul = std::memchr(field, 0, width);
    return {field, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - field) : width};
  }
  // The short fields of binary records are searched in place, eight bytes at a time and then
  // byte by byte: their texts are mostly a few characters, shorter than a library call.
  std::size_t length = 0;
  for (; length + 8 <= width; length += 8) {
    std::size_t nul = FirstNulOfEight(field + length);
    if (nul < 8) return {field, length + nul};
  }
  while (length < width && field[length] != '\0') ++length;
  return {field, length};
}

/// The text of a field of at most 16 bytes, up to its first NUL and without its trailing
/// blanks, found without a loop: the 16 bytes at `field` must all be readable, also those past
/// `width`. Binary records hold their calls and exchanges in such fields.
inline std::string_view ShortFieldTextWithoutTrailingBlanks(const char* field, std::size_t width) {
  constexpr std::uint64_t kOnes = 0x0101010101010101u;
  constexpr std::uint64_t kHighBits = 0x8080808080808080u;
  constexpr std::uint64_t kLowBits = 0x7f7f7f7f7f7f7f7fu;
  auto bytes_below = [](std::size_t count) {  // a mask of the first `count` bytes of a word
    return count >= 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * count)) - 1;
  };
  std::size_t width_high = width > 8 ? width - 8 : 0;
  std::uint64_t words[2] = {EightBytes(field) & bytes_below(width),
                            EightBytes(field + 8) & bytes_below(width_high)};
  // The length: the first NUL, counting the bytes past the width as NULs. The lowest byte
  // the borrow test marks is exactly the first NUL.
  std::size_t length = 16;
  for (int half = 1; half >= 0; --half) {
    std::uint64_t word = words[half];
    std::uint64_t nul_bits = (word - kOnes) & ~word & kHighBits;
    if (nul_bits != 0) length = 8 * half + std::countr_zero(nul_bits) / 8;
  }
  // The end: one past the last byte before the length that is not a blank. This test marks
  // exactly the bytes that differ from a blank.
  std::size_t end = 0;
  for (int half = 0; half < 2; ++half) {
    std::uint64_t other = words[half] ^ (kOnes * ' ');
    std::uint64_t non_blank = (((other & kLowBits) + kLowBits) | other) & kHighBits;
    non_blank &= bytes_below(length > 8u * half ? length - 8u * half : 0);
    if (non_blank != 0) end = 8 * half + (63 - std::countl_zero(non_blank)) / 8 + 1;
  }
  return {field, end};
}

/// `text` without its trailing blanks. Whole words of blanks are dropped eight at a time:
/// blank-padded fields are mostly padding.
inline std::string_view WithoutTrailingBlanks(std::string_view text) {
  std::size_t end = text.size();
  while (end >= 8 && EightBytes(text.data() + end - 8) == 0x2020202020202020u) end -= 8;
  while (end > 0 && text[end - 1] == ' ') --end;
  return text.substr(0, end);
}

template <std::size_t N>
std::string_view FieldText(const char (&field)[N]) {
  return FieldText(field, N);
}

/// A C text of at most `limit` characters, stopping at its NUL.
inline std::string_view BoundedText(const char* text, std::size_t limit) {
  if (text == nullptr) return {};
  const void* nul = std::memchr(text, 0, limit);
  return {text, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - text) : limit};
}

}  // namespace quorvel
