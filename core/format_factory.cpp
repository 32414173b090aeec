#include "core/format_factory.h"

#include "formats/adif_log_file.h"
#include "formats/arrl_log_file.h"
#include "formats/cabrillo_log_file.h"
#include "formats/ct8_log_file.h"

namespace quorvel {
namespace {

struct FormatEntry {
  int code;
  bool reads;
  bool writes;
  std::unique_ptr<LogFile> (*create)();
};

template <typename Format>
std::unique_ptr<LogFile> Make() {
  return std::make_unique<Format>();
}

// Every format of this build: one row per format class. The sentinel row keeps the table
// non-empty and matches no code.
constexpr FormatEntry kFormats[] = {
    {kFormatNone, false, false, nullptr},
    {kFormatAdif, true, true, Make<AdifLogFile>},
    {kFormatCt8, true, true, Make<Ct8LogFile>},
    {kFormatArrl, true, true, Make<ArrlLogFile>},
    {kFormatCabrillo, false, true, Make<CabrilloLogFile>},
};

}  // namespace

std::unique_ptr<LogFile> CreateLogFile(int code, Direction direction) {
  for (const FormatEntry& entry : kFormats) {
    if (entry.code != code || entry.create == nullptr) continue;
    bool allowed = direction == Direction::kInput ? entry.reads : entry.writes;
    return allowed ? entry.create() : nullptr;
  }
  return nullptr;
}

}  // namespace quorvel
