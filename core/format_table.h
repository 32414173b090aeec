// The format table: one row per format of the system's numbering, codes 1 to 14. A row says
// what the format is called, which extensions it has, how its input is recognised from the
// first bytes of a file, whether it reads and writes, and how its object is made. Detection,
// the factory, the help texts and the dialog's file filters all read the rows; the rows
// themselves are kept beside the formats (formats/format_table.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace quorvel {

class LogFile;

/// The first 80 bytes of an input file (zeros past a shorter file) and an upper-case copy of
/// its first 79, as the first-bytes tests look at them.
struct FormatProbe {
  static constexpr std::size_t kSize = 80;
  unsigned char raw[kSize] = {};
  char upper[kSize] = {};  // NUL-terminated

  /// True when the raw bytes at `at` are `text`, case-sensitively.
  bool RawIs(std::size_t at, std::string_view text) const;
  /// True when the upper-case copy contains `text` anywhere.
  bool UpperContains(std::string_view text) const;
};

/// What a format does with an output file.
enum class FormatOutput : std::uint8_t {
  kNone,        // it cannot be an output
  kWrites,      // it writes logs; its extension names it as the output format
  kObjectOnly,  // its object can be made for output, but it writes nothing (refuses every log)
};

struct FormatRow {
  int code;
  std::string_view name;
  /// Extensions without the dot, the first also the output extension; an empty one is none.
  std::string_view extensions[2];
  /// The first-bytes test of an input with one of the extensions; null: never an input.
  bool (*recognises)(const FormatProbe& probe, std::string_view extension);
  bool reads;
  FormatOutput output;
  /// Makes the format's object; null for a format this build does not have.
  std::unique_ptr<LogFile> (*create)();

  bool HasExtension(std::string_view extension) const;
  bool Built() const { return create != nullptr; }
};

/// Every format, in the order in which input detection tries them.
std::span<const FormatRow> FormatRows();

/// The row of a format code, or null.
const FormatRow* FindFormatRow(int code);

}  // namespace quorvel
