// The ARRL text log: the writer's columns byte for byte, the reader's word rules, and round
// trips through the format.
#include "formats/arrl_log_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "core/format_factory.h"
#include "core/numbers.h"
#include "log_test_support.h"

namespace quorvel {
namespace {

using testing::Contact;
using testing::HeaderFor;
using testing::LogWorkspace;
using testing::ReadFile;
using testing::ReadThrough;
using testing::WriteThrough;

std::string WriteArrl(int contest, const ContestHeader& header,
                      const std::vector<QsoRecord>& records) {
  LogWorkspace workspace;
  ArrlLogFile file;
  return WriteThrough(file, workspace.Path("out.log"), contest, header, records);
}

std::string WriteArrl(int contest, const std::vector<QsoRecord>& records) {
  return WriteArrl(contest, HeaderFor(contest), records);
}

std::vector<QsoRecord> ReadArrl(int contest, const std::string& text) {
  LogWorkspace workspace;
  ArrlLogFile file;
  return ReadThrough(file, workspace.Write("in.log", text), contest);
}

QsoRecord ReadOne(int contest, const std::string& line) {
  std::vector<QsoRecord> records = ReadArrl(contest, line);
  EXPECT_EQ(records.size(), 1u) << line;
  if (records.empty()) {
    QsoRecord none;
    none.Clear();
    return none;
  }
  return records[0];
}

std::string Blanks(int count) {
  return std::string(static_cast<std::size_t>(count), ' ');
}

CivilTime TimeOf(const QsoRecord& record) {
  return UtcCalendar(record.time_on);
}

// A 20 m CW contact of 15 October 2000, 14:05 UTC, as the ARRL DX example has it.
QsoRecord ArrlDxExample() {
  QsoRecord record = Contact("Q1ABC", 5, kModeCw, 2000, 10, 15, 14, 5);
  record.rst_sent = 599;
  record.rst_rcvd = 579;
  record.SetRcvdExch("100");
  record.points = 3;
  return record;
}

TEST(ArrlLogWriter, WritesTheSeventyCharacterArrlDxLine) {
  std::string expected = "20" + Blanks(2) + "CW" + Blanks(2) + "15/10/100" + Blanks(1) + "1405" +
                         Blanks(1) + "1" + Blanks(5) + "Q1ABC" + Blanks(10) + "599" + Blanks(7) +
                         "579" + Blanks(1) + "100" + Blanks(5) + "3" + Blanks(2) + "0";
  ASSERT_EQ(expected.size(), 70u);
  EXPECT_EQ(WriteArrl(kContestArrlDx, {ArrlDxExample()}), expected + "\r\n");
}

TEST(ArrlLogWriter, NumbersTheLinesAndWritesTheYearAsYearsSince1900) {
  QsoRecord old = ArrlDxExample();
  old.time_on = UtcSeconds(1999, 10, 15, 14, 5, 0);
  std::string text = WriteArrl(kContestArrlDx, {old, ArrlDxExample()});
  EXPECT_EQ(text.substr(0, 22), "20  CW  15/10/99 1405 ");
  EXPECT_NE(text.find("\r\n20  CW  15/10/100 1405 2     Q1ABC"), std::string::npos);
}

TEST(ArrlLogWriter, RefusesContestsWithoutColumnsAndWritesNothing) {
  for (int contest = 0; contest <= kContestCount + 2; ++contest) {
    bool supported = contest == 1 || contest == 2 || contest == 5 || contest == 6 || contest == 7 ||
                     contest == 9 || contest == 11 || contest == 13 || contest == 16 ||
                     contest == 21;
    std::string text = WriteArrl(contest, {ArrlDxExample()});
    if (supported) {
      EXPECT_NE(text, "REFUSED") << contest;
    } else {
      EXPECT_EQ(text, "REFUSED") << contest;
    }
  }
}

TEST(ArrlLogWriter, RefusedContestLeavesAnEmptyFileThroughTheProgram) {
  LogWorkspace workspace;
  workspace.Write("in.log",
                  "20  CW  15/10/100 1405 1     Q1ABC          599       579 100     3  0\r\n");
  auto run = testing::RunQuorvelcon({"in.log", "out.log", "-cCQWW"}, workspace.Folder());
  EXPECT_NE(
      run.output.find("Contest not supported by output file\n\rError opening output file out.log"),
      std::string::npos)
      << run.output;
  EXPECT_EQ(run.exit_code, 255);
  EXPECT_EQ(ReadFile(workspace.Path("out.log")), "");
}

TEST(ArrlLogWriter, WritesEveryContestsColumns) {
  ContestHeader own = HeaderFor(kContestSs, "K1AB");
  own.prec = 'A';
  own.check = 72;
  std::snprintf(own.arrl_sect, sizeof own.arrl_sect, "CT");
  own.zone = 8;
  std::snprintf(own.gridsquare, sizeof own.gridsquare, "FN31");
  QsoRecord record = Contact("W1XYZ", 5, kModeCw, 2024, 11, 2, 21, 7);
  record.rst_sent = 599;
  record.rst_rcvd = 579;
  record.srx = 42;
  record.prec = 'B';
  record.check = 85;
  record.SetArrlSect("EMA");
  record.SetRcvdExch("MA");
  record.SetName("BOB");
  record.ituz = 8;
  record.points = 2;
  record.mult_count = 1;
  const std::string common = "20  CW  02/11/124 2107 ";
  struct Case {
    int contest;
    std::string columns;
  };
  const Case cases[] = {
      {1, "1    A K1AB       72  CT 42   B W1XYZ      85 EMA   * 2"},
      {2, "1     W1XYZ          599       579 MA    * 2  0"},
      {5, "1     W1XYZ         599     8 579 8     * 2  0"},
      {6, "1      W1XYZ         599       579 MA    * 2  0"},
      {7, "1      W1XYZ        599       579 MA    * 2  0"},
      {11, "1     W1XYZ          599      579 MA    * 2  0"},
      {13, "1     W1XYZ          FN31   MA  * 2  0"},
      {16, "1     W1XYZ          BOB         MA           *        2"},
      {21, "1     W1XYZ           42  BOB         MA     *        2"},
  };
  for (const Case& c : cases) {
    own.contest = static_cast<std::uint8_t>(c.contest);
    EXPECT_EQ(WriteArrl(c.contest, own, {record}), common + c.columns + "\r\n") << c.contest;
  }
}

TEST(ArrlLogWriter, FieldDayWritesOwnClassWithAtLeastOneTransmitter) {
  ContestHeader own = HeaderFor(kContestFd);
  std::snprintf(own.arrl_sect, sizeof own.arrl_sect, "CT");
  QsoRecord record = Contact("W1XYZ", 3, kModeSsb, 2024, 6, 22, 18, 30);
  record.prec = 12;
  record.check = 'A';
  record.SetArrlSect("EMA");
  record.points = 2;
  own.check = 2;  // CT logs keep the category as a letter index
  EXPECT_EQ(WriteArrl(kContestFd, own, {record}),
            "40  SSB 22/06/124 1830 1     W1XYZ           1C CT   12A EMA  2\r\n");
  own.prec = 3;
  own.check = 'B';  // ADIF logs keep the letter itself
  EXPECT_EQ(WriteArrl(kContestFd, own, {record}),
            "40  SSB 22/06/124 1830 1     W1XYZ           3B CT   12A EMA  2\r\n");
}

TEST(ArrlLogWriter, BandsAndModesWithoutLabelKeepTheDateInItsColumn) {
  QsoRecord rtty = Contact("DL1AA", 5, kModeRtty, 2024, 1, 6, 0, 0);
  QsoRecord am = Contact("DL1AA", 2, kModeAm, 2024, 1, 6, 0, 1);
  QsoRecord no_band = Contact("DL1AA", 0, kModePactor, 2024, 1, 6, 0, 2);
  QsoRecord far_band = Contact("DL1AA", 24, 0, 2024, 1, 6, 0, 3);
  std::string text = WriteArrl(kContestArrlDx, {rtty, am, no_band, far_band});
  EXPECT_NE(text.find("20  RY  06/01/124 0000 1 "), std::string::npos) << text;
  EXPECT_NE(text.find("80  AM  06/01/124 0001 2 "), std::string::npos) << text;
  EXPECT_NE(text.find("??? ??? 06/01/124 0002 3 "), std::string::npos) << text;
  EXPECT_NE(text.find("??? ??? 06/01/124 0003 4 "), std::string::npos) << text;

  LogWorkspace workspace;
  EXPECT_EQ(DetectInputFormat(
                workspace.Write("first.log", text.substr(text.find("\r\n??? ??? ") + 2)).c_str()),
            kFormatArrl);
  std::vector<QsoRecord> back = ReadArrl(kContestArrlDx, text);
  ASSERT_EQ(back.size(), 4u);
  EXPECT_EQ(back[0].mode, kModeRtty);
  EXPECT_EQ(back[1].mode, kModeAm);
  EXPECT_EQ(back[2].band, 0);
  EXPECT_EQ(back[2].mode, 0);
  EXPECT_EQ(back[3].band, 0);
  EXPECT_EQ(TimeOf(back[3]).minute, 3);
  EXPECT_EQ(back[3].Call(), "DL1AA");
}

TEST(ArrlLogWriter, EmptyTextsAndBlanksInsideTextsKeepEveryWordInPlace) {
  ContestHeader own = HeaderFor(kContestSs, "");
  QsoRecord record = Contact("W1XYZ", 5, kModeCw, 2024, 11, 2, 21, 7);
  record.srx = 5;
  std::string text = WriteArrl(kContestSs, own, {record});
  EXPECT_EQ(text,
            "20  CW  02/11/124 2107 1    ? ???        00 ??? 5    ? W1XYZ      ?? ???     0\r\n");
  QsoRecord back = ReadOne(kContestSs, text);
  EXPECT_EQ(back.srx, 5);
  EXPECT_EQ(back.check, ' ');  // an unknown check, never the number 32
  EXPECT_EQ(back.prec, ' ');
  EXPECT_EQ(back.check, ' ');
  EXPECT_EQ(back.Call(), "W1XYZ");
  EXPECT_EQ(back.ArrlSect(), "");

  QsoRecord naqp = Contact("W1XYZ", 5, kModeCw, 2024, 1, 13, 18, 0);
  naqp.SetName("MARY ANN");
  naqp.points = 1;
  text = WriteArrl(kContestNaqp, {naqp});
  EXPECT_NE(text.find(" MARY_ANN    ???          "), std::string::npos) << text;
  back = ReadOne(kContestNaqp, text);
  EXPECT_EQ(back.Name(), "MARY_ANN");
  EXPECT_EQ(back.RcvdExch(), "");
  EXPECT_EQ(back.points, 1);
}

TEST(ArrlLogWriter, TakesTheExchangeFromWhereAdifLogsKeepIt) {
  QsoRecord serial = Contact("DL1AA", 9, kModeCw, 2024, 12, 14, 0, 2);
  serial.srx = 123;
  QsoRecord state = Contact("W1XYZ", 9, kModeCw, 2024, 12, 14, 0, 3);
  state.SetState("MA", 2);
  std::vector<QsoRecord> back =
      ReadArrl(kContestArrl10, WriteArrl(kContestArrl10, {serial, state}));
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0].RcvdExch(), "123");
  EXPECT_EQ(back[1].RcvdExch(), "MA");

