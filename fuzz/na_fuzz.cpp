// NA logs of any content, read as both generations: every QSO keeps its texts within their
// fields and the count matches; the whole conversion, whose generation the first byte
// chooses, writes them as a CT 8 log that reads back one for one.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "core/converter.h"
#include "formats/ct8_log_file.h"
#include "formats/na_log_file.h"
#include "fuzz_file.h"

namespace {

bool Terminated(const char* field, std::size_t width) {
  return field[width - 1] == '\0';
}

template <typename Reader>
void ReadEveryQso(const char* path) {
  Reader reader;
  if (!reader.Open(path, quorvel::kModeReadText)) {
    if (reader.Header().call[0] != '\0' || reader.Header().contest != 0) __builtin_trap();
    return;
  }
  const quorvel::ContestHeader& header = reader.Header();
  if (!Terminated(header.call, sizeof header.call) ||
      !Terminated(header.text4, sizeof header.text4) || header.text1[31] != '\0') {
    __builtin_trap();
  }
  quorvel::QsoRecord record;
  int count = 0;
  while (reader.ReadQso(record)) {
    if (!Terminated(record.call, sizeof record.call) ||
        !Terminated(record.name, sizeof record.name) ||
        !Terminated(record.rcvd_exch, sizeof record.rcvd_exch) ||
        !Terminated(record.arrl_sect, sizeof record.arrl_sect) || record.band > 26 ||
        record.mode > quorvel::kModeSsb) {
      __builtin_trap();
    }
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
    quorvel::Ct8LogFile written;
    if (!written.Open(output.c_str(), quorvel::kModeReadText)) __builtin_trap();
    quorvel::QsoRecord record;
    int read_back = 0;
    while (written.ReadQso(record)) ++read_back;
    if (read_back != converter.Converted() - converter.Unwritten()) __builtin_trap();
  }
  std::remove(output.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quorvel::fuzzing::FuzzFile file(data, size, "qdf");
  ReadEveryQso<quorvel::NaLogFile>(file.Path());
  ReadEveryQso<quorvel::NaOldLogFile>(file.Path());
  Convert(file.Path());
  return 0;
}
