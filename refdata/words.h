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

/// The next word of `line` at or after `pos`: delimiters are skipped first, then the word runs
/// to the next delimiter, which is consumed with it. An empty text when the line has no more
/// words. `pos` is left after the consumed delimiter.
inline Word NextWord(std::string_view line, std::size_t& pos, std::string_view delimiters) {
  while (pos < line.size() && delimiters.find(line[pos]) != std::string_view::npos) ++pos;
  std::size_t start = pos;
  while (pos < line.size() && delimiters.find(line[pos]) == std::string_view::npos) ++pos;
  Word word{line.substr(start, pos - start), start};
  if (pos < line.size()) ++pos;
  return word;
}

/// The text of a line as the tables read it: up to its first carriage return.
inline std::string_view UpToCarriageReturn(std::string_view line) {
  return line.substr(0, line.find('\r'));
}

}  // namespace quorvel
