#include "cli/help_text.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "core/contest_header.h"
#include "core/format_table.h"
#include "core/version.h"

namespace quorvel {
namespace {

constexpr std::size_t kConsoleWidth = 76;

void AppendLine(std::string& text, std::string_view line = {}) {
  text.append(line).append("\n");
}

void AppendTitle(std::string& text, std::string_view title) {
  AppendLine(text);
  AppendLine(text, title);
  AppendLine(text, std::string(title.size(), '-'));
}

void AppendContests(std::string& text) {
  AppendTitle(text, "Contest keywords (-c<keyword>)");
  AppendLine(text,
             "The keyword follows -c without a blank, in any letter case: -cCQWW, -carrl160.");
  AppendLine(text, "Logs whose own header names no contest take the contest given here; an");
  AppendLine(text, "ARRL log (.log) has no header and always needs it.");
  AppendLine(text);
  AppendLine(text, "  Keyword   Code  Contest");
  for (int code = 1; code <= kContestCount; ++code) {
    char line[128];
    std::snprintf(line, sizeof line, "  %-9.*s %4d  %.*s",
                  static_cast<int>(kContestKeywords[code].size()), kContestKeywords[code].data(),
                  code, static_cast<int>(kContestTitles[code].size()), kContestTitles[code].data());
    AppendLine(text, line);
  }
}

void AppendFormats(std::string& text) {
  AppendTitle(text, "Formats");
  AppendLine(text, "The input's format is recognised from its extension and its first bytes, the");
  AppendLine(text, "output's format from its extension.");
  AppendLine(text);
  AppendLine(text, "  Extension  Read  Written  Format");
  std::vector<const FormatRow*> built;
  for (const FormatRow& row : FormatRows()) {
    if (row.Built()) built.push_back(&row);
  }
  std::sort(built.begin(), built.end(),
            [](const FormatRow* a, const FormatRow* b) { return a->code < b->code; });
  for (const FormatRow* format : built) {
    std::string_view extension = format->extensions[0];
    char line[128];
    std::snprintf(line, sizeof line, "  .%-9.*s %-5s %-8s %.*s", static_cast<int>(extension.size()),
                  extension.data(), format->reads ? "yes" : "no",
                  format->output == FormatOutput::kWrites ? "yes" : "no",
                  static_cast<int>(format->name.size()), format->name.data());
    AppendLine(text, line);
  }
}

}  // namespace

std::string ContestKeywordList() {
  std::string text = "Contest keywords:";
  std::size_t line_length = text.size();
  for (int code = 1; code <= kContestCount; ++code) {
    std::string_view keyword = kContestKeywords[code];
    if (line_length + 1 + keyword.size() > kConsoleWidth) {
      text += "\n\r ";
      line_length = 1;
    }
    text.append(" ").append(keyword);
    line_length += 1 + keyword.size();
  }
  return text + "\n\r";
}

std::string ReadmeText() {
  std::string text;
  std::string title = std::string("Quorvel v") + kQuorvelVersion + ": amateur-radio log conversion";
  AppendLine(text, title);
  AppendLine(text, std::string(title.size(), '='));
  AppendLine(text);
  AppendLine(text, "quorvelcon converts one log file into the format of another:");
  AppendLine(text);
  AppendLine(text, "    quorvelcon infile outfile [options]");
  AppendLine(text);
  AppendLine(text, "It converts every QSO and the log's header and reports how many QSOs it");
  AppendLine(text, "converted. An output file that exists already is never replaced.");
  AppendTitle(text, "Options");
  AppendLine(text, "Option names may be written in any letter case.");
  AppendLine(text);
  for (std::string_view line : kFullUsageLines) {
    if (line.empty()) break;  // the usage's closing lines are not options
    AppendLine(text, line);
  }
  AppendContests(text);
  AppendFormats(text);
  AppendTitle(text, "Reference files");
  AppendLine(text, "stsec.dat (ARRL sections by state) and cqww.cty (country prefixes and CQ");
  AppendLine(text, "zones) are looked for in the working directory, then beside the program.");
  AppendLine(text);
  AppendLine(text, kFullUsageLines[std::size(kFullUsageLines) - 1]);
  return text;
}

}  // namespace quorvel
