// The station and contest texts of a binary log's header: where each lies in the file's header
// block and which contest header field it fills. Each binary format lists its own offsets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/byte_order.h"
#include "core/contest_header.h"
#include "core/text_field.h"

namespace quorvel {

template <auto Member>
std::span<char> TextOf(ContestHeader& header) {
  return header.*Member;
}
template <auto Member>
std::span<std::uint8_t> BytesOf(ContestHeader& header) {
  return header.*Member;
}

/// One header text: `width` bytes at `at` in the file's header, and the field it fills.
struct HeaderText {
  std::size_t at;
  std::size_t width;
  std::span<char> (*field)(ContestHeader&);
};

/// Copies every text of `texts` from `raw` into `header`, each cut to its field.
template <std::size_t Size>
void ReadHeaderTexts(const ByteLayout<Size>& raw, std::span<const HeaderText> texts,
                     ContestHeader& header) {
  for (const HeaderText& text : texts) {
    std::span<char> field = text.field(header);
    CopyCut(field.data(), field.size(), raw.Text(text.at, text.width));
  }
}

}  // namespace quorvel
