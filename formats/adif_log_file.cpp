#include "formats/adif_log_file.h"

#include <array>
#include <bit>
#include <cstring>
#include <utility>

#include "core/numbers.h"

namespace quorvel {
namespace {

constexpr std::size_t kLongestTagName = 10;

// A name of at most ten characters packed into two integers, so that names compare as numbers.
struct PackedName {
  std::uint64_t head = 0;  // characters 0..7
  std::uint64_t tail = 0;  // characters 8..9 and the length

  constexpr bool operator==(const PackedName&) const = default;
};

constexpr char ToLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

constexpr PackedName Pack(std::string_view name) {
  PackedName packed;
  for (std::size_t i = 0; i < name.size(); ++i) {
    auto byte = static_cast<std::uint64_t>(static_cast<unsigned char>(ToLower(name[i])));
    if (i < 8) {
      packed.head |= byte << (8 * i);
    } else {
      packed.tail |= byte << (8 * (i - 8));
    }
  }
  packed.tail |= static_cast<std::uint64_t>(name.size()) << 56;
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
  char lower[16] = {};
  for (std::size_t i = 0; i < name.size(); ++i) lower[i] = ToLower(name[i]);
  return AdifLowerTagNumber(lower, name.size());
}

int AdifLowerTagNumber(const char (&name)[16], std::size_t length) {
  if (length > kLongestTagName) return kAdifUnknown;
  PackedName packed;
  std::memcpy(&packed.head, name, 8);
  std::uint16_t tail = 0;
  std::memcpy(&tail, name + 8, 2);
  packed.tail = tail | static_cast<std::uint64_t>(length) << 56;
  for (std::size_t i = kTagIndex.first[length]; i < kTagIndex.first[length + 1]; ++i) {
    if (kTagIndex.names[i] == packed) return kTagIndex.numbers[i];
  }
  return kAdifUnknown;
}

namespace {

// Contest identifiers of the ADIF standard's enumeration, as contest loggers write them, for the
// contests that have a code of their own. They are tried only when the value begins none of
// the format's own contest spellings.
constexpr std::pair<std::string_view, int> kStandardContestIds[] = {
    {"ARRL-SS-CW", kContestSs},         {"ARRL-SS-SSB", kContestSs},
    {"ARRL-DX-CW", kContestArrlDx},     {"ARRL-DX-SSB", kContestArrlDx},
    {"CQ-WW-CW", kContestCqww},         {"CQ-WW-SSB", kContestCqww},
    {"CQ-WW-RTTY", kContestCqww},       {"CQ-WPX-CW", kContestWpx},
    {"CQ-WPX-SSB", kContestWpx},        {"CQ-WPX-RTTY", kContestWpx},
    {"IARU-HF", kContestIaru},          {"ARRL-10", kContestArrl10},
    {"ARRL-160", kContestArrl160},      {"CQ-160-CW", kContestCq160},
    {"CQ-160-SSB", kContestCq160},      {"ARRL-FIELD-DAY", kContestFd},
    {"CA-QSO-PARTY", kContestCqp},      {"DARC-WAEDC-CW", kContestWae},
    {"DARC-WAEDC-SSB", kContestWae},    {"DARC-WAEDC-RTTY", kContestWae},
    {"ARRL-VHF-JAN", kContestVhfQso},   {"ARRL-VHF-JUN", kContestVhfQso},
    {"ARRL-VHF-SEP", kContestVhfQso},   {"NAQP-CW", kContestNaqp},
    {"NAQP-SSB", kContestNaqp},         {"NAQP-RTTY", kContestNaqp},
    {"NA-SPRINT-CW", kContestSprint},   {"NA-SPRINT-SSB", kContestSprint},
    {"NA-SPRINT-RTTY", kContestSprint}, {"STEW-PERRY", kContestStewPerry},
};

}  // namespace

int AdifContestFromId(std::string_view value) {
  if (value.empty()) return kContestNone;
  for (int code = 1; code <= kContestCount; ++code) {
    if (kAdifContestNames[code].starts_with(value)) return code;
  }
  for (const auto& [id, code] : kStandardContestIds) {
    if (EqualsNoCase(value, id)) return code;
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
  section_table = std::make_unique<SectionTable>(kSectionFileName);
  return 1;
}

}  // namespace quorvel
