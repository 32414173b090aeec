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

// A name in lower case packed into integers, eight characters each, so that names compare as
// numbers; with its length, since a packed name does not tell "a" from "a\0".
struct PackedName {
  std::uint64_t words[kPackedWords] = {};
  std::uint8_t length = 0;

  constexpr bool operator==(const PackedName&) const = default;
};

constexpr char ToLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

// Only for names of at most kLongestTagName characters.
constexpr PackedName PackLower(std::string_view name) {
  PackedName packed;
  for (std::size_t i = 0; i < name.size(); ++i) {
    auto byte = static_cast<std::uint64_t>(static_cast<unsigned char>(ToLower(name[i])));
    packed.words[i / 8] |= byte << (8 * (i % 8));
  }
  packed.length = static_cast<std::uint8_t>(name.size());
  return packed;
}

// The known names in an open-addressing hash table: a name is found by hashing it once and
// comparing it, as numbers, with the one or two names in the slots from its hash on. The
// table has more than twice the slots it has names, so an unknown name also meets an empty
// slot within a few steps.
constexpr int kTableBits = 7;
constexpr std::size_t kTableSlots = std::size_t{1} << kTableBits;
static_assert(kTableSlots >= 2 * kAdifTagCount, "the tag table keeps at least half its slots free");

constexpr std::size_t SlotOf(const PackedName& name) {
  std::uint64_t mixed = name.length;
  for (std::uint64_t word : name.words) mixed = (mixed ^ word) * 0x9E3779B97F4A7C15ULL;
  return static_cast<std::size_t>(mixed >> (64 - kTableBits));
}

struct TagTable {
  std::array<PackedName, kTableSlots> names{};
  std::array<std::int8_t, kTableSlots> numbers{};  // kAdifUnknown in an empty slot
};

constexpr TagTable BuildTagTable() {
  TagTable table;
  table.numbers.fill(kAdifUnknown);
  for (int number = 0; number < kAdifTagCount; ++number) {
    PackedName name = PackLower(kAdifTagNames[number]);
    std::size_t slot = SlotOf(name);
    while (table.numbers[slot] != kAdifUnknown) slot = (slot + 1) % kTableSlots;
    table.names[slot] = name;
    table.numbers[slot] = static_cast<std::int8_t>(number);
  }
  return table;
}

constexpr bool AllNamesFit() {
  for (std::string_view name : kAdifTagNames) {
    if (name.empty() || name.size() > kLongestTagName) return false;
  }
  return true;
}
static_assert(AllNamesFit(), "every tag name has 1 to kAdifLongestTagName characters");
static_assert(sizeof(PackedName::words) == kLongestTagName, "a lowered name fills the words");
static_assert(std::endian::native == std::endian::little,
              "names are packed by copying their bytes into integers");
static_assert(kAdifTagCount <= 127, "tag numbers fit the table's bytes");

constexpr TagTable kTagTable = BuildTagTable();

}  // namespace

int AdifTagNumber(std::string_view name) {
  if (name.empty() || name.size() > kLongestTagName) return kAdifUnknown;
  char lower[kLongestTagName] = {};
  for (std::size_t i = 0; i < name.size(); ++i) lower[i] = ToLower(name[i]);
  return AdifLowerTagNumber(lower, name.size());
}

int AdifLowerTagNumber(const char (&lower)[kAdifLongestTagName], std::size_t length) {
  if (length == 0 || length > kLongestTagName) return kAdifUnknown;
  PackedName packed;
  std::memcpy(packed.words, lower, sizeof packed.words);  // the words hold the bytes in order
  packed.length = static_cast<std::uint8_t>(length);
  for (std::size_t slot = SlotOf(packed);; slot = (slot + 1) % kTableSlots) {
    int number = kTagTable.numbers[slot];
    if (number == kAdifUnknown || kTagTable.names[slot] == packed) return number;
  }
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
