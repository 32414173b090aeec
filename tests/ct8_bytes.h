// Hand-built CT version 8 files for the tests: bytes placed at explicit offsets, independent of
// the format class under test, and a reader that returns every QSO of a file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/qso_record.h"
#include "formats/ct8_log_file.h"

namespace quorvel::testing {

/// A block of bytes, zero until set, with little-endian numbers and texts put at offsets.
class Bytes {
 public:
  explicit Bytes(std::size_t size) : bytes(size, '\0') {}
  Bytes& U8(std::size_t at, unsigned value) {
    bytes.at(at) = static_cast<char>(value & 0xFF);
    return *this;
  }
  Bytes& U16(std::size_t at, int value) {
    return U8(at, static_cast<unsigned>(value)).U8(at + 1, static_cast<unsigned>(value) >> 8);
  }
  Bytes& U32(std::size_t at, std::int64_t value) {
    auto bits = static_cast<std::uint32_t>(value);
    return U16(at, static_cast<int>(bits & 0xFFFF)).U16(at + 2, static_cast<int>(bits >> 16));
  }
  Bytes& Text(std::size_t at, std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) bytes.at(at + i) = text[i];
    return *this;
  }
  std::uint8_t At(std::size_t at) const { return static_cast<std::uint8_t>(bytes.at(at)); }
  int Word(std::size_t at) const { return At(at) | At(at + 1) << 8; }
  std::uint32_t Long(std::size_t at) const {
    return static_cast<std::uint32_t>(Word(at)) | static_cast<std::uint32_t>(Word(at + 2)) << 16;
  }
  const std::string& Str() const { return bytes; }

 private:
  std::string bytes;
};

/// A CT 8 file header with its signature and a CT contest number; nothing else set.
inline Bytes Ct8Header(int ct_contest_number) {
  Bytes header(1024);
  header.Text(32, "CT 8.19").U8(256, static_cast<unsigned>(ct_contest_number));
  return header;
}

/// A CT 8 QSO record: call, CT band number, mode, report word and exchange text, at
/// 2000-01-01 00:00 UTC (stored seven hours ahead), aux digit '0'.
inline Bytes Ct8Qso(std::string_view call, int ct_band, int mode, int report_word,
                    std::string_view exchange) {
  Bytes qso(50);
  qso.Text(0, call).Text(16, exchange).U8(24, ct_band).U8(25, mode).U16(28, report_word);
  qso.U8(27, '0').U32(42, 946684800 + 7 * 3600);
  return qso;
}

/// The bytes of a header followed by records.
inline std::string Ct8File(const Bytes& header, const std::vector<Bytes>& qsos) {
  std::string file = header.Str();
  for (const Bytes& qso : qsos) file += qso.Str();
  return file;
}

/// Every QSO of an opened reader, read until it returns 0.
inline std::vector<QsoRecord> ReadAllQsos(LogFile& reader) {
  std::vector<QsoRecord> qsos;
  QsoRecord record;
  while (reader.ReadQso(record)) qsos.push_back(record);
  return qsos;
}

}  // namespace quorvel::testing
