// Reading numbers out of log text: the plain pass for digit-only texts and the full C reading
// give the same numbers.
#include "core/numbers.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvel {
namespace {

TEST(Numbers, DigitsOnlyReadAsTheFullReadingReadsThem) {
  const std::string texts[] = {"",
                               "0",
                               "7",
                               "599",
                               "000123",
                               "123456789012345678",   // 18 digits: the plain pass
                               "1234567890123456789",  // 19: the full reading
                               "99999999999999999999999",
                               " 12",
                               "\t12",
                               "+12",
                               "-12",
                               "12x",
                               "1 2",
                               "x12",
                               "-",
                               std::string("12\0"
                                           "3",
                                           4),
                               "\xB9\xB2"};
  for (const std::string& text : texts) {
    EXPECT_EQ(ParseDigitsOrLeadingInt(text), ParseLeadingInt(text)) << text;
  }
}

}  // namespace
}  // namespace quorvel
