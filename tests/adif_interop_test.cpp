// ADIF written by the converter, parsed by an independent ADIF library from the npm registry
// (adif-parser-ts, run by tests/adif_interop.mjs): every record and field it finds must be
// what was written. The library is installed once per build folder; without node and npm, or
// when the install fails (no network), the tests are skipped with the reason.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "adif_test_support.h"
#include "core/converter.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using testing::AdifGoldenDir;
using testing::AdifWorkspace;

constexpr const char* kPackage = "adif-parser-ts@0.7.7";

using Command = testing::RunResult;

Command Run(const std::vector<std::string>& args) {
  return testing::RunProgram(args);
}

fs::path ModuleFolder() {
  return fs::path(QUORVELCON_PATH).parent_path() / "npm";
}

bool PackageInstalled() {
  return fs::exists(ModuleFolder() / "node_modules" / "adif-parser-ts" / "package.json");
}

// Installs the package into the build folder unless it is there; returns why it is not
// usable, or an empty text. Test processes running at once take turns through a lock file,
// and a failed install is not tried again for an hour.
std::string InstallParser() {
  if (Run({"node", "--version"}).exit_code != 0 || Run({"npm", "--version"}).exit_code != 0) {
    return "node and npm are not installed";
  }
  std::error_code error;
  fs::create_directories(ModuleFolder(), error);
  int lock = ::open((ModuleFolder() / "install.lock").c_str(), O_CREAT | O_RDWR, 0644);
  if (lock < 0) return "cannot lock " + ModuleFolder().string();
  ::flock(lock, LOCK_EX);
  std::string reason;
  fs::path failed = ModuleFolder() / "install-failed";
  if (!PackageInstalled()) {
    bool failed_lately =
        fs::exists(failed, error) && fs::last_write_time(failed, error) >
                                         fs::file_time_type::clock::now() - std::chrono::hours(1);
    if (!failed_lately) {
      Command install =
          Run({"npm", "install", "--prefix", ModuleFolder().string(), "--no-save",
               "--no-package-lock", "--no-audit", "--no-fund", "--prefer-offline",
               "--fetch-retries=1", "--fetch-timeout=30000", "--loglevel=error", kPackage});
      if (install.exit_code != 0 || !PackageInstalled()) {
        testing::WriteFile(failed.string(), "");
      } else {
        fs::remove(failed, error);
      }
    }
    if (!PackageInstalled()) {
      reason = std::string("npm could not install ") + kPackage + " into " +
               ModuleFolder().string() + " (offline?); remove " + failed.string() +
               " to try again at once";
    }
  }
  ::flock(lock, LOCK_UN);
  ::close(lock);
  return reason;
}

using Fields = std::vector<std::pair<std::string, std::string>>;

std::string Unescape(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 >= text.size()) {
      out += text[i];
    } else if (text[i + 1] == 'x' && i + 3 < text.size()) {
      out += static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16));
      i += 3;
    } else {
      out += text[++i];
    }
  }
  return out;
}

// The records as the independent library parses them.
std::vector<Fields> ParseWithLibrary(const std::string& path) {
  Command parse = Run({"node", std::string(QUORVEL_SOURCE_DIR) + "/tests/adif_interop.mjs",
                       ModuleFolder().string(), path});
  EXPECT_EQ(parse.exit_code, 0) << "the library could not parse " << path;
  std::vector<Fields> records;
  std::istringstream lines(parse.output);
  std::string line;
  std::size_t count = 0;
  bool counted = false;
  while (std::getline(lines, line)) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
      parts.push_back(line.substr(start, tab - start));
    }
    parts.push_back(line.substr(start));
    if (parts[0] == "records" && parts.size() == 2) {
      count = std::stoul(parts[1]);
      counted = true;
    } else if (parts[0] == "field" && parts.size() == 4) {
      std::size_t index = std::stoul(parts[1]);
      if (records.size() <= index) records.resize(index + 1);
      records[index].emplace_back(parts[2], Unescape(parts[3]));
    }
  }
  EXPECT_TRUE(counted) << parse.output;
  EXPECT_EQ(records.size(), count);
  return records;
}

// The records as written, found without looking at any stated length: after the header, a
// value runs from its tag's '>' to the next '<' or line end; records end at "<eor>".
std::vector<Fields> SplitAsWritten(const std::string& text) {
  std::vector<Fields> records(1);
  std::size_t at = text.find("<eoh>");
  at = at == std::string::npos ? 0 : at + 5;
  while ((at = text.find('<', at)) != std::string::npos) {
    std::size_t close = text.find('>', at);
    std::string tag = text.substr(at + 1, close - at - 1);
    if (tag == "eor") {
      records.emplace_back();
      at = close + 1;
      continue;
    }
    std::size_t end = std::min(text.find('<', close), text.find("\r\n", close));
    end = std::min(end, text.size());
    records.back().emplace_back(tag.substr(0, tag.find(':')),
                                text.substr(close + 1, end - close - 1));
    at = end;
  }
  records.pop_back();  // after the last <eor>
  return records;
}

