// A small line-per-QSO format used to test the factory, the Converter and the front end before
// any real format takes part. First line "TESTLOG <contest code>", then one call per line.
// It refuses Field Day logs and QSOs with the call REFUSE.
#pragma once

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "core/format_factory.h"
#include "core/log_file.h"
#include "core/numbers.h"

namespace quorvel::testing {

class LineFormat : public LogFile {
 public:
  int Open(const char* path, unsigned mode) override {
    if (!LogStream::Open(path, mode)) return 0;
    if (mode & kOpenWrite) return 1;
    char line[100];
    if (!ReadLine(line, sizeof line) || std::strncmp(line, "TESTLOG ", 8) != 0) return 0;
    header.contest = static_cast<std::uint8_t>(ParseLeadingInt(line + 8));
    if (header.contest == 0) header.contest = options.contest;
    std::strcpy(header.call, "N0CALL");
    return 1;
  }
  int WriteHeader(ContestHeader source) override {
    header = source;
    if (header.contest == kContestFd) return 0;
    return WriteText("TESTLOG " + std::to_string(header.contest) + " " + header.call + "\r\n");
  }
  int ReadQso(QsoRecord& record) override {
    record.Clear();
    char line[100];
    if (!ReadLine(line, sizeof line) || line[0] == '\0') return 0;
    record.SetCallText(line);
    ++qso_count;
    return 1;
  }
  int WriteQso(const QsoRecord& record) override {
    if (record.Call() == "REFUSE") return 0;
    ++qso_count;
    return WriteText(std::string(record.Call()) + "\r\n");
  }
};

/// Creates LineFormat for the ADIF code in both directions, and nothing else.
inline std::unique_ptr<LogFile> CreateLineFormat(int code, Direction) {
  if (code != kFormatAdif) return nullptr;
  return std::make_unique<LineFormat>();
}

}  // namespace quorvel::testing
