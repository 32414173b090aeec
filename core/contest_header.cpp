#include "core/contest_header.h"

#include <cstring>

#include "core/numbers.h"
#include "core/text_field.h"

namespace quorvel {
namespace {

// Options are plain texts searched anywhere in the option text, so they may stand in any order,
// need no blanks between them, and also count when they stand inside the comment.
bool Contains(std::string_view text, std::string_view option) {
  return text.find(option) != std::string_view::npos;
}

// The contest code named right after the first occurrence of `marker`, or `unchanged`.
int ContestAfter(std::string_view text, std::string_view marker, int unchanged) {
  std::size_t at = text.find(marker);
  if (at == std::string_view::npos) return unchanged;
  int code = ContestFromKeywordPrefix(text.substr(at + marker.size()));
  return code != 0 ? code : unchanged;
}

// The comment between the first double quote after `marker` and the next one (or the end).
void TakeComment(std::string_view text, std::string_view marker, ConversionOptions& options) {
  std::size_t at = text.find(marker);
  if (at == std::string_view::npos) return;
  std::memset(options.comment, 0, sizeof options.comment);
  std::size_t open = text.find('"', at + marker.size());
  if (open == std::string_view::npos) return;
  std::string_view rest = text.substr(open + 1);
  rest = rest.substr(0, rest.find('"'));
  CopyCut(options.comment, rest.substr(0, kCommentLimit));
}

struct OptionNames {
  std::string_view approach, band_numeric, freq, qso_number, contest, comment;
};
constexpr OptionNames kUpperNames{"-TAPPROACH", "-BNUMERIC", "-FREQ", "-QSONUM", "-C", "-N"};
constexpr OptionNames kExactNames{"-tApproach", "-bNumeric", "-freq", "-qsonum", "-c", "-n"};

void TakeFlags(std::string_view text, const OptionNames& names, ConversionOptions& options) {
  if (Contains(text, names.approach)) options.approach = 1;
  if (Contains(text, names.band_numeric)) options.band_numeric = 1;
  if (Contains(text, names.freq)) options.extra_fields |= kExtraExactFrequency;
  if (Contains(text, names.qso_number)) options.extra_fields |= kExtraQsoNumber;
}

}  // namespace

int ContestFromKeywordPrefix(std::string_view text) {
  for (int code = 1; code <= kContestCount; ++code) {
    if (text.starts_with(kContestKeywords[code])) return code;
  }
  return 0;
}

int ParseConverterOptions(char* text, ConversionOptions& options) {
  if (text == nullptr) return 1;
  for (char* c = text; *c != '\0'; ++c) *c = ToUpper(*c);
  std::string_view view{text};
  TakeFlags(view, kUpperNames, options);
  options.contest =
      static_cast<std::uint8_t>(ContestAfter(view, kUpperNames.contest, options.contest));
  TakeComment(view, kUpperNames.comment, options);
  return 1;
}

int ParseFormatOptions(const char* text, ConversionOptions& options, ContestHeader& header) {
  std::string_view view{text == nullptr ? "" : text};
  TakeFlags(view, kExactNames, options);
  header.contest =
      static_cast<std::uint8_t>(ContestAfter(view, kExactNames.contest, header.contest));
  if (header.contest == 0) return 0;
  TakeComment(view, kExactNames.comment, options);
  return 1;
}

}  // namespace quorvel
