// DX spot collections read as logs, one QSO per spot: DX Cluster spot listings (85-character
// lines) and DX Info spot files (79-character lines), both `.dat`. Read only. Each spot's band
// and mode follow from its frequency, its CQ zone from the country file, and the log's contest
// is always CQ WW.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/log_file.h"
#include "core/raw_qso.h"
#include "refdata/country_table.h"

namespace quorvel {

/// A DX Cluster spot line: 85 characters and its line end.
inline constexpr std::size_t kDxClusterRecordSize = 86;
/// A DX Info spot line: 79 characters and its line end.
inline constexpr std::size_t kDxInfoRecordSize = 80;

/// Band and mode of a spot frequency, from the spot frequency table.
struct SpotBand {
  std::uint8_t band = 0;
  std::uint8_t mode = 0;
};

/// The band and mode of a spot on `khz` whole kHz: the first row of the table whose upper
/// limit is not below the frequency. 0 kHz (and less) and frequencies above the last row
/// (24250000 kHz) give neither.
SpotBand SpotBandFromKhz(std::int64_t khz);

/// The calendar fields of a spot as its line gives them, UTC, seconds 0.
struct SpotTime {
  std::int64_t year = 0;  // the full year
  std::int64_t month = 1;
  std::int64_t day = 0;
  std::int64_t hour = 0;
  std::int64_t minute = 0;
};

/// What both spot readers share: opening, the country table and the end at a failed record.
class SpotLogFile : public LogFile {
 public:
  /// Reading: opens the file in text mode, sets the log's contest to CQ WW and loads the
  /// country file; nothing is read from the file. Writing only opens the file; both formats
  /// refuse every log (WriteHeader is the base version, which returns 0).
  int Open(const char* path, unsigned mode) override;

  /// A copy of the log's header.
  ContestHeader GetHeader() const { return header; }

 protected:
  /// Reads the next `size` characters and returns them: where they lie in the read buffer when
  /// they are all there and read as they stand (no carriage return among them), as they mostly
  /// are; else copied into `copy` (room for `size` + 1), NUL-filled past what the file still
  /// holds, so that a last line without its line end is handed over too, and terminated.
  /// `length` is how many characters the file still held. The bytes last until the next read.
  const char* ReadSpotLine(char* copy, std::size_t size, std::size_t& length);
  /// Ends the log at a record that fails its format check (`length` characters read): the
  /// normal end when nothing but blanks and line ends was left of the file, else the reader
  /// stops at the record's first byte. Returns 0.
  int EndAtFailedRecord(const char* line, std::size_t length);

  /// The country file loaded for reading; null before Open.
  const CountryTable* Countries() const { return country_table.get(); }

 private:
  std::unique_ptr<CountryTable> country_table;
  std::int64_t record_start = 0;  // file offset of the record ReadSpotLine read last
};

/// DX Cluster spot listings (input format code 11).
class DxClusterFile final : public SpotLogFile {
 public:
  /// The next spot line; 0 at the end of the file or on a line whose first column is no digit
  /// or without '-' at column 25 and 'Z' at column 39 (where the reader stops).
  int ReadQso(QsoRecord& record) override;
};

/// DX Info spot files (input format code 8).
class DxInfoFile final : public SpotLogFile {
 public:
  int Open(const char* path, unsigned mode) override;
  /// The next spot line; 0 at the end of the file or on a line whose first word does not
  /// begin with 'O' (where the reader stops).
  int ReadQso(QsoRecord& record) override;
  /// Reading in two steps: ReadRawQso takes a spot line and checks its mark, a maker reads
  /// the QSO from its words, so that reading ahead can share the work between its threads.
  std::unique_ptr<QsoMaker> NewQsoMaker() const override;
  int ReadRawQso(RawQso& raw) override;

 private:
  RawQso raw_line;                      // the line of ReadQso
  std::unique_ptr<QsoMaker> own_maker;  // the maker of ReadQso
};

}  // namespace quorvel
