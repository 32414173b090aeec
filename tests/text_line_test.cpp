// Columns of a text line: the same characters as printf's "%*s" and "%-*s", cut at the line's
// room like every other piece.
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "formats/text_line.h"

namespace quorvel {
namespace {

struct ColumnCase {
  const char* text;
  int width;
};
constexpr ColumnCase kColumns[] = {
    {"", 0},    {"", 3},         {"", -3},    {"K1AB", 13}, {"K1AB", -13}, {"599", -3},
    {"599", 3}, {"59", 3},       {"CW", 2},   {"14025", 5}, {"7025", 5},   {"OVERLONGCALL", -6},
    {"x", -1},  {"OVERLONG", 2}, {"a b", -5}, {"a b", 5},
};

TEST(TextLine, ColumnsArePrintedAsPrintfPrintsThem) {
  for (const ColumnCase& column : kColumns) {
    SCOPED_TRACE(std::string(column.text) + " in " + std::to_string(column.width));
    char printed[64];
    std::snprintf(printed, sizeof printed, "%*s|", column.width, column.text);
    TextLine line;
    line.AppendColumn(column.text, column.width);
    line.AppendChar('|');
    EXPECT_EQ(line.Text(), printed);
  }
}

TEST(TextLine, NumbersArePrintedAsPrintfPrintsThem) {
  TextLine line;
  line.AppendDecimal(7, 2);
  line.AppendPaddedDecimal(2026, 4);
  line.AppendPaddedDecimal(-12, -6);
  line.AppendPaddedDecimal(345, 5);
  char printed[64];
  std::snprintf(printed, sizeof printed, "%02d%4d%-6d%5d", 7, 2026, -12, 345);
  EXPECT_EQ(line.Text(), printed);
}

TEST(TextLine, ColumnsAreCutAtTheRoomOfTheLine) {
  TextLine line;
  std::string long_text(TextLine::kRoom * 2, 'x');
  line.AppendColumn(long_text, -20);
  line.AppendColumn("K1AB", 40);
  line.AppendChar('y');
  EXPECT_EQ(line.Text(), std::string(TextLine::kRoom - 1, 'x'));
  TextLine blanks;
  blanks.AppendColumn("", static_cast<int>(TextLine::kRoom) * 2);
  EXPECT_EQ(blanks.Text(), std::string(TextLine::kRoom - 1, ' '));
}

}  // namespace
}  // namespace quorvel
