#include "formats/adif_log_file.h"

#include <array>
#include <bit>
#include <cstring>
#include <utility>

#include "core/numbers.h"

namespace quorvel {
namespace {

constexpr std::size_t kLongestTagName = kAdifLongestTagName;
constexpr std::size_t kPackedWords = (kLongestTagName + 7) / 8;

// A name packed into integers, eight characters each, so that names compare as numbers. Names
// are compared only with the names of their own length, so the length is not packed.
struct PackedName {
  std::uint64_t words[kPackedWords] = {};

  constexpr bool operator==(const PackedName&) const = default;
};

constexpr char ToLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

constexpr PackedName Pack(std::string_view name) {
  PackedName packed;
  for (std::size_t i = 0; i < name.size(); ++i) {
    auto byte = static_cast<std::uint64_t>(static_cast<unsigned char>(ToLower(name[i])));
    packed.words[i / 8] |= byte << (8 * (i % 8));
  }
  return packed;
}

// The tag numbers grouped by the length of their names, so that a name is compared only with
// the few names of its own length.
struct TagIndex {
  std::array<PackedName, kAdifTagCount> names{};
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
        index.names[filled] = Pack(kAdifTagNames[number]);
        index.numbers[filled++] = static_cast<std::uint8_t>(number);
      }
    }
  }
  index.first[kLongestTagName + 1] = static_cast<std::uint8_t>(filled);
  return index;
}

constexpr TagIndex kTagIndex = BuildTagIndex();
static_assert(std::endian::native == std::endian::little,
              "names are packed by copying their bytes into integers");
static_assert(kTagIndex.first[kLongestTagName + 1] == kAdifTagCount,
              "every tag name is at most kLongestTagName characters long");

}  // namespace

int AdifTagNumber(std::string_view name) {
  if (name.size() > kLongestTagName) return kAdifUnknown;
  char lower[32] = {};
  for (std::size_t i = 0; i < name.size(); ++i) lower[i] = ToLower(name[i]);
  return AdifLowerTagNumber(lower, name.size());
}

int AdifLowerTagNumber(const char (&name)[32], std::size_t length) {
  if (length > kLongestTagName) return kAdifUnknown;
  PackedName packed;
  std::memcpy(packed.words, name, sizeof packed.words);
  for (std::size_t i = kTagIndex.first[length]; i < kTagIndex.first[length + 1]; ++i) {
    if (kTagIndex.names[i] == packed) return kTagIndex.numbers[i];
  }
  return kAdifUnknown;
}

namespace {

// Contest identifiers of the ADIF standard's enumeration, as contest loggers write them, for the
// contests that have a code of their own, with the mode the identifier names. They are tried
// only when the value begins none of the format's own contest spellings.
struct StandardContestId {
  std::string_view id;
  int contest;
  int mode;
};
constexpr StandardContestId kStandardContestIds[] = {
    {"ARRL-SS-CW", kContestSs, kModeCw},
    {"ARRL-SS-SSB", kContestSs, kModeSsb},
    {"ARRL-DX-CW", kContestArrlDx, kModeCw},
    {"ARRL-DX-SSB", kContestArrlDx, kModeSsb},
    {"CQ-WW-CW", kContestCqww, kModeCw},
    {"CQ-WW-SSB", kContestCqww, kModeSsb},
    {"CQ-WW-RTTY", kContestCqww, kModeRtty},
    {"CQ-WPX-CW", kContestWpx, kModeCw},
    {"CQ-WPX-SSB", kContestWpx, kModeSsb},
    {"CQ-WPX-RTTY", kContestWpx, kModeRtty},
    {"IARU-HF", kContestIaru, kModeNone},
    {"ARRL-10", kContestArrl10, kModeNone},
    {"ARRL-160", kContestArrl160, kModeCw},
    {"CQ-160-CW", kContestCq160, kModeCw},
    {"CQ-160-SSB", kContestCq160, kModeSsb},
    {"ARRL-FIELD-DAY", kContestFd, kModeNone},
    {"CA-QSO-PARTY", kContestCqp, kModeNone},
    {"DARC-WAEDC-CW", kContestWae, kModeCw},
    {"DARC-WAEDC-SSB", kContestWae, kModeSsb},
    {"DARC-WAEDC-RTTY", kContestWae, kModeRtty},
    {"ARRL-VHF-JAN", kContestVhfQso, kModeNone},
    {"ARRL-VHF-JUN", kContestVhfQso, kModeNone},
    {"ARRL-VHF-SEP", kContestVhfQso, kModeNone},
    {"NAQP-CW", kContestNaqp, kModeCw},
    {"NAQP-SSB", kContestNaqp, kModeSsb},
    {"NAQP-RTTY", kContestNaqp, kModeRtty},
    {"NA-SPRINT-CW", kContestSprint, kModeCw},
    {"NA-SPRINT-SSB", kContestSprint, kModeSsb},
    {"NA-SPRINT-RTTY", kContestSprint, kModeRtty},
    {"STEW-PERRY", kContestStewPerry, kModeCw},
    {"JIDX-CW", kContestJadx, kModeCw},
    {"JIDX-SSB", kContestJadx, kModeSsb},
    {"RSGB-IOTA", kContestIota, kModeNone},
    {"HELVETIA", kContestHelvetia, kModeNone},
    {"WAG", kContestWag, kModeNone},
    {"ARI-DX", kContestAri, kModeNone},
};

const StandardContestId* FindStandardContestId(std::string_view value) {
  for (const StandardContestId& standard : kStandardContestIds) {
    if (EqualsNoCase(value, standard.id)) return &standard;
  }
  return nullptr;
}

}  // namespace

int AdifContestFromId(std::string_view value) {
  if (value.empty()) return kContestNone;
  for (int code = 1; code <= kContestCount; ++code) {
    if (kAdifContestNames[code].starts_with(value)) return code;
  }
  const StandardContestId* standard = FindStandardContestId(value);
  return standard != nullptr ? standard->contest : kContestNone;
}

int AdifContestModeFromId(std::string_view value) {
  const StandardContestId* standard = FindStandardContestId(value);
  return standard != nullptr ? standard->mode : kModeNone;
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
    notes = {};
    std::int64_t first_line_end = 0;
    if (!ProbeFirstLine(first_line_end)) return 0;
    ReadHeaderTags(first_line_end);
    if (options.contest != kContestNone) header.contest = options.contest;
    FillHeaderFromFirstRecord();
  }
  section_table = std::make_unique<SectionTable>(kSectionFileName);
  return 1;
}

}  // namespace quorvel
