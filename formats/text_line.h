// One line of a text log file, built from printf-style pieces in a bounded buffer and written
// with a single block write. Text that would run past the buffer is cut.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "core/decimal_text.h"
#include "core/log_stream.h"
#include "core/text_field.h"

namespace quorvel {

class TextLine {
 public:
  static constexpr std::size_t kRoom = 512;

  /// Appends printf-style text; what does not fit the line is cut.
  void Append(const char* format, ...) __attribute__((format(printf, 2, 3)));

  /// Appends text as it is; what does not fit the line is cut.
  void AppendText(std::string_view piece) {
    std::size_t room = kRoom - 1 - length;
    std::size_t count = piece.size() < room ? piece.size() : room;
    std::memcpy(text + length, piece.data(), count);
    length += count;
  }

  /// Appends one character; cut like any text.
  void AppendChar(char c) { AppendText({&c, 1}); }

  /// Appends a column as "%*s" (`width` >= 0) or "%-*s" (`width` < 0) prints it: the text
  /// padded with blanks in front, or behind, to |`width`| characters; a longer text is kept
  /// whole. The columns of the lines that every QSO writes are built with these rather than
  /// with printf, which costs more than all the rest of a conversion.
  void AppendColumn(std::string_view piece, int width) {
    std::size_t room = static_cast<std::size_t>(width < 0 ? -width : width);
    std::size_t blanks = piece.size() < room ? room - piece.size() : 0;
    if (width < 0) AppendText(piece);
    AppendBlanks(blanks);
    if (width >= 0) AppendText(piece);
  }
  /// A number as "%0*d" prints it (and so as "%d" and "%02d").
  void AppendDecimal(std::int64_t value, int min_digits = 1) {
    AppendText(Decimal(value, min_digits).View());
  }
  /// A number as "%*d" (`width` >= 0) or "%-*d" (`width` < 0) prints it.
  void AppendPaddedDecimal(std::int64_t value, int width) {
    AppendText(PaddedDecimal(value, width).View());
  }

  std::string_view Text() const { return {text, length}; }
  /// Writes the line as one block; 1 while the stream is usable.
  int WriteTo(LogStream& stream) const { return stream.WriteBlock(text, length); }

 private:
  void AppendBlanks(std::size_t count) {
    std::size_t room = kRoom - 1 - length;
    if (count > room) count = room;
    std::memset(text + length, ' ', count);
    length += count;
  }

  char text[kRoom];
  std::size_t length = 0;
};

inline void TextLine::Append(const char* format, ...) {
  if (length + 1 >= kRoom) return;
  std::va_list args;
  va_start(args, format);
  int added = std::vsnprintf(text + length, kRoom - length, format, args);
  va_end(args);
  if (added < 0) return;
  std::size_t grown = length + static_cast<std::size_t>(added);
  length = grown < kRoom - 1 ? grown : kRoom - 1;
}

/// A text printed as one word of a line: blanks and control characters inside it become '_',
/// so that the text neither splits into two words nor breaks the line; an empty text is
/// printed as `if_empty`. The copy is always terminated, also for a field that lacks its NUL.
class LineWord {
 public:
  explicit LineWord(std::string_view value, std::string_view if_empty = {}) {
    if (value.empty()) value = if_empty;
    std::size_t count = value.size() < sizeof text ? value.size() : sizeof text - 1;
    for (std::size_t i = 0; i < count; ++i) {
      unsigned char c = static_cast<unsigned char>(value[i]);
      text[i] = (c <= ' ' || c == 0x7F) ? '_' : value[i];
    }
    text[count] = '\0';
  }
  template <std::size_t N>
  explicit LineWord(const char (&field)[N], std::string_view if_empty = {})
      : LineWord(FieldText(field), if_empty) {}

  const char* c_str() const { return text; }

 private:
  char text[64];
};

}  // namespace quorvel
