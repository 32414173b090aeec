// Call signs to countries (name, primary prefix, CQ zone), read from cqww.cty.
//
// A country line begins with an upper-case letter: "Name: zone: primary-prefix prefixes...;".
// Any other line continues the most recent country: its first word is passed over and the rest
// are prefixes. Prefixes are separated by blanks, commas and semicolons; the first ';' of a line
// ends its list. Every country of the file is kept, lines of any length are read whole, and a
// last line without a line end is read too.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/log_stream.h"
#include "refdata/text_hash.h"

namespace quorvel {

/// The name the country file is looked for under when none is given.
inline constexpr const char* kCountryFileName = "cqww.cty";
/// Characters of a call that take part in a look-up; the rest is ignored.
inline constexpr std::size_t kMaxCallLength = 99;

struct Country {
  std::string name;
  std::string prefix;  // primary prefix, e.g. "W", "KH6", "VE"
  int zone = 0;        // CQ zone
};

class CountryTable : public LogStream {
 public:
  /// An empty table; call Open to load one.
  CountryTable();
  /// Loads `file_name` (cqww.cty when null) at once, looked for as FindDataFile says; a file
  /// that cannot be opened leaves the table empty.
  explicit CountryTable(const char* file_name);

  /// Opens `path` (the binary bit added), loads it and closes it; 0 when it cannot be opened.
  int Open(const char* path, unsigned mode);
  /// Reads the rest of the file; returns 1.
  int Load();
  /// Appends a country and returns its index. Countries returned by LookupCall stay valid
  /// until the next AddCountry.
  int AddCountry(std::string_view name, std::string_view prefix, int zone);
  /// Appends a prefix of the country at `country_index` (ignored when there is no such
  /// country).
  void AddPrefix(std::string_view prefix, int country_index);

  /// The country of the longest beginning of `call` (at most 99 characters, up to a NUL,
  /// case-sensitive) that the file lists as a prefix; the earliest such prefix in the file
  /// wins. Null when no beginning of the call is listed. Does not allocate.
  const Country* LookupCall(std::string_view call) const;
  /// The same, filling the three outputs and returning 1, or returning 0 with them untouched.
  int LookupCall(std::string_view call, std::string& name, std::string& prefix, int& zone) const;

  std::size_t CountryCount() const { return countries.size(); }
  const Country& CountryAt(std::size_t index) const { return countries[index]; }
  std::size_t PrefixCount() const { return prefix_count; }

 private:
  // Calls begin with letters, digits and the odd '/': each has a small code (0 for any other
  // character), so that a call's first two characters index a table of their own.
  static constexpr std::size_t kCallCharCodes = 38;
  static constexpr std::array<std::uint8_t, 256> kCallCharCode = [] {
    std::array<std::uint8_t, 256> codes{};
    std::uint8_t next = 1;
    for (char c = 'A'; c <= 'Z'; ++c) codes[static_cast<unsigned char>(c)] = next++;
    for (char c = '0'; c <= '9'; ++c) codes[static_cast<unsigned char>(c)] = next++;
    codes['/'] = next;
    return codes;
  }();
  // What a call beginning with two such characters needs: the country of its two characters
  // as a prefix (-1: not listed), and the length of the longest prefix that begins with them,
  // so that a look-up probes the index only for beginnings up to that length.
  struct LeadingPair {
    int country = -1;
    std::uint8_t longest = 0;
  };
  static std::array<int, kCallCharCodes> MakeNoCountries() {
    std::array<int, kCallCharCodes> none;
    none.fill(-1);
    return none;
  }

  void LoadLine(std::string_view line);
  void NoteLeadingCharacters(std::string_view prefix, int country_index);
  const Country* LookupFromLeadingPair(std::string_view call, unsigned first,
                                       unsigned second) const;
  const Country* LookupEveryLength(std::string_view call) const;
  // The country of the longest beginning of `call` from `length` characters (cut at a NUL)
  // down to `shortest` (at least 1), by the index; -1 when none is listed.
  int FindLongestBeginning(std::string_view call, std::size_t length, std::size_t shortest) const;

  std::vector<Country> countries;  // file order; position = country index
  // Prefix -> country of its first entry in file order.
  PrefixIndex prefix_index;
  // has_length[n]: some prefix has n characters, so a look-up tries beginnings of that length.
  std::array<bool, kMaxCallLength + 1> has_length{};
  std::size_t longest_prefix = 0;
  // By the codes of a call's first two characters, first * kCallCharCodes + second.
  std::array<LeadingPair, kCallCharCodes * kCallCharCodes> leading_pairs{};
  // By the code of a call's first character: the country of that character as a prefix.
  std::array<int, kCallCharCodes> one_character_country = MakeNoCountries();
  std::size_t prefix_count = 0;
  int current_country = -1;  // the country that continuation lines add to while loading
};

}  // namespace quorvel
