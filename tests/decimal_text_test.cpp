// Decimal numbers as text: the same characters as printf's "%0*d", "%*d" and "%-*d".
#include <cstdint>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "core/decimal_text.h"

namespace quorvel {
namespace {

constexpr std::int64_t kValues[] = {0,  1,   -1,  7,    9,     10,     42,         -42,
                                    99, 100, 599, -599, 12345, 999999, 2147483647, -2147483647 - 1};
constexpr int kWidths[] = {0, 1, 2, 3, 5, 8, 12};

enum class Form { kZeros, kRight, kLeft };

std::string Printed(Form form, int width, std::int64_t value) {
  char text[64];
  auto number = static_cast<long long>(value);
  if (form == Form::kZeros) std::snprintf(text, sizeof text, "%0*lld", width, number);
  if (form == Form::kRight) std::snprintf(text, sizeof text, "%*lld", width, number);
  if (form == Form::kLeft) std::snprintf(text, sizeof text, "%-*lld", width, number);
  return text;
}

TEST(DecimalText, PrintsWhatPrintfPrints) {
  for (std::int64_t value : kValues) {
    for (int width : kWidths) {
      SCOPED_TRACE(std::to_string(value) + " in " + std::to_string(width));
      EXPECT_EQ(Decimal(value, width).View(), Printed(Form::kZeros, width, value));
      EXPECT_EQ(PaddedDecimal(value, width).View(), Printed(Form::kRight, width, value));
      EXPECT_EQ(PaddedDecimal(value, -width).View(), Printed(Form::kLeft, width, value));
    }
  }
}

TEST(DecimalText, KeepsEveryDigitOfTheWidestNumbers) {
  EXPECT_EQ(Decimal(INT64_MIN).View(), Printed(Form::kZeros, 1, INT64_MIN));
  EXPECT_EQ(Decimal(INT64_MAX, 20).View(), Printed(Form::kZeros, 20, INT64_MAX));
}

TEST(DecimalText, ShortTextJoinsPiecesAsPrintfDoes) {
  struct Moment {
    int year, month, day, hour, minute;
  };
  constexpr Moment kMoments[] = {{2026, 11, 28, 0, 17},
                                 {1999, 1, 5, 23, 59},
                                 {10, 12, 31, 9, 0},
                                 {12345, 6, 7, 8, 9},
                                 {-5, 1, 1, 0, 0}};
  for (const Moment& t : kMoments) {
    char printed[64];
    std::snprintf(printed, sizeof printed, "%04d%02d-%02d %02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute);
    ShortText text;
    text.Add(t.year, 4).Add(t.month, 2).Add("-").Add(t.day, 2).Add(" ");
    text.Add(t.hour, 2).Add(":").Add(t.minute, 2);
    EXPECT_EQ(text.View(), printed);
  }
}

TEST(DecimalText, ShortTextIsCutAtItsRoom) {
  ShortText text;
  text.Add(std::string(40, 'x')).Add(7, 2);
  EXPECT_EQ(text.View(), std::string(32, 'x'));
}

}  // namespace
}  // namespace quorvel
