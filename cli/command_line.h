// quorvelcon: one conversion driven by the command line, reported on standard output.
#pragma once

#include <cstdio>
#include <string>

#include "core/format_factory.h"

namespace quorvel {

inline constexpr int kExitConverted = 0;
inline constexpr int kExitUsage = 1;
/// -1 in the program's own terms; a POSIX shell sees 255.
inline constexpr int kExitFailed = -1;

/// Runs the program with its arguments (argv[0] is the program) and returns its exit code.
/// `creator` makes the format objects (the build's formats unless a test supplies others).
int RunCommandLine(int argc, const char* const* argv, std::FILE* out,
                   const FormatCreator& creator = CreateLogFile);

/// The option arguments (those after the two file names) joined into one option text, each
/// followed by a blank. An argument "-n" (any case) takes the next argument as its comment and
/// puts it between the double quotes the option parser looks for, since the shell has removed
/// the quotes the user typed.
std::string JoinOptions(int argc, const char* const* argv);

}  // namespace quorvel
