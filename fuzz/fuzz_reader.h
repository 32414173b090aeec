// Checks every fuzz target makes of a reader: each QSO it returns keeps its texts within their
// fields, its QSO count is the number of QSOs it returned, and a byte it stopped at lies in the
// file.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/converter.h"
#include "core/log_file.h"
#include "formats/ct8_log_file.h"

namespace quorvel::fuzzing {

inline bool Terminated(const char* field, std::size_t width) {
  return field[width - 1] == '\0';
}

inline void CheckTexts(const QsoRecord& record) {
  if (!Terminated(record.call, sizeof record.call) ||
      !Terminated(record.rcvd_exch, sizeof record.rcvd_exch) ||
      !Terminated(record.name, sizeof record.name) ||
      !Terminated(record.arrl_sect, sizeof record.arrl_sect) ||
      !Terminated(record.comment, sizeof record.comment)) {
    __builtin_trap();
  }
}

/// A reader that stopped early stopped at a byte of its file: 0 up to the file's size.
inline void CheckStop(const ReadingNotes& notes, std::int64_t file_size) {
  if (notes.stopped_at < -1 || notes.stopped_at > file_size) __builtin_trap();
}

/// Opens `path` with a `Reader` and reads every QSO; the number read (0 when it cannot open).
template <typename Reader>
int ReadEveryQso(const char* path) {
  Reader reader;
  if (!reader.Open(path, kModeReadText)) return 0;
  QsoRecord record;
  int count = 0;
  while (reader.ReadQso(record)) {
    CheckTexts(record);
    ++count;
  }
  if (count != reader.QsoCount()) __builtin_trap();
  CheckStop(reader.Notes(), reader.FileSize());
  return count;
}

/// Converts `path` as quorvelcon would into a new CT 8 log and reads that back: it holds every
/// QSO the conversion counted except those the CT 8 writer refused (times past 2038, say).
inline void ConvertToCt8(const char* path) {
  std::string output = "/tmp/quorvel-fuzz-" + std::to_string(::getpid()) + "-out.bin";
  std::remove(output.c_str());
  {
    Converter converter;
    if (!converter.OpenInput(path) || !converter.OpenOutput(output.c_str(), 0)) {
      std::remove(output.c_str());
      return;
    }
    RunToEnd(converter);
    CheckStop(converter.Notes(), converter.InputSize());
    if (ReadEveryQso<Ct8LogFile>(output.c_str()) != converter.Converted() - converter.Unwritten()) {
      __builtin_trap();
    }
  }
  std::remove(output.c_str());
}

}  // namespace quorvel::fuzzing
