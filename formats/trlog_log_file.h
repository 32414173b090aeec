// TR Log page listings (.dat), read and written: pages of 50 QSOs, each page a title line (year,
// contest, own call), column titles and dashes, then one fixed-column line per QSO with a
// blank line every ten. The columns after the call depend on the contest.
#pragma once

#include <string>
#include <string_view>

#include "core/log_file.h"
#include "formats/remembered_day.h"

namespace quorvel {

class TrLogFile : public LogFile {
 public:
  /// Reading: takes year, contest and own call from the title line; a log of a contest the
  /// title does not name looks for a "Sent" column in its column titles. Writing: only opens
  /// the file (new, never replacing one).
  int Open(const char* path, unsigned mode) override;
  /// Keeps the header; 0 for a contest the listing cannot name (0, or above 33).
  int WriteHeader(ContestHeader source) override;
  /// The next QSO line; lines that are not QSO lines (titles, dashes, blank lines, form feeds)
  /// are passed over.
  int ReadQso(QsoRecord& record) override;
  /// One QSO line, after a page header or a blank line where one is due; 0 for a QSO of a
  /// year the two-digit year column cannot give back (before 1950, after 2049).
  int WriteQso(const QsoRecord& record) override;

  /// A copy of the log's header.
  ContestHeader GetHeader() const { return header; }

 private:
  bool ReadTitle(const std::string& title);
  int ContestOfTitleName(std::string_view name) const;
  bool FindSentColumn();
  bool NextLine(std::string_view& text);
  void WritePageHeader(const QsoRecord& record);

  bool sent_column = false;  // contest 28: the reports stand in their own columns
  bool text_lines = true;    // opened in text mode: a carriage return ends a line
  std::string line;          // a line read by copying, kept for its capacity
  RememberedDay last_day;
};

}  // namespace quorvel
