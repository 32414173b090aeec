#include "formats/adif_log_file.h"

#include <array>
#include <cstring>

namespace quorvel {
namespace {

constexpr std::size_t kLongestTagName = 10;

// The tag numbers grouped by the length of their names, so that a name is compared only with
// the few names of its own length.
struct TagIndex {
  std::array<std::uint8_t, kAdifTagCount> numbers{};
  std::array<std::uint8_t, kLongestTagName + 2> first{};  // first[n]..first[n+1]: length n
};

constexpr TagIndex BuildTagIndex() {
  TagIndex index;
  std::size_t filled = 0;
  for (std::size_t length = 0; length <= kLongestTagName; ++length) {
    index.first[length] = static_cast<std::uint8_t>(filled);
    for (int number = 0; number < kAdifTagCount; ++number) {
      if (kAdifTagNames[number].size() == length) {
        index.numbers[filled++] = static_cast<std::uint8_t>(number);
      }
    }
  }
  index.first[kLongestTagName + 1] = static_cast<std::uint8_t>(filled);
  return index;
}

constexpr TagIndex kTagIndex = BuildTagIndex();
static_assert(kTagIndex.first[kLongestTagName + 1] == kAdifTagCount,
              "every tag name is at most kLongestTagName characters long");

char ToLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

}  // namespace

int AdifTagNumber(std::string_view name) {
  if (name.size() > kLongestTagName) return kAdifUnknown;
  char lower[kLongestTagName];
  for (std::size_t i = 0; i < name.size(); ++i) lower[i] = ToLower(name[i]);
  for (std::size_t i = kTagIndex.first[name.size()]; i < kTagIndex.first[name.size() + 1]; ++i) {
    int number = kTagIndex.numbers[i];
    if (std::memcmp(kAdifTagNames[number].data(), lower, name.size()) == 0) return number;
  }
  return kAdifUnknown;
}

int AdifContestFromId(std::string_view value) {
  if (value.empty()) return kContestNone;
  for (int code = 1; code <= kContestCount; ++code) {
    if (kAdifContestNames[code].starts_with(value)) return code;
  }
  return kContestNone;
}

int DigitCount(std::int64_t n) {
  int count = n < 0 ? 2 : 1;
  std::uint64_t magnitude =
      n < 0 ? 0 - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
  while (magnitude >= 10) {
    magnitude /= 10;
    ++count;
  }
  return count;
}

AdifLogFile::AdifLogFile() = default;

AdifLogFile::~AdifLogFile() = default;

int AdifLogFile::Open(const char* path, unsigned mode) {
  if (!LogStream::Open(path, mode | kOpenBinary)) return 0;
  scanner.Reset();
  if ((mode & kOpenWrite) == 0) {
    std::int64_t first_line_end = 0;
    if (!ProbeFirstLine(first_line_end)) return 0;
    ReadHeaderTags(first_line_end);
    if (options.contest != kContestNone) header.contest = options.contest;
  }
  section_table = std::make_unique<SectionTable>("stsec.dat");
  return 1;
}

}  // namespace quorvel
