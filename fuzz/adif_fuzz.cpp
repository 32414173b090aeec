// ADIF logs of any content: the reader reads every contact under a contest chosen by the first
// byte, and a whole ADIF to ADIF conversion must give a file that reads back contact for contact.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/converter.h"
#include "formats/adif_log_file.h"
#include "fuzz_file.h"

namespace {

namespace fs = std::filesystem;

// The ADIF object loads cqww.cty and stsec.dat from the working directory first. The fuzzer
// works in a folder of its own with small ones, so that each run is fast and the US and
// Canadian decisions are still taken.
void UseSmallReferenceFiles() {
  fs::path folder = fs::temp_directory_path() / "quorvel-adif-fuzz";
  fs::create_directories(folder);
  fs::current_path(folder);
  if (std::FILE* file = std::fopen("cqww.cty", "wb")) {
    std::fputs("United States: 05: W: K,N,W;\nCanada: 05: VE: VE,VA;\nAlaska: 01: KL7: KL7;\n",
               file);
    std::fclose(file);
  }
  if (std::FILE* file = std::fopen("stsec.dat", "wb")) {
    std::fputs("TX: NTX, STX\nAK: AK\nON: ONS\n", file);
    std::fclose(file);
  }
}

// Corpus folders and crash files are named relative to where the fuzzer was started.
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

bool Terminated(const char* field, std::size_t width) {
  return field[width - 1] == '\0';
}

int ReadEveryContact(const char* path, int contest) {
  quorvel::AdifLogFile reader;
  quorvel::ConversionOptions options{};
  options.contest = static_cast<std::uint8_t>(contest);
  reader.SetOptions(&options);
  if (!reader.Open(path, quorvel::kModeReadText)) return -1;
  quorvel::QsoRecord record;
  int count = 0;
  while (!reader.IsEof() && reader.ReadQso(record)) {
    if (!Terminated(record.call, sizeof record.call) ||
        !Terminated(record.comment, sizeof record.comment) ||
        !Terminated(record.rcvd_exch, sizeof record.rcvd_exch) ||
        !Terminated(record.name, sizeof record.name)) {
      __builtin_trap();
    }
    ++count;
  }
  if (count != reader.QsoCount()) __builtin_trap();
  return count;
}

void ConvertAndReadBack(const char* path, int contest) {
  std::string output = "/tmp/quorvel-fuzz-" + std::to_string(::getpid()) + "-out.adi";
  std::remove(output.c_str());
  int converted = 0;
  {
    quorvel::Converter converter;
    char option[16];
    std::snprintf(option, sizeof option, "-c%s", contest ? "SS" : "NONE");
    converter.ParseOptions(option);
    if (!converter.OpenInput(path) || !converter.OpenOutput(output.c_str(), 0)) {
      std::remove(output.c_str());
      return;
    }
    converted = quorvel::RunToEnd(converter);
  }
  // Every tag written states its true length, so the output reads back whole.
  if (ReadEveryContact(output.c_str(), contest ? quorvel::kContestSs : 0) != converted) {
    __builtin_trap();
  }
  std::remove(output.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  KeepPathsOfTheStartFolder(argc, argv);
  UseSmallReferenceFiles();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  int contest = data[0] % (quorvel::kContestCount + 2);
  quorvel::fuzzing::FuzzFile file(data + 1, size - 1, "adi");
  ReadEveryContact(file.Path(), contest);
  ConvertAndReadBack(file.Path(), data[0] & 1);
  return 0;
}