  QsoRecord section = Contact("W1XYZ", 1, kModeCw, 2024, 12, 7, 0, 0);
  section.SetArrlSect("EMA");
  QsoRecord county = Contact("DL1AA", 1, kModeCw, 2024, 12, 7, 0, 1);
  county.SetQth("HAMBURG");
  back = ReadArrl(kContestArrl160, WriteArrl(kContestArrl160, {section, county}));
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0].RcvdExch(), "EMA");
  EXPECT_EQ(back[1].RcvdExch(), "HAMBURG");
}

TEST(ArrlLogReader, ReadsTheExampleLine) {
  QsoRecord record = ReadOne(
      kContestArrlDx, "20  CW  15/10/100 1405 1     Q1ABC          599       579 100     3  0\r\n");
  EXPECT_EQ(record.band, 5);
  EXPECT_EQ(record.mode, kModeCw);
  EXPECT_EQ(record.time_on, UtcSeconds(2000, 10, 15, 14, 5, 0));
  EXPECT_EQ(record.Call(), "Q1ABC");
  EXPECT_EQ(record.rst_sent, 599);
  EXPECT_EQ(record.rst_rcvd, 579);
  EXPECT_EQ(record.RcvdExch(), "100");
  EXPECT_EQ(record.mult_count, 0);
  EXPECT_EQ(record.points, 3);
}

