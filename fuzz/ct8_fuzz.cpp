// CT version 8 logs of any content: the reader opens them and reads every QSO, and the whole
// conversion writes them again as a CT 8 log.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "core/converter.h"
#include "formats/ct8_log_file.h"
#include "fuzz_file.h"

namespace {

void ReadEveryQso(const char* path) {
  quorvel::Ct8LogFile reader;
  if (!reader.Open(path, quorvel::kModeReadText)) return;
  quorvel::QsoRecord record;
  int count = 0;
  while (reader.ReadQso(record)) {
    if (record.call[sizeof record.call - 1] != '\0') __builtin_trap();
    ++count;
  }
  if (count != reader.QsoCount()) __builtin_trap();
}

void Convert(const char* path) {
  std::string output = "/tmp/quorvel-fuzz-" + std::to_string(::getpid()) + "-out.bin";
  std::remove(output.c_str());
  {
    quorvel::Converter converter;
    if (!converter.OpenInput(path) || !converter.OpenOutput(output.c_str(), 0)) {
      std::remove(output.c_str());
      return;
    }
    std::int64_t position = 0;
    int count = 0;
    while (converter.Step(position, count)) {
    }
    converter.Finish();
    // Every QSO read from the input is in the output.
    quorvel::Ct8LogFile written;
    if (!written.Open(output.c_str(), quorvel::kModeReadText)) __builtin_trap();
    quorvel::QsoRecord record;
    int read_back = 0;
    while (written.ReadQso(record)) ++read_back;
    if (read_back != converter.Converted()) __builtin_trap();
  }
  std::remove(output.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quorvel::fuzzing::FuzzFile file(data, size, "bin");
  ReadEveryQso(file.Path());
  Convert(file.Path());
  return 0;
}
