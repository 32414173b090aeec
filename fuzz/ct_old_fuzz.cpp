// CT logs older than version 8 of any content: the reader opens them and reads every QSO within its
// fields, and the whole conversion writes them again as a CT 8 log that holds every QSO read
// whose time a CT 8 log can hold.
#include <cstdint>

#include "formats/ct_old_log_file.h"
#include "fuzz_file.h"
#include "fuzz_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quorvel::fuzzing::FuzzFile file(data, size, "bin");
  quorvel::fuzzing::ReadEveryQso<quorvel::CtOldLogFile>(file.Path());
  quorvel::fuzzing::ConvertToCt8(file.Path());
  return 0;
}
