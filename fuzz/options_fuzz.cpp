// Both option parsers over any option text.
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/contest_header.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<char> text(data, data + size);
  text.push_back('\0');
  quorvel::ConversionOptions options{};
  quorvel::ContestHeader header{};
  quorvel::ParseFormatOptions(text.data(), options, header);
  quorvel::ParseConverterOptions(text.data(), options);
  if (std::strlen(options.comment) > quorvel::kCommentLimit) __builtin_trap();
  if (options.contest > quorvel::kContestCount) __builtin_trap();
  return 0;
}
