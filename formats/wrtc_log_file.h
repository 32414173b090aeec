// WRTC text logs (.log), read only: one QSO a line, words separated by blanks (number, own
// call, band in metres, mode, date, time, worked call, report, exchange). The own call and the
// year come from the first line, which is also the first QSO; the contest is always the IARU
// HF Championship.
#pragma once

#include <string>

#include "core/log_file.h"

namespace quorvel {

class WrtcLogFile final : public LogFile {
 public:
  /// Reading: takes the own call (the word at column 5) and the year (column 18 up to '/')
  /// from the first line and goes back to the start of the file. Writing only opens the file:
  /// WRTC logs are never written.
  int Open(const char* path, unsigned mode) override;
  /// The next line that has a word, read whole whatever its length; 0 at the end of the file
  /// or on a line whose mode word is neither "CW" nor "SSB". A line of fewer than nine words
  /// is a QSO with the fields it has.
  int ReadQso(QsoRecord& record) override;
  /// Reading in two steps: ReadRawQso takes a line's words, a maker reads the record from
  /// them, so that reading ahead can share the work between its threads.
  std::unique_ptr<QsoMaker> NewQsoMaker() const override;
  int ReadRawQso(RawQso& raw) override;

 private:
  void ReadHeaderLine();

  std::string line;  // a line that is not whole in the read buffer, kept for its capacity
  RawQso raw_line;   // the words of ReadQso's line
  std::unique_ptr<QsoMaker> own_maker;  // the maker of ReadQso
};

}  // namespace quorvel
