// Whole-program tests: the built quorvelcon, its standard output byte for byte and its exit code.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <unistd.h>

#include <cstdio>
#include <vector>

#include "cli/command_line.h"
#include "core/contest_header.h"
#include "line_format.h"
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
  EXPECT_EQ(options.output, kBanner + "Options too long (2100 characters, at most 2047)\n\r");
  EXPECT_TRUE(std::filesystem::is_empty(dir.Root()));
}

const std::string kAdifLog =
    "header line\n<call:4>N0QV<eoh>\n"
    "<call:5>K1ABC<qso_date:8>20261128<time_on:4>1200<band:3>20M<mode:2>CW<eor>\n";

TEST(Quorvelcon, OutputThatCannotBeWrittenWholeIsRemoved) {
  ScratchDir dir;
  std::string log = "big log\n<eoh>\n";
  for (int i = 0; i < 3000; ++i) log += kAdifLog.substr(kAdifLog.find("<eoh>\n") + 6);
  WriteFile(dir.Path("in.adi"), log);
  auto full = RunQuorvelcon({"in.adi", "out.adi"}, dir.Root().string(), 64 * 1024);
  EXPECT_EQ(full.output, kBanner + "Error writing output file out.adi");
  EXPECT_EQ(full.exit_code, 255);
  EXPECT_FALSE(FileExists(dir.Path("out.adi")));  // no half file is left for the user to trust
  WriteFile(dir.Path("other.adi"), "precious");
  auto refused = RunQuorvelcon({"in.adi", "other.adi"}, dir.Root().string(), 64 * 1024);
  EXPECT_EQ(refused.exit_code, 255);
  EXPECT_EQ(testing::ReadFile(dir.Path("other.adi")), "precious");
}

TEST(Quorvelcon, RecognisedInputThatCannotBeOpenedIsAnErrorAndMakesNoOutput) {
  ScratchDir dir;
  std::filesystem::create_directory(dir.Path("folder.adi"));
  for (const char* input : {"missing.adi", "folder.adi"}) {
    auto run = RunQuorvelcon({input, "out.adi"}, dir.Root().string());
    EXPECT_EQ(run.output,
              kBanner + "Error opening " + input + "\n\rError opening input file " + input);
    EXPECT_EQ(run.exit_code, 255);
    EXPECT_FALSE(FileExists(dir.Path("out.adi")));
  }
}

TEST(Quorvelcon, UnreadableInputIsAnErrorAndMakesNoOutput) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
  ScratchDir dir;
  WriteFile(dir.Path("locked.adi"), kAdifLog);
  std::filesystem::permissions(dir.Path("locked.adi"), std::filesystem::perms::none);
  auto run = RunQuorvelcon({"locked.adi", "out.adi"}, dir.Root().string());
  EXPECT_EQ(run.output,
            kBanner + "Error opening locked.adi\n\rError opening input file locked.adi");
  EXPECT_EQ(run.exit_code, 255);
  EXPECT_FALSE(FileExists(dir.Path("out.adi")));
}

TEST(Quorvelcon, OutputThatCannotBeCreatedIsAnErrorAndChangesNothing) {
  ScratchDir dir;
  WriteFile(dir.Path("in.adi"), kAdifLog);
  std::filesystem::create_directory(dir.Path("taken.adi"));
  const std::string refused = "Output file could not be opened\n\rError opening output file ";
  for (const std::string& output : {std::string("taken.adi"), std::string("no/such/folder/out.adi"),
                                    std::string("/proc/out.adi")}) {
    auto run = RunQuorvelcon({"in.adi", output}, dir.Root().string());
    EXPECT_EQ(run.output, kBanner + refused + output);
    EXPECT_EQ(run.exit_code, 255);
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path("taken.adi")));
  EXPECT_EQ(testing::ReadFile(dir.Path("in.adi")), kAdifLog);
}

TEST(Quorvelcon, OutputExtensionWithoutAFormatIsAnErrorWithoutAFile) {
  ScratchDir dir;
  WriteFile(dir.Path("in.adi"), kAdifLog);
  auto run = RunQuorvelcon({"in.adi", "out.txt"}, dir.Root().string());
  EXPECT_EQ(run.output, kBanner + "Error opening output file out.txt");
  EXPECT_EQ(run.exit_code, 255);
  EXPECT_FALSE(FileExists(dir.Path("out.txt")));
}

