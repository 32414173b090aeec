// Replays files through a fuzz target's LLVMFuzzerTestOneInput without libFuzzer, so that the
// ordinary build and its tests run every seed and regression file: each argument is a file or
// a folder of files (not descended into); options beginning with '-' are passed over. Exits 1
// when an argument does not exist or no file was replayed; a failed check stops the program.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> FilesOf(const fs::path& argument) {
  std::vector<fs::path> files;
  if (!fs::is_directory(argument)) return {argument};
  for (const fs::directory_entry& entry : fs::directory_iterator(argument)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

void Replay(const fs::path& file) {
  std::ifstream stream(file, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(stream)),
                          std::istreambuf_iterator<char>());
  // A copy of its own, so that a read past the input is a read past an allocation.
  std::vector<std::uint8_t> input(bytes.begin(), bytes.end());
  LLVMFuzzerTestOneInput(input.data(), input.size());
}

}  // namespace

int main(int argc, char** argv) {
  LLVMFuzzerInitialize(&argc, &argv);
  int replayed = 0;
  for (int i = 1; i < argc; ++i) {
    std::string argument = argv[i];
    if (argument.starts_with("-")) continue;
    if (!fs::exists(argument)) {
      std::fprintf(stderr, "no such file or folder: %s\n", argument.c_str());
      return 1;
    }
    for (const fs::path& file : FilesOf(argument)) {
      Replay(file);
      ++replayed;
    }
  }
  std::printf("replayed %d files\n", replayed);
  return replayed > 0 ? 0 : 1;
}
