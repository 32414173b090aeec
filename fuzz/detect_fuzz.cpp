// Format detection over any first bytes, under each extension it knows.
#include <cstdint>

#include "core/format_factory.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const char* const kExtensions[] = {"bin", "dat", "qdf", "log", "adi", "cbr", "xyz"};
  if (size == 0) return 0;
  const char* extension = kExtensions[data[0] % 7];
  quorvel::fuzzing::FuzzFile file(data + 1, size - 1, extension);
  int code = quorvel::DetectInputFormat(file.Path());
  if (code < 0 || code > quorvel::kFormatCabrillo) __builtin_trap();
  return 0;
}
