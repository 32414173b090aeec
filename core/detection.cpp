// Input detection by extension and first bytes, output format by extension: both read the
// format table, whose order is the order in which the rules are tried.
#include <cstring>
#include <string_view>

#include "core/format_factory.h"
#include "core/format_table.h"
#include "core/log_stream.h"
#include "core/numbers.h"

namespace quorvel {
namespace {

int DetectFromProbe(std::string_view extension, const FormatProbe& probe) {
  for (const FormatRow& row : FormatRows()) {
    if (row.recognises != nullptr && row.HasExtension(extension) &&
        row.recognises(probe, extension)) {
      return row.code;
    }
  }
  return kFormatNone;
}

}  // namespace

int LogStream::DetectType() {
  const char* extension = Extension();
  if (extension == nullptr) return kFormatNone;
  std::int64_t position = Tell();
  bool was_at_end = at_end;
  bool was_eof = eof;
  FormatProbe probe;
  if (IsOpen() && Seek(0)) {
    for (std::size_t got = 0; got < FormatProbe::kSize && ReadBlock(probe.raw + got, 1); ++got) {
    }
  }
  for (std::size_t i = 0; i + 1 < FormatProbe::kSize; ++i)
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
  for (const FormatRow& row : FormatRows()) {
    if (row.output == FormatOutput::kWrites && EqualsNoCase(row.extensions[0], extension)) {
      return row.code;
    }
  }
  return kFormatNone;
}

}  // namespace quorvel
