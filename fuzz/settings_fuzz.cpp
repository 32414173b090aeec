// Settings files of any content: every kept option is read within its range and the comment
// stays a terminated text of at most the comment limit.
#include <cstdint>
#include <cstring>

#include "core/settings_file.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quorvel::fuzzing::FuzzFile file(data, size, "ini");
  quorvel::ConversionOptions options{};
  quorvel::ReadSettings(file.Path(), options);
  if (std::memchr(options.comment, '\0', sizeof options.comment) == nullptr) __builtin_trap();
  if (std::strlen(options.comment) > quorvel::kCommentLimit) __builtin_trap();
  if (options.contest > quorvel::kContestCount) __builtin_trap();
  if (options.approach > 1) __builtin_trap();
  return 0;
}
