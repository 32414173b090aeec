// Helpers shared by the tests: scratch folders, whole files, and running quorvelcon.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace quorvel::testing {

/// What quorvelcon prints first on every run.
inline const std::string kBanner =
    "Amateur Radio Log File Conversion v1.72\n\r"
    "Quorvel converts contest and station logs between logging programs.\n\r"
    "\n\r";

/// Every test, and every program a test starts, writes files as if at 2026-12-01 00:00:00 UTC:
/// the test clock, through SOURCE_DATE_EPOCH (set before any test runs).
inline constexpr const char* kTestClock = "1796083200";

/// The lines an ADIF header written at the test clock begins with, after its first line.
inline const std::string kAdifProgramLines =
    "<adif_ver:5>3.1.4\r\n<programid:7>Quorvel\r\n<programversion:4>1.72\r\n"
    "<created_timestamp:15>20261201 000000\r\n";

/// A fresh, empty folder for one test, removed with its contents afterwards.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  std::string Path(const std::string& name) const { return (root / name).string(); }
  const std::filesystem::path& Root() const { return root; }

 private:
  std::filesystem::path root;
};

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);

struct RunResult {
  std::string output;
  int exit_code;
  std::string errors;  // what the program printed on standard error (sanitizer reports go there)
};
/// Runs a program (found on the PATH when the name has no slash) with its arguments in
/// `folder`, capturing its standard output and, apart, its standard error.
/// With `file_size_limit` the program cannot write files past that many bytes, as on a full
/// disk (its writes fail; the signal of the limit is ignored).
RunResult RunProgram(const std::vector<std::string>& command, const std::string& folder = ".",
                     long file_size_limit = 0);
/// Runs the built quorvelcon with the given arguments (no shell quoting needed) in `folder`.
RunResult RunQuorvelcon(const std::vector<std::string>& args, const std::string& folder = ".",
                        long file_size_limit = 0);

/// The folder of real logs written by other programs, or empty when it is not present.
std::string RealDataDir();

/// An ADIF record read by the tests' own small parser: tag name (lower case) to value.
using AdifFields = std::map<std::string, std::string>;
/// The records after the header of an ADIF text; with `contacts_only`, records without a call
/// and a date are left out, as the converter leaves them.
std::vector<AdifFields> ParseAdifRecords(const std::string& text, bool contacts_only);
/// The value of a tag, empty when the record has none.
std::string FieldOf(const AdifFields& fields, const std::string& name);
/// `text` with the letters A to Z lowered.
std::string LowerAscii(std::string text);

}  // namespace quorvel::testing
