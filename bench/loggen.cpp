// quorvel_loggen: writes large synthetic logs for the benchmark, through the engine's own
// writers, so that every output format of this build can serve as a benchmark input.
//
//   quorvel_loggen OUTPUT COUNT [CONTEST [SEED [FORMAT]]]
//
// The same COUNT, CONTEST and SEED always give the same log. FORMAT, a format code, names a
// format the engine only reads (CT version 9, NA, ...): such logs are written by the benchmark's
// own writers (synthetic_writers.h). Without it the output extension chooses the writer.
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "core/civil_time.h"
#include "core/contest_header.h"
#include "core/format_factory.h"
#include "core/qso_record.h"
#include "core/text_field.h"
#include "synthetic_writers.h"

namespace {

using namespace quorvel;

constexpr const char* kPrefixes[] = {"W",   "K",   "N",  "AA", "KB", "VE", "VA", "DL", "G",  "F",
                                     "JA",  "I",   "EA", "OH", "SM", "UA", "LU", "PY", "VK", "ZL",
                                     "KH6", "KL7", "OK", "SP", "HA", "YO", "LZ", "9A", "S5", "ON"};
constexpr const char* kSections[] = {"CT",  "EMA", "ENY", "NTX", "STX", "WTX", "SDG", "LAX",
                                     "ORG", "SV",  "EB",  "WWA", "OR",  "MI",  "OH",  "ONE"};
constexpr const char* kStates[] = {"CT", "MA", "NY", "TX", "CA", "WA", "OR", "MI", "OH", "ON"};
constexpr const char* kNames[] = {"BOB", "JIM", "ANN", "HANS", "YURI", "KEN", "SUE", "TOM"};
// Band code and a frequency in that band, in units of 100 Hz.
constexpr struct {
  std::uint8_t band;
  std::uint32_t base;
} kBands[] = {{1, 18000}, {2, 35000}, {3, 70000}, {5, 140000}, {7, 210000}, {9, 280000}};

class LogGenerator {
 public:
  LogGenerator(int contest, unsigned seed) : contest(contest), random(seed) {}

  ContestHeader Header() const {
    ContestHeader header{};
    CopyCut(header.call, "N0QV");
    header.contest = static_cast<std::uint8_t>(contest);
    header.mode = kModeCw;
    CopyCut(header.contest_name, "BENCHMARK");
    CopyCut(header.year, "2026");
    CopyCut(header.name, "Quorvel Bench");
    CopyCut(header.arrl_sect, "CO");
    header.zone = 4;
    return header;
  }

  QsoRecord Next(int number) {
    QsoRecord record;
    record.Clear();
    std::string call =
        std::string(Pick(kPrefixes)) + std::to_string(Below(10)) + Letters(1 + Below(3));
    record.SetCallText(call);
    record.time_on = UtcSeconds(2026, 11, 28, 0, 0, 0) + number * 17 % 172800;
    const auto& band = kBands[Below(std::size(kBands))];
    record.band = band.band;
    record.freq = band.base + Below(2000);
    record.mode = kModeCw;
    record.rst_sent = 599;
    record.rst_rcvd = 599;
    record.stx = number + 1;
    record.srx = static_cast<std::int32_t>(1 + Below(2000));
    record.cqz = static_cast<std::uint8_t>(1 + Below(40));
    record.ituz = static_cast<std::uint8_t>(1 + Below(90));
    record.tx_pwr = 100;
    record.SetName(Pick(kNames));
    record.SetArrlSect(Pick(kSections));
    std::string state = Pick(kStates);
    record.SetState(state.c_str(), static_cast<int>(state.size()));
    record.SetRcvdExch(contest == kContestArrl160 ? Pick(kSections) : Pick(kStates));
    record.prec = contest == kContestFd ? static_cast<char>(1 + Below(5)) : "QABUMS"[Below(6)];
    record.check = contest == kContestFd ? "ABCDEF"[Below(6)] : static_cast<char>(Below(100));
    record.points = static_cast<std::uint8_t>(1 + Below(3));
    return record;
  }

 private:
  std::uint32_t Below(std::size_t limit) {
    return static_cast<std::uint32_t>(random() % static_cast<std::uint32_t>(limit));
  }
  template <std::size_t N>
  const char* Pick(const char* const (&list)[N]) {
    return list[Below(N)];
  }
  std::string Letters(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += static_cast<char>('A' + Below(26));
    return text;
  }

  int contest;
  std::mt19937 random;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: quorvel_loggen OUTPUT COUNT [CONTEST [SEED [FORMAT]]]\n");
    return 2;
  }
  const char* path = argv[1];
  long count = std::atol(argv[2]);
  int contest = argc > 3 ? std::atoi(argv[3]) : kContestCqww;
  unsigned seed = argc > 4 ? static_cast<unsigned>(std::atol(argv[4])) : 1;

  auto writer = argc > 5 ? bench::CreateSyntheticWriter(std::atoi(argv[5]))
                         : CreateLogFile(OutputFormatFromExtension(path), Direction::kOutput);
  if (!writer || !writer->Open(path, kModeWriteNew)) {
    std::fprintf(stderr, "quorvel_loggen: cannot create %s\n", path);
    return 1;
  }
  LogGenerator generator(contest, seed);
  if (!writer->WriteHeader(generator.Header())) {
    std::fprintf(stderr, "quorvel_loggen: the format refuses contest %d\n", contest);
    return 1;
  }
  for (long i = 0; i < count; ++i) writer->WriteQso(generator.Next(static_cast<int>(i)));
  writer->Close();
  return writer->WriteFailed() ? 1 : 0;
}
