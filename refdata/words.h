// Splitting a line of a reference file into words, the way both reference files are read.
#pragma once

#include <cstddef>
#include <string_view>

namespace quorvel {

/// One word of a line and the position where it begins.
struct Word {
  std::string_view text;
  std::size_t start = 0;
};

/// True when `c` is one of the few `delimiters`. A plain loop: the tables are loaded at the
/// start of every conversion, a character at a time, and a search call per character costs
/// more than the whole rest of the loading.
inline bool IsDelimiter(char c, std::string_view delimiters) {
  for (char delimiter : delimiters) {
    if (c == delimiter) return true;
  }
  return false;
}

/// The next word of `line` at or after `pos`: delimiters are skipped first, then the word runs
/// to the next delimiter, which is consumed with it. An empty text when the line has no more
/// words. `pos` is left after the consumed delimiter.
inline Word NextWord(std::string_view line, std::size_t& pos, std::string_view delimiters) {
  while (pos < line.size() && IsDelimiter(line[pos], delimiters)) ++pos;
  std::size_t start = pos;
  while (pos < line.size() && !IsDelimiter(line[pos], delimiters)) ++pos;
  Word word{line.substr(start, pos - start), start};
  if (pos < line.size()) ++pos;
  return word;
}

/// The text of a line as the tables read it: up to its first carriage return.
inline std::string_view UpToCarriageReturn(std::string_view line) {
  return line.substr(0, line.find('\r'));
}

}  // namespace quorvel