TEST(ArrlLogReader, ReadsTwoThreeAndFourDigitYears) {
  struct Case {
    const char* year;
    int expected;
  };
  const Case cases[] = {{"99", 1999}, {"70", 1970}, {"100", 2000}, {"124", 2024},
                        {"00", 2000}, {"05", 2005}, {"37", 2037},  {"2024", 2024}};
  for (const Case& c : cases) {
    std::string line =
        std::string("20  CW  15/10/") + c.year + " 1405 1     Q1ABC 599 579 100 3 0\n";
    CivilTime time = TimeOf(ReadOne(kContestArrlDx, line));
    EXPECT_EQ(time.year, c.expected) << c.year;
    EXPECT_EQ(time.month, 10);
    EXPECT_EQ(time.day, 15);
    EXPECT_EQ(time.hour, 14);
    EXPECT_EQ(time.minute, 5);
  }
}

TEST(ArrlLogReader, YearPrintedWithALeadingBlankKeepsTheWordsInPlace) {
  QsoRecord record = ReadOne(kContestArrlDx, "20  CW  15/10/ 5 1405 1     Q1ABC 599 579 100 3 0\n");
  CivilTime time = TimeOf(record);
  EXPECT_EQ(time.year, 2005);
  EXPECT_EQ(time.hour, 14);
  EXPECT_EQ(time.minute, 5);
  EXPECT_EQ(record.Call(), "Q1ABC");
  EXPECT_EQ(record.RcvdExch(), "100");
}

