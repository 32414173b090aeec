#include "refdata/country_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace quorvel {
namespace {

using testing::ScratchDir;
using testing::WriteFile;

// Loads a country file holding `contents`; Of(call) gives "primary/zone" or "<none>".
class CountryFile {
 public:
  explicit CountryFile(const std::string& contents) {
    WriteFile(dir.Path("cqww.cty"), contents);
    opened = table.Open(dir.Path("cqww.cty").c_str(), kModeReadBinary);
  }
  std::string Of(std::string_view call) const {
    const Country* country = table.LookupCall(call);
    return country ? country->prefix + "/" + std::to_string(country->zone) : "<none>";
  }
  ScratchDir dir;
  CountryTable table;
  int opened = 0;
};

TEST(CountryTable, ReadsNameZoneAndPrimaryPrefixOfACountryLine) {
  CountryFile file("United States:            05:  W:     AA,K,N,W;\r\n");
  EXPECT_EQ(file.opened, 1);
  std::string name, prefix;
  int zone = 0;
  EXPECT_EQ(file.table.LookupCall("W1AW", name, prefix, zone), 1);
  EXPECT_EQ(name, "United States");
  EXPECT_EQ(prefix, "W");
  EXPECT_EQ(zone, 5);
  EXPECT_EQ(file.Of("AA1K"), "W/5");
  EXPECT_EQ(file.Of("N6TR"), "W/5");
  EXPECT_EQ(file.table.CountryCount(), 1u);
  EXPECT_EQ(file.table.PrefixCount(), 4u);
}

TEST(CountryTable, TheWholeCallAsAPrefixBeatsAShorterOne) {
  CountryFile file(
      "United States: 05: W: K,W;\n"
      "Guantanamo Bay: 08: KG4: KG4;\n"
      "Hawaii: 31: KH6: KH6,K7ABC;\n");
  EXPECT_EQ(file.Of("K7ABC"), "KH6/31");
  EXPECT_EQ(file.Of("K7ABD"), "W/5");
  EXPECT_EQ(file.Of("KG4XX"), "KG4/8");
  EXPECT_EQ(file.Of("KG"), "W/5");
  EXPECT_EQ(file.Of("KH6"), "KH6/31");
}

TEST(CountryTable, OfEqualPrefixesTheEarlierCountryWins) {
  CountryFile file("Alpha: 01: AA: XY;\nBravo: 02: BB: XY,XZ;\n");
  EXPECT_EQ(file.Of("XY1A"), "AA/1");
  EXPECT_EQ(file.Of("XZ1A"), "BB/2");
}

TEST(CountryTable, WordsAfterTheFirstSemicolonAreNotPrefixes) {
  CountryFile file("Alpha: 01: AA: AA,AB; AC AD\n& AE;AF\nBravo: 2: BB; BB\n");
  EXPECT_EQ(file.Of("AB1"), "AA/1");
  EXPECT_EQ(file.Of("AC1"), "<none>");
  EXPECT_EQ(file.Of("AD1"), "<none>");
  EXPECT_EQ(file.Of("AE1"), "AA/1");
  EXPECT_EQ(file.Of("AF1"), "<none>");
  EXPECT_EQ(file.Of("BB1"), "<none>");
}

TEST(CountryTable, AContinuationLinePassesOverItsFirstWord) {
  CountryFile file(
      "Alpha: 01: AA: AA\n"
      "&                                     AB,AC\n"
      "    AD AE,AF\n"
      "\n"
      "1X 1Y\n");
  EXPECT_EQ(file.Of("AB1"), "AA/1");
  EXPECT_EQ(file.Of("AC1"), "AA/1");
  EXPECT_EQ(file.Of("AD1"), "<none>");
  EXPECT_EQ(file.Of("AE1"), "AA/1");
  EXPECT_EQ(file.Of("AF1"), "AA/1");
  EXPECT_EQ(file.Of("1X1"), "<none>");
  EXPECT_EQ(file.Of("1Y1"), "AA/1");
  EXPECT_EQ(file.table.CountryCount(), 1u);
}

TEST(CountryTable, CallsAreMatchedWithRegardToCase) {
  CountryFile file("Alpha: 01: AA: AA;\nBravo: 02: bb: bb;\n");
  EXPECT_EQ(file.Of("aa1a"), "<none>");
  EXPECT_EQ(file.Of("Aa1A"), "<none>");
  EXPECT_EQ(file.Of("bb1b"), "bb/2");
  EXPECT_EQ(file.Of("BB1B"), "<none>");
}

TEST(CountryTable, PrefixesBeforeTheFirstCountryLineBelongToNoCountry) {
  CountryFile file("; list of 2025\n& AA,AB\n  x AC\nAlpha: 01: AA: AD;\n");
  EXPECT_EQ(file.Of("AA1"), "<none>");
  EXPECT_EQ(file.Of("AC1"), "<none>");
  EXPECT_EQ(file.Of("AD1"), "AA/1");
  EXPECT_EQ(file.table.PrefixCount(), 1u);
}

TEST(CountryTable, ThePrimaryPrefixIsALookupPrefixOnlyWhenListed) {
  CountryFile file("Alpha: 01: AA: AB;\nBravo: 02: BB BB,BC\n");
  EXPECT_EQ(file.Of("AA1"), "<none>");
  EXPECT_EQ(file.Of("AB1"), "AA/1");
  EXPECT_EQ(file.Of("BB1"), "BB/2");
}

TEST(CountryTable, ACountryLineWithoutColonsStillStartsACountry) {
  CountryFile file("Alpha: 01: AA: AA;\nBravo\n& BB\n");
  EXPECT_EQ(file.table.CountryCount(), 2u);
  EXPECT_EQ(file.table.CountryAt(1).name, "Bravo");
  EXPECT_EQ(file.Of("BB1"), "/0");
  EXPECT_EQ(file.Of("AA1"), "AA/1");
}

TEST(CountryTable, ASecondFileAddsItsCountriesAfterTheFirstFilesOnes) {
  CountryFile file("Alpha: 01: AA: AA;\n");
  WriteFile(file.dir.Path("more.cty"), "& AB\nBravo: 02: BB: BB,AA;\n");
  EXPECT_EQ(file.table.Open(file.dir.Path("more.cty").c_str(), kModeReadBinary), 1);
  EXPECT_EQ(file.Of("AB1"), "<none>");
  EXPECT_EQ(file.Of("AA1"), "AA/1");
  EXPECT_EQ(file.Of("BB1"), "BB/2");
  EXPECT_EQ(file.table.CountryCount(), 2u);
}

TEST(CountryTable, ReadsTheLastLineWithoutALineEnd) {
  CountryFile file("Alpha: 01: AA: AA;\r\nBravo: 02: BB: BB;");
  EXPECT_EQ(file.Of("BB1"), "BB/2");
  EXPECT_EQ(file.table.CountryCount(), 2u);
}

TEST(CountryTable, LoadsEveryCountryPastFourHundred) {
  std::string contents;
  for (int i = 0; i < 1000; ++i) {
    std::string prefix = "Q" + std::to_string(i) + "X";
    contents += "Country " + std::to_string(i) + ": " + std::to_string(i % 40 + 1) + ": " + prefix +
                ": " + prefix + ";\n";
  }
  CountryFile file(contents);
  EXPECT_EQ(file.table.CountryCount(), 1000u);
  EXPECT_EQ(file.Of("Q399XA"), "Q399X/40");
  EXPECT_EQ(file.Of("Q400XA"), "Q400X/1");
  EXPECT_EQ(file.Of("Q999XA"), "Q999X/40");
  EXPECT_EQ(file.table.CountryAt(999).name, "Country 999");
}

TEST(CountryTable, ReadsALineOfFiveThousandCharactersWhole) {
  std::string line = "Alpha: 01: AA: ";
  for (int i = 0; line.size() < 5000; ++i) line += "P" + std::to_string(i) + ",";
  CountryFile file(line + "LAST;\n& MORE\nBravo: 02: BB: BB;\n");
  EXPECT_EQ(file.Of("P0A"), "AA/1");
  EXPECT_EQ(file.Of("LAST1"), "AA/1");
  EXPECT_EQ(file.Of("MORE1"), "AA/1");
  EXPECT_EQ(file.Of("BB1"), "BB/2");
}

TEST(CountryTable, APortableSuffixIsCutFromTheRightLikeAnyText) {
  CountryFile file("United States: 05: W: W;\nHawaii: 31: KH6: KH6;\n");
  EXPECT_EQ(file.Of("W1AW/KH6"), "W/5");
  EXPECT_EQ(file.Of("KH6/W1AW"), "KH6/31");
}

TEST(CountryTable, LooksAtNoMoreThanNinetyNineCharactersOfACall) {
  std::string long_prefix(99, 'L');
  CountryFile file("Alpha: 01: AA: " + long_prefix + ";\nBravo: 02: BB: " + long_prefix + "L;\n");
  EXPECT_EQ(file.Of(long_prefix + "LLLL"), "AA/1");
  EXPECT_EQ(file.Of(std::string(98, 'L')), "<none>");
}

TEST(CountryTable, ReadsTheZoneAfterLeadingBlanksAndEndsTheCallAtANul) {
  CountryFile file("Alpha:   07 : AA: AA;\nBravo:: 12: BB: BB;\n");
  EXPECT_EQ(file.Of("AA1"), "AA/7");
  EXPECT_EQ(file.Of("BB1"), "BB/12");
  EXPECT_EQ(file.Of(std::string_view("\0AA1", 4)), "<none>");
  EXPECT_EQ(file.Of(std::string_view("AA\0", 3)), "AA/7");
}

TEST(CountryTable, AnEmptyOrMissingTableResolvesNothing) {
  ScratchDir dir;
  CountryTable table;
  EXPECT_EQ(table.LookupCall("W1AW"), nullptr);
  EXPECT_EQ(table.Open(dir.Path("absent.cty").c_str(), kModeReadBinary), 0);
  std::string name = "n", prefix = "p";
  int zone = 99;
  EXPECT_EQ(table.LookupCall("W1AW", name, prefix, zone), 0);
  EXPECT_EQ(name, "n");
  EXPECT_EQ(prefix, "p");
  EXPECT_EQ(zone, 99);
  CountryFile file("Alpha: 01: AA: AA;\n");
  EXPECT_EQ(file.Of(""), "<none>");
}

// Random prefixes and calls over a small alphabet (letters, digits, '/', a lower-case letter
// and a NUL), so that calls share beginnings with many prefixes of every length: each look-up
// must give the country of the longest listed beginning up to a NUL, the first listed winning,
// as a plain search over every prefix finds it.
TEST(CountryTable, FindsTheLongestListedBeginningOfRandomCalls) {
  const std::string alphabet("AK1/a\0", 6);
  std::srand(1234);
  auto random_text = [&](std::size_t most) {
    std::string text(1 + static_cast<std::size_t>(std::rand()) % most, ' ');
    for (char& c : text) c = alphabet[static_cast<std::size_t>(std::rand()) % alphabet.size()];
    return text;
  };
  CountryTable table;
  std::map<std::string, int> first_country;
  for (int country = 0; country < 40; ++country) {
    table.AddCountry("Country " + std::to_string(country), "P" + std::to_string(country), 1);
    for (int i = 0; i < 8; ++i) {
      std::string prefix = random_text(6);
      table.AddPrefix(prefix, country);
      first_country.emplace(prefix, country);
    }
  }
  for (int i = 0; i < 20000; ++i) {
    std::string call = random_text(9);
    std::string_view looked_at(call.c_str());  // up to a NUL
    int expected = -1;
    for (std::size_t length = looked_at.size(); length > 0 && expected < 0; --length) {
      auto found = first_country.find(std::string(looked_at.substr(0, length)));
      if (found != first_country.end()) expected = found->second;
    }
    const Country* country = table.LookupCall(call);
    int got = country ? static_cast<int>(country - &table.CountryAt(0)) : -1;
    ASSERT_EQ(got, expected) << "call of " << call.size() << " characters: " << looked_at;
  }
}

// The shipped country list.

class ShippedCountryFile : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { table = new CountryTable(QUORVEL_SOURCE_DIR "/data/cqww.cty"); }
  static void TearDownTestSuite() { delete table; }
  static std::string Of(std::string_view call) {
    const Country* country = table->LookupCall(call);
    return country ? country->prefix + "/" + std::to_string(country->zone) : "<none>";
  }
  static CountryTable* table;
};
CountryTable* ShippedCountryFile::table = nullptr;

