// The ADIF tag-name matcher and the forms of tag the scanner reads.
#include <cctype>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "adif_test_support.h"
#include "formats/adif_log_file.h"

namespace quorvel::testing {
namespace {

std::string Spelled(std::string_view name, int (*change)(int)) {
  std::string spelled(name);
  for (char& c : spelled) c = static_cast<char>(change(static_cast<unsigned char>(c)));
  return spelled;
}

std::string MixedCase(std::string_view name) {
  std::string mixed(name);
  for (std::size_t i = 0; i < mixed.size(); i += 2) {
    mixed[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(mixed[i])));
  }
  return mixed;
}

TEST(AdifTagNames, EveryKnownNameIsFoundInAnyCase) {
  for (int number = 0; number < kAdifTagCount; ++number) {
    std::string_view name = kAdifTagNames[number];
    SCOPED_TRACE(std::string(name));
    EXPECT_EQ(AdifTagNumber(name), number);
    EXPECT_EQ(AdifTagNumber(Spelled(name, std::toupper)), number);
    EXPECT_EQ(AdifTagNumber(MixedCase(name)), number);
    char lower[kAdifLongestTagName] = {};
    name.copy(lower, name.size());
    EXPECT_EQ(AdifLowerTagNumber(lower, name.size()), number);
  }
}

TEST(AdifTagNames, OtherNamesAreUnknown) {
  const std::string_view kUnknown[] = {
      "",
      "cal",
      "calls",
      "call ",
      " call",
      std::string_view("call\0", 5),
      std::string_view("c\0ll", 4),
      "qso-date",
      "eo",
      "eorr",
      "app_quorvel_contest_namex",  // one character past the longest known name
      "app_quorvel_contest_nam",
      "app_n1mm_exchange1",
      "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx",
      "\xC3\x87"
      "all",
  };
  for (std::string_view name : kUnknown) {
    SCOPED_TRACE(std::string(name));
    EXPECT_EQ(AdifTagNumber(name), kAdifUnknown);
  }
}

// Tag forms around one call: the plain ones that nearly every log writes and the rarer ones
// (blanks, signs, long type indicators, many digits) that are read a byte at a time.
struct TagForm {
  const char* text;
  const char* call;
};
constexpr TagForm kTagForms[] = {
    {"<call:4>K1AB", "K1AB"},
    {"<CALL:4>K1AB", "K1AB"},
    {"<call:4:s>K1AB", "K1AB"},
    {"<call:4:string>K1AB", "K1AB"},
    {"<call:4:abcdefghijkl>K1AB", "K1AB"},
    {"<call: 4>K1AB", "K1AB"},
    {"<call:+4>K1AB", "K1AB"},
    {"<call:-4>K1AB", ""},
    {"<call:04>K1AB", "K1AB"},
    {"<call:0000000004>K1AB", "K1AB"},
    {"<call:4 >K1AB", "K1AB"},
    {"<call:>K1AB", ""},
    {"<call>K1AB\n", "K1AB"},  // a value without a length ends with its line
    {"<call:2>K1AB", "K1"},
    {"<call:4\n>K1AB", ""},
    {"<call:4<call:4>K1AC", "K1AC"},
    {"<app_quorvel_contest_namex:4>XXXX<call:4>K1AB", "K1AB"},
    {"<:4>XXXX<call:4>K1AB", "K1AB"},
};

TEST(AdifTagNames, ScannerReadsEveryFormOfTag) {
  AdifWorkspace workspace;
  // Far from the buffer's end, and as the last bytes of the file, where the scanner has too
  // few bytes left to read a tag in one pass.
  const std::string padding(200, ' ');
  for (const TagForm& form : kTagForms) {
    for (const std::string& after : {padding + "<eor>" + padding, std::string("<eor>")}) {
      SCOPED_TRACE(form.text + after);
      AdifLog log = ReadAdifText(workspace, std::string("x\n<eoh>\n") + form.text + after);
      ASSERT_EQ(log.qsos.size(), form.call[0] != '\0' ? 1u : 0u);
      if (!log.qsos.empty()) {
        EXPECT_EQ(log.qsos[0].Call(), std::string_view(form.call));
      }
    }
  }
}

}  // namespace
}  // namespace quorvel::testing
