// DX Info spot files of any content: every spot read keeps its texts within their fields and its
// band, mode and report from its frequency, and the whole conversion writes them again as a
// CT 8 log that reads back one for one.
#include <cstdint>

#include "formats/spot_log_file.h"
#include "fuzz_file.h"
#include "fuzz_reader.h"
#include "spot_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quorvel::fuzzing::FuzzFile file(data, size, "dat");
  quorvel::fuzzing::ReadEverySpot<quorvel::DxInfoFile>(file.Path());
  quorvel::fuzzing::ConvertToCt8(file.Path());
  return 0;
}
