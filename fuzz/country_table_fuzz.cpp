// The country table over any file contents, with look-ups of fixed calls and of texts taken
// from the input.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_file.h"
#include "refdata/country_table.h"

namespace {

// A call that resolves still resolves with more characters after it.
void CheckLookup(const quorvel::CountryTable& table, std::string_view call) {
  const quorvel::Country* country = table.LookupCall(call);
  if (country == nullptr) return;
  std::string longer(call);
  longer += "/P";
  if (table.LookupCall(longer) == nullptr) __builtin_trap();
  std::string name, prefix;
  int zone = -1;
  if (table.LookupCall(call, name, prefix, zone) != 1 || zone != country->zone) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quorvel::fuzzing::FuzzFile file(data, size, "cty");
  quorvel::CountryTable table(file.Path());
  std::string_view input(reinterpret_cast<const char*>(data), size);
  for (std::string_view call : {"W1AW", "KH6XX", "", "A", "VE3XX/P"}) CheckLookup(table, call);
  for (std::size_t start = 0; start < input.size() && start < 64; start += 5) {
    CheckLookup(table, input.substr(start, 6));
    CheckLookup(table, input.substr(start, 120));
  }
  return 0;
}