TEST(ArrlLogReader, ReadsPhAsSsbAndUnknownModeWordsAsNoMode) {
  EXPECT_EQ(ReadOne(2, "20  PH  15/10/100 1405 1 Q1ABC 59 59 100 3 0").mode, kModeSsb);
  EXPECT_EQ(ReadOne(2, "20  SSB 15/10/100 1405 1 Q1ABC 59 59 100 3 0").mode, kModeSsb);
  EXPECT_EQ(ReadOne(2, "20  RTTY 15/10/100 1405 1 Q1ABC 599 599 100 3 0").mode, 0);
  EXPECT_EQ(ReadOne(2, "20  RY  15/10/100 1405 1 Q1ABC 599 599 100 3 0").mode, kModeRtty);
  EXPECT_EQ(ReadOne(2, "1.2 FM  15/10/100 1405 1 Q1ABC 59 59 100 3 0").band, 16);
  EXPECT_EQ(ReadOne(2, "2m  FM  15/10/100 1405 1 Q1ABC 59 59 100 3 0").band, 0);
}

TEST(ArrlLogReader, TailIsAMarkerAndPointsOrThePointsAlone) {
  const std::string start = "20  CW  15/10/100 1405 1     Q1ABC          599       579 100     ";
  QsoRecord plain = ReadOne(2, start + "  3  0\r\n");
  EXPECT_EQ(plain.mult_count, 0);
  EXPECT_EQ(plain.points, 3);
  QsoRecord marked = ReadOne(2, start + "* 3  0\r\n");
  EXPECT_EQ(marked.mult_count, 1);
  EXPECT_EQ(marked.points, 3);
  QsoRecord many = ReadOne(2, start + "  12  0\r\n");
  EXPECT_EQ(many.mult_count, 0);
  EXPECT_EQ(many.points, 12);
  QsoRecord marked_many = ReadOne(2, start + "* 12  0\r\n");
  EXPECT_EQ(marked_many.mult_count, 1);
  EXPECT_EQ(marked_many.points, 12);

  QsoRecord record = ArrlDxExample();
  record.points = 255;
  QsoRecord back = ReadOne(2, WriteArrl(2, {record}));
  EXPECT_EQ(back.points, 255);
  EXPECT_EQ(back.mult_count, 0);
}

