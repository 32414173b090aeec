// Call signs to countries (name, primary prefix, CQ zone), read from cqww.cty.
//
// A country line begins with an upper-case letter: "Name: zone: primary-prefix prefixes...;".
// Any other line continues the most recent country: its first word is passed over and the rest
// are prefixes. Prefixes are separated by blanks, commas and semicolons; the first ';' of a line
// ends its list.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/log_stream.h"

namespace quorvel {

struct Country {
  std::string name;
  std::string prefix;  // primary prefix, e.g. "W", "KH6", "VE"
  int zone = 0;        // CQ zone
};

class CountryTable : public LogStream {
 public:
  /// An empty table; call Open to load one.
  CountryTable();
  /// Loads `file_name` at once, looked for as FindDataFile says; a file that cannot be opened
  /// leaves the table empty.
  explicit CountryTable(const char* file_name);

  /// Opens `path` (the binary bit added) and loads it; 0 when it cannot be opened.
  int Open(const char* path, unsigned mode);
  /// Reads the rest of the file; returns 1.
  int Load();
  /// Appends a country and returns its index.
  int AddCountry(std::string_view name, std::string_view prefix, int zone);
  /// Appends a prefix of the country at `country_index`.
  void AddPrefix(std::string_view prefix, int country_index);

  /// The country of the longest beginning of `call` (at most 99 characters, case-sensitive)
  /// that the file lists as a prefix; the earliest such prefix in the file wins. Null when no
  /// beginning of the call is listed.
  const Country* LookupCall(std::string_view call) const;
  /// The same, filling the three outputs and returning 1, or returning 0 with them untouched.
  int LookupCall(std::string_view call, std::string& name, std::string& prefix, int& zone) const;

  std::size_t CountryCount() const { return countries.size(); }

 private:
  std::vector<Country> countries;                   // file order; position = country index
  std::unordered_map<std::string, int> prefix_index;  // prefix -> country of its first entry
};

}  // namespace quorvel