TEST_F(ShippedCountryFile, ResolvesTheNorthAmericanCountriesTheFormatsAskAbout) {
  EXPECT_EQ(Of("W1AW"), "W/5");
  EXPECT_EQ(Of("K6XX"), "W/5");
  EXPECT_EQ(Of("AA0Y"), "W/3");
  EXPECT_EQ(Of("KH6XX"), "KH6/31");
  EXPECT_EQ(Of("K6HI"), "KH6/31");
  EXPECT_EQ(Of("K6HJ"), "W/5");
  EXPECT_EQ(Of("KL7XX"), "KL7/1");
  EXPECT_EQ(Of("AL7X"), "KL7/1");
  EXPECT_EQ(Of("VE3XX"), "VE/5");
  EXPECT_EQ(Of("VO2XX"), "VE/2");
  EXPECT_EQ(Of("VY1XX"), "VE/1");
}

TEST_F(ShippedCountryFile, ResolvesCountriesAroundTheWorld) {
  EXPECT_EQ(Of("DL1ABC"), "DL/14");
  EXPECT_EQ(Of("JA1XXX"), "JA/25");
  EXPECT_EQ(Of("G4ABC"), "G/14");
  EXPECT_EQ(Of("VK2ABC"), "VK/30");
  EXPECT_EQ(Of("ZS6ABC"), "ZS/38");
  EXPECT_EQ(Of("LU1ABC"), "LU/13");
  EXPECT_EQ(Of("UA9ABC"), "UA9/17");
  EXPECT_EQ(Of("UA9SAA"), "UA9/16");
  EXPECT_EQ(Of("UA1ABC"), "UA/16");
  EXPECT_EQ(Of("IT9ABC"), "IT9/15");
  EXPECT_EQ(Of("GB3LER"), "GM/s/14");
  EXPECT_EQ(Of("4U1VIC"), "4U1V/15");
  EXPECT_EQ(Of("w1aw"), "<none>");
}

