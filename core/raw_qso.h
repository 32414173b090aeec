// A contact as a reader that reads in two steps took it from its file, before its record is
// made (LogFile::ReadRawQso, QsoMaker): the number and the bytes of each of its fields.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "core/qso_record.h"

namespace quorvel {

/// The fields of one contact. The bytes of all its values are kept in one buffer that grows to
/// the largest contact read and is then reused, so that reading allocates nothing per contact.
class RawQso {
 public:
  void Clear() {
    fields.clear();
    used = 0;
  }
  /// Keeps a field; `room` bytes may be read from the value's first (at least its size), so
  /// that a short value is copied as a whole word.
  void Add(int number, std::string_view value, std::size_t room) {
    value = value.substr(0, kLongestValue);
    if (capacity - used < value.size() + kWord) Grow(value.size());
    if (value.size() <= kWord && room >= kWord) {
      std::memcpy(bytes.get() + used, value.data(), kWord);
    } else if (!value.empty()) {
      std::memcpy(bytes.get() + used, value.data(), value.size());
    }
    fields.push_back({number, static_cast<std::uint32_t>(value.size()), used});
    used += value.size();
  }
  std::size_t Count() const { return fields.size(); }
  int Number(std::size_t i) const { return fields[i].number; }
  std::string_view Value(std::size_t i) const {
    return {bytes.get() + fields[i].at, fields[i].size};
  }

 private:
  // Sixteen bytes a field: the fields of a contact pass from the reading thread to the writing
  // one, and their cache lines are what costs.
  struct Field {
    std::int32_t number;
    std::uint32_t size;
    std::size_t at;
  };
  static constexpr std::size_t kWord = 16;
  // Longer than any value a reader keeps (a field's value, or a line of a text log, of which
  // only the first words are read).
  static constexpr std::size_t kLongestValue = UINT32_MAX;
  void Grow(std::size_t more) {
    std::size_t wanted = std::max(2 * capacity, used + more + kWord + 256);  // capacity >= used
    auto larger = std::make_unique<char[]>(wanted);
    if (used > 0) std::memcpy(larger.get(), bytes.get(), used);
    bytes = std::move(larger);
    capacity = wanted;
  }

  std::vector<Field> fields;
  std::unique_ptr<char[]> bytes;
  std::size_t capacity = 0;
  std::size_t used = 0;
};

/// Makes the records of the contacts a two-step reader took from its file. A maker keeps what
/// it looked up for the next contact, so each thread that makes records has one of its own.
class QsoMaker {
 public:
  virtual ~QsoMaker() = default;
  /// Clears `record` and fills it from `raw`; false when the contact has no readable date or
  /// time of day.
  virtual bool Make(const RawQso& raw, QsoRecord& record) = 0;
};

}  // namespace quorvel
