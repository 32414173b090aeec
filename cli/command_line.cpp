#include "cli/command_line.h"

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "cli/help_text.h"
#include "core/converter.h"
#include "core/numbers.h"
#include "core/text_field.h"
#include "core/version.h"

namespace quorvel {
namespace {

constexpr const char* kProgram = "quorvelcon";
constexpr std::size_t kOptionRoom = 2048;  // at most 2047 characters of options

void PrintBanner(std::FILE* out) {
  std::fprintf(out, "Amateur Radio Log File Conversion v%s\n\r", kQuorvelVersion);
  std::fputs("Quorvel converts contest and station logs between logging programs.\n\r", out);
  std::fputs("\n\r", out);
}

void PrintShortUsage(std::FILE* out) {
  std::fprintf(out, "usage: %s infile outfile [options]\n\r", kProgram);
  std::fprintf(out, "\n\rFor a complete list of options type in '%s -h'\n\r", kProgram);
}

void PrintFullUsage(std::FILE* out) {
  std::fprintf(out, "usage: %s infile outfile [options]\n\r\n\r", kProgram);
  for (std::string_view line : kFullUsageLines) {
    std::fprintf(out, "%.*s\n\r", static_cast<int>(line.size()), line.data());
  }
}

bool ContainsVerbose(std::string_view upper_text) {
  return upper_text.find("-V") != std::string_view::npos;
}

// The closing lines after the QSO count: what could not be written and what the reader met.
void PrintNotes(const Converter& converter, std::FILE* out) {
  if (converter.Unwritten() > 0) {
    std::fprintf(out, "%d QSO's could not be written in the output format\n\r",
                 converter.Unwritten());
  }
  const ReadingNotes& notes = converter.Notes();
  if (notes.skipped_records > 0) {
    std::fprintf(out, "%d records without a call and a date were skipped\n\r",
                 notes.skipped_records);
  }
  if (notes.undated_qsos > 0) {
    std::fprintf(out,
                 "%d QSO's had no readable date or time: 1970-01-01 and 00:00 stand in for "
                 "them\n\r",
                 notes.undated_qsos);
  }
  if (notes.unread_lines > 0) {
    std::fprintf(out, "%d QSO lines could not be read and were skipped\n\r", notes.unread_lines);
  }
  if (notes.Stopped()) {
    std::fprintf(out, "%s\n\r",
                 StoppedReadingText(notes.stopped_at, converter.InputSize()).c_str());
  }
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
  ProgressCallback print_count;
  if (verbose) {
    print_count = [out](const ConversionProgress& progress) {
      std::fprintf(out, "%d\n", progress.count);
    };
  }
  RunToEnd(converter, print_count);
  if (converter.OutputWriteFailed()) {
    std::fprintf(out, "Error writing output file %s", output);
    return kExitFailed;
  }
  std::fprintf(out, "Conversion Complete!\n\rProcessed %d QSO's", converter.Converted());
  // Cabrillo's X-QSO lines are contacts the log itself does not count: the count line says how
  // many were left out, after the count that scripts read.
  if (int x_qsos = converter.Notes().x_qsos; x_qsos > 0) {
    std::fprintf(out, ", %d X-QSO lines skipped", x_qsos);
  }
  std::fprintf(out, "\n\r");
  PrintNotes(converter, out);
  return converter.Notes().Stopped() ? kExitStopped : kExitConverted;
}

bool RefuseLongPath(const char* path, std::FILE* out) {
  if (std::strlen(path) < kPathRoom) return false;
  std::fprintf(out, "File name too long (%zu characters, at most %zu): %.40s...\n\r",
               std::strlen(path), kPathRoom - 1, path);
  return true;
}

}  // namespace

OptionArguments SplitOptions(int argc, const char* const* argv) {
  OptionArguments split;
  for (int i = 3; i < argc; ++i) {
    std::string_view argument = argv[i];
    if (EqualsNoCase(argument, "-n")) {
      split.comment = i + 1 < argc ? argv[++i] : "";
    } else if (argument.size() > 2 && EqualsNoCase(argument.substr(0, 2), "-n")) {
      std::string_view comment = argument.substr(2);  // -n"text", as a shell keeps it
      if (comment.size() >= 2 && comment.front() == '"' && comment.back() == '"') {
        comment = comment.substr(1, comment.size() - 2);
      }
      split.comment = std::string(comment);
    } else {
      split.text.append(argument).append(" ");
    }
  }
  return split;
}

std::optional<std::string> UnknownContestKeyword(std::string_view upper_text) {
  std::size_t at = upper_text.find("-C");
  if (at == std::string_view::npos) return std::nullopt;
  std::string_view rest = upper_text.substr(at + 2);
  if (ContestFromKeywordPrefix(rest) != 0) return std::nullopt;
  return std::string(rest.substr(0, rest.find(' ')));
}

namespace {

void PrintUnknownContest(const std::string& keyword, std::FILE* out) {
  std::fprintf(out, "Unknown contest keyword \"%s\" after -c\n\r", keyword.c_str());
  std::fputs(ContestKeywordList().c_str(), out);
  std::fputs("See readme.txt for the contests they stand for.\n\r", out);
}

// The comment of -n replaces whatever the option parser found: upper-cased, as the parser
// stores comments, and cut to the notes field's 40 characters.
void ApplyComment(Converter& converter, const std::string& comment) {
  ConversionOptions options = converter.Options();
  std::string upper;
  for (char c : std::string_view(comment).substr(0, kCommentLimit)) upper += ToUpper(c);
  CopyCut(options.comment, upper);
  converter.SetOptions(&options);
}

}  // namespace

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
  OptionArguments arguments = SplitOptions(argc, argv);
  std::size_t length = arguments.text.size() + (arguments.comment ? arguments.comment->size() : 0);
  if (length >= kOptionRoom) {
    std::fprintf(out, "Options too long (%zu characters, at most %zu)\n\r", length,
                 kOptionRoom - 1);
    return kExitFailed;
  }
  std::vector<char> options(arguments.text.begin(), arguments.text.end());
  options.push_back('\0');
  converter.ParseOptions(options.data());
  if (std::optional<std::string> unknown = UnknownContestKeyword(options.data())) {
    PrintUnknownContest(*unknown, out);
    return kExitUsage;
  }
  if (arguments.comment) ApplyComment(converter, *arguments.comment);
  bool verbose = ContainsVerbose(options.data());
  return Convert(converter, argv[1], argv[2], verbose, out);
}

}  // namespace quorvel