TEST_F(ShippedCountryFile, ListsEveryEntityOnce) {
  std::map<std::string, int> primaries;
  for (std::size_t i = 0; i < table->CountryCount(); ++i) {
    const Country& country = table->CountryAt(i);
    EXPECT_GE(country.zone, 1) << country.name;
    EXPECT_LE(country.zone, 40) << country.name;
    primaries[country.prefix] += 1;
  }
  EXPECT_GE(primaries.size(), 340u);
  EXPECT_GT(table->PrefixCount(), 2000u);
}

TEST_F(ShippedCountryFile, IsFoundBesideTheProgramFromAnotherWorkingDirectory) {
  ScratchDir elsewhere;
  std::filesystem::path old = std::filesystem::current_path();
  std::filesystem::current_path(elsewhere.Root());
  CountryTable shipped(kCountryFileName);
  std::filesystem::current_path(old);
  ASSERT_NE(shipped.LookupCall("DL1ABC"), nullptr);
  EXPECT_EQ(shipped.LookupCall("DL1ABC")->prefix, "DL");
  EXPECT_EQ(shipped.CountryCount(), table->CountryCount());
}

// Calls to compare two country files by: each usable prefix of `reference` alone and, unless
// it already reads as a whole call, with a digit and a suffix added.
std::vector<std::string> PrefixCalls(const std::string& reference) {
  std::vector<std::string> calls;
  std::istringstream file(testing::ReadFile(reference));
  std::string line;
  while (std::getline(file, line)) {
    line = line.substr(0, line.find(';'));
    std::size_t start = line.rfind(':');
    if (start == std::string::npos) start = line.find(' ');
    if (start == std::string::npos) continue;
    std::string words = line.substr(start + 1);
    std::replace(words.begin(), words.end(), ',', ' ');
    std::istringstream split(words);
    std::string prefix;
    while (split >> prefix) {
      if (prefix.find_first_of("([<{~=&") != std::string::npos) continue;
      calls.push_back(prefix);
      std::size_t last_digit = prefix.find_last_of("0123456789");
      bool whole_call =
          last_digit != std::string::npos && last_digit > 0 && last_digit + 1 < prefix.size();
      if (!whole_call) calls.push_back(prefix + (last_digit + 1 == prefix.size() ? "QQ" : "1QQ"));
    }
  }
  return calls;
}

