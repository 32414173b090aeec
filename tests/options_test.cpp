#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/contest_header.h"
#include "core/log_file.h"

namespace quorvel {
namespace {

ConversionOptions Parse(std::string text) {
  ConversionOptions options{};
  std::vector<char> buffer(text.begin(), text.end());
  buffer.push_back('\0');
  EXPECT_EQ(ParseConverterOptions(buffer.data(), options), 1);
  return options;
}

TEST(ConverterOptions, ContestKeywordsMatchByPrefixInCodeOrder) {
  EXPECT_EQ(Parse("-cARRL160 -freq ").contest, kContestArrl160);
  EXPECT_EQ(Parse("-cARRL160 -freq ").extra_fields, kExtraExactFrequency);
  EXPECT_EQ(Parse("-carrldx ").contest, kContestArrlDx);
  EXPECT_EQ(Parse("-cARDXDX ").contest, kContestArrlDxFromDx);
  EXPECT_EQ(Parse("-cQSO ").contest, kContestGeneralQso);
  EXPECT_EQ(Parse("-cXYZ ").contest, 0);
  EXPECT_EQ(Parse("-cARRL10 ").contest, kContestArrl10);
  EXPECT_EQ(Parse("-c1010").contest, kContestTenTen);
}

TEST(ConverterOptions, FlagsAreFoundAnywhereInAnyCase) {
  ConversionOptions options = Parse("-Qsonum-TAPPROACH -bnumeric -FrEq");
  EXPECT_EQ(options.approach, 1);
  EXPECT_EQ(options.band_numeric, 1);
  EXPECT_EQ(options.extra_fields, kExtraExactFrequency | kExtraQsoNumber);
  EXPECT_EQ(Parse("").extra_fields, 0u);
}

TEST(ConverterOptions, CommentIsTakenBetweenQuotesUpperCasedAndCut) {
  ConversionOptions options = Parse("-n \"Field day at the club\" -c FD ");
  EXPECT_STREQ(options.comment, "FIELD DAY AT THE CLUB");
  EXPECT_EQ(options.contest, 0);  // a blank follows -C
  EXPECT_STREQ(Parse("-n no quotes").comment, "");
  EXPECT_STREQ(Parse("-n \"unterminated").comment, "UNTERMINATED");
  EXPECT_EQ(std::string(Parse("-n \"" + std::string(60, 'x') + "\"").comment),
            std::string(40, 'X'));
}

TEST(ConverterOptions, CallersTextIsUpperCasedInPlace) {
  char text[] = "-cfd -v";
  ConversionOptions options{};
  ParseConverterOptions(text, options);
  EXPECT_STREQ(text, "-CFD -V");
  EXPECT_EQ(options.contest, kContestFd);
}

TEST(ConverterOptions, OptionNamesInsideTheCommentCountToo) {
  ConversionOptions options = Parse("-n \"use -freq here\"");
  EXPECT_EQ(options.extra_fields, kExtraExactFrequency);
}

class BareFormat : public LogFile {
 public:
  int Open(const char*, unsigned) override { return 0; }
  ContestHeader& MutableHeader() { return header; }
};

TEST(FormatOptions, AreCaseSensitiveAndSetTheHeaderContest) {
  BareFormat format;
  EXPECT_EQ(format.ParseOptions("-cFD -freq -n \"Club\""), 1);
  EXPECT_EQ(format.Header().contest, kContestFd);
  EXPECT_EQ(format.Options().extra_fields, kExtraExactFrequency);
  EXPECT_STREQ(format.Options().comment, "Club");

  BareFormat lower;
  EXPECT_EQ(lower.ParseOptions("-cfd -FREQ -tApproach -n \"x\""), 0);
  EXPECT_EQ(lower.Header().contest, 0);
  EXPECT_EQ(lower.Options().extra_fields, 0u);
  EXPECT_EQ(lower.Options().approach, 1);
  EXPECT_STREQ(lower.Options().comment, "");  // no contest: the comment is not looked for
}

TEST(FormatOptions, KeepAContestAlreadyInTheHeader) {
  BareFormat format;
  format.MutableHeader().contest = kContestCqww;
  EXPECT_EQ(format.ParseOptions("-bNumeric"), 1);
  EXPECT_EQ(format.Options().band_numeric, 1);
  EXPECT_EQ(format.Header().contest, kContestCqww);
}

TEST(FormatOptions, SetOptionsRefusesNull) {
  BareFormat format;
  EXPECT_EQ(format.SetOptions(nullptr), 0);
  EXPECT_EQ(format.Options().contest, 0);
  ConversionOptions options{};
  options.contest = kContestWpx;
  EXPECT_EQ(format.SetOptions(&options), 1);
  EXPECT_EQ(format.Options().contest, kContestWpx);
}

TEST(ContestCodes, AdifNamesDifferFromKeywordsOnlyWhereTheyShould) {
  EXPECT_EQ(kAdifContestNames[kContestArrlDxFromDx], "ARRLDX");
  EXPECT_EQ(kAdifContestNames[kContestInternetSprint], "SprINT");
  EXPECT_EQ(kAdifContestNames[kContestGeneralQso], "GENQSO");
  int differing = 0;
  for (int code = 1; code <= kContestCount; ++code) {
    if (kAdifContestNames[code] != kContestKeywords[code]) ++differing;
  }
  EXPECT_EQ(differing, 3);
}

}  // namespace
}  // namespace quorvel
