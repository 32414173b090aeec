// Where the reference files (stsec.dat, cqww.cty) are found.
#pragma once

#include <string>
#include <string_view>

namespace quorvel {

/// The path to open for a reference file given by its bare name: the working directory first;
/// when the file is not there, the "data" folder beside the running program (the build tree);
/// then the installed share/quorvel folder. Falls back to the bare name when none has it.
std::string FindDataFile(std::string_view name);

}  // namespace quorvel
