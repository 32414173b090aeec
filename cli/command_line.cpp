#include "cli/command_line.h"

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "core/converter.h"
#include "core/numbers.h"

namespace quorvel {
namespace {

constexpr const char* kProgram = "quorvelcon";
constexpr std::size_t kOptionRoom = 2048;  // at most 2047 characters of options

constexpr const char* kFullUsage[] = {
    "  -bNumeric    Output the BAND field in meters (dBase output only).\n\r",
    "  -c<contest>  Indicate the contest type for logs that do not contain header\n\r",
    "               information (ARRL .log).  See readme.txt for the list of values.\n\r",
    "  -freq        Add new output field which contains the exact frequency, in MHz\n\r",
    "               (dBase output only).\n\r",
    "  -h           Displays this list of options (Command Line only).\n\r",
    "  -n \"Comment\" Indicate string to be placed in notes field, if applicable.\n\r",
    "  -qsonum      Add field which sequentially numbers QSO's (dBase output only).\n\r",
    "  -tApproach   Append 'TM9' to TIME field for Approach support\n\r",
    "               (dBase output only).\n\r",
    "  -v           Verbose output.  Will indicate the QSO number being converted\n\r",
    "               (Command Line only).\n\r",
    "\n\r",
    "Updates of Quorvel are published with the releases of the Quorvel project.\n\r",
};

void PrintBanner(std::FILE* out) {
  std::fprintf(out, "Amateur Radio Log File Conversion v%s\n\r", "1.72");
  std::fputs("Quorvel converts contest and station logs between logging programs.\n\r", out);
  std::fputs("\n\r", out);
}

void PrintShortUsage(std::FILE* out) {
  std::fprintf(out, "usage: %s infile outfile [options]\n\r", kProgram);
  std::fprintf(out, "\n\rFor a complete list of options type in '%s -h'\n\r", kProgram);
}

void PrintFullUsage(std::FILE* out) {
  std::fprintf(out, "usage: %s infile outfile [options]\n\r\n\r", kProgram);
  for (const char* line : kFullUsage) std::fputs(line, out);
}

bool ContainsVerbose(std::string_view upper_text) {
  return upper_text.find("-V") != std::string_view::npos;
}

int Convert(Converter& converter, const char* input, const char* output, bool verbose,
            std::FILE* out) {
  if (!converter.OpenInput(input)) {
    std::fprintf(out, "Error opening input file %s", input);
    return kExitFailed;
  }
  if (!converter.OpenOutput(output, kFormatNone)) {
    std::fprintf(out, "Error opening output file %s", output);
    return kExitFailed;
  }
  std::int64_t position = 0;
  int count = 0;
  while (converter.Step(position, count)) {
    if (verbose) std::fprintf(out, "%d\n", count);
  }
  converter.Finish();
  if (converter.OutputWriteFailed()) {
    std::fprintf(out, "Error writing output file %s", output);
    return kExitFailed;
  }
  std::fprintf(out, "Conversion Complete!\n\rProcessed %d QSO's\n\r", converter.Converted());
  if (converter.Unwritten() > 0) {
    std::fprintf(out, "%d QSO's could not be written in the output format\n\r",
                 converter.Unwritten());
  }
  return kExitConverted;
}

bool RefuseLongPath(const char* path, std::FILE* out) {
  if (std::strlen(path) < kPathRoom) return false;
  std::fprintf(out, "File name too long (%zu characters, at most %zu): %.40s...\n\r",
               std::strlen(path), kPathRoom - 1, path);
  return true;
}

}  // namespace

std::string JoinOptions(int argc, const char* const* argv) {
  std::string text;
  for (int i = 3; i < argc; ++i) {
    if (EqualsNoCase(argv[i], "-n") && i + 1 < argc) {
      text.append("-n \"").append(argv[i + 1]).append("\" ");
      ++i;
    } else {
      text.append(argv[i]).append(" ");
    }
  }
  return text;
}

int RunCommandLine(int argc, const char* const* argv, std::FILE* out,
                   const FormatCreator& creator) {
  Converter converter(creator);
  converter.SetMessageHook(
      [out](FactoryMessage, const std::string& text) { std::fputs(text.c_str(), out); });
  PrintBanner(out);
  if (argc < 3) {
    if (argc == 2 && EqualsNoCase(argv[1], "-h")) {
      PrintFullUsage(out);
    } else {
      PrintShortUsage(out);
    }
    return kExitUsage;
  }
  if (RefuseLongPath(argv[1], out) || RefuseLongPath(argv[2], out)) return kExitFailed;
  std::string option_text = JoinOptions(argc, argv);
  if (option_text.size() >= kOptionRoom) {
    std::fprintf(out, "Options too long (%zu characters, at most %zu)\n\r", option_text.size(),
                 kOptionRoom - 1);
    return kExitFailed;
  }
  std::vector<char> options(option_text.begin(), option_text.end());
  options.push_back('\0');
  converter.ParseOptions(options.data());
  bool verbose = ContainsVerbose(options.data());
  return Convert(converter, argv[1], argv[2], verbose, out);
}

}  // namespace quorvel
