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

/// The text held in a field of `width` bytes: up to its first NUL, never past the field.
inline std::string_view FieldText(const char* field, std::size_t width) {
  const void* nul = std::memchr(field, 0, width);
  return {field, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - field) : width};
}

/// The place of the first NUL among the eight bytes at `bytes`, 8 when there is none.
inline std::size_t FirstNulOfEight(const char* bytes) {
  std::uint64_t word = 0;
  for (int i = 0; i < 8; ++i) {
    word |= std::uint64_t{static_cast<unsigned char>(bytes[i])} << (8 * i);
  }
  // The lowest byte whose top bit this sets is the first NUL: a borrow only runs upwards.
  std::uint64_t nul_bits = (word - 0x0101010101010101u) & ~word & 0x8080808080808080u;
  return nul_bits == 0 ? 8 : static_cast<std::size_t>(std::countr_zero(nul_bits)) / 8;
}

template <std::size_t N>
std::string_view FieldText(const char (&field)[N]) {
  if constexpr (N <= 32) {
    // A short field is searched in place, eight bytes at a time and then byte by byte: its
    // text is mostly a few characters, shorter than the call of a library search.
    std::size_t length = 0;
    for (; length + 8 <= N; length += 8) {
      std::size_t nul = FirstNulOfEight(field + length);
      if (nul < 8) return {field, length + nul};
    }
    while (length < N && field[length] != '\0') ++length;
    return {field, length};
  } else {
    return FieldText(field, N);
  }
}

/// A C text of at most `limit` characters, stopping at its NUL.
inline std::string_view BoundedText(const char* text, std::size_t limit) {
  if (text == nullptr) return {};
  const void* nul = std::memchr(text, 0, limit);
  return {text, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - text) : limit};
}

}  // namespace quorvel
