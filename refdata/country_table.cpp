#include "refdata/country_table.h"

#include <algorithm>
#include <cstring>

#include "core/data_files.h"
#include "core/numbers.h"
#include "refdata/words.h"

namespace quorvel {

CountryTable::CountryTable() = default;

CountryTable::CountryTable(const char* file_name) {
  Open(FindDataFile(file_name ? file_name : kCountryFileName).c_str(), kModeReadBinary);
}

int CountryTable::Open(const char* path, unsigned mode) {
  if (!LogStream::Open(path, mode | kOpenBinary)) return 0;
  current_country = -1;  // a new file's leading continuation lines belong to no country
  Load();
  Close();
  return 1;
}

int CountryTable::Load() {
  std::string line;
  while (ReadLine(line)) LoadLine(line);
  return 1;
}

// A country line "Name: zone: primary prefixes..." starts a country; any other line adds the
// words after its first one to the current country. Words after the first ';' are a comment.
void CountryTable::LoadLine(std::string_view line) {
  line = UpToCarriageReturn(line);
  std::size_t comment = line.find(';');
  std::size_t pos = 0;
  if (!line.empty() && IsUpperLetter(line[0])) {
    Word name = NextWord(line, pos, ":");
    Word zone = NextWord(line, pos, ":");
    Word primary = NextWord(line, pos, " :");
    current_country =
        AddCountry(name.text, primary.text, CutToField<int>(ParseLeadingInt(zone.text)));
  } else {
    NextWord(line, pos, " ");
  }
  if (current_country < 0) return;
  for (Word word = NextWord(line, pos, " ,;"); !word.text.empty();
       word = NextWord(line, pos, " ,;")) {
    if (word.start >= comment) break;
    AddPrefix(word.text, current_country);
  }
}

int CountryTable::AddCountry(std::string_view name, std::string_view prefix, int zone) {
  countries.push_back({std::string(name), std::string(prefix), zone});
  return static_cast<int>(countries.size() - 1);
}

void CountryTable::AddPrefix(std::string_view prefix, int country_index) {
  if (country_index < 0 || static_cast<std::size_t>(country_index) >= countries.size()) return;
  ++prefix_count;
  // A prefix longer than the part of a call that is looked at can never match.
  if (prefix.empty() || prefix.size() > kMaxCallLength) return;
  prefix_index.Insert(prefix, country_index);
  has_length[prefix.size()] = true;
  longest_prefix = std::max(longest_prefix, prefix.size());
  NoteLeadingCharacters(prefix, country_index);
}

// Keeps the leading-pair table in step with the index: the first country listed for a prefix
// of one or two characters, and the longest prefix after each pair.
void CountryTable::NoteLeadingCharacters(std::string_view prefix, int country_index) {
  unsigned first = kCallCharCode[static_cast<unsigned char>(prefix[0])];
  if (first == 0) return;
  if (prefix.size() == 1) {
    if (one_character_country[first] < 0) one_character_country[first] = country_index;
    return;
  }
  unsigned second = kCallCharCode[static_cast<unsigned char>(prefix[1])];
  if (second == 0) return;
  LeadingPair& pair = leading_pairs[first * kCallCharCodes + second];
  if (prefix.size() == 2) {
    if (pair.country < 0) pair.country = country_index;
  } else {
    pair.longest = std::max(pair.longest, static_cast<std::uint8_t>(prefix.size()));
  }
}

const Country* CountryTable::LookupCall(std::string_view call) const {
  if (longest_prefix == 0) return nullptr;  // an empty table (no country file)
  if (call.size() >= 2) {
    unsigned first = kCallCharCode[static_cast<unsigned char>(call[0])];
    unsigned second = kCallCharCode[static_cast<unsigned char>(call[1])];
    if (first != 0 && second != 0) return LookupFromLeadingPair(call, first, second);
  }
  return LookupEveryLength(call);
}

// Most calls begin with a pair that no prefix of three or more characters begins with, or
// only a few do: the index is probed for those lengths alone, and the pair's own entry answers
// for two characters and one.
const Country* CountryTable::LookupFromLeadingPair(std::string_view call, unsigned first,
                                                   unsigned second) const {
  const LeadingPair& pair = leading_pairs[first * kCallCharCodes + second];
  std::size_t length = std::min({call.size(), kMaxCallLength, std::size_t{pair.longest}});
  int found = length > 2 ? FindLongestBeginning(call, length, 3) : -1;
  if (found < 0) found = pair.country >= 0 ? pair.country : one_character_country[first];
  return found >= 0 ? &countries[static_cast<std::size_t>(found)] : nullptr;
}

const Country* CountryTable::LookupEveryLength(std::string_view call) const {
  std::size_t length = std::min({call.size(), kMaxCallLength, longest_prefix});
  int found = FindLongestBeginning(call, length, 1);
  return found >= 0 ? &countries[static_cast<std::size_t>(found)] : nullptr;
}

int CountryTable::FindLongestBeginning(std::string_view call, std::size_t length,
                                       std::size_t shortest) const {
  // The hashes of every beginning, up to a NUL: a call is a few characters, which one loop
  // hashes for less than a library search for the NUL costs.
  std::uint64_t hashes[kMaxCallLength + 1];
  std::uint64_t hash = PrefixIndex::kEmptyHash;
  for (std::size_t i = 0; i < length; ++i) {
    if (call[i] == '\0') {
      length = i;
      break;
    }
    hashes[i + 1] = hash = PrefixIndex::Extend(hash, call[i]);
  }
  for (; length >= shortest; --length) {
    if (!has_length[length]) continue;
    int found = prefix_index.Find(call.substr(0, length), hashes[length]);
    if (found >= 0) return found;
  }
  return -1;
}

int CountryTable::LookupCall(std::string_view call, std::string& name, std::string& prefix,
                             int& zone) const {
  const Country* country = LookupCall(call);
  if (country == nullptr) return 0;
  name = country->name;
  prefix = country->prefix;
  zone = country->zone;
  return 1;
}

}  // namespace quorvel
