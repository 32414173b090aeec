// Format codes, format detection and the factory that creates a format object for a code.
#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include "core/log_file.h"

namespace quorvel {

/// Input and output formats share one numbering; 0 = no format.
enum FormatCode : int {
  kFormatNone = 0,
  kFormatCtOld = 1,
  kFormatCt8 = 2,
  kFormatCt9 = 3,
  kFormatTrLog = 4,
  kFormatDbase = 5,
  kFormatNaOld = 6,
  kFormatWrtc = 7,
  kFormatDxInfo = 8,
  kFormatDxBase = 9,
  kFormatNaNew = 10,
  kFormatDxCluster = 11,
  kFormatAdif = 12,
  kFormatArrl = 13,
  kFormatCabrillo = 14
};

enum class Direction { kInput, kOutput };

/// Creates the format object of a code for reading or writing, or null when this build has no
/// such format in that direction.
using FormatCreator = std::function<std::unique_ptr<LogFile>(int code, Direction direction)>;

/// The object of a format code for reading or writing, from the format table; null when the
/// format cannot be used that way or this build does not have it.
std::unique_ptr<LogFile> CreateLogFile(int code, Direction direction);

/// Opens `path` read-binary, detects its input format code and closes it again.
int DetectInputFormat(const char* path);

/// Output format code for a file name's extension; 0 when it names no output format.
int OutputFormatFromExtension(const char* path);

}  // namespace quorvel
