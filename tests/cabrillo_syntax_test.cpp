// The Cabrillo syntax check itself: it accepts real logs written by contest loggers and finds
// each kind of fault in broken ones.
#include "cabrillo_syntax.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "test_support.h"

namespace quorvel {
namespace {

using testing::CabrilloCheck;
using testing::CheckCabrillo;

const std::string kGoodLog =
    "START-OF-LOG: 3.0\r\n"
    "CONTEST: CQ-WW-CW\r\n"
    "CALLSIGN: DL1AB\r\n"
    "CATEGORY-OPERATOR: SINGLE-OP\r\n"
    "CREATED-BY: hand\r\n"
    "SOAPBOX: \r\n"
    "QSO: 14025 CW 2024-11-23 0001 DL1AB 599 14 W1XYZ 599 05\r\n"
    "QSO: 21000 CW 2024-11-23 0002 DL1AB 599 14 JA1ABC 579 25 1\r\n"
    "X-QSO: anything at all\r\n"
    "END-OF-LOG:\r\n";

// The first error of a check, or "" when there is none.
std::string FirstError(const std::string& text) {
  CabrilloCheck check = CheckCabrillo(text);
  return check.errors.empty() ? "" : check.errors.front();
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

TEST(CabrilloSyntax, AcceptsAWellFormedLog) {
  CabrilloCheck check = CheckCabrillo(kGoodLog);
  EXPECT_TRUE(check.Clean()) << check.Describe();
  EXPECT_EQ(check.qso_lines, 2);
  EXPECT_EQ(check.placeholders, 0);
}

TEST(CabrilloSyntax, AcceptsLineFeedsAndAMissingLastLineEnd) {
  std::string lf = kGoodLog;
  lf.erase(std::remove(lf.begin(), lf.end(), '\r'), lf.end());
  EXPECT_TRUE(CheckCabrillo(lf).Clean()) << CheckCabrillo(lf).Describe();
  lf.pop_back();
  EXPECT_TRUE(CheckCabrillo(lf).Clean()) << CheckCabrillo(lf).Describe();
}

TEST(CabrilloSyntax, CountsPlaceholdersLeftForTheUser) {
  std::string text = Replace(kGoodLog, "14025 CW 2024-11-23 0001 DL1AB 599 14",
                             "?BAND? ?MODE? 2024-11-23 0001 DL1AB 599 ???");
  CabrilloCheck check = CheckCabrillo(text);
  EXPECT_TRUE(check.Clean()) << check.Describe();
  EXPECT_EQ(check.placeholders, 3);
}

TEST(CabrilloSyntax, FindsFaultsOfTheLogStructure) {
  EXPECT_EQ(FirstError(Replace(kGoodLog, "START-OF-LOG: 3.0\r\n", "")),
            "line 1: line before START-OF-LOG");
  EXPECT_EQ(FirstError(Replace(kGoodLog, "START-OF-LOG: 3.0", "START-OF-LOG: 4.0")),
            "line 1: unknown version \"4.0\"");
  EXPECT_EQ(FirstError(kGoodLog + "END-OF-LOG:\r\n"), "line 10: END-OF-LOG is not the last line");
  EXPECT_EQ(FirstError(Replace(kGoodLog, "END-OF-LOG:\r\n", "")),
            "line 9: END-OF-LOG must stand exactly once, found 0");
  EXPECT_EQ(FirstError(Replace(kGoodLog, "SOAPBOX: \r\n", "SOAPBOX: \r\n\r\n")),
            "line 7: empty line");
  EXPECT_EQ(FirstError(Replace(kGoodLog, "CALLSIGN: DL1AB", "CALLSIGN:DL1AB")),
            "line 3: no blank after CALLSIGN:");
  EXPECT_EQ(FirstError(Replace(kGoodLog, "CALLSIGN: DL1AB", "callsign: DL1AB")),
            "line 3: not a keyword line");
  CabrilloCheck unknown = CheckCabrillo(Replace(kGoodLog, "CREATED-BY: hand", "MADE-BY: hand"));
  EXPECT_TRUE(unknown.errors.empty());
  ASSERT_EQ(unknown.unknown_keywords.size(), 1u);
  EXPECT_EQ(unknown.unknown_keywords[0], "MADE-BY");
  EXPECT_FALSE(unknown.Clean());
}

TEST(CabrilloSyntax, FindsFaultsOfQsoLines) {
  const std::string line = "QSO: 14025 CW 2024-11-23 0001 DL1AB 599 14 W1XYZ 599 05";
  struct Case {
    std::string bad;
    std::string error;
  };
  const Case cases[] = {
      {"QSO: 14.025 CW 2024-11-23 0001 DL1AB 599 14 W1XYZ 599 05", "bad frequency \"14.025\""},
      {"QSO: B CW 2024-11-23 0001 DL1AB 599 14 W1XYZ 599 05", "bad frequency \"B\""},
      {"QSO: 14025 SSB 2024-11-23 0001 DL1AB 599 14 W1XYZ 599 05", "bad mode \"SSB\""},
      {"QSO: 14025 CW 2023-02-29 0001 DL1AB 599 14 W1XYZ 599 05", "bad date \"2023-02-29\""},
      {"QSO: 14025 CW 23-11-2024 0001 DL1AB 599 14 W1XYZ 599 05", "bad date \"23-11-2024\""},
      {"QSO: 14025 CW 2024-11-23 2460 DL1AB 599 14 W1XYZ 599 05", "bad time \"2460\""},
      {"QSO: 14025 CW 2024-11-23 0001 599 14 W1XYZ 599 05 1", "bad sent call \"599\""},
      {"QSO: 14025 CW 2024-11-23 0001 DL1AB 599 14 599 05",
       "QSO line with 5 exchange fields, expected 6"},
      {"QSO: 14025 CW 2024-11-23 0001 DL1AB 599 14 W1XYZ 599",
       "QSO line with 5 exchange fields, expected 6"},
      {"QSO: 14025 CW 2024-11-23 0001 DL1AB 599 14 599 W1XYZ 05", "bad received call \"599\""},
      {"QSO: 14025 CW 2024-11-23 0001 DL1AB", "QSO line with 5 fields"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FirstError(Replace(kGoodLog, line, c.bad)), "line 7: " + c.error) << c.bad;
  }
  // Without a known template the received call is looked for between the two exchanges.
  std::string free = Replace(kGoodLog, "CQ-WW-CW", "YARC-QSO-PARTY");
  EXPECT_EQ(FirstError(Replace(free, line, "QSO: 14025 CW 2024-11-23 0001 DL1AB 599 14 NY 599 05")),
            "line 7: no received call between the sent and the received exchange");
  EXPECT_EQ(
      FirstError(Replace(free, line, "QSO: 14025 CW 2024-11-23 0001 DL1AB 19 NY W1XYZ 045 FL")),
      "");
}

TEST(CabrilloSyntax, AcceptsTheRealLogsOfContestLoggers) {
  std::string real = testing::RealDataDir();
  if (real.empty()) GTEST_SKIP() << "no real logs here";
  std::filesystem::path folder = std::filesystem::path(real) / "cabrillo";
  if (!std::filesystem::is_directory(folder)) GTEST_SKIP() << "no real Cabrillo logs here";
  // Keywords that loggers and sponsors add beside the format's own.
  const std::string extensions[] = {"HQ-CATEGORY", "HQ-GRID-LOCATOR", "REMARK"};
  int logs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() != ".log") continue;
    std::string text = testing::ReadFile(entry.path().string());
    CabrilloCheck check = CheckCabrillo(text);
    std::string name = entry.path().filename().string();
    EXPECT_TRUE(check.errors.empty()) << name << "\n" << check.Describe();
    for (const std::string& keyword : check.unknown_keywords) {
      EXPECT_NE(std::find(std::begin(extensions), std::end(extensions), keyword),
                std::end(extensions))
          << name << ": " << keyword;
    }
    std::size_t qso_lines = 0;
    for (std::size_t at = text.find("\nQSO:"); at != std::string::npos;
         at = text.find("\nQSO:", at + 1)) {
      ++qso_lines;
    }
    EXPECT_EQ(static_cast<std::size_t>(check.qso_lines), qso_lines) << name;
    EXPECT_GT(check.qso_lines, 0) << name;
    ++logs;
  }
  EXPECT_GE(logs, 1);
}

TEST(CabrilloSyntax, RejectsATemplateThatIsNotALog) {
  std::string real = testing::RealDataDir();
  std::filesystem::path sample =
      std::filesystem::path(real) / "cabrillo" / "tlf_station-sample.cbr";
  if (real.empty() || !std::filesystem::exists(sample)) GTEST_SKIP() << "no template here";
  CabrilloCheck check = CheckCabrillo(testing::ReadFile(sample.string()));
  ASSERT_FALSE(check.errors.empty());
  EXPECT_EQ(check.errors.front(), "line 1: line before START-OF-LOG") << check.Describe();
  std::string all = check.Describe();
  EXPECT_NE(all.find("START-OF-LOG is not the first line"), std::string::npos) << all;
  EXPECT_NE(all.find("empty line"), std::string::npos) << all;
  EXPECT_NE(all.find("QSO line with"), std::string::npos) << all;
}

}  // namespace
}  // namespace quorvel
