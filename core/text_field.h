// Fixed-width text fields: the one place where text is copied into a field of a record, a header
// or a file layout. Text that does not fit is cut; nothing is written past the field.
#pragma once

#include <cstddef>
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

template <std::size_t N>
std::string_view FieldText(const char (&field)[N]) {
  if constexpr (N <= 32) {
    // A short field is searched in place: its text is mostly a few characters, shorter than
    // the call of a library search.
    std::size_t length = 0;
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
