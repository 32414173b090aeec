#include "cabrillo_syntax.h"

#include <algorithm>
#include <array>

namespace quorvel::testing {
namespace {

// Keywords of Cabrillo 2.0 and 3.0. Lines whose keyword begins with "X-" are the format's own
// extension lines and are always accepted.
constexpr std::array<std::string_view, 35> kKeywords = {"START-OF-LOG",
                                                        "END-OF-LOG",
                                                        "CALLSIGN",
                                                        "CONTEST",
                                                        "CATEGORY",
                                                        "CATEGORY-ASSISTED",
                                                        "CATEGORY-BAND",
                                                        "CATEGORY-MODE",
                                                        "CATEGORY-OPERATOR",
                                                        "CATEGORY-POWER",
                                                        "CATEGORY-STATION",
                                                        "CATEGORY-TIME",
                                                        "CATEGORY-TRANSMITTER",
                                                        "CATEGORY-OVERLAY",
                                                        "CERTIFICATE",
                                                        "CLAIMED-SCORE",
                                                        "CLUB",
                                                        "CREATED-BY",
                                                        "EMAIL",
                                                        "GRID-LOCATOR",
                                                        "LOCATION",
                                                        "NAME",
                                                        "ADDRESS",
                                                        "ADDRESS-CITY",
                                                        "ADDRESS-STATE-PROVINCE",
                                                        "ADDRESS-POSTALCODE",
                                                        "ADDRESS-COUNTRY",
                                                        "OPERATORS",
                                                        "OFFTIME",
                                                        "SOAPBOX",
                                                        "QSO",
                                                        "ARRL-SECTION",
                                                        "IOTA-ISLAND-NAME",
                                                        "DEBUG",
                                                        "QTC"};

// DI is how the ARRL Field Day templates write digital contacts.
constexpr std::array<std::string_view, 6> kModes = {"CW", "PH", "FM", "RY", "DG", "DI"};

// Band designators for 50 MHz and up; below that the column holds the frequency in kHz.
constexpr std::array<std::string_view, 19> kBandDesignators = {
    "50",  "70",  "144", "222", "432",  "902",  "1.2G", "2.3G", "3.4G", "5.7G",
    "10G", "24G", "47G", "75G", "119G", "142G", "241G", "300G", "LIGHT"};

// Exchange fields per side for contests whose QSO template is well known, matched by the start
// of the CONTEST value (a name ending in '-' takes a mode or month after it).
struct Template {
  std::string_view contest;
  int fields;
};
constexpr std::array<Template, 11> kTemplates = {{
    {"CQ-WW-", 2},      // RST, CQ zone
    {"CQ-WPX-", 2},     // RST, serial
    {"CQ-160-", 2},     // RST, state/province/country
    {"ARRL-DX-", 2},    // RST, state/province or power
    {"ARRL-10", 2},     // RST, state/province or serial
    {"ARRL-160", 2},    // RST, section or DX
    {"IARU-HF", 2},     // RST, ITU zone or society
    {"ARRL-SS-", 4},    // serial, precedence, check, section
    {"ARRL-FD", 2},     // class, section
    {"NAQP-", 2},       // name, location
    {"NA-SPRINT-", 3},  // serial, name, location
}};

bool Contains(const auto& list, std::string_view word) {
  return std::find(list.begin(), list.end(), word) != list.end();
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsUpper(char c) {
  return c >= 'A' && c <= 'Z';
}

bool AllDigits(std::string_view word) {
  return !word.empty() && std::all_of(word.begin(), word.end(), IsDigit);
}

// "?", "???", "?MODE?", "?BAND?": a field the writer could not fill, left for the user.
bool IsPlaceholder(std::string_view word) {
  if (word.size() < 1 || word.front() != '?' || word.back() != '?') return false;
  return std::all_of(word.begin(), word.end(), [](char c) { return c == '?' || IsUpper(c); });
}

bool IsCall(std::string_view word) {
  if (word.size() < 3) return false;
  bool letter = false;
  bool digit = false;
  for (char c : word) {
    if (IsUpper(c)) {
      letter = true;
    } else if (IsDigit(c)) {
      digit = true;
    } else if (c != '/') {
      return false;
    }
  }
  return letter && digit;
}

bool IsDate(std::string_view word) {
  if (word.size() != 10 || word[4] != '-' || word[7] != '-') return false;
  if (!AllDigits(word.substr(0, 4)) || !AllDigits(word.substr(5, 2)) ||
      !AllDigits(word.substr(8, 2))) {
    return false;
  }
  int year = std::stoi(std::string(word.substr(0, 4)));
  int month = std::stoi(std::string(word.substr(5, 2)));
  int day = std::stoi(std::string(word.substr(8, 2)));
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1 || day > kDays[month - 1]) return false;
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return !(month == 2 && day == 29 && !leap);
}

bool IsTime(std::string_view word) {
  if (word.size() != 4 || !AllDigits(word)) return false;
  return std::stoi(std::string(word.substr(0, 2))) < 24 &&
         std::stoi(std::string(word.substr(2, 2))) < 60;
}

std::vector<std::string_view> SplitWords(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    std::size_t start = i;
    while (i < text.size() && text[i] != ' ' && text[i] != '\t') ++i;
    if (i > start) words.push_back(text.substr(start, i - start));
  }
  return words;
}

class Checker {
 public:
  CabrilloCheck Run(std::string_view text);

