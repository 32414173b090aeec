// WRTC logs for the benchmark: one line per QSO with the number, the own call, the band in
// metres, the mode, the date at column 18, the time, the call, the report and the zone.
#include <algorithm>
#include <cstdio>
#include <string>

#include "core/civil_time.h"
#include "core/qso_record.h"
#include "core/text_field.h"
#include "synthetic_writers.h"

namespace quorvel::bench {
namespace {

// Band words by band code from 1 (160 m to 10 m); "18" is the 17 m band.
constexpr const char* kBandWords[] = {"", "160", "80", "40", "30", "20", "18", "15", "12", "10"};

class SyntheticWrtcWriter : public LogFile {
 public:
  int Open(const char* path, unsigned mode) override {
    qso_count = 0;
    return LogStream::Open(path, mode | kOpenBinary);
  }
  int WriteHeader(ContestHeader source) override {
    header = source;
    return 1;  // the own call stands on every line
  }
  int WriteQso(const QsoRecord& record) override {
    CivilTime t = UtcCalendar(record.time_on);
    const char* band = record.band < std::size(kBandWords) ? kBandWords[record.band] : "";
    char start[64];
    std::snprintf(start, sizeof start, "%4d %.13s %s %s", qso_count + 1, header.call, band,
                  record.mode == kModeSsb ? "SSB" : "CW");
    std::string line = start;
    line.resize(std::max<std::size_t>(line.size() + 1, 18), ' ');
    char rest[96];
    std::snprintf(rest, sizeof rest, "%04d/%02d/%02d %02d:%02d:%02d %s %d %02d\n", t.year % 10000,
                  t.month, t.day, t.hour, t.minute, t.second, record.call, record.rst_rcvd,
                  record.ituz);
    ++qso_count;
    return WriteText(line + rest);
  }
};

}  // namespace

std::unique_ptr<LogFile> CreateWrtcWriter() {
  return std::make_unique<SyntheticWrtcWriter>();
}

}  // namespace quorvel::bench
