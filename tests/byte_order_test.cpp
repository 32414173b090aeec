#include "core/byte_order.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace quorvel