bool LooksLikeACall(const std::string& token) {
  if (token.size() < 4 || token.size() > 15) return false;
  if (token.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/") != std::string::npos) {
    return false;
  }
  std::size_t first_letter = token.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  std::size_t last_digit = token.find_last_of("0123456789");
  return first_letter != std::string::npos && last_digit != std::string::npos &&
         (token.back() < '0' || token.back() > '9' || token.find('/') != std::string::npos);
}

// The worked and own calls of the real Cabrillo and ADIF logs: calls as they stand in logs.
std::vector<std::string> CallsOfRealLogs(const std::string& real) {
  std::set<std::string> calls;
  for (const auto& entry : std::filesystem::directory_iterator(real + "/cabrillo")) {
    std::istringstream file(testing::ReadFile(entry.path().string()));
    std::string line;
    while (std::getline(file, line)) {
      if (line.rfind("QSO:", 0) != 0) continue;
      std::istringstream tokens(line.substr(4));
      std::string token;
      while (tokens >> token) {
        if (LooksLikeACall(token)) calls.insert(token);
      }
    }
  }
  for (const auto& entry : std::filesystem::directory_iterator(real + "/adif")) {
    std::string text = testing::ReadFile(entry.path().string());
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
    for (std::size_t at = lower.find("<call:"); at != std::string::npos;
         at = lower.find("<call:", at + 1)) {
      std::size_t close = lower.find('>', at);
      if (close == std::string::npos) break;
      std::size_t length = std::strtoul(text.c_str() + at + 6, nullptr, 10);
      std::string call = text.substr(close + 1, std::min<std::size_t>(length, 20));
      std::transform(call.begin(), call.end(), call.begin(), ::toupper);
      if (LooksLikeACall(call)) calls.insert(call);
    }
  }
  return {calls.begin(), calls.end()};
}