TEST(Quorvelcon, ConvertsAndCountsWithOptionsInAnyCase) {
  ScratchDir dir;
  WriteFile(dir.Path("in.adi"), kAdifLog);
  auto run = RunQuorvelcon({"in.adi", "out.adi", "-V", "-cCQWW"}, dir.Root().string());
  EXPECT_EQ(run.output, kBanner + "1\nConversion Complete!\n\rProcessed 1 QSO's\n\r");
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_NE(testing::ReadFile(dir.Path("out.adi")).find("<call:5>K1ABC"), std::string::npos);
}

// The option arguments as a shell hands them over.
OptionArguments SplitOf(std::vector<const char*> options) {
  std::vector<const char*> argv{"quorvelcon", "in.adi", "out.sdf"};
  argv.insert(argv.end(), options.begin(), options.end());
  return SplitOptions(static_cast<int>(argv.size()), argv.data());
}

TEST(QuorvelconOptions, CommentAfterDashNIsTakenWholeAndIsNoOptionText) {
  OptionArguments field_day = SplitOf({"-n", "Field day -cFD -v", "-cSS"});
  EXPECT_EQ(field_day.comment, "Field day -cFD -v");
  EXPECT_EQ(field_day.text, "-cSS ");
  EXPECT_EQ(SplitOf({"-N", "club"}).comment, "club");
  EXPECT_EQ(SplitOf({"-n\"Quoted inside\""}).comment, "Quoted inside");
  EXPECT_EQ(SplitOf({"-nclub"}).comment, "club");
  EXPECT_EQ(SplitOf({"-n"}).comment, "");
  EXPECT_FALSE(SplitOf({"-freq", "-qsonum"}).comment.has_value());
  EXPECT_EQ(SplitOf({"-freq", "-qsonum"}).text, "-freq -qsonum ");
  EXPECT_EQ(SplitOf({}).text, "");
}

TEST(QuorvelconOptions, UnknownContestKeywordIsNamedKnownOnesPass) {
  EXPECT_EQ(UnknownContestKeyword("-CXYZ -V "), "XYZ");
  EXPECT_EQ(UnknownContestKeyword("-C FD "), "");  // the keyword must follow -c directly
  EXPECT_EQ(UnknownContestKeyword("-CARRL160 "), std::nullopt);
  EXPECT_EQ(UnknownContestKeyword("-FREQ-CCQWW"), std::nullopt);
  EXPECT_EQ(UnknownContestKeyword("-FREQ "), std::nullopt);
}

// Runs quorvelcon in-process with the line-per-QSO test format, whose writer refuses the call
// REFUSE.
std::string RunWithLineFormat(const std::vector<std::string>& args, int& code) {
  std::vector<const char*> argv{"quorvelcon"};
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  std::FILE* out = std::tmpfile();
  code = RunCommandLine(static_cast<int>(argv.size()), argv.data(), out, testing::CreateLineFormat);
  std::rewind(out);
  std::string text;
  for (int c; (c = std::fgetc(out)) != EOF;) text += static_cast<char>(c);
  std::fclose(out);
  return text;
}

TEST(QuorvelconInProcess, QsosTheOutputCannotHoldAreCountedAndReported) {
  ScratchDir dir;
  WriteFile(dir.Path("in.adi"), "TESTLOG 3\nK1ABC\nREFUSE\nREFUSE\nW2XYZ\n");
  int code = 0;
  std::string output = RunWithLineFormat({dir.Path("in.adi"), dir.Path("out.adi")}, code);
  EXPECT_EQ(output, kBanner +
                        "Conversion Complete!\n\rProcessed 4 QSO's\n\r"
                        "2 QSO's could not be written in the output format\n\r");
  EXPECT_EQ(code, 0);
  EXPECT_EQ(testing::ReadFile(dir.Path("out.adi")), "TESTLOG 3 N0CALL\r\nK1ABC\r\nW2XYZ\r\n");
}

TEST(QuorvelconInProcess, RefusedContestReportsBothLinesAndFails) {
  ScratchDir dir;
  WriteFile(dir.Path("in.adi"), "TESTLOG 9\nK1ABC\n");
  int code = 0;
  std::string output = RunWithLineFormat({dir.Path("in.adi"), dir.Path("out.adi")}, code);
  EXPECT_EQ(output, kBanner + "Contest not supported by output file\n\rError opening output file " +
                        dir.Path("out.adi"));
  EXPECT_EQ(code, kExitFailed);
}

}  // namespace
}  // namespace quorvel
