// ARRL sections by state or province, read from stsec.dat.
//
// Each line of the file is a state, a ':', and the sections of that state separated by blanks,
// commas and semicolons; everything after the line's first ';' is a comment.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/log_stream.h"

namespace quorvel {

class SectionTable : public LogStream {
 public:
  /// An empty table; call Open to load one.
  SectionTable();
  /// Loads `file_name` at once, looked for as FindDataFile says; a file that cannot be opened
  /// leaves the table empty.
  explicit SectionTable(const char* file_name);

  /// Opens `path` (the binary bit added) and loads it; 0 when it cannot be opened.
  int Open(const char* path, unsigned mode);
  /// Reads the rest of the file and appends its entries; returns 1.
  int Load();
  /// Appends one entry (section, state).
  void AddEntry(std::string_view section, std::string_view state);
  /// The state of the first entry whose section equals `section` without regard to case:
  /// copied into `state` (cut to `state_size` - 1 characters) with 1; else 0 and `state`
  /// untouched.
  int Lookup(std::string_view section, char* state, std::size_t state_size) const;
  std::size_t EntryCount() const { return entries.size(); }

 private:
  struct Entry {
    std::string section;
    std::string state;
  };
  std::vector<Entry> entries;                          // file order
  std::unordered_map<std::string, std::size_t> index;  // upper-cased section -> first entry
};

}  // namespace quorvel