 private:
  void Error(const std::string& what) {
    result.errors.push_back("line " + std::to_string(line_number) + ": " + what);
  }
  void CheckLine(std::string_view line, bool is_last);
  void CheckQso(std::string_view value);
  void CheckExchange(const std::vector<std::string_view>& words);
  bool Field(std::string_view word, bool valid, const char* what);

  CabrilloCheck result;
  int line_number = 0;
  int starts = 0;
  int ends = 0;
  int template_fields = 0;  // 0: contest without a known template
};

bool Checker::Field(std::string_view word, bool valid, const char* what) {
  if (IsPlaceholder(word)) {
    ++result.placeholders;
    return true;
  }
  if (!valid) Error(std::string("bad ") + what + " \"" + std::string(word) + "\"");
  return valid;
}

CabrilloCheck Checker::Run(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  for (std::size_t i = 0; i < lines.size(); ++i) {
    line_number = static_cast<int>(i) + 1;
    CheckLine(lines[i], i + 1 == lines.size());
  }
  line_number = static_cast<int>(lines.size());
  if (starts != 1) Error("START-OF-LOG must stand exactly once, found " + std::to_string(starts));
  if (ends != 1) Error("END-OF-LOG must stand exactly once, found " + std::to_string(ends));
  return result;
}

void Checker::CheckLine(std::string_view line, bool is_last) {
  if (line.empty()) {
    Error("empty line");
    return;
  }
  std::size_t colon = line.find(':');
  std::string_view keyword = line.substr(0, colon);
  bool keyword_shape = colon != std::string_view::npos && !keyword.empty() &&
                       std::all_of(keyword.begin(), keyword.end(),
                                   [](char c) { return IsUpper(c) || IsDigit(c) || c == '-'; });
  if (!keyword_shape) {
    Error("not a keyword line");
    return;
  }
  std::string_view rest = line.substr(colon + 1);
  if (!rest.empty() && rest[0] != ' ') Error("no blank after " + std::string(keyword) + ":");
  std::string_view value = rest.substr(rest.find_first_not_of(' ') == std::string_view::npos
                                           ? rest.size()
                                           : rest.find_first_not_of(' '));
  while (!value.empty() && value.back() == ' ') value.remove_suffix(1);

  if (keyword == "START-OF-LOG") {
    ++starts;
    if (line_number != 1) Error("START-OF-LOG is not the first line");
    if (value != "2.0" && value != "3.0") Error("unknown version \"" + std::string(value) + "\"");
  } else if (starts == 0) {
    Error("line before START-OF-LOG");
  }
  if (keyword == "END-OF-LOG") {
    ++ends;
    if (!is_last) Error("END-OF-LOG is not the last line");
  }
  if (keyword == "CONTEST") {
    template_fields = 0;
    for (const Template& entry : kTemplates) {
      bool open = entry.contest.back() == '-';
      if (open ? value.starts_with(entry.contest) : value == entry.contest) {
        template_fields = entry.fields;
      }
    }
  }
  if (keyword == "QSO") CheckQso(value);
  if (keyword.starts_with("X-")) return;
  if (!Contains(kKeywords, keyword)) result.unknown_keywords.emplace_back(keyword);
}

void Checker::CheckQso(std::string_view value) {
  ++result.qso_lines;
  std::vector<std::string_view> words = SplitWords(value);
  if (words.size() < 7) {
    Error("QSO line with " + std::to_string(words.size()) + " fields");
    return;
  }
  Field(words[0], AllDigits(words[0]) || Contains(kBandDesignators, words[0]), "frequency");
  Field(words[1], Contains(kModes, words[1]), "mode");
  Field(words[2], IsDate(words[2]), "date");
  Field(words[3], IsTime(words[3]), "time");
  CheckExchange({words.begin() + 4, words.end()});
}

// Sent call, sent exchange, received call, received exchange, perhaps a transmitter number.
void Checker::CheckExchange(const std::vector<std::string_view>& words) {
  int count = static_cast<int>(words.size());
  Field(words[0], IsCall(words[0]), "sent call");
  if (template_fields > 0) {
    int expected = 2 + 2 * template_fields;
    bool with_transmitter = count == expected + 1 && (words.back() == "0" || words.back() == "1");
    if (count != expected && !with_transmitter) {
      Error("QSO line with " + std::to_string(count) + " exchange fields, expected " +
            std::to_string(expected));
      return;
    }
    Field(words[1 + template_fields], IsCall(words[1 + template_fields]), "received call");
    for (int i = 1; i <= template_fields; ++i) {
      Field(words[i], true, "sent exchange");
      Field(words[1 + template_fields + i], true, "received exchange");
    }
    return;
  }
  for (int i = 1; i < count; ++i) {
    if (IsPlaceholder(words[i])) ++result.placeholders;
  }
  for (int i = 2; i + 1 < count; ++i) {
    if (IsCall(words[i])) return;
  }
  Error("no received call between the sent and the received exchange");
}

}  // namespace

std::string CabrilloCheck::Describe() const {
  std::string text;
  for (const std::string& error : errors) text += error + "\n";
  for (const std::string& keyword : unknown_keywords) text += "unknown keyword " + keyword + "\n";
  return text;
}

CabrilloCheck CheckCabrillo(std::string_view text) {
  return Checker().Run(text);
}

}  // namespace quorvel::testing
