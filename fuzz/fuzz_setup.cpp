// What every fuzz target does once per process, before the first input: it keeps the paths of
// its arguments meaning what they meant where it was started, then works in its scratch folder,
// which holds small reference files. The readers load cqww.cty and stsec.dat from the working
// directory first; small ones keep each input fast while the country and section decisions are
// still taken (United States, Canada, Alaska and Hawaii calls resolve, sections map to states).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz_file.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kSmallCountryFile =
    "United States: 05: W: K,N,W,AA;\n"
    "Canada: 05: VE: VE,VA,VO1;\n"
    "    VY2;\n"
    "Alaska: 01: KL7: KL7,AL7;\n"
    "Hawaii: 31: KH6: KH6,AH6;\n"
    "Japan: 25: JA: JA,JR,7J;\n"
    "Fed. Rep. of Germany: 14: DL: DL,DA,DK;\n";

constexpr const char* kSmallSectionFile =
    "TX: NTX, STX, WTX\n"
    "AK: AK\n"
    "HI: PAC\n"
    "ON: ONS, ONE, ONN\n"
    "CA: EB, LAX, SB\n";

void WriteText(const fs::path& path, const char* text) {
  if (std::FILE* file = std::fopen(path.string().c_str(), "wb")) {
    std::fputs(text, file);
    std::fclose(file);
  }
}

void RemoveScratchFolder() {
  std::error_code error;
  fs::remove_all(quorvel::fuzzing::ScratchFolder(), error);
}

void EnterScratchFolder() {
  fs::path folder = quorvel::fuzzing::ScratchFolder();
  fs::create_directories(folder);
  WriteText(folder / "cqww.cty", kSmallCountryFile);
  WriteText(folder / "stsec.dat", kSmallSectionFile);
  fs::current_path(folder);
  std::atexit(RemoveScratchFolder);
}

// Corpus folders, input files and crash files are named relative to the start folder; the
// fuzzer's own options ("-runs=...") pass unchanged.
void KeepPathsOfTheStartFolder(int* argc, char*** argv) {
  static std::vector<std::string> kept;
  static std::vector<char*> pointers;
  bool has_prefix = false;
  for (int i = 0; i < *argc; ++i) {
    std::string arg = (*argv)[i];
    has_prefix = has_prefix || arg.starts_with("-artifact_prefix=");
    if (i > 0 && !arg.starts_with("-")) arg = fs::absolute(arg).string();
    kept.push_back(arg);
  }
  if (!has_prefix) kept.push_back("-artifact_prefix=" + fs::current_path().string() + "/");
  for (std::string& arg : kept) pointers.push_back(arg.data());
  pointers.push_back(nullptr);
  *argc = static_cast<int>(kept.size());
  *argv = pointers.data();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  KeepPathsOfTheStartFolder(argc, argv);
  EnterScratchFolder();
  return 0;
}
