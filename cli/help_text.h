// The texts that tell users what quorvelcon does: the option lines of its full usage and the
// readme.txt shipped beside the program, built from the engine's own tables.
#pragma once

#include <string>
#include <string_view>

namespace quorvel {

/// The option lines of the full usage ("-h"), without their line ends.
inline constexpr std::string_view kFullUsageLines[] = {
    "  -bNumeric    Output the BAND field in meters (dBase output only).",
    "  -c<contest>  Indicate the contest type for logs that do not contain header",
    "               information (ARRL .log).  See readme.txt for the list of values.",
    "  -freq        Add new output field which contains the exact frequency, in MHz",
    "               (dBase output only).",
    "  -h           Displays this list of options (Command Line only).",
    "  -n \"Comment\" Indicate string to be placed in notes field, if applicable.",
    "  -qsonum      Add field which sequentially numbers QSO's (dBase output only).",
    "  -tApproach   Append 'TM9' to TIME field for Approach support",
    "               (dBase output only).",
    "  -v           Verbose output.  Will indicate the QSO number being converted",
    "               (Command Line only).",
    "",
    "Updates of Quorvel are published with the releases of the Quorvel project.",
};

/// The contest keywords in code order, wrapped into console lines ending in "\n\r".
std::string ContestKeywordList();

/// The whole readme.txt: options, contest keywords with their contests, and the formats of
/// this build with their extensions. Lines end in LF.
std::string ReadmeText();

}  // namespace quorvel
