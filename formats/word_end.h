// Finding the end of a word of a text line eight bytes at a time. The readers of logs with one
// QSO a line split every line into words; a word is a few characters, mostly letters and
// digits, and looking at eight of them together costs less than a comparison per character.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace quorvel {

static_assert(std::endian::native == std::endian::little, "the first byte loads lowest");

/// The high bit of every byte of `bytes` below `limit` (at most 0x80), from the first such
/// byte on: the first is marked exactly, those after it may be marked by its borrow. Bytes from
/// 0x80 up are never marked.
constexpr std::uint64_t BytesBelow(std::uint64_t bytes, unsigned char limit) {
  constexpr std::uint64_t kEveryByte = 0x0101010101010101ULL;
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  return (bytes - kEveryByte * limit) & ~bytes & kHighBits;
}

/// The end of the word that begins at `at`: the first byte before `end` for which
/// `IsSeparator` holds, or `end`. Every separator lies below `limit` (at most 0x80).
template <bool (*IsSeparator)(char)>
const char* WordEnd(const char* at, const char* end, unsigned char limit) {
  while (end - at >= 8) {
    std::uint64_t bytes;
    std::memcpy(&bytes, at, sizeof bytes);
    std::uint64_t marks = BytesBelow(bytes, limit);
    if (marks == 0) {
      at += 8;
      continue;
    }
    at += std::countr_zero(marks) / 8;
    if (IsSeparator(*at)) return at;
    ++at;  // a byte below the limit that separates nothing: the word goes on
  }
  while (at != end && (static_cast<unsigned char>(*at) >= limit || !IsSeparator(*at))) ++at;
  return at;
}

}  // namespace quorvel