TEST(ArrlLogReader, FieldDayClassGivesTransmittersAndCategory) {
  QsoRecord record =
      ReadOne(kContestFd, "40  SSB 22/06/124 1830 1     W1XYZ           1C CT   12A EMA  2\r\n");
  EXPECT_EQ(record.prec, 12);
  EXPECT_EQ(record.check, 'A');
  EXPECT_EQ(record.ArrlSect(), "EMA");
  EXPECT_EQ(record.points, 2);
  EXPECT_EQ(record.mult_count, 0);
  QsoRecord no_letter = ReadOne(kContestFd, "40  SSB 22/06/124 1830 1 W1XYZ 1C CT 3 EMA 2");
  EXPECT_EQ(no_letter.prec, 3);
  EXPECT_EQ(no_letter.check, ' ');
  QsoRecord unknown = ReadOne(kContestFd, "40  SSB 22/06/124 1830 1 W1XYZ 1C CT 3? EMA 2");
  EXPECT_EQ(unknown.prec, 3);
  EXPECT_EQ(unknown.check, ' ');
}

TEST(ArrlLogReader, WithoutContestFillsOnlyTheCommonFields) {
  QsoRecord record =
      ReadOne(0, "20  CW  15/10/100 1405 1     Q1ABC          599       579 100     3  0\r\n");
  QsoRecord expected;
  expected.Clear();
  expected.band = 5;
  expected.mode = kModeCw;
  expected.time_on = UtcSeconds(2000, 10, 15, 14, 5, 0);
  expected.SetCallText("Q1ABC");
  expected.points = 0;  // 599 is too large for the points byte: no points, never a wrapped 87
  EXPECT_EQ(std::memcmp(&record, &expected, sizeof record), 0);
  QsoRecord marked = ReadOne(0, "20  CW  15/10/100 1405 1     Q1ABC * 4\r\n");
  EXPECT_EQ(marked.mult_count, 1);
  EXPECT_EQ(marked.points, 4);
}

TEST(ArrlLogReader, ConvertsALastLineWithoutLineEnd) {
  std::vector<QsoRecord> records = ReadArrl(2,
                                            "20  CW  15/10/100 1405 1 Q1ABC 599 579 100 3 0\r\n20  "
                                            "CW  15/10/100 1406 2 Q2ABC 599 579 100 3 0");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[1].Call(), "Q2ABC");
  EXPECT_EQ(records[1].points, 3);
}

