// ARRL sections by state or province, read from stsec.dat.
//
// Each line of the file is a state, a ':', and the sections of that state separated by blanks,
// commas and semicolons; everything after the line's first ';' is a comment. Lines of any
// length are read whole, and a last line without a line end is read too.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/log_stream.h"
#include "refdata/text_hash.h"

namespace quorvel {

/// The name the section file is looked for under when none is given.
inline constexpr const char* kSectionFileName = "stsec.dat";

class SectionTable : public LogStream {
 public:
  /// An empty table; call Open to load one.
  SectionTable();
  /// Loads `file_name` (stsec.dat when null) at once, looked for as FindDataFile says; a file
  /// that cannot be opened leaves the table empty.
  explicit SectionTable(const char* file_name);

  /// Opens `path` (the binary bit added), loads it and closes it; 0 when it cannot be opened.
  int Open(const char* path, unsigned mode);
  /// Reads the rest of the file and appends its entries; returns 1.
  int Load();
  /// Appends one entry (section, state).
  void AddEntry(std::string_view section, std::string_view state);
  /// The state of the first entry whose section equals `section` without regard to case:
  /// copied into `state` (cut to `state_size` - 1 characters) with 1; else 0 and `state`
  /// untouched.
  int Lookup(std::string_view section, char* state, std::size_t state_size) const;
  /// The same look-up, giving the whole state text, or null when the section is not listed.
  const std::string* FindState(std::string_view section) const;
  std::size_t EntryCount() const { return entries.size(); }

 private:
  struct Entry {
    std::string section;
    std::string state;
  };
  void LoadLine(std::string_view line);

  std::vector<Entry> entries;  // file order
  // Upper-cased section -> its first entry in file order.
  PrefixIndex index;
  std::size_t longest_section = 0;
};

}  // namespace quorvel
