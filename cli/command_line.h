// quorvelcon: one conversion driven by the command line, reported on standard output.
#pragma once

#include <cstdio>

namespace quorvel {

inline constexpr int kExitConverted = 0;
inline constexpr int kExitUsage = 1;
/// -1 in the program's own terms; a POSIX shell sees 255.
inline constexpr int kExitFailed = -1;

/// Runs the program with its arguments (argv[0] is the program) and returns its exit code.
int RunCommandLine(int argc, const char* const* argv, std::FILE* out);

}  // namespace quorvel
