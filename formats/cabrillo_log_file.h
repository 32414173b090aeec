// Cabrillo contest logs (.cbr), written only: keyword lines, one "QSO:" line per contact in the
// column layout of the log's contest, and a closing "END-OF-LOG:" line. Contests without a
// Cabrillo name and layout are refused when the header is written.
#pragma once

#include "core/civil_time.h"
#include "core/log_file.h"
#include "formats/text_line.h"
#include "refdata/country_table.h"

namespace quorvel {

class CabrilloLogFile : public LogFile {
 public:
  /// Writes "END-OF-LOG:" (once, while the file is open), then closes.
  int Close() override;
  /// Opens the file for writing; the header call becomes "NOCALL".
  int Open(const char* path, unsigned mode) override;
  /// Writes the keyword lines, keeps the header and decides from cqww.cty whether the own
  /// station is in the USA, Alaska, Hawaii or Canada. 0, with nothing written, for a contest
  /// without a Cabrillo name.
  int WriteHeader(ContestHeader source) override;
  /// Writes one "QSO:" line; 0 when the log's contest has no layout.
  int WriteQso(const QsoRecord& record) override;

  /// True when the own call is empty or resolves to W, KH6, KL7 or VE.
  bool NorthAmerican() const { return northAmerican; }

 private:
  // The columns every QSO line begins with.
  struct QsoStart {
    char frequency[16];
    const char* mode;
    CivilTime time;
  };

  /// The serial sent: the one the input logged, else the running QSO number.
  int SentSerial(const QsoRecord& record) const { return record.stx != 0 ? record.stx : qso_count; }
  void WriteKeywordLine(const char* keyword, const char* value);
  static void AppendQsoStart(TextLine& line, const QsoStart& start);
  void DecideNorthAmerican();
  void AppendReports(TextLine& line, const QsoStart& start, const QsoRecord& record) const;
  void AppendSweepstakes(TextLine& line, const QsoStart& start, const QsoRecord& record) const;
  void AppendVhf(TextLine& line, const QsoStart& start, const QsoRecord& record) const;
  void AppendQsoParty(TextLine& line, const QsoStart& start, const QsoRecord& record) const;
  void AppendNaqp(TextLine& line, const QsoStart& start, const QsoRecord& record) const;

  bool northAmerican = false;
  CountryTable countryTable;
  LineWord ownCall{std::string_view{}};  // the own call as the QSO lines print it
};

}  // namespace quorvel
