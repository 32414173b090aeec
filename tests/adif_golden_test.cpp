// Whole conversions of hand-written ADIF logs compared byte for byte with expected output.
#include <gtest/gtest.h>

#include <string>

#include "adif_test_support.h"

namespace quorvel {
namespace {

using testing::AdifGoldenDir;
using testing::AdifWorkspace;
using testing::ReadFile;
using testing::RunQuorvelcon;

class AdifGolden : public ::testing::TestWithParam<const char*> {};

TEST_P(AdifGolden, ConversionGivesTheExpectedFileByteForByte) {
  AdifWorkspace workspace;  // the tests' own cqww.cty and stsec.dat
  std::string name = GetParam();
  std::string input = AdifGoldenDir() + "/" + name + "_input.adi";
  testing::RunResult run = RunQuorvelcon({input, "out.adi"}, workspace.Path(""));
  ASSERT_EQ(run.exit_code, 0) << run.output;
  EXPECT_EQ(ReadFile(workspace.Path("out.adi")),
            ReadFile(AdifGoldenDir() + "/" + name + "_expected.adi"));
}

INSTANTIATE_TEST_SUITE_P(Logs, AdifGolden, ::testing::Values("ss", "fd", "genqso", "contest0"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           return std::string(info.param);
                         });

}  // namespace
}  // namespace quorvel
