// NA binary logs (.qdf) of two generations: an 800-byte station and contest header, then one
// 40-byte record per QSO, little-endian, with blank-padded text fields. Read only. The
// generations share the record and most of the header; they name the contest differently
// (the older by number, the newer by name) and differ in a few record fields.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/byte_order.h"
#include "core/log_file.h"

namespace quorvel {

inline constexpr std::size_t kNaHeaderSize = 800;
inline constexpr std::size_t kNaRecordSize = 40;
/// Seconds from 1970-01-01 to 1980-01-01, where NA times start.
inline constexpr std::int64_t kNaTimeOffset = 315532800;

enum class NaGeneration : std::uint8_t { kOlder, kNewer };

/// The band code of an NA frequency (units of 100 Hz): the first band whose upper edge, in
/// whole MHz, is not below the frequency in whole MHz. 2 MHz or less (0 and negative
/// frequencies included) is 160 m; above the last edge (250000 MHz) there is no band (0).
std::uint8_t NaBandFromFrequency(std::int64_t frequency);

/// What the two NA readers share; NaLogFile and NaOldLogFile choose the generation.
class NaBinaryLogFile : public LogFile {
 public:
  /// Reading: fails when the file cannot be opened, its header is shorter than 800 bytes, or
  /// its contest (older generation) or category (newer) number lies outside the format's
  /// tables. Writing only opens the file: NA logs are never written.
  int Open(const char* path, unsigned mode) override;
  /// Reads the next whole record; a partial record at the end of the file ends the log.
  int ReadQso(QsoRecord& record) override;

 protected:
  explicit NaBinaryLogFile(NaGeneration generation) : generation(generation) {}

 private:
  using Record = ByteLayout<kNaRecordSize>;
  using RecordView = ByteView<kNaRecordSize>;

  bool ReadContest();
  void ReadHeaderTexts();
  void ReadOwnExchange();
  void ReadExchange(const RecordView& raw, QsoRecord& record) const;

  NaGeneration generation;
  ByteLayout<kNaHeaderSize> raw_header;
};

/// The newer generation (input format code 10): first byte 'Z' or above.
class NaLogFile final : public NaBinaryLogFile {
 public:
  NaLogFile() : NaBinaryLogFile(NaGeneration::kNewer) {}
};

/// The older generation (input format code 6): first byte 'P' to 'Y'.
class NaOldLogFile final : public NaBinaryLogFile {
 public:
  NaOldLogFile() : NaBinaryLogFile(NaGeneration::kOlder) {}
};

}  // namespace quorvel
