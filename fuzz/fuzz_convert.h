// The whole-conversion check of the fuzz targets: a log of any content, converted into a CT 8
// log, reads back as every QSO that was converted and written.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <string>

#include "core/converter.h"
#include "formats/ct8_log_file.h"
#include "fuzz_reader.h"

namespace quorvel::fuzzing {

inline void ConvertToCt8AndReadBack(const char* path) {
  std::string output = "/tmp/quorvel-fuzz-" + std::to_string(::getpid()) + "-out.bin";
  std::remove(output.c_str());
  {
    Converter converter;
    if (!converter.OpenInput(path) || !converter.OpenOutput(output.c_str(), 0)) {
      std::remove(output.c_str());
      return;
    }
    std::int64_t position = 0;
    int count = 0;
    while (converter.Step(position, count)) {
    }
    converter.Finish();
    if (ReadEveryQso<Ct8LogFile>(output.c_str()) != converter.Converted() - converter.Unwritten()) {
      __builtin_trap();
    }
  }
  std::remove(output.c_str());
}

}  // namespace quorvel::fuzzing
