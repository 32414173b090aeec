// NA logs of any content, read as both generations: every QSO keeps its texts within their
// fields and the count matches; the whole conversion, whose generation the first byte
// chooses, writes them as a CT 8 log that reads back one for one.
#include <cstdint>

#include "formats/na_log_file.h"
#include "fuzz_file.h"
#include "fuzz_reader.h"

namespace {

using quorvel::fuzzing::Terminated;

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
    quorvel::fuzzing::CheckTexts(record);
    if (record.band > 26 || record.mode > quorvel::kModeSsb) __builtin_trap();
    ++count;
  }
  if (count != reader.QsoCount()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quorvel::fuzzing::FuzzFile file(data, size, "qdf");
  ReadEveryQso<quorvel::NaLogFile>(file.Path());
  ReadEveryQso<quorvel::NaOldLogFile>(file.Path());
  quorvel::fuzzing::ConvertToCt8(file.Path());
  return 0;
}
