#include "refdata/section_table.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "test_support.h"

namespace quorvel {
namespace {

using testing::ScratchDir;
using testing::WriteFile;

// Loads a section file holding `contents` and returns the state of `section`, or "<none>".
class SectionFile {
 public:
  explicit SectionFile(const std::string& contents) {
    WriteFile(dir.Path("stsec.dat"), contents);
    opened = table.Open(dir.Path("stsec.dat").c_str(), kModeReadBinary);
  }
  std::string StateOf(std::string_view section) const {
    char state[12] = "untouched";
    return table.Lookup(section, state, sizeof state) ? std::string(state) : "<none>";
  }
  ScratchDir dir;
  SectionTable table;
  int opened = 0;
};

TEST(SectionTable, ReadsStatesAndSectionsSeparatedByBlanksCommasAndSemicolons) {
  SectionFile file("TX: NTX STX, WTX;\nCA:LAX,ORG;SB\n");
  EXPECT_EQ(file.opened, 1);
  EXPECT_EQ(file.StateOf("NTX"), "TX");
  EXPECT_EQ(file.StateOf("STX"), "TX");
  EXPECT_EQ(file.StateOf("WTX"), "TX");
  EXPECT_EQ(file.StateOf("LAX"), "CA");
  EXPECT_EQ(file.StateOf("ORG"), "CA");
  EXPECT_EQ(file.StateOf("SB"), "<none>");
  EXPECT_EQ(file.table.EntryCount(), 5u);
}

TEST(SectionTable, LowerCaseSectionFindsUpperCaseEntryAndTheReverse) {
  SectionFile file("TX: NTX\nME: me\n");
  EXPECT_EQ(file.StateOf("ntx"), "TX");
  EXPECT_EQ(file.StateOf("nTx"), "TX");
  EXPECT_EQ(file.StateOf("ME"), "ME");
}

TEST(SectionTable, WordsAfterTheFirstSemicolonAreAComment) {
  SectionFile file("TX: NTX STX; WTX EB\n; OH: OH\nNY; ENY: NLI\n");
  EXPECT_EQ(file.StateOf("STX"), "TX");
  EXPECT_EQ(file.StateOf("WTX"), "<none>");
  EXPECT_EQ(file.StateOf("EB"), "<none>");
  EXPECT_EQ(file.StateOf("OH"), "<none>");
  EXPECT_EQ(file.StateOf("NLI"), "<none>");
  EXPECT_EQ(file.table.EntryCount(), 2u);
}

TEST(SectionTable, TheEarlierLineWinsForASectionListedTwice) {
  SectionFile file("NY: NLI\nNJ: nli NNJ\n");
  EXPECT_EQ(file.StateOf("NLI"), "NY");
  EXPECT_EQ(file.StateOf("NNJ"), "NJ");
  EXPECT_EQ(file.table.EntryCount(), 3u);
}

TEST(SectionTable, ReadsTheLastLineWithoutALineEnd) {
  SectionFile file("TX: NTX\r\nOK: OK");
  EXPECT_EQ(file.StateOf("NTX"), "TX");
  EXPECT_EQ(file.StateOf("OK"), "OK");
}

TEST(SectionTable, NeedsNoBlankAfterTheColon) {
  SectionFile file("TX:STX\n");
  EXPECT_EQ(file.StateOf("STX"), "TX");
}

TEST(SectionTable, CutsLinesAtTheCarriageReturnAndSkipsLeadingColons) {
  SectionFile file("::TX: NTX\r STX\r\n\r\n:\n\nGA GA\nVT: VT\r\n");
  EXPECT_EQ(file.StateOf("NTX"), "TX");
  EXPECT_EQ(file.StateOf("STX"), "<none>");
  EXPECT_EQ(file.StateOf("GA"), "<none>");
  EXPECT_EQ(file.StateOf("VT"), "VT");
  EXPECT_EQ(file.table.EntryCount(), 2u);
}

TEST(SectionTable, ReadsALineOfFiveThousandCharactersWhole) {
  std::string line = "XX:";
  for (int i = 0; line.size() < 5000; ++i) line += " S" + std::to_string(i);
  SectionFile file(line + " LAST\nTX: NTX\n");
  EXPECT_EQ(file.StateOf("S0"), "XX");
  EXPECT_EQ(file.StateOf("LAST"), "XX");
  EXPECT_EQ(file.StateOf("NTX"), "TX");
}

// Sections of any length are found without regard to case, the shortest and the longest ones
// and those past the look-up's own key buffer too.
TEST(SectionTable, FindsSectionsOfEveryLengthInEitherCase) {
  auto state_of_length = [](std::size_t length) {
    return std::string("S").append(std::to_string(length));
  };
  std::string contents;
  for (std::size_t length = 1; length <= 80; ++length) {
    contents.append(state_of_length(length)).append(": ").append(length, 'Q').append("\n");
  }
  SectionFile file(contents);
  for (std::size_t length = 1; length <= 80; ++length) {
    EXPECT_EQ(file.StateOf(std::string(length, 'q')), state_of_length(length)) << length;
    EXPECT_EQ(file.StateOf(std::string(length + 1, 'Q')),
              length < 80 ? state_of_length(length + 1) : "<none>");
  }
  EXPECT_EQ(file.StateOf(std::string(79, 'Q') + "R"), "<none>");
}

TEST(SectionTable, CutsTheStateToTheCallersBufferAndLeavesItAloneOnAMiss) {
  SectionFile file("Saskatchewan: SK\n");
  char state[4] = "abc";
  EXPECT_EQ(file.table.Lookup("XYZ", state, sizeof state), 0);
  EXPECT_STREQ(state, "abc");
  EXPECT_EQ(file.table.Lookup("sk", state, sizeof state), 1);
  EXPECT_STREQ(state, "Sas");
  ASSERT_NE(file.table.FindState("SK"), nullptr);
  EXPECT_EQ(*file.table.FindState("SK"), "Saskatchewan");
}

TEST(SectionTable, AMissingFileGivesAnEmptyTable) {
  ScratchDir dir;
  SectionTable table;
  EXPECT_EQ(table.Open(dir.Path("absent.dat").c_str(), kModeReadBinary), 0);
  char state[12] = "untouched";
  EXPECT_EQ(table.Lookup("NTX", state, sizeof state), 0);
  EXPECT_EQ(table.Lookup("", state, sizeof state), 0);
  EXPECT_STREQ(state, "untouched");
  SectionTable named(dir.Path("absent.dat").c_str());
  EXPECT_EQ(named.EntryCount(), 0u);
}

// Every ARRL and RAC section with the state or province the shipped file must give it.
const std::vector<std::pair<const char*, const char*>> kArrlSections = {
    {"CT", "CT"},   {"EMA", "MA"}, {"ME", "ME"},  {"NH", "NH"},  {"RI", "RI"},  {"VT", "VT"},
    {"WMA", "MA"},  {"ENY", "NY"}, {"NLI", "NY"}, {"NNJ", "NJ"}, {"NNY", "NY"}, {"SNJ", "NJ"},
    {"WNY", "NY"},  {"DE", "DE"},  {"EPA", "PA"}, {"MDC", "MD"}, {"WPA", "PA"}, {"AL", "AL"},
    {"GA", "GA"},   {"KY", "KY"},  {"NC", "NC"},  {"NFL", "FL"}, {"SC", "SC"},  {"SFL", "FL"},
    {"WCF", "FL"},  {"TN", "TN"},  {"VA", "VA"},  {"PR", "PR"},  {"VI", "VI"},  {"AR", "AR"},
    {"LA", "LA"},   {"MS", "MS"},  {"NM", "NM"},  {"NTX", "TX"}, {"OK", "OK"},  {"STX", "TX"},
    {"WTX", "TX"},  {"EB", "CA"},  {"LAX", "CA"}, {"ORG", "CA"}, {"SB", "CA"},  {"SCV", "CA"},
    {"SDG", "CA"},  {"SF", "CA"},  {"SJV", "CA"}, {"SV", "CA"},  {"PAC", "HI"}, {"AZ", "AZ"},
    {"EWA", "WA"},  {"ID", "ID"},  {"MT", "MT"},  {"NV", "NV"},  {"OR", "OR"},  {"UT", "UT"},
    {"WWA", "WA"},  {"WY", "WY"},  {"AK", "AK"},  {"MI", "MI"},  {"OH", "OH"},  {"WV", "WV"},
    {"IL", "IL"},   {"IN", "IN"},  {"WI", "WI"},  {"CO", "CO"},  {"IA", "IA"},  {"KS", "KS"},
    {"MN", "MN"},   {"MO", "MO"},  {"NE", "NE"},  {"ND", "ND"},  {"SD", "SD"},  {"AB", "AB"},
    {"BC", "BC"},   {"GH", "ON"},  {"MB", "MB"},  {"NB", "NB"},  {"NL", "NL"},  {"NS", "NS"},
    {"ONE", "ON"},  {"ONN", "ON"}, {"ONS", "ON"}, {"PE", "PE"},  {"QC", "QC"},  {"SK", "SK"},
    {"TER", "TER"},
};

TEST(ShippedSectionFile, ResolvesEveryArrlAndRacSection) {
  SectionTable table(QUORVEL_SOURCE_DIR "/data/stsec.dat");
  ASSERT_GT(table.EntryCount(), 0u);
  EXPECT_EQ(kArrlSections.size(), 71u + 14u);
  for (const auto& [section, state] : kArrlSections) {
    char found[12] = "";
    EXPECT_EQ(table.Lookup(section, found, sizeof found), 1) << section;
    EXPECT_STREQ(found, state) << section;
  }
  char found[12] = "";
  EXPECT_EQ(table.Lookup("DX", found, sizeof found), 0);
}

// Runs `body` with `folder` as the working directory, restoring the old one afterwards.
template <typename Body>
void InFolder(const std::filesystem::path& folder, Body body) {
  std::filesystem::path old = std::filesystem::current_path();
  std::filesystem::current_path(folder);
  body();
  std::filesystem::current_path(old);
}

TEST(ShippedSectionFile, IsFoundBesideTheProgramFromAnotherWorkingDirectory) {
  ScratchDir elsewhere;
  InFolder(elsewhere.Root(), [] {
    SectionTable shipped(kSectionFileName);
    char state[12] = "";
    EXPECT_EQ(shipped.Lookup("PAC", state, sizeof state), 1);
    EXPECT_STREQ(state, "HI");
  });
}

TEST(ShippedSectionFile, AFileInTheWorkingDirectoryComesFirst) {
  ScratchDir elsewhere;
  WriteFile(elsewhere.Path("stsec.dat"), "ZZ: PAC\n");
  InFolder(elsewhere.Root(), [] {
    SectionTable table(kSectionFileName);
    char state[12] = "";
    EXPECT_EQ(table.Lookup("PAC", state, sizeof state), 1);
    EXPECT_STREQ(state, "ZZ");
    EXPECT_EQ(table.EntryCount(), 1u);
  });
}

}  // namespace
}  // namespace quorvel
