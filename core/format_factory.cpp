#include "core/format_factory.h"

#include <array>

#include "formats/adif_log_file.h"
#include "formats/arrl_log_file.h"
#include "formats/cabrillo_log_file.h"
#include "formats/ct8_log_file.h"

namespace quorvel {
namespace {

struct FormatEntry {
  FormatInfo info;
  std::unique_ptr<LogFile> (*create)();
};

template <typename Format>
std::unique_ptr<LogFile> Make() {
  return std::make_unique<Format>();
}

// Every format of this build: one row per format class, in code order.
constexpr FormatEntry kFormats[] = {
    {{kFormatCt8, "CT binary log, version 8", "bin", true, true}, Make<Ct8LogFile>},
    {{kFormatAdif, "ADIF", "adi", true, true}, Make<AdifLogFile>},
    {{kFormatArrl, "ARRL contest log", "log", true, true}, Make<ArrlLogFile>},
    {{kFormatCabrillo, "Cabrillo", "cbr", false, true}, Make<CabrilloLogFile>},
};

constexpr auto BuildFormatInfos() {
  std::array<FormatInfo, std::size(kFormats)> infos{};
  for (std::size_t i = 0; i < infos.size(); ++i) infos[i] = kFormats[i].info;
  return infos;
}
constexpr auto kFormatInfos = BuildFormatInfos();

}  // namespace

std::span<const FormatInfo> BuildFormats() {
  return kFormatInfos;
}

std::unique_ptr<LogFile> CreateLogFile(int code, Direction direction) {
  for (const FormatEntry& entry : kFormats) {
    if (entry.info.code != code) continue;
    bool allowed = direction == Direction::kInput ? entry.info.reads : entry.info.writes;
    return allowed ? entry.create() : nullptr;
  }
  return nullptr;
}

}  // namespace quorvel
