#include "core/settings_file.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "core/log_stream.h"
#include "core/numbers.h"
#include "core/text_field.h"

namespace quorvel {
namespace {

constexpr std::string_view kSectionName = "General";

// The keys this program owns, in the order they are read and written.
enum OwnedKey { kBandDisplay, kTimeFormat, kFields, kContest, kComment, kOwnedKeyCount };
constexpr std::string_view kOwnedKeyNames[kOwnedKeyCount] = {"BandDisplay", "TimeFormat", "Fields",
                                                             "Contest", "Comment"};

using OwnedValues = std::array<std::optional<std::string>, kOwnedKeyCount>;

// One line of the file as the private-profile rules see it.
struct ProfileLine {
  enum Kind { kOther, kSection, kKey };
  Kind kind = kOther;
  std::string_view name;
  std::string_view value;
};

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

ProfileLine ParseProfileLine(std::string_view line) {
  std::string_view text = TrimBlanks(line);
  ProfileLine parsed;
  if (text.empty() || text.front() == ';') return parsed;
  if (text.front() == '[') {
    std::string_view inside = text.substr(1, text.find(']') - 1);
    return {ProfileLine::kSection, TrimBlanks(inside), {}};
  }
  std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return parsed;
  std::string_view name = TrimBlanks(text.substr(0, equals));
  if (name.empty()) return parsed;
  return {ProfileLine::kKey, name, TrimBlanks(text.substr(equals + 1))};
}

bool IsGeneralSection(const ProfileLine& line) {
  return line.kind == ProfileLine::kSection && EqualsNoCase(line.name, kSectionName);
}

// The owned key a key line sets, or kOwnedKeyCount for any other line.
int OwnedKeyOf(const ProfileLine& line) {
  if (line.kind != ProfileLine::kKey) return kOwnedKeyCount;
  int key = 0;
  while (key < kOwnedKeyCount && !EqualsNoCase(line.name, kOwnedKeyNames[key])) ++key;
  return key;
}

// Every line of the file, without its line end (LF or CR LF); false when it cannot be opened.
bool ReadLines(const std::string& path, std::vector<std::string>& lines) {
  LogStream stream;
  if (!stream.Open(path.c_str(), kModeReadBinary)) return false;
  std::string line;
  while (stream.ReadLine(line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return true;
}

// The first value of each owned key within the section "General"; later copies are ignored.
OwnedValues FindOwnedValues(const std::vector<std::string>& lines) {
  OwnedValues values;
  bool in_general = false;
  for (const std::string& text : lines) {
    ProfileLine line = ParseProfileLine(text);
    if (line.kind == ProfileLine::kSection) in_general = IsGeneralSection(line);
    int key = OwnedKeyOf(line);
    if (in_general && key < kOwnedKeyCount && !values[key]) values[key] = std::string(line.value);
  }
  return values;
}

// An integer as the private-profile functions read one; 0 for an absent key.
std::int64_t ProfileInt(const std::optional<std::string>& value) {
  return value ? ParseLeadingInt(*value) : 0;
}

bool IsContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// At most `limit` bytes of `text`, never ending inside a UTF-8 character.
std::string_view CutAtCharacter(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text;
  std::size_t end = limit;
  for (int back = 0; back < 3 && end > 0 && IsContinuationByte(text[end]); ++back) --end;
  if (IsContinuationByte(text[end])) end = limit;  // not UTF-8: cut at the byte
  return text.substr(0, end);
}

std::string_view CommentFromFile(const std::optional<std::string>& value) {
  if (!value) return {};
  std::string_view text = *value;
  text = text.substr(0, text.find('\0'));
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    text = text.substr(1, text.size() - 2);
  }
  return CutAtCharacter(text, kCommentLimit);
}

std::string CommentForFile(const ConversionOptions& options) {
  std::string text(CutAtCharacter(FieldText(options.comment), kCommentLimit));
  for (char& c : text) {
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
  }
  return text;
}

std::string OwnedBlock(const ConversionOptions& options) {
  char line[40];
  std::string block;
  std::snprintf(line, sizeof line, "BandDisplay=%d\n", static_cast<int>(options.band_numeric));
  block += line;
  std::snprintf(line, sizeof line, "TimeFormat=%d\n", static_cast<int>(options.approach));
  block += line;
  std::snprintf(line, sizeof line, "Fields=%u\n", static_cast<unsigned>(options.extra_fields));
  block += line;
  std::snprintf(line, sizeof line, "Contest=%d\n", static_cast<int>(options.contest));
  block += line;
  return block + "Comment=" + CommentForFile(options) + "\n";
}

// The old lines with the owned block directly after the first "[General]" line and the old
// owned keys of every General section dropped; a file without the section gets it at its end.
std::string ComposeFile(const std::vector<std::string>& lines, const std::string& block) {
  std::string text;
  bool in_general = false;
  bool block_written = false;
  for (const std::string& old_line : lines) {
    ProfileLine line = ParseProfileLine(old_line);
    if (line.kind == ProfileLine::kSection) in_general = IsGeneralSection(line);
    if (in_general && OwnedKeyOf(line) < kOwnedKeyCount) continue;
    text += old_line + "\n";
    if (in_general && !block_written) {
      text += block;
      block_written = true;
    }
  }
  if (!block_written) text += "[General]\n" + block;
  return text;
}

std::string Failure(const char* what, const std::string& path, int error) {
  return std::string(what) + " " + path + ": " + std::strerror(error);
}

// Opens a temporary file beside `path` that did not exist before; its name, or empty with
// `error` set.
std::string OpenTemporary(const std::string& path, LogStream& stream, int& error) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string temporary = path + "." + std::to_string(attempt) + ".tmp";
    errno = 0;
    if (stream.Open(temporary.c_str(), kModeWriteNew)) return temporary;
    error = errno != 0 ? errno : EIO;
    if (error != EEXIST) break;
  }
  return {};
}

// Writes `text` into a new temporary file and renames it over `path`; the temporary never
// stays behind, and the old file stays as it was unless the rename succeeded.
std::string ReplaceAtomically(const std::string& path, const std::string& text) {
  LogStream stream;
  int error = 0;
  std::string temporary = OpenTemporary(path, stream, error);
  if (temporary.empty()) return Failure("Could not write settings file", path, error);
  errno = 0;
  stream.WriteText(text);
  stream.Close();
  if (stream.WriteFailed()) error = errno != 0 ? errno : EIO;
  if (error == 0 && std::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
  if (error == 0) return {};
  std::remove(temporary.c_str());
  return Failure("Could not write settings file", path, error);
}

}  // namespace

std::string SettingsFilePath() {
  const char* config_home = std::getenv("XDG_CONFIG_HOME");
  std::filesystem::path folder;
  if (config_home != nullptr && config_home[0] == '/') {
    folder = config_home;
  } else {
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') return {};
    folder = std::filesystem::path(home) / ".config";
  }
  return (folder / "quorvel" / "quorvelwin.ini").string();
}

void ReadSettings(const std::string& path, ConversionOptions& options) {
  std::vector<std::string> lines;
  ReadLines(path, lines);  // a missing or unreadable file leaves every key absent
  OwnedValues values = FindOwnedValues(lines);
  options.band_numeric = ValueOrZero<std::int32_t>(ProfileInt(values[kBandDisplay]));
  options.approach = ProfileInt(values[kTimeFormat]) != 0 ? 1 : 0;
  options.extra_fields = ValueOrZero<std::uint32_t>(ProfileInt(values[kFields]));
  std::int64_t contest = ProfileInt(values[kContest]);
  options.contest =
      contest >= 0 && contest <= kContestCount ? static_cast<std::uint8_t>(contest) : 0;
  CopyCut(options.comment, CommentFromFile(values[kComment]));
}

std::string WriteSettings(const std::string& path, const ConversionOptions& options) {
  std::error_code status_error;
  std::vector<std::string> lines;
  if (std::filesystem::exists(std::filesystem::status(path, status_error))) {
    errno = 0;
    if (!ReadLines(path, lines)) {
      int error = std::filesystem::is_directory(path, status_error) ? EISDIR : errno;
      return Failure("Could not read settings file", path, error != 0 ? error : EIO);
    }
  }
  std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (!folder.empty()) {
    std::error_code folder_error;
    std::filesystem::create_directories(folder, folder_error);
    if (folder_error) {
      return "Could not create settings folder " + folder.string() + ": " + folder_error.message();
    }
  }
  return ReplaceAtomically(path, ComposeFile(lines, OwnedBlock(options)));
}

}  // namespace quorvel
