// CT version 8 logs of any content: the reader opens them and reads every QSO, and the whole
// conversion writes them again as a CT 8 log.
#include <cstdint>

#include "formats/ct8_log_file.h"
#include "fuzz_file.h"
#include "fuzz_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quorvel::fuzzing::FuzzFile file(data, size, "bin");
  quorvel::fuzzing::ReadEveryQso<quorvel::Ct8LogFile>(file.Path());
  quorvel::fuzzing::ConvertToCt8(file.Path());
  return 0;
}
