// NA binary logs of either generation for the benchmark: the 800-byte header with the station
// and the contest (by name in the newer generation, by number in the older), then one 40-byte
// record per QSO with the received report and exchange at their offsets.
#include <algorithm>
#include <cstdio>
#include <string_view>

#include "core/byte_order.h"
#include "formats/na_log_file.h"
#include "synthetic_writers.h"

namespace quorvel::bench {
namespace {

// The contests the benchmark's logs can name, with their newer-generation name and
// older-generation number.
struct NaContest {
  int contest;
  std::string_view name;
  int number;
};
constexpr NaContest kContests[] = {
    {kContestSs, "SS", 3},    {kContestArrlDx, "ARRLDX1", 9}, {kContestCqww, "CQWW", 15},
    {kContestWpx, "WPX", 14}, {kContestIaru, "IARU", 2},      {kContestNaqp, "NAQP", 1},
};

// Blank-padded text, as the format stores it.
template <std::size_t Size>
void PutPadded(ByteLayout<Size>& bytes, std::size_t at, std::size_t width, std::string_view text) {
  char field[32];
  std::size_t count = std::min({text.size(), width, sizeof field});
  std::fill(field, field + sizeof field, ' ');
  std::copy_n(text.data(), count, field);
  bytes.PutText(at, width, {field, std::min(width, sizeof field)});
}

class SyntheticNaWriter : public LogFile {
 public:
  explicit SyntheticNaWriter(bool newer) : newer(newer) {}

  int Open(const char* path, unsigned mode) override {
    qso_count = 0;
    return LogStream::Open(path, mode | kOpenBinary);
  }

  int WriteHeader(ContestHeader source) override {
    header = source;
    const NaContest* contest = nullptr;
    for (const NaContest& entry : kContests) {
      if (entry.contest == header.contest) contest = &entry;
    }
    if (contest == nullptr) return 0;
    ByteLayout<kNaHeaderSize> raw;
    raw.PutU8(0, newer ? 'Z' : 'P');
    PutPadded(raw, 1, 12, FieldText(header.call));
    PutPadded(raw, 25, 30, FieldText(header.name));
    if (header.contest == kContestCqww) {
      char zone[8];
      std::snprintf(zone, sizeof zone, "%d", header.zone);
      PutPadded(raw, 21, 4, zone);
    }
    if (newer) {
      raw.PutText(394, kNaHeaderSize - 394, contest->name);
    } else {
      raw.PutU16(158, static_cast<std::uint16_t>(contest->number));
    }
    return WriteBlock(raw.data(), raw.size());
  }

  int WriteQso(const QsoRecord& record) override {
    ByteLayout<kNaRecordSize> raw;
    raw.PutI32(0, static_cast<std::int32_t>(record.time_on - kNaTimeOffset));
    std::uint32_t mode_bits = record.mode == kModeSsb ? 1 : record.mode == kModeCw ? 0 : 2;
    raw.PutU32(4, record.freq << 2 | mode_bits);
    PutPadded(raw, 9, 12, record.Call());
    char text[16];
    std::snprintf(text, sizeof text, "%d", record.rst_rcvd);
    PutPadded(raw, 21, 3, text);
    if (header.contest == kContestCqww) {
      std::snprintf(text, sizeof text, "%d", record.cqz);
      PutPadded(raw, 32, 4, text);
    } else {
      PutPadded(raw, 32, 4, record.RcvdExch());
    }
    ++qso_count;
    return WriteBlock(raw.data(), raw.size());
  }

 private:
  bool newer;
};

}  // namespace

std::unique_ptr<LogFile> CreateNaWriter(bool newer) {
  return std::make_unique<SyntheticNaWriter>(newer);
}

}  // namespace quorvel::bench
