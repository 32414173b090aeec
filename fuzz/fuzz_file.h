// Fuzz inputs reach the readers the way real logs do: as a named file on disk. The files live in
// a scratch folder of the process on a RAM-backed file system when there is one, so that each
// input costs no disk work.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace quorvel::fuzzing {

/// The folder of this process's scratch files: in /dev/shm when it exists, else in the
/// temporary folder. Not created here.
inline std::filesystem::path ScratchFolder() {
  std::error_code error;
  std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                   ? std::filesystem::path("/dev/shm")
                                   : std::filesystem::temp_directory_path(error);
  return base / ("quorvel-fuzz-" + std::to_string(::getpid()));
}

/// A scratch file name of this process, e.g. "out.bin".
inline std::string ScratchPath(const std::string& name) {
  return (ScratchFolder() / name).string();
}

/// A scratch file holding the fuzz input under a name with the given extension; removed when
/// the object goes.
class FuzzFile {
 public:
  FuzzFile(const std::uint8_t* data, std::size_t size, const std::string& extension)
      : path(ScratchPath("input." + extension)) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return;
    if (size > 0) std::fwrite(data, 1, size, file);
    std::fclose(file);
  }
  ~FuzzFile() { std::remove(path.c_str()); }
  FuzzFile(const FuzzFile&) = delete;
  FuzzFile& operator=(const FuzzFile&) = delete;
  const char* Path() const { return path.c_str(); }

 private:
  std::string path;
};

}  // namespace quorvel::fuzzing
