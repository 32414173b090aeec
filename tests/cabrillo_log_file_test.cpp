// The Cabrillo writer: golden files from ADIF logs through the built program, and the header,
// column and placeholder rules through the format object. Every log written here also passes
// the Cabrillo syntax check.
#include "formats/cabrillo_log_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "cabrillo_syntax.h"
#include "log_test_support.h"

namespace quorvel {
namespace {

using testing::CabrilloGoldenDir;
using testing::CheckCabrillo;
using testing::Contact;
using testing::HeaderFor;
using testing::LogWorkspace;
using testing::ReadFile;
using testing::RunQuorvelcon;
using testing::WorkingFolder;
using testing::WriteThrough;

// ---- golden files ----

struct GoldenCase {
  const char* name;
  const char* contest;
  int qsos;
  int placeholders;  // fields left for the user: "???", "?MODE?", "?BAND?"...
};

const GoldenCase kGoldenCases[] = {
    {"cqww", "CQWW", 8, 12},        {"arrldx", "ARRLDX", 3, 3},
    {"wpx", "WPX", 3, 3},           {"iaru", "IARU", 3, 0},
    {"arrl10_usa", "ARRL10", 2, 2}, {"arrl10_dx", "ARRL10", 2, 0},
    {"ardxdx", "ARDXDX", 2, 2},     {"ss", "SS", 3, 1},
    {"vhf", "VHFQSO", 4, 0},        {"sprint", "SPRINT", 2, 4},
    {"naqp", "NAQP", 2, 4},
};

std::string Console(int qsos) {
  return "Amateur Radio Log File Conversion v1.72\n\r"
         "Quorvel converts contest and station logs between logging programs.\n\r\n\r"
         "Conversion Complete!\n\rProcessed " +
         std::to_string(qsos) + " QSO's\n\r";
}

TEST(CabrilloGolden, AdifLogsConvertToTheGoldenFilesByteForByte) {
  for (const GoldenCase& golden : kGoldenCases) {
    std::string name = golden.name;
    LogWorkspace workspace;
    workspace.Write("log.adi", ReadFile(CabrilloGoldenDir() + "/" + name + ".adi"));
    auto run = RunQuorvelcon({"log.adi", "log.cbr", std::string("-c") + golden.contest},
                             workspace.Folder());
    EXPECT_EQ(run.output, Console(golden.qsos)) << name;
    EXPECT_EQ(run.exit_code, 0) << name;
    std::string written = ReadFile(workspace.Path("log.cbr"));
    EXPECT_EQ(written, ReadFile(CabrilloGoldenDir() + "/" + name + ".cbr")) << name;

    testing::CabrilloCheck check = CheckCabrillo(written);
    EXPECT_TRUE(check.Clean()) << name << "\n" << check.Describe();
    EXPECT_EQ(check.qso_lines, golden.qsos) << name;
    EXPECT_EQ(check.placeholders, golden.placeholders) << name;
  }
}

TEST(CabrilloGolden, RefusedContestLeavesNoFile) {
  LogWorkspace workspace;
  workspace.Write("log.adi", ReadFile(CabrilloGoldenDir() + "/fd.adi"));
  auto run = RunQuorvelcon({"log.adi", "log.cbr", "-cFD"}, workspace.Folder());
  EXPECT_EQ(run.output,
            "Amateur Radio Log File Conversion v1.72\n\r"
            "Quorvel converts contest and station logs between logging programs.\n\r\n\r"
            "Contest not supported by output file\n\r"
            "Error opening output file log.cbr");
  EXPECT_EQ(run.exit_code, 255);
  // No trailer-only file is left behind to block a retry with the right contest.
  EXPECT_FALSE(testing::FileExists(workspace.Path("log.cbr")));
  auto retry = RunQuorvelcon({"log.adi", "log.cbr", "-cARRLDX"}, workspace.Folder());
  EXPECT_EQ(retry.exit_code, 0) << retry.output;
}

// ---- the format object ----

class CabrilloWriter : public ::testing::Test {
 protected:
  // Writes through a CabrilloLogFile with the tests' cqww.cty in the working folder.
  std::string Write(const ContestHeader& header, const std::vector<QsoRecord>& records) {
    WorkingFolder here(workspace.Folder());
    CabrilloLogFile file;
    std::string path = workspace.Path("out" + std::to_string(++files) + ".cbr");
    std::string text = WriteThrough(file, path, 0, header, records);
    north_american = file.NorthAmerican();
    if (text != "REFUSED") {
      testing::CabrilloCheck check = CheckCabrillo(text);
      EXPECT_TRUE(check.Clean()) << check.Describe() << text;
    }
    return text;
  }

