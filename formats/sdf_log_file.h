// DXBase files (.sdf), written only: one record of 127 characters and CR LF per QSO, without a
// file header. The received exchange is packed into the record by the log's contest, and the
// section table (stsec.dat) turns a received section into a two-letter state code.
#pragma once

#include <memory>

#include "core/log_file.h"
#include "refdata/section_table.h"

namespace quorvel {

class SdfLogFile : public LogFile {
 public:
  /// Opens the file for writing (binary) and loads the section table; 0 when the file cannot
  /// be created.
  int Open(const char* path, unsigned mode) override;
  /// Keeps the header; every contest is accepted and nothing is written.
  int WriteHeader(ContestHeader source) override;
  /// One record; 0, with nothing written, for a band above 2 m or a year the two-digit year
  /// of the record cannot say (before 1950, after 2049).
  int WriteQso(const QsoRecord& record) override;

  static constexpr std::size_t kRecordLength = 127;

 private:
  void PutStateCode(std::string_view key, char* record) const;

  std::unique_ptr<SectionTable> section_table;
};

}  // namespace quorvel
