// Cabrillo contest logs (.cbr), read and written: keyword lines, one "QSO:" line per contact in
// the column layout of the log's contest, and a closing "END-OF-LOG:" line. Contests without a
// Cabrillo name and layout are refused when the header is written. Logs of versions 2.0 and 3.0
// are read, their QSO lines by words rather than by columns.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/civil_time.h"
#include "core/log_file.h"
#include "formats/cabrillo_layouts.h"
#include "formats/text_line.h"
#include "refdata/country_table.h"

namespace quorvel {

/// The day of the last QSO line read and its first second: the next lines mostly have it too.
struct CabrilloDay {
  static constexpr std::size_t kDateSize = 10;  // yyyy-mm-dd
  char date[kDateSize] = {};
  std::int64_t midnight = 0;
  bool known = false;
};

class CabrilloLogFile : public LogFile {
 public:
  /// Writes "END-OF-LOG:" (once, while the file is open), then closes.
  int Close() override;
  /// Writing: opens the file; the header call becomes "NOCALL". Reading: reads the keyword
  /// lines before the first QSO line into the header, and the own exchange from that line.
  int Open(const char* path, unsigned mode) override;
  /// Writes the keyword lines, keeps the header and decides from cqww.cty whether the own
  /// station is in the USA, Alaska, Hawaii or Canada. 0, with nothing written, for a contest
  /// without a Cabrillo name.
  int WriteHeader(ContestHeader source) override;
  /// Writes one "QSO:" line; 0 when the log's contest has no layout.
  int WriteQso(const QsoRecord& record) override;
  /// The next "QSO:" line that can be read; 0 at "END-OF-LOG:" or the end of the file. Lines
  /// that cannot be read and "X-QSO:" lines are passed over and counted in the notes.
  int ReadQso(QsoRecord& record) override;

  /// True when the own call is empty or resolves to W, KH6, KL7 or VE.
  bool NorthAmerican() const { return northAmerican; }

 private:
  // The columns every QSO line begins with.
  struct QsoStart {
    char frequency[16];
    std::string_view mode;
    CivilTime time;
  };

  /// The serial sent: the one the input logged, else the running QSO number.
  int SentSerial(const QsoRecord& record) const { return record.stx != 0 ? record.stx : qso_count; }
  void WriteKeywordLine(const char* keyword, const char* value);
  static void AppendQsoStart(TextLine& line, const QsoStart& start);
  void DecideNorthAmerican();
  void AppendReports(TextLine& line, const QsoStart& start, const cabrillo::Contest& contest,
                     const QsoRecord& record) const;
  void AppendSweepstakes(TextLine& line, const QsoStart& start, const QsoRecord& record) const;
  void AppendVhf(TextLine& line, const QsoStart& start, const QsoRecord& record) const;
  void AppendQsoParty(TextLine& line, const QsoStart& start, const QsoRecord& record) const;
  void AppendNaqp(TextLine& line, const QsoStart& start, const QsoRecord& record) const;

  bool ReadHeader();
  bool NextLine(std::string_view& text);
  void TakeOwnExchange(std::string_view qso_line);

  bool northAmerican = false;
  // Reading: the contest's layout, and whether "END-OF-LOG:" has been read.
  const cabrillo::Contest* reading = &cabrillo::kGeneralContest;
  bool log_ended = false;
  CabrilloDay day;
  std::string line;  // the line being read, kept for its capacity
  CountryTable countryTable;
  LineWord ownCall{std::string_view{}};  // the own call as the QSO lines print it
};

}  // namespace quorvel
