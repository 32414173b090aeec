// Where the reference files (stsec.dat, cqww.cty) are found.
#pragma once

#include <string>
#include <string_view>

namespace quorvel {

/// The path to open for a reference file given by its bare name: the working directory first;
/// when the file is not there, the "data" folder beside the running program or one folder up
/// (the build tree); then share/quorvel beside the program's bin folder (an installed tree,
/// wherever it was installed); then the share/quorvel folder of the configured install prefix.
/// Falls back to the bare name when none has it.
std::string FindDataFile(std::string_view name);

}  // namespace quorvel
