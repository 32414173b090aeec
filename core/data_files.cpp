#include "core/data_files.h"

#include <filesystem>

#ifndef QUORVEL_INSTALLED_DATA_DIR
#define QUORVEL_INSTALLED_DATA_DIR "/usr/local/share/quorvel"
#endif

namespace quorvel {
namespace {

namespace fs = std::filesystem;

bool IsFile(const fs::path& candidate) {
  std::error_code error;
  return fs::is_regular_file(candidate, error);
}

fs::path ProgramFolder() {
  std::error_code error;
  fs::path program = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::path{} : program.parent_path();
}

}  // namespace

std::string FindDataFile(std::string_view name) {
  fs::path bare{name};
  if (IsFile(bare)) return bare.string();
  fs::path folder = ProgramFolder();
  if (!folder.empty()) {
    // The build tree keeps the files in data/ beside (or one folder above) the programs; an
    // installed tree keeps them in share/quorvel beside bin/, wherever it was installed to.
    const fs::path candidates[] = {folder / "data" / bare, folder.parent_path() / "data" / bare,
                                   folder.parent_path() / "share" / "quorvel" / bare};
    for (const fs::path& beside : candidates) {
      if (IsFile(beside)) return beside.string();
    }
  }
  fs::path installed = fs::path{QUORVEL_INSTALLED_DATA_DIR} / bare;
  if (IsFile(installed)) return installed.string();
  return bare.string();
}

}  // namespace quorvel