TEST(ArrlLogReader, PassesOverBlankLinesAndCutsOverlongLines) {
  std::string overlong =
      "20  CW  15/10/100 1405 2 Q2ABC 599 579 " + std::string(1500, 'X') + " 3 0\r\n";
  std::vector<QsoRecord> records =
      ReadArrl(2, "\r\n20  CW  15/10/100 1405 1 Q1ABC 599 579 100 3 0\r\n   \r\n\r\n" + overlong +
                      "20  CW  15/10/100 1407 3 Q3ABC 599 579 100 3 0\r\n\r\n");
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].Call(), "Q1ABC");
  EXPECT_EQ(records[1].Call(), "Q2ABC");
  EXPECT_EQ(records[1].RcvdExch(), std::string(39, 'X'));
  EXPECT_EQ(records[2].Call(), "Q3ABC");
}

TEST(ArrlLogReader, LinesWithFewerWordsGiveTheFieldsTheyHave) {
  QsoRecord record =
      ReadOne(kContestSs, "20  CW  02/11/124 2107 1    A K1AB       72  CT 42   B W1XYZ");
  EXPECT_EQ(record.srx, 42);
  EXPECT_EQ(record.prec, 'B');
  EXPECT_EQ(record.Call(), "W1XYZ");
  EXPECT_EQ(record.check, ' ');
  EXPECT_EQ(record.ArrlSect(), "");
  EXPECT_EQ(record.points, 0);

  record = ReadOne(kContestSprint, "20  CW  02/11/124 2107 1     W1XYZ           42");
  EXPECT_EQ(record.Call(), "W1XYZ");
  EXPECT_EQ(record.srx, 42);
  EXPECT_EQ(record.Name(), "");

  record = ReadOne(kContestIaru, "20  CW  02/11/124 2107");
  EXPECT_EQ(record.band, 5);
  EXPECT_EQ(TimeOf(record).hour, 21);
  EXPECT_EQ(record.Call(), "");

  record = ReadOne(kContestArrlDx, "20");
  EXPECT_EQ(record.band, 5);
  EXPECT_EQ(record.mode, 0);
}

// Words are found eight bytes at a time; tabs and carriage returns separate them as blanks do,
// other control characters belong to a word, and a NUL ends the line's text.
TEST(ArrlLogReader, SeparatorsControlCharactersAndNulsSplitTheLineAsTheyShould) {
  const std::string example = "20  CW  15/10/100 1405 1     Q1ABC          599       579 100";
  struct Case {
    std::string line;
    std::string call;
    std::string exchange;
  };
  const Case cases[] = {
      {example + "\n", "Q1ABC", "100"},
      {"20\tCW\t15/10/100\t1405\t1\t\t\t\tQ1ABC\t599\t579\t100\n", "Q1ABC", "100"},
      {"20  CW  15/10/100 1405 1     Q1\x01"
       "ABC      599  579 100 \r\n",
       "Q1\x01"
       "ABC",
       "100"},
      {std::string("20  CW  15/10/100 1405 1     Q1ABC          599       579 1") + '\0' + "00\n",
       "Q1ABC", "1"},
      {std::string("20  CW  15/10/100 1405 1     Q1ABC          599") + '\0' + "  579 100\n",
       "Q1ABC", ""},
      {std::string("20  CW  15/10/100 1405 1     ") + '\0' + "Q1ABC 599 579 100\n", "", ""},
  };
  for (const Case& test : cases) {
    QsoRecord record = ReadOne(kContestArrlDx, test.line);
    EXPECT_EQ(record.Call(), test.call) << test.line;
    EXPECT_EQ(record.RcvdExch(), test.exchange) << test.line;
    EXPECT_EQ(record.time_on, UtcSeconds(2000, 10, 15, 14, 5, 0)) << test.line;
  }
}

