// Fuzz inputs reach the readers the way real logs do: as a named file on disk.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace quorvel::fuzzing {

/// A scratch file holding the fuzz input under a name with the given extension; removed when
/// the object goes.
class FuzzFile {
 public:
  FuzzFile(const std::uint8_t* data, std::size_t size, const std::string& extension) {
    path = "/tmp/quorvel-fuzz-" + std::to_string(::getpid()) + "." + extension;
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
