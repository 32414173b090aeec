// Whole-program tests: the built quorvelcon, its standard output byte for byte and its exit code.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "test_support.h"

namespace quorvel {
namespace {

using testing::FileExists;
using testing::kBanner;
using testing::RunQuorvelcon;
using testing::ScratchDir;
using testing::WriteFile;

const std::string kShortUsage =
    "usage: quorvelcon infile outfile [options]\n\r"
    "\n\rFor a complete list of options type in 'quorvelcon -h'\n\r";
const std::string kFullUsage =
    "usage: quorvelcon infile outfile [options]\n\r\n\r"
    "  -bNumeric    Output the BAND field in meters (dBase output only).\n\r"
    "  -c<contest>  Indicate the contest type for logs that do not contain header\n\r"
    "               information (ARRL .log).  See readme.txt for the list of values.\n\r"
    "  -freq        Add new output field which contains the exact frequency, in MHz\n\r"
    "               (dBase output only).\n\r"
    "  -h           Displays this list of options (Command Line only).\n\r"
    "  -n \"Comment\" Indicate string to be placed in notes field, if applicable.\n\r"
    "  -qsonum      Add field which sequentially numbers QSO's (dBase output only).\n\r"
    "  -tApproach   Append 'TM9' to TIME field for Approach support\n\r"
    "               (dBase output only).\n\r"
    "  -v           Verbose output.  Will indicate the QSO number being converted\n\r"
    "               (Command Line only).\n\r"
    "\n\r"
    "Updates of Quorvel are published with the releases of the Quorvel project.\n\r";

TEST(Quorvelcon, WithoutFileNamesPrintsBannerAndShortUsage) {
  auto none = RunQuorvelcon({});
  EXPECT_EQ(none.output, kBanner + kShortUsage);
  EXPECT_EQ(none.exit_code, 1);
  auto one = RunQuorvelcon({"in.adi"});
  EXPECT_EQ(one.output, kBanner + kShortUsage);
  EXPECT_EQ(one.exit_code, 1);
}

TEST(Quorvelcon, LoneHelpOptionInAnyCasePrintsFullUsage) {
  for (const char* help : {"-h", "-H"}) {
    auto run = RunQuorvelcon({help});
    EXPECT_EQ(run.output, kBanner + kFullUsage);
    EXPECT_EQ(run.exit_code, 1);
  }
}

TEST(Quorvelcon, UnrecognisedInputIsReportedAndNothingIsCreated) {
  ScratchDir dir;
  WriteFile(dir.Path("a.xyz"), "some text\n");
  auto run = RunQuorvelcon({"a.xyz", "b.adi"}, dir.Root().string());
  EXPECT_EQ(run.output, kBanner + "Error opening input file a.xyz");
  EXPECT_EQ(run.exit_code, 255);
  EXPECT_FALSE(FileExists(dir.Path("b.adi")));
  auto missing = RunQuorvelcon({"nothing.xyz", "b.adi"}, dir.Root().string());
  EXPECT_EQ(missing.output, kBanner + "Error opening input file nothing.xyz");
  EXPECT_EQ(missing.exit_code, 255);
}

TEST(Quorvelcon, OverlongPathsAndOptionsAreRefusedBeforeAnyFileIsMade) {
  ScratchDir dir;
  std::string long_name(2048, 'x');
  auto path = RunQuorvelcon({"in.bin", long_name + ".adi"}, dir.Root().string());
  EXPECT_EQ(path.exit_code, 255);
  EXPECT_EQ(path.output.rfind(kBanner + "File name too long (2052 characters, at most 2047)", 0),
            0u);
  auto options =
      RunQuorvelcon({"in.bin", "out.adi", "-n", std::string(2100, 'c')}, dir.Root().string());
  EXPECT_EQ(options.exit_code, 255);
  EXPECT_EQ(options.output, kBanner + "Options too long (2106 characters, at most 2047)\n\r");
  EXPECT_TRUE(std::filesystem::is_empty(dir.Root()));
}

}  // namespace
}  // namespace quorvel
