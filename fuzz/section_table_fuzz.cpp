// The section table over any file contents, with look-ups of fixed sections and of words
// taken from the input.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz_file.h"
#include "refdata/section_table.h"

namespace {

void CheckLookup(const quorvel::SectionTable& table, std::string_view section) {
  char state[12];
  std::memset(state, '#', sizeof state);
  if (table.Lookup(section, state, sizeof state) == 0) return;
  if (std::memchr(state, '\0', sizeof state) == nullptr) __builtin_trap();
  std::string lower(section);
  for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
  if (table.FindState(lower) != table.FindState(section)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quorvel::fuzzing::FuzzFile file(data, size, "dat");
  quorvel::SectionTable table(file.Path());
  std::string_view input(reinterpret_cast<const char*>(data), size);
  for (std::string_view section : {"NTX", "ntx", "", "PAC", "A"}) CheckLookup(table, section);
  for (std::size_t start = 0; start < input.size() && start < 64; start += 7) {
    CheckLookup(table, input.substr(start, 3));
    CheckLookup(table, input.substr(start, 70));
  }
  return 0;
}
