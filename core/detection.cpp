#include <cstring>
#include <string_view>

#include "core/format_factory.h"
#include "core/log_stream.h"
#include "core/numbers.h"

namespace quorvel {
namespace {

constexpr std::size_t kProbeSize = 80;
constexpr std::string_view kTrLogMarker = "BAND    DATE    TIME  QSO#  CALL";

struct Probe {
  unsigned char raw[kProbeSize] = {};
  char upper[kProbeSize] = {};  // first 79 bytes upper-cased, NUL-terminated

  bool RawIs(std::size_t at, std::string_view text) const {
    return std::memcmp(raw + at, text.data(), text.size()) == 0;
  }
  bool UpperContains(std::string_view text) const {
    return std::string_view(upper, std::strlen(upper)).find(text) != std::string_view::npos;
  }
};

int DetectBin(const Probe& probe) {
  if (probe.RawIs(32, "CT 9.")) return kFormatCt9;
  if (probe.RawIs(32, "CT 8.")) return kFormatCt8;
  return kFormatCtOld;
}

int DetectDat(const Probe& probe) {
  if (probe.UpperContains(kTrLogMarker)) return kFormatTrLog;
  if (IsDigit(static_cast<char>(probe.raw[0])) && probe.raw[25] == '-' && probe.raw[39] == 'Z') {
    return kFormatDxCluster;
  }
  if (probe.raw[0] == 'O') return kFormatDxInfo;
  return kFormatNone;
}

int DetectQdf(const Probe& probe) {
  if (probe.raw[0] >= 'Z') return kFormatNaNew;
  if (probe.raw[0] >= 'P') return kFormatNaOld;
  return kFormatNone;
}

int DetectLog(const Probe& probe) {
  if (probe.raw[22] == '/' && probe.raw[34] == ':') return kFormatWrtc;
  if (probe.raw[8] == '/' || probe.raw[9] == '/' || probe.raw[10] == '/') return kFormatArrl;
  return kFormatNone;
}

int DetectFromProbe(std::string_view extension, const Probe& probe) {
  if (EqualsNoCase(extension, "bin")) return DetectBin(probe);
  if (EqualsNoCase(extension, "dat")) return DetectDat(probe);
  if (EqualsNoCase(extension, "qdf")) return DetectQdf(probe);
  if (EqualsNoCase(extension, "log")) return DetectLog(probe);
  if (EqualsNoCase(extension, "adi")) return kFormatAdif;
  if (EqualsNoCase(extension, "cbr")) return kFormatCabrillo;
  return kFormatNone;
}

}  // namespace

int LogStream::DetectType() {
  const char* extension = Extension();
  if (extension == nullptr) return kFormatNone;
  std::int64_t position = Tell();
  bool was_at_end = at_end;
  bool was_eof = eof;
  Probe probe;
  if (IsOpen() && Seek(0)) {
    for (std::size_t got = 0; got < kProbeSize && ReadBlock(probe.raw + got, 1); ++got) {
    }
  }
  for (std::size_t i = 0; i + 1 < kProbeSize; ++i)
    probe.upper[i] = ToUpper(static_cast<char>(probe.raw[i]));
  if (IsOpen()) Seek(position);
  at_end = was_at_end;
  eof = was_eof;
  return DetectFromProbe(extension, probe);
}

int DetectInputFormat(const char* path) {
  LogStream stream;
  stream.Open(path, kModeReadBinary);
  return stream.DetectType();
}

int OutputFormatFromExtension(const char* path) {
  if (path == nullptr) return kFormatNone;
  const char* dot = std::strrchr(path, '.');
  if (dot == nullptr) return kFormatNone;
  std::string_view extension{dot + 1};
  constexpr std::pair<std::string_view, int> kOutputs[] = {
      {"bin", kFormatCt8},  {"dbf", kFormatDbase}, {"dat", kFormatTrLog},   {"sdf", kFormatDxBase},
      {"log", kFormatArrl}, {"adi", kFormatAdif},  {"cbr", kFormatCabrillo}};
  for (const auto& [name, code] : kOutputs) {
    if (EqualsNoCase(extension, name)) return code;
  }
  return kFormatNone;
}

}  // namespace quorvel