// The shipped file uses W and KL7 where the AD1C list writes K and KL.
std::string ComparablePrefix(const std::string& prefix) {
  if (prefix == "K") return "W";
  if (prefix == "KL") return "KL7";
  return prefix;
}

struct Agreement {
  double prefix = 0;  // share of calls with the same primary prefix
  double both = 0;    // share with the same primary prefix and the same zone
};

// How far `shipped` agrees with `published` on the `calls` that `published` resolves; prints
// the figures, and the differences when QUORVEL_SHOW_DIFFERENCES is set.
Agreement Compare(const CountryTable& published, const CountryTable& shipped,
                  const std::vector<std::string>& calls, const char* what) {
  std::size_t resolved = 0, same_prefix = 0, same_both = 0;
  std::ostringstream differences;
  for (const std::string& call : calls) {
    const Country* theirs = published.LookupCall(call);
    if (theirs == nullptr) continue;
    ++resolved;
    const Country* ours = shipped.LookupCall(call);
    bool prefix = ours && ComparablePrefix(theirs->prefix) == ours->prefix;
    same_prefix += prefix;
    if (prefix && theirs->zone == ours->zone) {
      ++same_both;
    } else {
      differences << " " << call << ":" << theirs->prefix << "/" << theirs->zone << "->"
                  << (ours ? ours->prefix : "-") << "/" << (ours ? ours->zone : 0);
    }
  }
  Agreement agreement;
  if (resolved > 0) {
    agreement.prefix = static_cast<double>(same_prefix) / static_cast<double>(resolved);
    agreement.both = static_cast<double>(same_both) / static_cast<double>(resolved);
  }
  std::printf("%s: %zu calls, same primary prefix %.2f%%, same prefix and zone %.2f%%\n", what,
              resolved, 100.0 * agreement.prefix, 100.0 * agreement.both);
  if (std::getenv("QUORVEL_SHOW_DIFFERENCES")) std::printf("%s\n", differences.str().c_str());
  return agreement;
}

// The published CT-form file writes zone exceptions as "K2PO(3)", which the table cannot use,
// while the shipped file carries them on lines of their own: zones differ there by design.
TEST_F(ShippedCountryFile, AgreesWithAPublishedCqwwCountryFile) {
  std::string real = testing::RealDataDir();
  if (real.empty()) GTEST_SKIP() << "no real data folder";
  std::string reference = real + "/cty/ad1c_cty-3510_cqww.cty";
  CountryTable published(reference.c_str());
  ASSERT_GT(published.CountryCount(), 300u);
  std::vector<std::string> logged = CallsOfRealLogs(real);
  ASSERT_GT(logged.size(), 5000u);
  Agreement on_logs = Compare(published, *table, logged, "calls of real logs");
  EXPECT_GE(on_logs.prefix, 0.99);
  EXPECT_GE(on_logs.both, 0.95);
  std::vector<std::string> prefixes = PrefixCalls(reference);
  ASSERT_GT(prefixes.size(), 2000u);
  Agreement on_prefixes = Compare(published, *table, prefixes, "prefixes and listed calls");
  EXPECT_GE(on_prefixes.prefix, 0.90);
  EXPECT_GE(on_prefixes.both, 0.90);
}

}  // namespace
}  // namespace quorvel