  // The QSO lines of a written log.
  std::vector<std::string> QsoLines(const ContestHeader& header,
                                    const std::vector<QsoRecord>& records) {
    std::string text = Write(header, records);
    std::vector<std::string> lines;
    for (std::size_t at = text.find("QSO: "); at != std::string::npos;
         at = text.find("QSO: ", at + 1)) {
      lines.push_back(text.substr(at, text.find("\r\n", at) - at));
    }
    return lines;
  }

  std::string HeaderLine(const ContestHeader& header, const std::string& keyword) {
    std::string text = Write(header, {});
    std::size_t at = text.find(keyword);
    return at == std::string::npos ? "(none)" : text.substr(at, text.find("\r\n", at) - at);
  }

  std::string ExchangeColumns(const std::string& line) { return line.substr(30); }

  LogWorkspace workspace;
  int files = 0;
  bool north_american = false;
};

QsoRecord TwentyMetres() {
  QsoRecord record = Contact("W1XYZ", 5, kModeCw, 2024, 11, 23, 0, 1);
  record.rst_sent = 599;
  record.rst_rcvd = 599;
  return record;
}

TEST_F(CabrilloWriter, RefusesContestsWithoutACabrilloNameAndWritesNothing) {
  const int supported[] = {1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 13, 16, 21, 29};
  for (int contest = 0; contest <= 40; ++contest) {
    bool known =
        std::find(std::begin(supported), std::end(supported), contest) != std::end(supported);
    WorkingFolder here(workspace.Folder());
    CabrilloLogFile file;
    std::string path = workspace.Path("refused" + std::to_string(contest) + ".cbr");
    ASSERT_EQ(file.Open(path.c_str(), kModeWriteNew), 1);
    EXPECT_EQ(file.WriteHeader(HeaderFor(contest)), known ? 1 : 0) << contest;
    if (!known) {
      EXPECT_EQ(file.WriteQso(TwentyMetres()), 0) << contest;
      file.Close();
      file.Close();
      EXPECT_EQ(ReadFile(path), "END-OF-LOG:\r\n") << contest;
    }
  }
}

TEST_F(CabrilloWriter, WritesTheKeywordLinesOfTheHeader) {
  ContestHeader header = HeaderFor(kContestSs, "K1AB");
  header.mode = kModeCw;
  header.category = 1;
  header.power_cat = 2;
  std::snprintf(header.arrl_sect, sizeof header.arrl_sect, "CT");
  std::snprintf(header.club, sizeof header.club, "Yankee Clipper Contest Club");
  std::snprintf(header.name, sizeof header.name, "John Doe");
  std::snprintf(header.address, sizeof header.address, "12 Main St");
  std::snprintf(header.city, sizeof header.city, "Hartford");
  std::snprintf(header.state, sizeof header.state, "CT");
  std::snprintf(header.zip, sizeof header.zip, "06101");
  EXPECT_EQ(Write(header, {}),
            "START-OF-LOG: 2.0\r\n"
            "ARRL-SECTION: CT\r\n"
            "CONTEST: ARRL-SS-CW\r\n"
            "CALLSIGN: K1AB\r\n"
            "CATEGORY: SINGLE-OP-ASSISTED ALL LOW\r\n"
            "CLAIMED-SCORE: \r\n"
            "OPERATORS: \r\n"
            "CLUB: Yankee Clipper Contest Club\r\n"
            "NAME: John Doe\r\n"
            "ADDRESS: 12 Main St\r\n"
            "ADDRESS: Hartford, CT 06101\r\n"
            "SOAPBOX:\r\n"
            "END-OF-LOG:\r\n");
}

TEST_F(CabrilloWriter, ControlCharactersInHeaderTextsDoNotBreakTheLine) {
  ContestHeader header = HeaderFor(kContestCqww, "DL1AB");
  std::snprintf(header.club, sizeof header.club, "Rhein\r\nRuhr");
  EXPECT_EQ(HeaderLine(header, "CLUB:"), "CLUB: Rhein  Ruhr");
}

TEST_F(CabrilloWriter, CompletesContestNamesWithTheModeOrAPlaceholder) {
  struct Case {
    int contest;
    int mode;
    const char* line;
  };
  const Case cases[] = {
      {kContestSs, kModeCw, "CONTEST: ARRL-SS-CW"},
      {kContestSs, kModeSsb, "CONTEST: ARRL-SS-SSB"},
      {kContestCqww, kModeRtty, "CONTEST: CQ-WW-RTTY"},
      {kContestCqww, kModeAm, "CONTEST: CQ-WW-SSB"},
      {kContestWpx, kModeFm, "CONTEST: CQ-WPX-SSB"},
      {kContestCq160, 0, "CONTEST: CQ-160-?MODE?"},
      {kContestNaqp, kModePactor, "CONTEST: NAQP-?MODE?"},
      {kContestSprint, kModeCw, "CONTEST: NA-SPRINT-CW"},
      {kContestVhfQso, kModeSsb, "CONTEST: ARRL-VHF-?MON?"},
      {kContestIaru, kModeSsb, "CONTEST: IARU-HF"},
      {kContestArrl10, kModeCw, "CONTEST: ARRL-10"},
      {kContestArrl160, kModeCw, "CONTEST: ARRL-160"},
      {kContestCqp, kModeCw, "CONTEST: CA-QSO-PARTY"},
      {kContestStewPerry, kModeCw, "CONTEST: STEW-PERRY"},
      {kContestArrlDxFromDx, kModeCw, "CONTEST: ARRL-DX-CW"},
  };
  for (const Case& c : cases) {
    ContestHeader header = HeaderFor(c.contest);
    header.mode = static_cast<std::uint8_t>(c.mode);
    EXPECT_EQ(HeaderLine(header, "CONTEST:"), c.line);
  }
}

TEST_F(CabrilloWriter, CategoryLineNamesOperatorBandAndPower) {
  const char* const words[] = {"SINGLE-OP",   "SINGLE-OP-ASSISTED",     "MULTI-ONE",  "MULTI-TWO",
                               "MULTI-MULTI", "SINGLE-OP-QRP-PORTABLE", "SINGLE-OP",  "SINGLE-OP",
                               "ROVER",       "MULTI-LIMITED",          "?CATEGORY?", "?CATEGORY?"};
  for (int category = 0; category < 12; ++category) {
    ContestHeader header = HeaderFor(kContestCqww);
    header.category = static_cast<std::uint8_t>(category == 11 ? 200 : category);
    header.power_cat = 3;
    EXPECT_EQ(HeaderLine(header, "CATEGORY:"),
              std::string("CATEGORY: ") + words[category] + " ALL HIGH");
  }
  ContestHeader ten = HeaderFor(kContestArrl10);
  ten.power_cat = 1;
  EXPECT_EQ(HeaderLine(ten, "CATEGORY:"), "CATEGORY: SINGLE-OP 10M QRP");
  ContestHeader top = HeaderFor(kContestArrl160);
  top.power_cat = 9;
  EXPECT_EQ(HeaderLine(top, "CATEGORY:"), "CATEGORY: SINGLE-OP 160M ?PWR?");
  EXPECT_EQ(HeaderLine(HeaderFor(kContestCqww), "CATEGORY:"), "CATEGORY: SINGLE-OP ALL ?PWR?");
}

TEST_F(CabrilloWriter, DxSideOfTheArrlDxContestIsSectionDxAndSendsPower) {
  ContestHeader header = HeaderFor(kContestArrlDxFromDx, "DL1AB");
  std::snprintf(header.arrl_sect, sizeof header.arrl_sect, "CT");
  EXPECT_EQ(HeaderLine(header, "ARRL-SECTION:"), "ARRL-SECTION: DX");
  QsoRecord record = TwentyMetres();
  record.SetRcvdExch("MA");
  EXPECT_EQ(QsoLines(header, {record})[0],
            "QSO: 14000 CW 2024-11-23 0001 DL1AB         599 ????   W1XYZ         599 MA      ");
  EXPECT_EQ(HeaderLine(HeaderFor(kContestCqww), "ARRL-SECTION:"), "ARRL-SECTION: ");
}

TEST_F(CabrilloWriter, FrequencyColumnHoldsKilohertzOrTheBand) {
  QsoRecord with_frequency = TwentyMetres();
  with_frequency.freq = 140250;
  QsoRecord without_frequency = TwentyMetres();
  QsoRecord two_metres = TwentyMetres();
  two_metres.band = 12;
  two_metres.freq = 1442000;
  QsoRecord no_band = TwentyMetres();
  no_band.band = 0;
  QsoRecord no_band_with_frequency = TwentyMetres();
  no_band_with_frequency.band = 0;
  no_band_with_frequency.freq = 18305;
  QsoRecord satellite = TwentyMetres();
  satellite.band = 27;
  QsoRecord satellite_with_frequency = TwentyMetres();
  satellite_with_frequency.band = 27;
  satellite_with_frequency.freq = 4358000;
  QsoRecord light = TwentyMetres();
  light.band = 30;
  QsoRecord beyond = TwentyMetres();
  beyond.band = 99;
  std::vector<std::string> lines =
      QsoLines(HeaderFor(kContestCqww),
               {with_frequency, without_frequency, two_metres, no_band, no_band_with_frequency,
                satellite, satellite_with_frequency, light, beyond});
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[0].substr(0, 14), "QSO: 14025 CW ");
  EXPECT_EQ(lines[1].substr(0, 14), "QSO: 14000 CW ");
  EXPECT_EQ(lines[2].substr(0, 14), "QSO:   144 CW ");
  EXPECT_EQ(lines[3].substr(0, 15), "QSO: ?BAND? CW ");
  EXPECT_EQ(lines[4].substr(0, 14), "QSO:  1830 CW ");
  EXPECT_EQ(lines[5].substr(0, 15), "QSO: ?BAND? CW ");
  EXPECT_EQ(lines[6].substr(0, 14), "QSO:   432 CW ");  // a satellite on 70 cm: its designator
  EXPECT_EQ(lines[7].substr(0, 14), "QSO: LIGHT CW ");
  EXPECT_EQ(lines[8].substr(0, 15), "QSO: ?BAND? CW ");
}

TEST_F(CabrilloWriter, EveryBandFromSixMetresUpHasItsDesignator) {
  const char* const designators[] = {"50",   "70",   "144",  "222",  "432", "902",
                                     "1.2G", "2.3G", "3.4G", "5.7G", "10G", "24G",
                                     "24G",  "47G",  "119G", "142G", "241G"};
  std::vector<QsoRecord> records;
  for (int band = 10; band <= 26; ++band) {
    QsoRecord record = TwentyMetres();
    record.band = static_cast<std::uint8_t>(band);
    record.freq = 500000;
    records.push_back(record);
  }
  std::vector<std::string> lines = QsoLines(HeaderFor(kContestVhfQso), records);
  ASSERT_EQ(lines.size(), records.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    char expected[16];
    std::snprintf(expected, sizeof expected, "QSO: %5s ", designators[i]);
    EXPECT_EQ(lines[i].substr(0, 11), expected);
  }
}

TEST_F(CabrilloWriter, ModeColumnHoldsTheCabrilloModeOrAPlaceholder) {
  // The data modes of the table and modes known by name only (FT8) are digital.
  const char* const words[] = {"?MODE?", "CW", "PH", "RY", "PH",     "FM",
                               "DG",     "DG", "DG", "DG", "?MODE?", "DG"};
  std::vector<QsoRecord> records;
  for (int mode = 0; mode <= 10; ++mode) {
    QsoRecord record = TwentyMetres();
    record.mode = static_cast<std::uint8_t>(mode);
    records.push_back(record);
  }
  records.push_back(TwentyMetres());
  records.back().mode = kModeNone;
  records.back().SetModeName("FT8");
  std::vector<std::string> lines = QsoLines(HeaderFor(kContestCqww), records);
  ASSERT_EQ(lines.size(), records.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    char expected[32];
    std::snprintf(expected, sizeof expected, "QSO: 14000 %2s 2024-11-23 0001 ", words[i]);
    EXPECT_EQ(lines[i].substr(0, std::strlen(expected)), expected);
  }
}

TEST_F(CabrilloWriter, SweepstakesNumbersTheContactsAndMarksWhatIsMissing) {
  ContestHeader header = HeaderFor(kContestSs, "K1AB");
  header.prec = 'A';
  header.check = 5;
  std::snprintf(header.arrl_sect, sizeof header.arrl_sect, "CT");
  QsoRecord first = TwentyMetres();
  first.srx = 42;
  first.prec = 'B';
  first.check = 85;
  first.SetArrlSect("EMA");
  QsoRecord unset = TwentyMetres();
  unset.srx = 7;
  unset.SetArrlSect("WMA");
  std::vector<std::string> lines = QsoLines(header, {first, unset});
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(ExchangeColumns(lines[0]), "K1AB          1 A 05  CT W1XYZ        42 B 85 EMA");
  // A cleared record's precedence and check are blanks: they print as '?' and "??", not as an
  // empty column and the check 32.
  EXPECT_EQ(ExchangeColumns(lines[1]), "K1AB          2 A 05  CT W1XYZ         7 ? ?? WMA");

  ContestHeader nothing_known = HeaderFor(kContestSs, "K1AB");
  EXPECT_EQ(ExchangeColumns(QsoLines(nothing_known, {first})[0]),
            "K1AB          1 ? ?? ??? W1XYZ        42 B 85 EMA");
}

TEST_F(CabrilloWriter, ArrlTenMetresSendsSerialOutsideNorthAmerica) {
  QsoRecord serial = TwentyMetres();
  serial.band = 9;
  serial.srx = 17;
  QsoRecord state = TwentyMetres();
  state.band = 9;
  state.SetState("MA", 2);
  QsoRecord text = TwentyMetres();
  text.band = 9;
  text.SetRcvdExch("ON");
  struct Case {
    const char* call;
    bool north_american;
  };
  const Case cases[] = {{"K1AB", true},  {"", true},       {"KH6AA", true}, {"KL7AA", true},
                        {"VE3AA", true}, {"DL1AB", false}, {"ZZ9ZZ", false}};
  for (const Case& c : cases) {
    std::vector<std::string> lines =
        QsoLines(HeaderFor(kContestArrl10, c.call), {serial, state, text});
    EXPECT_EQ(north_american, c.north_american) << c.call;
    ASSERT_EQ(lines.size(), 3u);
    char own[16];
    std::snprintf(own, sizeof own, "%-13s", *c.call != '\0' ? c.call : "?CALL?");
    std::string sent = c.north_american ? "???   " : "1     ";
    EXPECT_EQ(ExchangeColumns(lines[0]),
              std::string(own) + " 599 " + sent + " W1XYZ         599 17      ")
        << c.call;
    EXPECT_EQ(ExchangeColumns(lines[1]).substr(18, 3), c.north_american ? "???" : "2  ") << c.call;
    EXPECT_EQ(ExchangeColumns(lines[1]).substr(43), "MA      ") << c.call;
    EXPECT_EQ(ExchangeColumns(lines[2]).substr(43), "ON      ") << c.call;
  }
}

TEST_F(CabrilloWriter, CallTheCountryFileDoesNotKnowIsNotNorthAmerican) {
  workspace.Write("cqww.cty", "Fed. Rep. of Germany: 14: DL: DA,DB,DC,DD,DF,DG,DH,DJ,DK,DL;\r\n");
  Write(HeaderFor(kContestArrl10, "K1AB"), {});
  EXPECT_FALSE(north_american);
  Write(HeaderFor(kContestArrl10, ""), {});
  EXPECT_TRUE(north_american);
}

TEST_F(CabrilloWriter, ReportLayoutSendsAndReceivesEachContestsExchange) {
  ContestHeader header = HeaderFor(kContestCqww, "DL1AB");
  QsoRecord record = TwentyMetres();
  record.cqz = 5;
  record.srx = 123;
  record.ituz = 8;
  record.SetRcvdExch("KW");
  struct Case {
    int contest;
    std::string columns;
  };
  const Case cases[] = {
      {kContestCqww, "DL1AB         599 ???    W1XYZ         599 05      "},
      {kContestWpx, "DL1AB         599 ???    W1XYZ         599   123   "},
      {kContestIaru, "DL1AB         599 ??     W1XYZ         599 08      "},
      {kContestArrlDx, "DL1AB         599 ???    W1XYZ         599 KW      "},
      {kContestArrl160, "DL1AB         599 ???    W1XYZ         599 KW      "},
      {kContestCq160, "DL1AB         599 ???    W1XYZ         599 KW      "},
      {kContestStewPerry, "DL1AB         599 ???    W1XYZ         599 KW      "},
  };
  for (const Case& c : cases) {
    header.contest = static_cast<std::uint8_t>(c.contest);
    EXPECT_EQ(ExchangeColumns(QsoLines(header, {record})[0]), c.columns) << c.contest;
  }
  header.contest = kContestIaru;
  header.zone = 28;
  record.ituz = 0;
  EXPECT_EQ(ExchangeColumns(QsoLines(header, {record})[0]),
            "DL1AB         599 28     W1XYZ         599 KW      ");
}

TEST_F(CabrilloWriter, ReceivedTextsStayOneWord) {
  QsoRecord record = TwentyMetres();
  record.SetName("MARY ANN");
  record.SetQth("NEW\tYORK");
  std::vector<std::string> lines = QsoLines(HeaderFor(kContestNaqp, "K1AB"), {record});
  EXPECT_EQ(ExchangeColumns(lines[0]),
            "K1AB            ????       ???? W1XYZ           MARY_ANN   NEW_YORK  ");
}

TEST_F(CabrilloWriter, TrailerIsWrittenOnceWhenClosedTwice) {
  WorkingFolder here(workspace.Folder());
  std::string path = workspace.Path("twice.cbr");
  {
    CabrilloLogFile file;
    ASSERT_EQ(file.Open(path.c_str(), kModeWriteNew), 1);
    ASSERT_EQ(file.WriteHeader(HeaderFor(kContestCqww)), 1);
    EXPECT_EQ(file.WriteQso(TwentyMetres()), 1);
    file.Close();
    file.Close();
  }
  std::string text = ReadFile(path);
  EXPECT_EQ(text.find("END-OF-LOG:"), text.rfind("END-OF-LOG:"));
  EXPECT_TRUE(CheckCabrillo(text).Clean()) << CheckCabrillo(text).Describe();
}

}  // namespace
}  // namespace quorvel
