#include "synthetic_writers.h"

#include "core/format_factory.h"

namespace quorvel::bench {

std::unique_ptr<LogFile> CreateSyntheticWriter(int format_code) {
  switch (format_code) {
    case kFormatCt9:
      return CreateCt9Writer();
    case kFormatCtOld:
      return CreateCtOldWriter();
    case kFormatNaNew:
    case kFormatNaOld:
      return CreateNaWriter(format_code == kFormatNaNew);
    case kFormatDxCluster:
    case kFormatDxInfo:
      return CreateSpotWriter(format_code == kFormatDxCluster);
    case kFormatWrtc:
      return CreateWrtcWriter();
    default:
      return nullptr;
  }
}

}  // namespace quorvel::bench
