// The day a text log's date column names, remembered with the column's text: the lines of one
// day, hundreds of them in a contest log, then read their date once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace quorvel {

/// The day a date column names: the moment it begins (UTC), and whether the column named a
/// calendar day at all (if not, the day is 1970-01-01).
struct ColumnDay {
  std::int64_t start = 0;
  bool valid = false;
};

/// The last date column a reader read and its day. A column longer than the room is not kept.
class RememberedDay {
 public:
  /// True, with its day, when `date` is the text remembered last.
  bool Recall(std::string_view date, ColumnDay& day) const {
    if (!held || date.size() != length || std::memcmp(date.data(), text, length) != 0) {
      return false;
    }
    day = remembered;
    return true;
  }

  void Remember(std::string_view date, ColumnDay day) {
    held = date.size() <= sizeof text;
    if (!held) return;
    std::memcpy(text, date.data(), date.size());
    length = date.size();
    remembered = day;
  }

 private:
  char text[16] = {};
  std::size_t length = 0;
  ColumnDay remembered;
  bool held = false;
};

}  // namespace quorvel
