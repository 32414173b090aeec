// The ARRL text log (.log): one QSO per line, fields separated by blanks, no header. The file
// does not name its contest; it comes from the conversion options (-c) and decides the columns
// after the worked call.
#pragma once

#include <memory>
#include <string_view>

#include "core/log_file.h"

namespace quorvel {

class ArrlLogFile : public LogFile {
 public:
  /// Opens the file (text mode for reading); the header gets the contest of the options and
  /// the call "NOCALL". Reads nothing.
  int Open(const char* path, unsigned mode) override;
  /// Keeps the header when its contest is one the format has columns for; writes nothing.
  int WriteHeader(ContestHeader source) override;
  /// The next QSO line; 0 at the end of the file. Blank lines are passed over.
  int ReadQso(QsoRecord& record) override;
  /// Reading in two steps: ReadRawQso takes a line whole, a maker reads the record from its
  /// words, so that reading ahead can share the work between its threads.
  std::unique_ptr<QsoMaker> NewQsoMaker() const override;
  int ReadRawQso(RawQso& raw) override;
  /// Writes one QSO line; 0 when the log's contest has no columns here.
  int WriteQso(const QsoRecord& record) override;

  /// True for the ten contests the format has columns for.
  static bool SupportsContest(int contest);

 private:
  bool BufferedLine(std::string_view& line);
  bool ReadLogLine(char* line, int size);
  bool NextQsoLine(char* room, std::string_view& line);

  RawQso raw_line;                      // the line of ReadQso
  std::unique_ptr<QsoMaker> own_maker;  // the maker of ReadQso
};

}  // namespace quorvel
