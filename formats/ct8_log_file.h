// CT version 8 binary logs: a 1024-byte station and contest header, then one 50-byte record
// per QSO, little-endian, with NUL-padded text fields. Read and written.
#pragma once

#include <cstddef>
#include <optional>

#include "core/byte_order.h"
#include "core/log_file.h"

namespace quorvel {

inline constexpr std::size_t kCt8HeaderSize = 1024;
inline constexpr std::size_t kCt8RecordSize = 50;

/// CT version 9 keeps the first 1024 bytes of its header in the version 8 layout, with a few
/// fields of its own.
enum class CtHeaderVersion { k8, k9 };

/// The contest header held by the first 1024 bytes of a CT version 8 or 9 log; nullopt when
/// its CT contest number names no contest.
std::optional<ContestHeader> ReadCtHeader(const ByteLayout<kCt8HeaderSize>& raw,
                                          CtHeaderVersion version);

class Ct8LogFile : public LogFile {
 public:
  /// Reading: fails when the file cannot be opened, its header is shorter than 1024 bytes, or
  /// its CT contest number names no contest. Writing only creates the file.
  int Open(const char* path, unsigned mode) override;
  /// Writes the 1024-byte header; 0 (and the file closed) for a contest CT has no number for.
  int WriteHeader(ContestHeader source) override;
  /// Reads the next whole record; a partial record at the end of the file ends the log.
  int ReadQso(QsoRecord& record) override;
  int WriteQso(const QsoRecord& record) override;

 private:
  using Record = ByteLayout<kCt8RecordSize>;
  using RecordView = ByteView<kCt8RecordSize>;

  void FillRawHeader(int ct_number);
  void FillContestFields();
  void ReadExchange(const RecordView& raw, QsoRecord& record) const;
  static void ReadFieldDayClass(const RecordView& raw, QsoRecord& record);
  void WriteExchange(const QsoRecord& record, Record& raw) const;

  ByteLayout<kCt8HeaderSize> raw_header;
};

}  // namespace quorvel
