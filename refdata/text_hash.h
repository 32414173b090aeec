// Texts to values for the reference tables' look-ups, searched with a std::string_view,
// without a copy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

/// Whether two short texts (calls, prefixes) are the same: a loop over a few characters costs
/// less than a library compare.
inline bool SameShortText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

}  // namespace quorvel

namespace quorvel {

/// Texts to small non-negative values in one open-addressing table, for look-ups of every
/// beginning of a call: the hashes of all beginnings come from one pass over the call (FNV-1a
/// extended a character at a time), so each probe costs a table slot and a compare, with no
/// rehashing of the text and no node to chase. The first value added for a text is kept.
class PrefixIndex {
 public:
  static constexpr std::uint64_t kEmptyHash = 1469598103934665603ULL;
  static std::uint64_t Extend(std::uint64_t hash, char c) {
    return (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
  }
  static std::uint64_t Hash(std::string_view text) {
    std::uint64_t hash = kEmptyHash;
    for (char c : text) hash = Extend(hash, c);
    return hash;
  }

  /// Adds `text` with `value` unless the text is there already.
  void Insert(std::string_view text, int value) {
    if ((count + 1) * 2 > slots.size()) Grow();
    std::uint64_t hash = Hash(text);
    std::size_t at = Home(hash);
    for (; slots[at].value >= 0; at = (at + 1) & slot_mask) {
      if (Matches(slots[at], text, hash)) return;
    }
    slots[at] = {hash, static_cast<std::uint32_t>(pool.size()),
                 static_cast<std::uint32_t>(text.size()), value};
    pool.append(text);
    ++count;
    Mark(hash);
  }

  /// The value of `text`, whose Hash is `hash`; -1 when the text is not in the table.
  int Find(std::string_view text, std::uint64_t hash) const {
    if (count == 0 || !MayHold(hash)) return -1;
    for (std::size_t at = Home(hash); slots[at].value >= 0; at = (at + 1) & slot_mask) {
      if (Matches(slots[at], text, hash)) return slots[at].value;
    }
    return -1;
  }

 private:
  struct Slot {
    std::uint64_t hash = 0;
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
    int value = -1;  // -1: free
  };

  // Most beginnings of a call that a look-up tries are in no table. A bit per hash value in a
  // filter of 8 bits per slot, small enough to stay in the nearest cache, turns most of them
  // away before a slot of the table is read.
  static constexpr std::size_t kFilterBitsPerSlot = 8;
  std::size_t FilterBit(std::uint64_t hash) const {
    return static_cast<std::size_t>(hash >> 32) & filter_mask;
  }
  bool MayHold(std::uint64_t hash) const {
    std::size_t bit = FilterBit(hash);
    return (filter[bit / 64] >> (bit % 64) & 1) != 0;
  }
  void Mark(std::uint64_t hash) {
    std::size_t bit = FilterBit(hash);
    filter[bit / 64] |= std::uint64_t{1} << (bit % 64);
  }

  std::size_t Home(std::uint64_t hash) const {
    return static_cast<std::size_t>(hash ^ (hash >> 29)) & slot_mask;
  }
  bool Matches(const Slot& slot, std::string_view text, std::uint64_t hash) const {
    return slot.hash == hash &&
           SameShortText(std::string_view(pool.data() + slot.offset, slot.length), text);
  }
  void Grow() {
    std::vector<Slot> old = std::move(slots);
    slots.assign(old.empty() ? 64 : old.size() * 2, Slot{});
    filter.assign(slots.size() * kFilterBitsPerSlot / 64, 0);
    slot_mask = slots.size() - 1;
    filter_mask = filter.size() * 64 - 1;
    for (const Slot& slot : old) {
      if (slot.value < 0) continue;
      Mark(slot.hash);
      std::size_t at = Home(slot.hash);
      while (slots[at].value >= 0) at = (at + 1) & (slots.size() - 1);
      slots[at] = slot;
    }
  }

  std::vector<Slot> slots;
  std::vector<std::uint64_t> filter;  // a power of two of bits, as `slots` has slots
  std::size_t slot_mask = 0;          // slots - 1
  std::size_t filter_mask = 0;        // bits of the filter - 1
  std::string pool;
  std::size_t count = 0;
};

}  // namespace quorvel
