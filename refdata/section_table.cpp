#include "refdata/section_table.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/data_files.h"
#include "core/numbers.h"
#include "refdata/words.h"

namespace quorvel {
namespace {

// Sections are short; a look-up folds its key into this buffer instead of the heap.
constexpr std::size_t kShortKey = 64;

std::string UpperCased(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = ToUpper(c);
  return upper;
}

}  // namespace

SectionTable::SectionTable() = default;

SectionTable::SectionTable(const char* file_name) {
  Open(FindDataFile(file_name ? file_name : kSectionFileName).c_str(), kModeReadBinary);
}

int SectionTable::Open(const char* path, unsigned mode) {
  if (!LogStream::Open(path, mode | kOpenBinary)) return 0;
  Load();
  Close();
  return 1;
}

int SectionTable::Load() {
  std::string line;
  while (ReadLine(line)) LoadLine(line);
  return 1;
}

// "TX: NTX STX, WTX; comment": the state runs to the first ':' (leading colons skipped), the
// sections follow, and words that begin after the first ';' are a comment.
void SectionTable::LoadLine(std::string_view line) {
  line = UpToCarriageReturn(line);
  std::size_t comment = line.find(';');
  std::size_t pos = 0;
  Word state = NextWord(line, pos, ":");
  if (state.text.empty()) return;
  for (Word word = NextWord(line, pos, " ,;"); !word.text.empty();
       word = NextWord(line, pos, " ,;")) {
    if (word.start >= comment) break;
    AddEntry(word.text, state.text);
  }
}

void SectionTable::AddEntry(std::string_view section, std::string_view state) {
  entries.push_back({std::string(section), std::string(state)});
  index.Insert(UpperCased(section), static_cast<int>(entries.size() - 1));
  longest_section = std::max(longest_section, section.size());
}

const std::string* SectionTable::FindState(std::string_view section) const {
  if (section.empty() || section.size() > longest_section) return nullptr;
  int found = -1;
  if (section.size() <= kShortKey) {
    // Upper-cased and hashed in one pass.
    char key[kShortKey];
    std::uint64_t hash = PrefixIndex::kEmptyHash;
    for (std::size_t i = 0; i < section.size(); ++i) {
      key[i] = ToUpper(section[i]);
      hash = PrefixIndex::Extend(hash, key[i]);
    }
    found = index.Find(std::string_view(key, section.size()), hash);
  } else {
    std::string key = UpperCased(section);
    found = index.Find(key, PrefixIndex::Hash(key));
  }
  return found < 0 ? nullptr : &entries[static_cast<std::size_t>(found)].state;
}

int SectionTable::Lookup(std::string_view section, char* state, std::size_t state_size) const {
  const std::string* found = FindState(section);
  if (found == nullptr) return 0;
  if (state != nullptr && state_size > 0) {
    std::size_t count = std::min(found->size(), state_size - 1);
    std::memcpy(state, found->data(), count);
    state[count] = '\0';
  }
  return 1;
}

}  // namespace quorvel
