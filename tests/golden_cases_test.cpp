// Golden folders: whole quorvelcon runs compared byte for byte with what they must print and
// write. Each folder of tests/golden/cases is one behaviour:
//
//   command       one run a line: the arguments, separated by blanks
//   in*           the input logs the runs read
//   console.txt   what the runs print after the banner, each followed by "[exit N]"
//   expected*     what each output must hold: the output out-ct.bin is compared with
//                 expected-ct.bin; an output without an expected file must not exist
//
// The runs take place in a fresh folder holding the inputs and the tests' own cqww.cty and
// stsec.dat (a case folder may bring its own). With QUORVEL_BLESS=1 in the environment the
// runs write console.txt and the expected files instead: review them before committing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;

fs::path CasesDir() {
  return fs::path(QUORVEL_SOURCE_DIR) / "tests" / "golden" / "cases";
}

std::vector<std::string> CaseNames() {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(CasesDir(), error)) {
    if (entry.is_directory()) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::vector<std::string>> Commands(const fs::path& folder) {
  std::vector<std::vector<std::string>> commands;
  std::istringstream lines(ReadFile((folder / "command").string()));
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::vector<std::string> args;
    for (std::string word; words >> word;) args.push_back(word);
    if (!args.empty()) commands.push_back(args);
  }
  return commands;
}

// The folder a case runs in: its inputs and the reference files.
void PrepareWorkspace(const fs::path& source, const testing::ScratchDir& workspace) {
  fs::path tables = fs::path(QUORVEL_SOURCE_DIR) / "tests" / "golden" / "adif";
  for (const char* table : {"cqww.cty", "stsec.dat"}) {
    fs::path own = source / table;
    fs::copy_file(fs::exists(own) ? own : tables / table, workspace.Path(table));
  }
  for (const auto& entry : fs::directory_iterator(source)) {
    std::string name = entry.path().filename().string();
    if (name.rfind("in", 0) == 0) fs::copy_file(entry.path(), workspace.Path(name));
  }
}

// The expected file of an output named out<rest>: expected<rest>.
fs::path ExpectedFile(const fs::path& source, const std::string& output) {
  std::string rest = output.rfind("out", 0) == 0 ? output.substr(3) : "." + output;
  return source / ("expected" + rest);
}

bool Blessing() {
  const char* bless = std::getenv("QUORVEL_BLESS");
  return bless != nullptr && std::string(bless) == "1";
}

void Bless(const fs::path& source, const testing::ScratchDir& workspace, const std::string& console,
           const std::vector<std::string>& outputs) {
  testing::WriteFile((source / "console.txt").string(), console);
  for (const std::string& output : outputs) {
    fs::path expected = ExpectedFile(source, output);
    fs::remove(expected);
    if (testing::FileExists(workspace.Path(output)))
      fs::copy_file(workspace.Path(output), expected);
  }
}

class GoldenCase : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenCase, RunsPrintAndWriteExactlyTheExpectedBytes) {
  fs::path source = CasesDir() / GetParam();
  testing::ScratchDir workspace;
  PrepareWorkspace(source, workspace);
  std::string console;
  std::vector<std::string> outputs;
  for (const std::vector<std::string>& args : Commands(source)) {
    testing::RunResult run = testing::RunQuorvelcon(args, workspace.Root().string());
    ASSERT_EQ(run.output.rfind(testing::kBanner, 0), 0u) << run.output;
    console += run.output.substr(testing::kBanner.size());
    console += "[exit " + std::to_string(run.exit_code) + "]\n";
    if (args.size() >= 2) outputs.push_back(args[1]);
  }
  if (Blessing()) return Bless(source, workspace, console, outputs);
  EXPECT_EQ(console, ReadFile((source / "console.txt").string()));
  for (const std::string& output : outputs) {
    fs::path expected = ExpectedFile(source, output);
    if (fs::exists(expected)) {
      EXPECT_EQ(ReadFile(workspace.Path(output)), ReadFile(expected.string())) << output;
    } else {
      EXPECT_FALSE(testing::FileExists(workspace.Path(output))) << output << " must not exist";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenCase, ::testing::ValuesIn(CaseNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name = info.param;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
}  // namespace quorvel
