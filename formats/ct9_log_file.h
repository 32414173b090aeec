// CT version 9 binary logs, read only: a 4096-byte header whose first 1024 bytes have the
// version 8 layout with a few fields of their own, then 50-byte QSO records with the frequency
// in Hz and the version's own mode and band numbers.
#pragma once

#include <cstddef>

#include "core/byte_order.h"
#include "core/log_file.h"
#include "formats/ct8_log_file.h"

namespace quorvel {

inline constexpr std::size_t kCt9HeaderSize = 4096;

class Ct9LogFile : public LogFile {
 public:
  /// Reading only: fails when the file cannot be opened, its header is shorter than 4096
  /// bytes, or its CT contest number names no contest.
  int Open(const char* path, unsigned mode) override;
  /// Reads the next whole record; a partial record at the end of the file ends the log.
  int ReadQso(QsoRecord& record) override;

  /// The CT version that wrote the log, in hundredths (CT 9.37 is 937).
  int VersionHundredths() const { return version_hundredths; }

 private:
  using Record = ByteLayout<kCt8RecordSize>;
  using RecordView = ByteView<kCt8RecordSize>;

  bool ReadHeader();
  void ReadExchange(const RecordView& raw, QsoRecord& record) const;

  int version_hundredths = 0;
  bool times_in_utc = false;
};

/// The version in hundredths of a CT version text such as "9.37" (937) or "9.4" (940); digits
/// past the hundredths are ignored, and a text without digits is 0.
int CtVersionHundredths(std::string_view text);

}  // namespace quorvel
