// Finding the words of a text line several bytes at a time. The readers of logs with one QSO a
// line split every line into words; a word is a few characters, mostly letters and digits, and
// looking at eight of them together costs less than a comparison per character. A short line
// can be split from one mask of its separators, found sixteen bytes at a time.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quorvel {

static_assert(std::endian::native == std::endian::little, "the first byte loads lowest");

/// A word of a line as the splitters below store it: its first byte and its size, left unset
/// until a split sets it, for a line's words are split for every QSO and a std::string_view
/// clears itself first.
struct WordView {
  const char* data;
  std::size_t size;
  operator std::string_view() const { return {data, size}; }
};

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

/// The line lengths SplitShortLine splits: at least sixteen bytes, and one bit of a 64-bit mask
/// for each.
inline constexpr std::size_t kShortLineLeast = 16;
inline constexpr std::size_t kShortLineMost = 64;

/// A bit for each byte of `line` that is `a` or `b`, and every bit past the line set, as if it
/// went on with separators; false (and no bits) where the machine cannot compare sixteen bytes
/// at a time, or for a line of another length than SplitShortLine splits. Every load lies
/// within the line: its last sixteen bytes are read as one, overlapping the bytes before.
inline bool SeparatorBits(std::string_view line, char a, char b, std::uint64_t& bits) {
  bits = 0;
#if defined(__SSE2__)
  std::size_t size = line.size();
  if (size < kShortLineLeast || size > kShortLineMost) return false;
  const __m128i first = _mm_set1_epi8(a);
  const __m128i second = _mm_set1_epi8(b);
  auto bits_at = [&](std::size_t at) {
    __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line.data() + at));
    __m128i found = _mm_or_si128(_mm_cmpeq_epi8(chunk, first), _mm_cmpeq_epi8(chunk, second));
    return static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(found))) << at;
  };
  std::size_t at = 0;
  for (; at + 16 <= size; at += 16) bits |= bits_at(at);
  if (at < size) bits |= bits_at(size - 16);
  if (size < kShortLineMost) bits |= ~std::uint64_t{0} << size;
  return true;
#else
  (void)line, (void)a, (void)b;
  return false;
#endif
}

/// The line lengths SplitBlankSeparated splits from masks: at least sixteen bytes, and one bit
/// of two 64-bit masks for each.
inline constexpr std::size_t kMaskedLineMost = 128;

/// Where SplitBlankSeparated stopped: the words it stored, and whether the line has more.
struct WordSplit {
  std::size_t count;
  bool more;
};

/// The words of `line` from the left, as many as `words` holds, words being the runs of bytes
/// above the blank (every control character separates words too). The separators are found
/// sixteen bytes at a time and each word then costs a few bit operations, however many blanks
/// pad the columns; false, with nothing split, where the machine cannot compare sixteen bytes
/// at a time or for a line shorter or longer than the masks hold. Every load lies within the
/// line: its last sixteen bytes are read as one, overlapping the bytes before.
/// `Word` is a view of a word, made from its first byte and its size.
template <typename Word>
bool SplitBlankSeparated(std::string_view line, std::span<Word> words, WordSplit& split) {
#if defined(__SSE2__)
  std::size_t size = line.size();
  if (size < kShortLineLeast || size > kMaskedLineMost) return false;
  // A bit for each byte of a word: those past the line stay clear.
  std::uint64_t low = 0;
  std::uint64_t high = 0;
  const __m128i blank = _mm_set1_epi8(' ');
  auto add_word_bits_at = [&](std::size_t at) {
    __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line.data() + at));
    __m128i separator = _mm_cmpeq_epi8(_mm_min_epu8(chunk, blank), chunk);  // at most ' '
    std::uint64_t bits = ~static_cast<unsigned>(_mm_movemask_epi8(separator)) & 0xFFFFu;
    if (at < 64) {
      low |= bits << at;
      if (at > 48) high |= bits >> (64 - at);
    } else {
      high |= bits << (at - 64);
    }
  };
  std::size_t at = 0;
  for (; at + 16 <= size; at += 16) add_word_bits_at(at);
  if (at < size) add_word_bits_at(size - 16);
  // The first and the last byte of each word.
  std::uint64_t starts_low = low & ~(low << 1);
  std::uint64_t starts_high = high & ~((high << 1) | (low >> 63));
  std::uint64_t lasts_low = low & ~((low >> 1) | (high << 63));
  std::uint64_t lasts_high = high & ~(high >> 1);
  std::size_t count = 0;
  auto store = [&](int start, int last) {
    words[count++] = {line.data() + start, static_cast<std::size_t>(last + 1 - start)};
  };
  // The words that begin in the first 64 bytes (the last of them may end past them), then
  // those that begin after.
  while (starts_low != 0 && count < words.size()) {
    int start = std::countr_zero(starts_low);
    starts_low &= starts_low - 1;
    if (lasts_low == 0) {
      store(start, 64 + std::countr_zero(lasts_high));
      lasts_high &= lasts_high - 1;
      break;
    }
    store(start, std::countr_zero(lasts_low));
    lasts_low &= lasts_low - 1;
  }
  while (starts_high != 0 && count < words.size()) {
    int start = 64 + std::countr_zero(starts_high);
    starts_high &= starts_high - 1;
    store(start, 64 + std::countr_zero(lasts_high));
    lasts_high &= lasts_high - 1;
  }
  split = {count, (starts_low | starts_high) != 0};
  return true;
#else
  (void)line, (void)words, (void)split;
  return false;
#endif
}

/// The first `words.size()` words of a line, words being the runs of bytes that are neither
/// `a` nor `b`; those the line lacks are empty, at its end. All the separators are found at
/// once, and each word then costs a few bit operations whatever its length and the blanks
/// before it. False, with nothing split, when SeparatorBits cannot mark the line.
/// `Word` is a view of a word, made from its first byte and its size.
template <typename Word>
bool SplitShortLine(std::string_view line, char a, char b, std::span<Word> words) {
  std::uint64_t separators = 0;
  if (!SeparatorBits(line, a, b, separators)) return false;
  constexpr int kBits = static_cast<int>(kShortLineMost);
  std::uint64_t word_bytes = ~separators;
  for (Word& word : words) {
    if (word_bytes == 0) {
      word = {line.data() + line.size(), 0};
      continue;
    }
    int start = std::countr_zero(word_bytes);
    std::uint64_t after = separators & (~std::uint64_t{0} << start);
    int end = after == 0 ? kBits : std::countr_zero(after);
    word = {line.data() + start, static_cast<std::size_t>(end - start)};
    word_bytes = end >= kBits ? 0 : word_bytes & (~std::uint64_t{0} << end);
  }
  return true;
}

}  // namespace quorvel
