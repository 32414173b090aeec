#include "core/byte_order.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string_view>

namespace quorvel {
namespace {

TEST(ByteLayout, NumbersAreLittleEndianAndFieldsNeverReachPastTheBuffer) {
  ByteLayout<8> layout;
  layout.PutU32(0, 0x04030201u);
  layout.PutU16(4, 0xBEEF);
  EXPECT_EQ(layout.data()[0], 0x01);
  EXPECT_EQ(layout.data()[3], 0x04);
  EXPECT_EQ(layout.data()[4], 0xEF);
  EXPECT_EQ(layout.U32(0), 0x04030201u);
  EXPECT_EQ(layout.U16(4), 0xBEEF);
  layout.PutI32(0, -2);
  EXPECT_EQ(layout.I32(0), -2);
  layout.PutU32(6, 0xFFFFFFFFu);  // would reach past byte 7: not written
  EXPECT_EQ(layout.U16(6), 0);
  EXPECT_EQ(layout.U32(6), 0u);
}

TEST(ByteLayout, TextFieldsArePaddedAndMayFillTheWholeWidth) {
  ByteLayout<8> layout;
  layout.PutText(0, 4, "AB");
  EXPECT_EQ(layout.Text(0, 4), "AB");
  EXPECT_EQ(layout.data()[2], 0);
  layout.PutText(0, 4, "ABCDEF");
  EXPECT_EQ(layout.Text(0, 4), "ABCD");
  EXPECT_EQ(layout.data()[4], 0);
  EXPECT_EQ(layout.Text(6, 4), "");
}

// Short fields are trimmed by word tests; they must agree with a byte-by-byte reading for
// every mix of letters, blanks, NULs and high-bit bytes, near the record's end too (where the
// view falls back to the plain reading).
TEST(ByteView, TrimmedTextEndsAtTheFirstNulWithoutTrailingBlanks) {
  constexpr std::size_t kSize = 40;
  const std::uint8_t kBytes[] = {'A', ' ', ' ', '\0', 0xA0, 0x80 | ' ', '9', 0x01};
  std::uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1103515245u + 12345u, seed >> 16; };
  std::uint8_t bytes[kSize];
  for (int round = 0; round < 20000; ++round) {
    for (auto& byte : bytes) byte = kBytes[next() % std::size(kBytes)];
    std::size_t width = next() % 17;
    std::size_t at = next() % (kSize - width + 1);
    ByteView<kSize> view(bytes);
    std::string_view expected(reinterpret_cast<const char*>(bytes + at), width);
    expected = expected.substr(0, expected.find('\0'));
    while (!expected.empty() && expected.back() == ' ') expected.remove_suffix(1);
    std::string_view trimmed = view.TrimmedText(at, width);
    ASSERT_EQ(trimmed, expected) << "round " << round << ", at " << at << ", width " << width;
    ASSERT_EQ(trimmed.data(), reinterpret_cast<const char*>(bytes + at));
  }
  EXPECT_EQ(ByteView<kSize>(bytes).TrimmedText(kSize - 2, 4), "");  // past the end
}

}  // namespace
}  // namespace quorvel
