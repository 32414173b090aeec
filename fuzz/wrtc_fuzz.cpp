// WRTC logs of any content: the header's call and year stay within their fields, every QSO
// read keeps its texts within theirs and a band and mode of the format's words, and the whole
// conversion writes them again as a CT 8 log that reads back one for one.
#include <cstdint>

#include "formats/wrtc_log_file.h"
#include "fuzz_file.h"
#include "fuzz_reader.h"

namespace {

void ReadEveryQso(const char* path) {
  using namespace quorvel;
  WrtcLogFile reader;
  if (!reader.Open(path, kModeReadText)) return;
  const ContestHeader& header = reader.Header();
  if (!fuzzing::Terminated(header.call, sizeof header.call) ||
      !fuzzing::Terminated(header.year, sizeof header.year) || header.contest != kContestIaru) {
    __builtin_trap();
  }
  QsoRecord record;
  int count = 0;
  while (reader.ReadQso(record)) {
    fuzzing::CheckTexts(record);
    if (record.band > 9 || record.mode > kModeSsb) __builtin_trap();
    ++count;
  }
  if (count != reader.QsoCount()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quorvel::fuzzing::FuzzFile file(data, size, "log");
  ReadEveryQso(file.Path());
  quorvel::fuzzing::ConvertToCt8(file.Path());
  return 0;
}