void ExpectLibraryFindsWhatWasWritten(const std::string& path) {
  SCOPED_TRACE(path);
  std::vector<Fields> written = SplitAsWritten(testing::ReadFile(path));
  std::vector<Fields> parsed = ParseWithLibrary(path);
  ASSERT_EQ(parsed.size(), written.size());
  for (std::size_t i = 0; i < written.size(); ++i) {
    EXPECT_EQ(parsed[i], written[i]) << "record " << i;
  }
}

class AdifInterop : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string reason = InstallParser();
    if (!reason.empty()) GTEST_SKIP() << reason;
  }
};

TEST_F(AdifInterop, LibraryReadsTheGoldenConversions) {
  AdifWorkspace workspace;
  for (const char* name : {"ss", "fd", "genqso", "contest0"}) {
    std::string output = workspace.Path(std::string(name) + ".adi");
    testing::RunResult run = testing::RunQuorvelcon(
        {AdifGoldenDir() + "/" + name + "_input.adi", output}, workspace.Path(""));
    ASSERT_EQ(run.exit_code, 0) << run.output;
    ExpectLibraryFindsWhatWasWritten(output);
  }
}

TEST_F(AdifInterop, LibraryReadsEveryContestLayoutWithAnyValues) {
  AdifWorkspace workspace;
  std::mt19937 random(7);
  auto number = [&random](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  for (int contest = 0; contest <= kContestCount + 1; ++contest) {
    std::vector<QsoRecord> records;
    for (int i = 0; i < 30; ++i) {
      QsoRecord record = testing::Contact(i % 3 ? "K1ABC" : "DL1ABC", number(0, 2000000000));
      record.band = static_cast<std::uint8_t>(number(0, 31));
      record.freq = static_cast<std::uint32_t>(number(0, 2000000000));
      record.mode = static_cast<std::uint8_t>(number(0, 10));
      record.contest = static_cast<std::uint8_t>(number(0, 34));
      record.tx_pwr = static_cast<std::uint16_t>(number(0, 65535));
      record.srx = number(-100, 2000000000);
      record.cqz = static_cast<std::uint8_t>(number(0, 255));
      record.ituz = static_cast<std::uint8_t>(number(0, 255));
      record.rst_sent = static_cast<std::uint16_t>(number(0, 65535));
      record.rst_rcvd = static_cast<std::uint16_t>(number(0, 65535));
      record.ten_ten = number(0, 2000000000);
      record.arci_num = static_cast<std::uint16_t>(number(0, 65535));
      record.age = static_cast<std::uint8_t>(number(0, 255));
      record.prec = static_cast<char>(number(1, 255));
      record.check = static_cast<char>(number(0, 255));
      record.SetName(std::string(static_cast<std::size_t>(number(0, 20)), 'n'));
      record.SetQth(std::string(static_cast<std::size_t>(number(0, 40)), 'q'));
      record.SetState("NY", 2);
      record.SetArrlSect(i % 2 ? "ENY" : "");
      record.SetRcvdExch(i % 4 ? std::to_string(number(0, 99999)) : "EXCH");
      record.time_off = record.time_on + number(-10, 100000);
      records.push_back(record);
    }
    ContestHeader header{};
    header.contest = static_cast<std::uint8_t>(contest);
    std::string name = "contest" + std::to_string(contest) + ".adi";
    testing::WriteAdif(workspace, header, records, name);
    ExpectLibraryFindsWhatWasWritten(workspace.Path(name));
  }
}

TEST_F(AdifInterop, LibraryFindsEveryContactOfRealLogsConvertedToAdif) {
  std::string folder = testing::RealDataDir();
  if (folder.empty()) GTEST_SKIP() << "no real logs in " << QUORVEL_REALDATA_DIR;
  AdifWorkspace workspace;
  for (const auto& entry : fs::directory_iterator(folder + "/adif")) {
    std::string output = workspace.Path(entry.path().stem().string() + ".adi");
    testing::RunResult run =
        testing::RunQuorvelcon({entry.path().string(), output}, workspace.Path(""));
    ASSERT_EQ(run.exit_code, 0) << run.output;
    ExpectLibraryFindsWhatWasWritten(output);
  }
}

}  // namespace
}  // namespace quorvel
