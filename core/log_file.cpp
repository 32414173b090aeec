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

void LogFile::NoteStop(std::int64_t offset) {
  if (!notes.Stopped()) notes.stopped_at = offset;
}

bool LogFile::ReadRecordAcrossBuffer(void* buffer, std::size_t size) {
  std::int64_t start = Tell();
  if (ReadBlock(buffer, size)) return true;
  // Bytes left that make no whole record: the file is cut short (or could not be read there).
  if (start < FileSize()) NoteStop(start);
  return false;
}

int LogFile::EndOfText() {
  std::int64_t cut = TextCutAt();
  if (cut >= 0) NoteStop(cut);
  return 0;
}

int LogFile::ReadQso(QsoRecord&) {
  return 0;
}

std::unique_ptr<QsoMaker> LogFile::NewQsoMaker() const {
  return nullptr;
}

int LogFile::ReadRawQso(RawQso&) {
  return 0;
}

int LogFile::ReadQsoInTwoSteps(QsoRecord& record, RawQso& raw, std::unique_ptr<QsoMaker>& maker) {
  if (!ReadRawQso(raw)) {
    record.Clear();
    return 0;
  }
  if (!maker) maker = NewQsoMaker();
  if (!maker->Make(raw, record)) ++notes.undated_qsos;
  return 1;
}

int LogFile::WriteQso(const QsoRecord&) {
  return 0;
}

}  // namespace quorvel