TEST(ArrlLogReader, EveryCutOfEveryContestsLineReadsWithoutRunningPastIt) {
  const std::pair<int, std::string> lines[] = {
      {1, "20  CW  02/11/124 2107 1    A K1AB       72  CT 42   B W1XYZ      85 EMA   * 2"},
      {2, "20  CW  02/11/124 2107 1     W1XYZ          599       579 MA    * 2  0"},
      {5, "20  CW  02/11/124 2107 1     W1XYZ         599     8 579 8     * 2  0"},
      {6, "20  CW  02/11/124 2107 1      W1XYZ         599       579 MA    * 2  0"},
      {7, "20  CW  02/11/124 2107 1      W1XYZ        599       579 MA    * 2  0"},
      {9, "40  SSB 22/06/124 1830 1     W1XYZ           1C CT   12A EMA  2"},
      {11, "20  CW  02/11/124 2107 1     W1XYZ          599      579 MA    * 2  0"},
      {13, "20  CW  02/11/124 2107 1     W1XYZ          FN31   MA  * 2  0"},
      {16, "20  CW  02/11/124 2107 1     W1XYZ          BOB         MA           *        2"},
      {21, "20  CW  02/11/124 2107 1     W1XYZ           42  BOB         MA     *        2"},
  };
  for (const auto& [contest, line] : lines) {
    QsoRecord whole = ReadOne(contest, line);
    EXPECT_EQ(whole.points, 2) << line;
    EXPECT_EQ(whole.mult_count, contest == kContestFd ? 0 : 1) << line;
    for (std::size_t cut = 1; cut < line.size(); ++cut) {
      std::vector<QsoRecord> records = ReadArrl(contest, line.substr(0, cut));
      EXPECT_EQ(records.size(), 1u) << contest << " cut at " << cut;
    }
  }
}

TEST(ArrlLogReader, SkipsASentExchangeThatOtherProgramsWrite) {
  QsoRecord filled = ReadOne(
      kContestArrl10, "10  CW  14/12/124 0002 1      DL1AA         599 001   599 MA    * 2  0");
  EXPECT_EQ(filled.rst_sent, 599);
  EXPECT_EQ(filled.rst_rcvd, 599);
  EXPECT_EQ(filled.RcvdExch(), "MA");
  EXPECT_EQ(filled.mult_count, 1);
  EXPECT_EQ(filled.points, 2);
  QsoRecord blank = ReadOne(
      kContestArrl10, "10  CW  14/12/124 0002 1      DL1AA         599       599 MA      2  0");
  EXPECT_EQ(blank.rst_rcvd, 599);
  EXPECT_EQ(blank.RcvdExch(), "MA");
  EXPECT_EQ(blank.points, 2);
  QsoRecord dx = ReadOne(kContestArrlDxFromDx,
                         "15  SSB 17/02/124 0121 1     VE1RSM         59  NS    59  NS    * 3  0");
  EXPECT_EQ(dx.rst_rcvd, 59);
  EXPECT_EQ(dx.RcvdExch(), "NS");
}

TEST(ArrlLogReader, ReadsTheReceivedGridOfVhfLinesOfAnyYear) {
  // Since 2000 the year column has three digits, so the grid no longer stands at a fixed column.
  QsoRecord both =
      ReadOne(kContestVhfQso, "144 FM  08/06/124 1800 1     W1XYZ          FN31 FN42  * 2  0\r\n");
  EXPECT_EQ(both.RcvdExch(), "FN42");
  EXPECT_EQ(both.mult_count, 1);
  EXPECT_EQ(both.points, 2);
  QsoRecord old =
      ReadOne(kContestVhfQso, "144 FM  08/06/99 1800 1     W1XYZ          FN31 FN42    1  0\r\n");
  EXPECT_EQ(old.RcvdExch(), "FN42");
  EXPECT_EQ(old.points, 1);
  QsoRecord no_own =
      ReadOne(kContestVhfQso, "144 FM  08/06/124 1800 1     W1XYZ               FN42  * 2  0\r\n");
  EXPECT_EQ(no_own.RcvdExch(), "FN42");
  EXPECT_EQ(no_own.mult_count, 1);
  QsoRecord none =
      ReadOne(kContestVhfQso, "144 FM  08/06/124 1800 1     W1XYZ                     * 2  0\r\n");
  EXPECT_EQ(none.RcvdExch(), "");
  EXPECT_EQ(none.points, 2);
}

