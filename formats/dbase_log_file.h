// dBase III tables (.dbf), written only: a 32-byte file header, one 32-byte descriptor per
// column, fixed-length records and an end-of-file byte. The columns are a common set (call,
// date, time, band, mode and reports) and those of the log's contest; the conversion options
// add a QSO number and the exact frequency, make the band numeric and rename the time columns.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/byte_order.h"
#include "core/log_file.h"

namespace quorvel {

class DbaseLogFile : public LogFile {
 public:
  /// Ends the table (the end-of-file byte) and writes the file header again with the final
  /// record count. After an Open that failed it does nothing.
  int Close() override;
  /// Opens the file for writing (binary); 0 when it cannot be created.
  int Open(const char* path, unsigned mode) override;
  /// Chooses the columns by contest and options and writes the file header and descriptors.
  /// Every contest is accepted.
  int WriteHeader(ContestHeader source) override;
  /// Writes one record; 0 for a QSO whose year the date column cannot hold.
  int WriteQso(const QsoRecord& record) override;

  /// What a column holds.
  enum class Content : std::uint8_t;
  struct Column {
    char name[12];
    char type;  // 'C' text, 'N' number, 'D' date
    std::uint8_t length;
    std::uint8_t decimals;
    Content content;
  };
  /// The columns of a log of `contest` written with `options`, in order.
  static std::vector<Column> ColumnsFor(int contest, const ConversionOptions& options);

 private:
  void WriteColumn(const Column& column, const QsoRecord& record, char* field) const;

  ByteLayout<32> file_header;
  std::vector<Column> columns;
  std::string record_bytes;  // one record, reused
  bool header_written = false;
};

}  // namespace quorvel
