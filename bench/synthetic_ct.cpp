// CT version 9 and pre-version-8 logs for the benchmark: the contest, the own call and, per
// QSO, the call, time, band, mode, report and the exchange of CQ WW (the zone) or the serial.
#include <cstdio>

#include "core/byte_order.h"
#include "core/qso_record.h"
#include "core/text_field.h"
#include "formats/ct_tables.h"
#include "synthetic_writers.h"

namespace quorvel::bench {
namespace {

// The CT band number of an HF contest band in both versions' general tables (160 m to 10 m).
std::uint8_t HfBandNumber(std::uint8_t band) {
  constexpr std::uint8_t kNumbers[] = {0, 1, 2, 3, 0, 4, 0, 5, 0, 6};
  return band < std::size(kNumbers) ? kNumbers[band] : 0;
}

void PutExchange(char* text, std::size_t width, int contest, const QsoRecord& record) {
  std::snprintf(text, width, contest == kContestCqww ? "%02d" : "%d",
                contest == kContestCqww ? record.cqz : record.srx);
}

class Ct9Writer : public LogFile {
 public:
  int Open(const char* path, unsigned mode) override {
    return LogStream::Open(path, mode | kOpenBinary);
  }
  int WriteHeader(ContestHeader source) override {
    header = source;
    ByteLayout<4096> raw;
    raw.PutText(32, 16, "CT 9.37");
    raw.PutText(48, 16, FieldText(header.call));
    raw.PutU8(256, static_cast<std::uint8_t>(CtNumberFromContest(header.contest)));
    raw.PutU8(858, 1);  // times in UTC
    return WriteBlock(raw.data(), raw.size());
  }
  int WriteQso(const QsoRecord& record) override {
    ByteLayout<50> raw;
    char exchange[8];
    PutExchange(exchange, sizeof exchange, header.contest, record);
    raw.PutText(ct_record::kCall, 13, record.Call());
    raw.PutText(ct_record::kExchange, 8, exchange);
    raw.PutU8(ct_record::kBand, HfBandNumber(record.band));
    raw.PutU8(ct_record::kMode, record.mode == kModeCw ? 1 : 2);
    raw.PutI16(ct_record::kReport, record.rst_rcvd);
    raw.PutU32(ct_record::kFrequencyHz, record.freq * 100);
    raw.PutI32(ct_record::kTime, static_cast<std::int32_t>(record.time_on));
    return WriteBlock(raw.data(), raw.size());
  }
};

class CtOldWriter : public LogFile {
 public:
  int Open(const char* path, unsigned mode) override {
    return LogStream::Open(path, mode | kOpenBinary);
  }
  int WriteHeader(ContestHeader source) override {
    header = source;
    ByteLayout<398> raw;
    raw.PutText(20, 14, FieldText(header.call));
    raw.PutText(162, 5, header.contest == kContestCqww ? "CQWW" : "WPX");
    raw.PutText(167, 4, "CW");
    raw.PutText(184, 3, "UTC");
    return WriteBlock(raw.data(), raw.size());
  }
  int WriteQso(const QsoRecord& record) override {
    ByteLayout<37> raw;
    char exchange[6];
    PutExchange(exchange, sizeof exchange, header.contest, record);
    raw.PutI16(0, record.rst_rcvd);
    raw.PutI32(10, static_cast<std::int32_t>(record.time_on));
    raw.PutU8(15, static_cast<std::uint8_t>(HfBandNumber(record.band) | record.mode << 4));
    raw.PutText(16, 14, record.Call());
    raw.PutText(30, 5, exchange);
    return WriteBlock(raw.data(), raw.size());
  }
};

}  // namespace

std::unique_ptr<LogFile> CreateCt9Writer() {
  return std::make_unique<Ct9Writer>();
}
std::unique_ptr<LogFile> CreateCtOldWriter() {
  return std::make_unique<CtOldWriter>();
}

}  // namespace quorvel::bench
