// CT logs older than version 8, read only: a 398-byte header with the station, the contest
// keyword and the log's mode as texts, then 37-byte QSO records.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/byte_order.h"
#include "core/log_file.h"

namespace quorvel {

inline constexpr std::size_t kCtOldHeaderSize = 398;
inline constexpr std::size_t kCtOldRecordSize = 37;

class CtOldLogFile : public LogFile {
 public:
  /// Reading only: fails when the file cannot be opened, its header is shorter than 398 bytes,
  /// its times are not kept in UTC, or its contest keyword names no contest.
  int Open(const char* path, unsigned mode) override;
  /// Reads the next whole record; a partial record at the end of the file ends the log.
  int ReadQso(QsoRecord& record) override;

 private:
  using RawHeader = ByteLayout<kCtOldHeaderSize>;
  using Record = ByteLayout<kCtOldRecordSize>;
  using RecordView = ByteView<kCtOldRecordSize>;

  bool ReadHeader();
  void ReadStation(const RawHeader& raw);
  void ReadOwnExchange(const RawHeader& raw);
  void ReadExchange(const RecordView& raw, std::string_view exchange, QsoRecord& record) const;

  // The mode of records that name none: the log's own, from this file's header.
  std::uint8_t default_mode = 0;
};

}  // namespace quorvel