// The fields a Sweepstakes line fills, in one text for comparing records.
std::string SweepstakesFields(const QsoRecord& r) {
  std::ostringstream out;
  out << r.Call() << '|' << r.time_on << '|' << int{r.band} << '|' << int{r.mode} << '|' << r.stx
      << '|' << r.srx << '|' << int{r.prec} << '|' << int{r.check} << '|' << r.ArrlSect() << '|'
      << int{r.points} << '|' << int{r.mult_count};
  return out.str();
}

// A line of `length` characters before its line end, its section word padded out with X.
std::string LineOfLength(std::size_t length) {
  std::string line = "20  CW  16/10/100 0003 8 A W1AW 72 CT 13 A Q8ABC 60 ";
  return line + std::string(length - line.size(), 'X') + "\r\n";
}

// A long log takes most lines in place from the stream's buffer and copies the others (across
// the buffer's end, longer than the line room, ended by a bare carriage return), and reads a
// date once for a run of lines: every line of it reads as it does in a log of its own.
TEST(ArrlLogReader, EveryLineOfALongLogReadsAsItDoesAlone) {
  const std::vector<std::string> lines = {
      "20  CW  15/10/100 1405 1 A W1AW 72 CT 12 B Q1ABC 61 OH 2\r\n",
      "40  PH  15/10/100 2359 2 A W1AW 72 CT 7 U Q2ABC 99 WWA * 2\n",
      "80  CW  31/02/100 1405 3 A W1AW 72 CT 8 A Q3ABC 60 CT 2\r",  // no such day
      "80  CW  31/02/100 2460 4 A W1AW 72 CT 9 A Q4ABC 60 CT 2\r\n",
      "10  CW  15/10/ 5 0001 5 A W1AW 72 CT 10 A Q5ABC 60 CT 2\r\n",
      "10  CW  15/10/ 6 0001 5 A W1AW 72 CT 10 A Q5ABC 60 CT 2\r\n",
      "15  CW  16/10/100 0001 6 A W1AW 72 CT +12 A\tQ6ABC 2 NT 2\r\n",
      "20  CW  16/10/100 0002 7 A W1AW 72 CT 13 A Q7ABC 60 NT 2 \r 3\n",
      "   \r\n",
      LineOfLength(1022),
      LineOfLength(1023),
      LineOfLength(1100),
  };
  testing::ExpectRepeatedLinesReadAsAlone(
      lines, [](const std::string& text) { return ReadArrl(kContestSs, text); }, SweepstakesFields);
}

// Serials, check and points: a word of digits alone is read apart from other words, and every
// word gives what the record's own number setters make of it.
TEST(ArrlLogReader, NumberWordsReadAsTheRecordSettersReadThem) {
  const char* const words[] = {"7",          "0042",        "+12",       "-3",
                               "12a",        "255",         "256",       "65535",
                               "2147483647", "2147483648",  "999999999", "99999999999",
                               "1234567890", "000000000007"};
  for (const char* word : words) {
    std::string w = word;
    QsoRecord read = ReadOne(kContestSs, "20  CW  15/10/100 1405 " + w + " A W1AW 72 CT " + w +
                                             " B Q1ABC " + w + " OH " + w + "\r\n");
    QsoRecord expected;
    expected.Clear();
    expected.SetStx(w);
    expected.SetSrx(w);
    if (IsDigit(w[0])) {
      expected.SetCheck(w);
      expected.SetPoints(w);
    }
    EXPECT_EQ(read.stx, expected.stx) << w;
    EXPECT_EQ(read.srx, expected.srx) << w;
    EXPECT_EQ(read.check, expected.check) << w;
    EXPECT_EQ(read.points, expected.points) << w;
  }
}

}  // namespace
}  // namespace quorvel
