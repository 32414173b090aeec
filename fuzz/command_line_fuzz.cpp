// quorvelcon's command line of any option arguments (the input's lines, one argument each) over
// a small ADIF log: the program ends with one of its three exit codes, says "Conversion
// Complete!" exactly when it converted, and leaves an output file only when it got as far as
// creating one; the comment taken out by the splitter and an unknown contest keyword stay
// within what the command line held.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_line.h"
#include "fuzz_file.h"

namespace {

constexpr const char* kExtensions[] = {"bin", "adi", "log", "cbr", "dat", "sdf", "dbf", "xyz"};

constexpr std::string_view kLog =
    "<ADIF_VER:5>3.1.4 <EOH>\n"
    "<CALL:4>W1AW <QSO_DATE:8>20240310 <TIME_ON:4>1412 <BAND:3>20m <MODE:2>CW "
    "<RST_RCVD:3>599 <STATE:2>CT <EOR>\n"
    "<CALL:5>VE3XX <QSO_DATE:8>20240310 <TIME_ON:4>1415 <FREQ:6>14.025 <MODE:3>SSB "
    "<SRX_STRING:3>ONS <EOR>\n";

std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    lines.emplace_back(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
  }
  return lines;
}

// Runs quorvelcon and returns what it printed; `code` gets its exit code.
std::string Run(const std::vector<std::string>& arguments, int& code) {
  std::vector<const char*> argv;
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  argv.push_back(nullptr);
  char* printed = nullptr;
  std::size_t printed_size = 0;
  std::FILE* out = open_memstream(&printed, &printed_size);
  if (out == nullptr) std::abort();
  code = quorvel::RunCommandLine(static_cast<int>(arguments.size()), argv.data(), out);
  std::fclose(out);
  std::string text(printed, printed_size);
  std::free(printed);
  return text;
}

void CheckSplit(const std::vector<std::string>& arguments) {
  std::vector<const char*> argv;
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  quorvel::OptionArguments split =
      quorvel::SplitOptions(static_cast<int>(argv.size()), argv.data());
  std::size_t total = 0;
  for (std::size_t i = 3; i < arguments.size(); ++i) total += arguments[i].size() + 1;
  if (split.text.size() > total || (split.comment && split.comment->size() > total)) {
    __builtin_trap();
  }
  if (std::optional<std::string> keyword = quorvel::UnknownContestKeyword(split.text)) {
    if (keyword->find(' ') != std::string::npos || keyword->size() > split.text.size()) {
      __builtin_trap();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  quorvel::fuzzing::FuzzFile input(reinterpret_cast<const std::uint8_t*>(kLog.data()), kLog.size(),
                                   "adi");
  std::string output = quorvel::fuzzing::ScratchPath(
      std::string("out.") + kExtensions[data[0] % (sizeof kExtensions / sizeof kExtensions[0])]);
  std::vector<std::string> arguments = {"quorvelcon", input.Path(), output};
  for (std::string& line : Lines({reinterpret_cast<const char*>(data) + 1, size - 1})) {
    arguments.push_back(std::move(line));
  }
  CheckSplit(arguments);
  int code = 0;
  std::string printed = Run(arguments, code);
  bool complete = printed.find("Conversion Complete!") != std::string::npos;
  bool written = std::filesystem::exists(output);
  std::remove(output.c_str());
  if (code != quorvel::kExitConverted && code != quorvel::kExitUsage &&
      code != quorvel::kExitFailed) {
    __builtin_trap();
  }
  if (complete != (code == quorvel::kExitConverted)) __builtin_trap();
  if (code == quorvel::kExitConverted && !written) __builtin_trap();
  if (code == quorvel::kExitUsage && written) __builtin_trap();
  return 0;
}
