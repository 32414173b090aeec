// Helpers shared by the tests: scratch folders, whole files, and running quorvelcon.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quorvel::testing {

/// What quorvelcon prints first on every run.
inline const std::string kBanner =
    "Amateur Radio Log File Conversion v1.72\n\r"
    "Quorvel converts contest and station logs between logging programs.\n\r"
    "\n\r";

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
};
/// Runs a program (found on the PATH when the name has no slash) with its arguments in
/// `folder`, capturing its standard output; standard error is dropped.
RunResult RunProgram(const std::vector<std::string>& command, const std::string& folder = ".");
/// Runs the built quorvelcon with the given arguments (no shell quoting needed) in `folder`.
RunResult RunQuorvelcon(const std::vector<std::string>& args, const std::string& folder = ".");

/// The folder of real logs written by other programs, or empty when it is not present.
std::string RealDataDir();

}  // namespace quorvel::testing
