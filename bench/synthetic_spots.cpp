// DX Cluster and DX Info spot files for the benchmark: one fixed-length spot line per QSO with
// the frequency in kHz, the call, the date and the time at their columns or words.
#include <cstdio>
#include <string>

#include "core/civil_time.h"
#include "core/qso_record.h"
#include "formats/spot_log_file.h"
#include "synthetic_writers.h"

namespace quorvel::bench {
namespace {

constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

enum class SpotKind { kCluster, kInfo };

class SyntheticSpotWriter : public LogFile {
 public:
  explicit SyntheticSpotWriter(SpotKind kind) : kind(kind) {}

  int Open(const char* path, unsigned mode) override {
    qso_count = 0;
    return LogStream::Open(path, mode | kOpenBinary);
  }
  int WriteHeader(ContestHeader source) override {
    header = source;
    return 1;  // spot files have no header
  }
  int WriteQso(const QsoRecord& record) override {
    CivilTime t = UtcCalendar(record.time_on);
    const char* month = kMonths[(t.month - 1) % 12];
    unsigned khz = record.freq / 10, tenths = record.freq % 10;
    char frequency[16];
    std::snprintf(frequency, sizeof frequency, "%u.%u", khz, tenths);
    char line[160];  // room for any field; the generated fields keep the format's width
    if (kind == SpotKind::kCluster) {
      std::snprintf(line, sizeof line, "%-10s%-13.13s%02d-%s-%04d %02d%02dZ %-44s\n", frequency,
                    record.call, t.day, month, t.year % 10000, t.hour, t.minute, "de N0QV");
    } else {
      std::snprintf(line, sizeof line, "O %s %s %02d-%s-%02d %02d%02d", frequency, record.call,
                    t.day, month, t.year % 100, t.hour, t.minute);
      std::snprintf(line, sizeof line, "%-79.79s\n", std::string(line).c_str());
    }
    ++qso_count;
    return WriteText(line);
  }

 private:
  SpotKind kind;
};

}  // namespace

std::unique_ptr<LogFile> CreateSpotWriter(bool cluster) {
  return std::make_unique<SyntheticSpotWriter>(cluster ? SpotKind::kCluster : SpotKind::kInfo);
}

}  // namespace quorvel::bench
