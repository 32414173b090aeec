// tools/make_cqww_cty.py: cty.dat lists turned into the country file the table reads.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "refdata/country_table.h"
#include "test_support.h"

namespace quorvel {
namespace {

using testing::ReadFile;
using testing::ScratchDir;
using testing::WriteFile;

bool HavePython() {
  return std::system("python3 -c '' >/dev/null 2>&1") == 0;
}

// Runs the tool on `source`, writing `output`; false when it failed.
bool MakeCqwwCty(const std::string& source, const std::string& output) {
  std::string command = "python3 '" QUORVEL_SOURCE_DIR "/tools/make_cqww_cty.py' '" + source +
                        "' '" + output + "' 2>/dev/null";
  return std::system(command.c_str()) == 0;
}

const char kSmallCtyDat[] =
    "Vienna Intl Ctr:          15:  28:  EU:   48.20:   -16.30:    -1.0:  *4U1V:\r\n"
    "    =4U1VIC,=C7A;\r\n"
    "Austria:                  15:  28:  EU:   47.33:   -13.33:    -1.0:  OE:\r\n"
    "    OE,=4U1VIC,=OE1XYZ;\r\n"
    "United States:            05:  08:  NA:   37.60:    91.87:     5.0:  K:\r\n"
    "    AA,K,N,W,=AA0Y(3)[6],=K6ABC(3),=W1ABC,=VER20231121;\r\n"
    "Alaska:                   01:  01:  NA:   61.40:   148.87:     8.0:  KL:\r\n"
    "    AL,KL,NL,WL,=K1LH<61.2/149.9>{NA}~8.0~;\r\n"
    "Canada:                   05:  09:  NA:   44.35:    78.75:     5.0:  VE:\r\n"
    "    VA,VE,VO1,VO2(2),VY1(1)[2],VE2[4];\r\n";

class MakeCqwwCtyTool : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HavePython()) GTEST_SKIP() << "no python3";
    WriteFile(dir.Path("cty.dat"), kSmallCtyDat);
    ASSERT_TRUE(MakeCqwwCty(dir.Path("cty.dat"), dir.Path("cqww.cty")));
    table.Open(dir.Path("cqww.cty").c_str(), kModeReadBinary);
  }
  std::string Of(std::string_view call) const {
    const Country* country = table.LookupCall(call);
    return country ? country->name + "/" + country->prefix + "/" + std::to_string(country->zone)
                   : "<none>";
  }
  ScratchDir dir;
  CountryTable table;
};

TEST_F(MakeCqwwCtyTool, RenamesTheUsAndAlaskaAndKeepsOtherPrimaryPrefixes) {
  EXPECT_EQ(Of("W1AW"), "United States/W/5");
  EXPECT_EQ(Of("KL7XX"), "Alaska/KL7/1");
  EXPECT_EQ(Of("VE3XX"), "Canada/VE/5");
  EXPECT_EQ(Of("OE3XX"), "Austria/OE/15");
}

TEST_F(MakeCqwwCtyTool, PutsPrefixesWithAZoneOfTheirOwnOnALineWithThatZone) {
  EXPECT_EQ(Of("VO2AB"), "Canada/VE/2");
  EXPECT_EQ(Of("VY1AB"), "Canada/VE/1");
  EXPECT_EQ(Of("VO1AB"), "Canada/VE/5");
  EXPECT_EQ(Of("VE2AB"), "Canada/VE/5");
  EXPECT_EQ(Of("AA0Y"), "United States/W/3");
  EXPECT_EQ(Of("K6ABC"), "United States/W/3");
  EXPECT_EQ(Of("K6ABD"), "United States/W/5");
}

TEST_F(MakeCqwwCtyTool, KeepsExactCallsThatChangeTheAnswerAndGivesSharedOnesToWaeCountries) {
  EXPECT_EQ(Of("K1LH"), "Alaska/KL7/1");
  EXPECT_EQ(Of("4U1VIC"), "Vienna Intl Ctr/4U1V/15");
  EXPECT_EQ(Of("C7A"), "Vienna Intl Ctr/4U1V/15");
  std::string made = ReadFile(dir.Path("cqww.cty"));
  EXPECT_EQ(made.find("W1ABC"), std::string::npos);
  EXPECT_EQ(made.find("OE1XYZ"), std::string::npos);
  EXPECT_EQ(made.find("VER2023"), std::string::npos);
  EXPECT_NE(made.find("version 20231121"), std::string::npos);
  EXPECT_EQ(made.find_first_of("[]<>{}~=*"), std::string::npos);
  EXPECT_EQ(table.CountryCount(), 5u + 3u);
}

// The comment line at the top of the shipped file names the list it was made from; when that
// list is among the real data, making the file again gives the same bytes.
TEST(ShippedCountryFileSource, IsWhatTheToolMakesOfItsList) {
  std::string real = testing::RealDataDir();
  if (real.empty()) GTEST_SKIP() << "no real data folder";
  std::string shipped = ReadFile(QUORVEL_SOURCE_DIR "/data/cqww.cty");
  std::string first_line = shipped.substr(0, shipped.find('\n'));
  std::size_t from = first_line.find(" from ");
  ASSERT_NE(from, std::string::npos) << first_line;
  std::string list = first_line.substr(from + 6, first_line.find(' ', from + 6) - from - 6);
  if (!testing::FileExists(real + "/cty/" + list)) GTEST_SKIP() << list << " is not at hand";
  if (!HavePython()) GTEST_SKIP() << "no python3";
  ScratchDir dir;
  ASSERT_TRUE(MakeCqwwCty(real + "/cty/" + list, dir.Path("cqww.cty")));
  EXPECT_TRUE(ReadFile(dir.Path("cqww.cty")) == shipped);
}

}  // namespace
}  // namespace quorvel
