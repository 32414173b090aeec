// quorvelcon: one conversion driven by the command line, reported on standard output.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "core/format_factory.h"

namespace quorvel {

inline constexpr int kExitConverted = 0;
inline constexpr int kExitUsage = 1;
/// -1 in the program's own terms; a POSIX shell sees 255.
inline constexpr int kExitFailed = -1;
/// The conversion ran, but the reader stopped on input data it could not read: the output holds
/// every QSO before that byte.
inline constexpr int kExitStopped = 3;

/// Runs the program with its arguments (argv[0] is the program) and returns its exit code.
/// `creator` makes the format objects (the build's formats unless a test supplies others).
int RunCommandLine(int argc, const char* const* argv, std::FILE* out,
                   const FormatCreator& creator = CreateLogFile);

/// The option arguments (those after the two file names), with the comment taken out whole.
struct OptionArguments {
  /// Every option but the comment, joined into one option text, each followed by a blank.
  std::string text;
  /// The argument after "-n" (any case), or the text of "-n<text>": whole, so that option
  /// words inside it ("-cFD", "-v") are not options.
  std::optional<std::string> comment;
};
OptionArguments SplitOptions(int argc, const char* const* argv);

/// The text after the first "-C" of an upper-cased option text when it begins with no contest
/// keyword (up to the next blank); nothing when there is no "-C" or its keyword is known.
std::optional<std::string> UnknownContestKeyword(std::string_view upper_text);

}  // namespace quorvel
