// CT logs older than version 8 of any content: the reader opens them and reads every QSO within its
// fields, and the whole conversion writes them again as a CT 8 log that holds every QSO read.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "core/converter.h"
#include "formats/ct8_log_file.h"
#include "formats/ct_old_log_file.h"
#include "fuzz_file.h"
#include "fuzz_reader.h"

namespace {

void ConvertToCt8(const char* path) {
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
    if (quorvel::fuzzing::ReadEveryQso<quorvel::Ct8LogFile>(output.c_str()) !=
        converter.Converted()) {
      __builtin_trap();
    }
  }
  std::remove(output.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quorvel::fuzzing::FuzzFile file(data, size, "bin");
  quorvel::fuzzing::ReadEveryQso<quorvel::CtOldLogFile>(file.Path());
  ConvertToCt8(file.Path());
  return 0;
}
