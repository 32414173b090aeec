#include "core/format_table.h"

#include <cstring>

#include "core/numbers.h"

namespace quorvel {

bool FormatProbe::RawIs(std::size_t at, std::string_view text) const {
  return at <= kSize && text.size() <= kSize - at &&
         std::memcmp(raw + at, text.data(), text.size()) == 0;
}

bool FormatProbe::UpperContains(std::string_view text) const {
  return std::string_view(upper, std::strlen(upper)).find(text) != std::string_view::npos;
}

bool FormatRow::HasExtension(std::string_view extension) const {
  for (std::string_view own : extensions) {
    if (!own.empty() && EqualsNoCase(own, extension)) return true;
  }
  return false;
}

const FormatRow* FindFormatRow(int code) {
  for (const FormatRow& row : FormatRows()) {
    if (row.code == code) return &row;
  }
  return nullptr;
}

}  // namespace quorvel
