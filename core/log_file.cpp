#include "core/log_file.h"

namespace quorvel {

LogFile::LogFile() = default;
LogFile::~LogFile() = default;

int LogFile::WriteHeader(ContestHeader) {
  return 0;
}

int LogFile::SetOptions(const ConversionOptions* source) {
  if (source == nullptr) return 0;
  options = *source;
  return 1;
}

int LogFile::ParseOptions(const char* text) {
  return ParseFormatOptions(text, options, header);
}

int LogFile::ReadQso(QsoRecord&) {
  return 0;
}

int LogFile::WriteQso(const QsoRecord&) {
  return 0;
}

}  // namespace quorvel
