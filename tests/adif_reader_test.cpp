// Reading ADIF logs: header variants, contact tags, and the logs other programs write.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "adif_test_support.h"
#include "formats/adif_log_file.h"

namespace quorvel {
namespace {

using testing::AdifLog;
using testing::AdifWorkspace;
using testing::ReadAdifText;

constexpr char kHeader[] = "Test log\r\n<eoh>\r\n";

std::string Calls(const AdifLog& log) {
  std::string calls;
  for (const QsoRecord& record : log.qsos) {
    if (!calls.empty()) calls += ",";
    calls += std::string(record.Call());
  }
  return calls;
}

// One contact of the given tags; a call comes first, so that a record of other tags alone is
// still a contact (a later call tag replaces it).
QsoRecord ReadOne(const AdifWorkspace& workspace, const std::string& tags, int contest = 0) {
  AdifLog log =
      ReadAdifText(workspace, std::string(kHeader) + "<call:4>N0NE" + tags + "<eor>\r\n", contest);
  EXPECT_EQ(log.qsos.size(), 1u) << tags;
  if (log.qsos.empty()) {
    QsoRecord empty;
    empty.Clear();
    return empty;
  }
  return log.qsos[0];
}

// ---- Header ----

TEST(AdifReader, ReadsTheSampleLineWithNamesInAnyCase) {
  AdifWorkspace workspace;
  AdifLog log = ReadAdifText(workspace,
                             "ADIF export<eoh>\r\n<call:6>NOCALL<qso_date:8:d>20010128"
                             "<time_on:4>1502<band:3>20m<mode:2>cw<eor>\r\n");
  ASSERT_EQ(log.opened, 1);
  ASSERT_EQ(log.qsos.size(), 1u);
  const QsoRecord& qso = log.qsos[0];
  EXPECT_EQ(qso.Call(), "NOCALL");
  EXPECT_EQ(qso.time_on, 980694120);  // 2001-01-28 15:02:00 UTC
  EXPECT_EQ(qso.band, 5);
  EXPECT_EQ(qso.mode, kModeCw);
  EXPECT_EQ(qso.time_off, 0);
}

TEST(AdifReader, OneLineHeaderGivesNoHeaderFields) {
  AdifWorkspace workspace;
  AdifLog log = ReadAdifText(workspace,
                             "<call:4>K1AB <contest_id:2>SS <eoh>\r\n"
                             "<call:4>W1AW<eor>\r\n");
  EXPECT_EQ(std::string(log.header.call), "");
  EXPECT_EQ(log.header.contest, 0);
  EXPECT_EQ(Calls(log), "W1AW");
}

TEST(AdifReader, HeaderTagsAfterTheFirstLineFillTheContestHeader) {
  AdifWorkspace workspace;
  AdifLog log = ReadAdifText(workspace,
                             "<call:4>XX1X first line is passed over\r\n"
                             "<CALL:5>K5ZD/ <mode:2>cw <name:5>Randy <state:2>MA\r\n"
                             "<contest_id:2>SS <prec:1>A <check:2>71 <arrl_sect:3>EMA\r\n"
                             "<cqz:1>5 <gridsquare:6>FN42ab <address:5>x<y>z\r\n"
                             "<eoh>\r\n<call:4>W1AW<eor>\r\n");
  EXPECT_EQ(std::string(log.header.call), "K5ZD/");
  EXPECT_EQ(log.header.mode, kModeCw);
  EXPECT_EQ(std::string(log.header.name), "Randy");
  EXPECT_EQ(std::string(log.header.state), "MA");
  EXPECT_EQ(log.header.contest, kContestSs);
  EXPECT_EQ(log.header.prec, 'A');
  EXPECT_EQ(log.header.check, 71);
  EXPECT_EQ(std::string(log.header.arrl_sect), "EMA");
  EXPECT_EQ(log.header.zone, 5);
  EXPECT_EQ(std::string(log.header.gridsquare), "FN42ab");
  EXPECT_EQ(Calls(log), "W1AW");
}

TEST(AdifReader, FieldDayHeaderTakesTransmittersAndCategory) {
  AdifWorkspace workspace;
  AdifLog log =
      ReadAdifText(workspace, "FD log\n<contest_id:2>FD\n<tx_count:1>3\n<category:1>A\n<eoh>\n");
  EXPECT_EQ(log.header.contest, kContestFd);
  EXPECT_EQ(log.header.prec, 3);
  EXPECT_EQ(log.header.check, 'A');
  EXPECT_TRUE(log.qsos.empty());
}

TEST(AdifReader, ContestOptionReplacesTheContestOfTheHeader) {
  AdifWorkspace workspace;
  EXPECT_EQ(ReadAdifText(workspace, "x\n<contest_id:2>SS\n<eoh>\n", kContestFd).header.contest,
            kContestFd);
  EXPECT_EQ(ReadAdifText(workspace, "x<eoh>\n", kContestCqww).header.contest, kContestCqww);
}

TEST(AdifReader, FileWithoutAHeaderKeepsItsFirstContacts) {
  AdifWorkspace workspace;
  // One record per line.
  AdifLog lines = ReadAdifText(workspace,
                               "<call:4>K1AB<contest_id:2>SS<eor>\r\n"
                               "<call:4>K1AC<eor>\r\n<call:4>K1AD<eor>\r\n");
  EXPECT_EQ(Calls(lines), "K1AB,K1AC,K1AD");
  EXPECT_EQ(lines.header.contest, kContestSs);  // the log's contest is its first record's
  EXPECT_EQ(lines.qsos[0].contest, kContestSs);
  // One field per line.
  EXPECT_EQ(Calls(ReadAdifText(workspace,
                               "<call:4>K1AB\n<band:3>20m\n<eor>\n\n<call:4>K1AC\n"
                               "<band:3>40m\n<eor>\n")),
            "K1AB,K1AC");
  // A leading blank and a byte-order mark before the first tag.
  EXPECT_EQ(Calls(ReadAdifText(workspace, "\xEF\xBB\xBF <call:4>K1AB <eor>\n<call:4>K1AC<eor>\n")),
            "K1AB,K1AC");
}

TEST(AdifReader, HeaderWithoutEohBeforeTheFirstRecordIsNoHeader) {
  AdifWorkspace workspace;
  AdifLog log = ReadAdifText(workspace, "Exported log\n<call:4>K1AB<eor>\n<call:4>K1AC<eor>\n");
  EXPECT_EQ(Calls(log), "K1AB,K1AC");
  EXPECT_EQ(std::string(log.header.call), "");
}

TEST(AdifReader, ReportWithoutEohAndWithoutRecordsHasNoContacts) {
  AdifWorkspace workspace;
  AdifLog log = ReadAdifText(workspace,
                             "ARRL Logbook of the World Status Report\r\n"
                             "Generated at 2020-01-01 00:00:00\r\n<PROGRAMID:4>LoTW\r\n"
                             "<APP_LoTW_LASTQSL:19>2020-01-01 00:00:00\r\n\r\n<APP_LoTW_EOF>\r\n");
  EXPECT_EQ(log.opened, 1);
  EXPECT_TRUE(log.qsos.empty());
}

TEST(AdifReader, EmptyFileCannotBeOpened) {
  AdifWorkspace workspace;
  EXPECT_EQ(ReadAdifText(workspace, "").opened, 0);
}

// ---- Records and lines ----

// Records that change the order, the case and the spelling of their names from one record to
// the next, names that begin alike (time_on and time_off, rst_sent and rst_rcvd, contest_id and
// an unknown contest_xy, call and a longer unknown name), so that no name is taken for the one that
// stood there before.
TEST(AdifReader, NamesThatChangeFromRecordToRecordAreEachReadForWhatTheyAre) {
  AdifWorkspace workspace;
  std::string text = kHeader;
  const char* records[] = {
      "<call:4>AA1A<contest_id:4>CQWW<qso_date:8>20240102<time_on:4>0102<rst_sent:3>599"
      "<rst_rcvd:3>579<eor>",
      "<call:4>BB2B<contest_xy:4>CQWW<qso_date:8>20240102<time_off:4>0304<rst_rcvd:3>559"
      "<rst_sent:3>589<eor>",
      "<CALL:4>CC3C<QSO_DATE:8>20240102<time_on:4>0506<RST_SENT:2>57<eor>",
      "<callsign_x:4>XXXX<call:4>DD4D<qso_date:8>20240102<time_on:4>0708<eor>",
      "<call:4>EE5E<qso_date:8>20240102<time_onx:4>9999<time_on:4>0910<eor>",
  };
  for (int round = 0; round < 2; ++round) {
    for (const char* record : records) text += std::string(record) + "\r\n";
  }
  AdifLog log = ReadAdifText(workspace, text);
  ASSERT_EQ(log.qsos.size(), 10u);
  EXPECT_EQ(Calls(log), "AA1A,BB2B,CC3C,DD4D,EE5E,AA1A,BB2B,CC3C,DD4D,EE5E");
  std::int64_t day = 1704153600;  // 2024-01-02 00:00 UTC
  for (int round = 0; round < 2; ++round) {
    const QsoRecord* qsos = &log.qsos[round * 5];
    EXPECT_EQ(qsos[0].time_on, day + 3600 + 120);
    EXPECT_EQ(qsos[0].rst_sent * 1000 + qsos[0].rst_rcvd, 599579);
    EXPECT_EQ(qsos[0].contest * 100 + qsos[1].contest, kContestCqww * 100);
    EXPECT_EQ(qsos[1].time_on, day);
    EXPECT_EQ(qsos[1].rst_sent * 1000 + qsos[1].rst_rcvd, 589559);
    EXPECT_EQ(qsos[2].time_on, day + 5 * 3600 + 360);
    EXPECT_EQ(qsos[2].rst_sent, 57);
    EXPECT_EQ(qsos[3].time_on, day + 7 * 3600 + 480);
    EXPECT_EQ(qsos[4].time_on, day + 9 * 3600 + 600);
  }
}

TEST(AdifReader, ReadsRecordsAfterEorOnTheSameLine) {
  AdifWorkspace workspace;
  EXPECT_EQ(
      Calls(ReadAdifText(workspace, std::string(kHeader) + "<call:4>K1AB<eor><call:4>K1AC<eor> "
                                                           "<call:4>K1AD<EOR>\r\n")),
      "K1AB,K1AC,K1AD");
  // A whole log on one line, header included.
  EXPECT_EQ(Calls(ReadAdifText(workspace,
                               "<adif_ver:5>3.1.4<eoh><call:4>K1AB<eor>"
                               "<call:4>K1AC<eor>")),
            "K1AB,K1AC");
}

TEST(AdifReader, LinesOfAnyLengthLoseNoTags) {
  AdifWorkspace workspace;
  // Enough records on one line to cross the stream's buffer several times, with tags, lengths
  // and values falling on every possible boundary.
  std::string line = kHeader;
  std::string expected;
  for (int i = 0; i < 20000; ++i) {
    std::string call = "K" + std::to_string(i);
    std::string filler(static_cast<std::size_t>(i % 13), 'x');
    line += "<call:" + std::to_string(call.size()) + ">" + call +
            "<app_x:" + std::to_string(filler.size()) + ">" + filler +
            "<srx:" + std::to_string(std::to_string(i).size()) + ":N>" + std::to_string(i) +
            "<eor>";
    expected += (i ? "," : "") + call;
  }
  AdifLog log = ReadAdifText(workspace, line);
  ASSERT_EQ(log.qsos.size(), 20000u);
  EXPECT_EQ(Calls(log), expected);
  EXPECT_EQ(log.qsos[19999].srx, 19999);
}

TEST(AdifReader, LongValuesAreCutToTheirFieldsAndTheNextTagIsKept) {
  AdifWorkspace workspace;
  std::string comment(100000, 'c');
  QsoRecord qso = ReadOne(workspace, "<comment:100000>" + comment + "<call:4>K1AB<name:20>" +
                                         std::string(20, 'n') + "<qth:40>" + std::string(40, 'q'));
  EXPECT_EQ(qso.Comment(), std::string(399, 'c'));
  EXPECT_EQ(qso.Call(), "K1AB");
  EXPECT_EQ(qso.Name(), std::string(15, 'n'));
  EXPECT_EQ(qso.Qth(), std::string(29, 'q'));
}

TEST(AdifReader, ValuesSpanLinesAndCountTheirLineFeeds) {
  AdifWorkspace workspace;
  QsoRecord unix_lines = ReadOne(workspace, "<comment:7>ab\ncd\nx<call:4>K1AB");
  EXPECT_EQ(unix_lines.Comment(), "ab\ncd\nx");
  EXPECT_EQ(unix_lines.Call(), "K1AB");
  QsoRecord dos_lines = ReadOne(workspace, "<comment:6>ab\r\ncd<call:4>K1AC");
  EXPECT_EQ(dos_lines.Comment(), "ab\r\ncd");
  EXPECT_EQ(dos_lines.Call(), "K1AC");
}

TEST(AdifReader, CountedValuesMayHoldAngleBrackets) {
  AdifWorkspace workspace;
  AdifLog log = ReadAdifText(workspace,
                             std::string(kHeader) + "<app_note:11>x<eor>y<eoh><call:4>K1AB<eor>\n");
  EXPECT_EQ(Calls(log), "K1AB");
}

TEST(AdifReader, TagBrokenByALineEndIsNoTag) {
  AdifWorkspace workspace;
  QsoRecord qso = ReadOne(workspace, "<call:4>K1AB<name\n:3>Bob<qth:4\n>Rome<rst_sent:3>599");
  EXPECT_EQ(qso.Name(), "");
  EXPECT_EQ(qso.Qth(), "");
  EXPECT_EQ(qso.rst_sent, 599);
}

TEST(AdifReader, LastRecordWithoutEorIsNotReturned) {
  AdifWorkspace workspace;
  EXPECT_EQ(
      Calls(ReadAdifText(workspace, std::string(kHeader) + "<call:4>K1AB<eor>\n<call:4>K1AC\n")),
      "K1AB");
}

TEST(AdifReader, LengthBeyondTheEndOfTheFileStopsAtTheData) {
  AdifWorkspace workspace;
  EXPECT_EQ(Calls(ReadAdifText(
                workspace, std::string(kHeader) + "<call:4>K1AB<eor>\n<comment:999999999999>abc")),
            "K1AB");
  EXPECT_EQ(Calls(ReadAdifText(
                workspace, std::string(kHeader) + "<call:4>K1AB<eor>\n<comment:2000000>abc<eor>")),
            "K1AB");
  std::string too_many_digits =
      std::string(kHeader) + "<call:4>K1AB<eor>\n<comment:" + std::string(40, '8') + ">abc<eor>";
  EXPECT_EQ(Calls(ReadAdifText(workspace, too_many_digits)), "K1AB");
}

TEST(AdifReader, EmptyTypedAndCommentedValuesOfOtherLoggers) {
  AdifWorkspace workspace;
  QsoRecord qso = ReadOne(workspace,
                          "<CALL:5>DL1AB <QSO_DATE:8:D>20240309 <TIME_ON:4>2350 "
                          "<GRIDSQUARE:0> <RST_RCVD:0> <BAND:3>40M // comment after a value\r\n"
                          "<FREQ:5>7.074 <MODE:3>FT8 <QSL_SENT:0>");
  EXPECT_EQ(qso.Call(), "DL1AB");
  EXPECT_EQ(qso.time_on, 1710028200);  // 2024-03-09 23:50 UTC
  EXPECT_EQ(qso.rst_rcvd, 0);
  EXPECT_EQ(qso.band, 3);
  EXPECT_EQ(qso.freq, 70740u);
  EXPECT_EQ(qso.mode, 0);  // FT8 is none of the mode codes
  EXPECT_EQ(qso.qsl_sent, 0);
  EXPECT_EQ(qso.RcvdExch(), "");
}

// ---- Contact tags ----

TEST(AdifReader, TimeKeepsSecondsOnlyWhenSixDigitsAreGiven) {
  AdifWorkspace workspace;
  EXPECT_EQ(ReadOne(workspace, "<qso_date:8>20010128<time_on:6>150230").time_on, 980694150);
  EXPECT_EQ(ReadOne(workspace, "<qso_date:8>20010128<time_on:4>1502").time_on, 980694120);
}

TEST(AdifReader, EndTimeBeforeTheStartFallsOnTheNextDay) {
  AdifWorkspace workspace;
  QsoRecord past_midnight =
      ReadOne(workspace, "<qso_date:8>20240309<time_on:4>2350<time_off:4>0010");
  EXPECT_EQ(past_midnight.time_on, 1710028200);
  EXPECT_EQ(past_midnight.time_off, 1710029400);  // 2024-03-10 00:10 UTC
  QsoRecord same_day = ReadOne(workspace, "<time_off:6>235930<qso_date:8>20240309<time_on:4>2350");
  EXPECT_EQ(same_day.time_off, 1710028200 + 570);
}

TEST(AdifReader, ContactWithoutDateIsKeptOnTheFirstDayOf1970) {
  AdifWorkspace workspace;
  AdifLog log = ReadAdifText(workspace, std::string(kHeader) +
                                            "<call:4>K1AB<time_on:6>123456<eor>\n"
                                            "<call:4>K1AC<eor>\n");
  ASSERT_EQ(log.qsos.size(), 2u);
  EXPECT_EQ(log.qsos[0].time_on, 45296);  // 1970-01-01 12:34:56 UTC
  EXPECT_EQ(log.qsos[1].time_on, 0);
}

TEST(AdifReader, FrequencyCountsKilohertzAndDropsFinerDigits) {
  AdifWorkspace workspace;
  for (const char* value : {"14.025", "14.0250", "14.0259"}) {
    EXPECT_EQ(ReadOne(workspace, "<freq:" + std::to_string(std::strlen(value)) + ">" + value).freq,
              140250u)
        << value;
  }
  EXPECT_EQ(ReadOne(workspace, "<freq:5>14.25").freq, 142500u);
  EXPECT_EQ(ReadOne(workspace, "<freq:2>28").freq, 280000u);
  EXPECT_EQ(ReadOne(workspace, "<freq:3>1.8").freq, 18000u);
  EXPECT_EQ(ReadOne(workspace, "<freq:8>10368.15").freq, 103681500u);
}

TEST(AdifReader, ContestIdSelectsTheFirstContestItBegins) {
  AdifWorkspace workspace;
  EXPECT_EQ(ReadOne(workspace, "<contest_id:2>CQ").contest, kContestCqww);
  EXPECT_EQ(ReadOne(workspace, "<contest_id:6>ARRLDX").contest, kContestArrlDx);
  EXPECT_EQ(ReadOne(workspace, "<contest_id:6>SprINT").contest, kContestInternetSprint);
  EXPECT_EQ(ReadOne(workspace, "<contest_id:6>GENQSO").contest, kContestGeneralQso);
  EXPECT_EQ(ReadOne(workspace, "<contest_id:6>sprint").contest, kContestNone);
  EXPECT_EQ(ReadOne(workspace, "<contest_id:5>CQWWX").contest, kContestNone);
  EXPECT_EQ(ReadOne(workspace, "<contest_id:8>CQ-WW-XX").contest, kContestNone);
  // An empty contest_id names no contest (not the first one).
  EXPECT_EQ(ReadOne(workspace, "<contest_id:0>").contest, kContestNone);
  EXPECT_EQ(ReadAdifText(workspace, "x\n<contest_id:0>\n<eoh>\n").header.contest, kContestNone);
}

TEST(AdifReader, ContestIdsOfTheAdifStandardNameTheirContests) {
  AdifWorkspace workspace;
  EXPECT_EQ(ReadOne(workspace, "<contest_id:8>CQ-WW-CW").contest, kContestCqww);
  EXPECT_EQ(ReadOne(workspace, "<contest_id:10>arrl-ss-cw").contest, kContestSs);
  EXPECT_EQ(ReadOne(workspace, "<contest_id:11>CQ-WPX-RTTY").contest, kContestWpx);
  EXPECT_EQ(ReadOne(workspace, "<contest_id:14>ARRL-FIELD-DAY").contest, kContestFd);
  EXPECT_EQ(ReadOne(workspace, "<contest_id:9>CQ-WW-VHF").contest, kContestNone);
  EXPECT_EQ(ReadAdifText(workspace, "x\n<contest_id:7>IARU-HF\n<eoh>\n").header.contest,
            kContestIaru);
}

TEST(AdifReader, PrecedenceTagOfTheAdifStandardIsThePrecedence) {
  AdifWorkspace workspace;
  EXPECT_EQ(ReadOne(workspace, "<precedence:1>M<check:2>57").prec, 'M');
  EXPECT_EQ(ReadOne(workspace, "<PRECEDENCE:1>A").prec, 'A');
  EXPECT_EQ(ReadOne(workspace, "<precedence:0>").prec, ' ');
}

TEST(AdifReader, FskIsRttyAndUnknownModesAreLeftOut) {
  AdifWorkspace workspace;
  EXPECT_EQ(ReadOne(workspace, "<mode:3>FSK").mode, kModeRtty);
  EXPECT_EQ(ReadOne(workspace, "<mode:4>rtty").mode, kModeRtty);
  EXPECT_EQ(ReadOne(workspace, "<mode:6>PACTOR").mode, kModePactor);
  EXPECT_EQ(ReadOne(workspace, "<mode:4>PSK3").mode, 0);
  EXPECT_EQ(ReadOne(workspace, "<band:3>??M").band, 11);
  EXPECT_EQ(ReadOne(workspace, "<band:5>light").band, 30);
  EXPECT_EQ(ReadOne(workspace, "<band:3>20M").band, 5);
  EXPECT_EQ(ReadOne(workspace, "<band:3>11m").band, 0);
}

TEST(AdifReader, ContactTagsFillTheirFields) {
  AdifWorkspace workspace;
  QsoRecord qso = ReadOne(workspace,
                          "<call:7>K1AB /P<tx_pwr:3>100<rst_sent:3>579<rst_rcvd:2>57"
                          "<qsl_sent:1>Y<qsl_rcvd:3>No <name:3>Bob<qth:6>Boston<state:4>MASS"
                          "<comment:4>tnx!<stx:3>101<srx:3>202<prec:1>B<check:2>83"
                          "<arrl_sect:3>EMA<cqz:2>05<ituz:1>8<iota:6>NA-046<age:2>44"
                          "<ten_ten:5>12345<arci_num:4>1234<address:3>abc<club:4>YCCC");
  EXPECT_EQ(qso.Call(), "K1AB");
  EXPECT_EQ(qso.tx_pwr, 100);
  EXPECT_EQ(qso.rst_sent, 579);
  EXPECT_EQ(qso.rst_rcvd, 57);
  EXPECT_EQ(qso.qsl_sent, 'Y');
  EXPECT_EQ(qso.qsl_rcvd, 'N');
  EXPECT_EQ(qso.Name(), "Bob");
  EXPECT_EQ(qso.Qth(), "Boston");
  EXPECT_EQ(qso.State(), "MAS");
  EXPECT_EQ(qso.Comment(), "tnx!");
  EXPECT_EQ(qso.stx, 101);
  EXPECT_EQ(qso.srx, 202);
  EXPECT_EQ(qso.prec, 'B');
  EXPECT_EQ(qso.check, 83);
  EXPECT_EQ(qso.ArrlSect(), "EMA");
  EXPECT_EQ(qso.cqz, 5);
  EXPECT_EQ(qso.ituz, 8);
  EXPECT_EQ(qso.Iota(), "NA-046");
  EXPECT_EQ(qso.age, 44);
  EXPECT_EQ(qso.ten_ten, 12345);
  EXPECT_EQ(qso.arci_num, 1234);
  for (const char* tag : {"<rx_pwr:4>100W", "<gridsquare:4>FN42", "<prefecture:2>10"}) {
    std::string text = tag;
    EXPECT_EQ(ReadOne(workspace, text).RcvdExch(), text.substr(text.find('>') + 1)) << tag;
  }
}

TEST(AdifReader, FieldDayRcvGivesTransmittersAndCategory) {
  AdifWorkspace workspace;
  QsoRecord two_a = ReadOne(workspace, "<rcv:2>3A", kContestFd);
  EXPECT_EQ(two_a.prec, 3);
  EXPECT_EQ(two_a.check, 'A');
  QsoRecord digit_only = ReadOne(workspace, "<rcv:1>3", kContestFd);
  EXPECT_EQ(digit_only.prec, 0);
  EXPECT_EQ(digit_only.check, ' ');
  QsoRecord other_contest = ReadOne(workspace, "<rcv:2>3A", kContestSs);
  EXPECT_EQ(other_contest.prec, ' ');
  EXPECT_EQ(other_contest.check, ' ');
  QsoRecord tags = ReadOne(workspace, "<tx_count:2>12<category:1>F", kContestFd);
  EXPECT_EQ(tags.prec, 12);
  EXPECT_EQ(tags.check, 'F');
}

TEST(AdifReader, EmptyOneCharacterValuesLeaveTheirFieldsAbsent) {
  AdifWorkspace workspace;
  QsoRecord qso = ReadOne(workspace, "<prec:0><check:0><category:0><tx_count:0><qsl_rcvd:0>");
  EXPECT_EQ(qso.prec, ' ');
  EXPECT_EQ(qso.check, ' ');
  EXPECT_EQ(qso.qsl_rcvd, 0);
}

TEST(AdifReader, Dx4winCanadianSerialIsTheProvince) {
  AdifWorkspace workspace;
  std::string log =
      "DX4WIN ADIF export\r\n<contest_id:6>ARRL10\r\n<eoh>\r\n"
      "<call:4>VE3X<srx:2>ON<eor>\r\n<call:4>K1AB<srx:3>123<eor>\r\n<srx:2>ON<call:4>VE3Y<eor>\r\n";
  AdifLog dx4win = ReadAdifText(workspace, log);
  ASSERT_EQ(dx4win.qsos.size(), 3u);
  EXPECT_EQ(dx4win.qsos[0].RcvdExch(), "ON");
  EXPECT_EQ(dx4win.qsos[0].srx, 0);
  EXPECT_EQ(dx4win.qsos[1].srx, 123);
  // The call must come first: a Canadian call read after the serial is not known yet.
  EXPECT_EQ(dx4win.qsos[2].srx, 0);
  EXPECT_EQ(dx4win.qsos[2].RcvdExch(), "ON");  // the ARRL 10 m exchange as written in srx
  AdifLog other = ReadAdifText(workspace, "Other logger" + log.substr(log.find("\r\n")));
  EXPECT_EQ(other.qsos[0].srx, 0);
  EXPECT_EQ(other.qsos[1].srx, 123);
}

TEST(AdifReader, ExchangeTagOfTheContestFillsTheReceivedExchange) {
  AdifWorkspace workspace;
  EXPECT_EQ(ReadOne(workspace, "<call:4>K1AB<arrl_sect:3>EMA", kContestArrl160).RcvdExch(), "EMA");
  EXPECT_EQ(ReadOne(workspace, "<qth:5>Paris<state:2>CT", kContestCq160).RcvdExch(), "CT");
  EXPECT_EQ(ReadOne(workspace, "<qth:3>SCL", kContestCqp).RcvdExch(), "SCL");
  EXPECT_EQ(ReadOne(workspace, "<iota:6>EU-005", kContestIota).RcvdExch(), "EU-005");
  EXPECT_EQ(ReadOne(workspace, "<age:2>44", kContestAllAsian).RcvdExch(), "44");
  EXPECT_EQ(ReadOne(workspace, "<comment:4>DARC", kContestIaru).RcvdExch(), "DARC");
  EXPECT_EQ(ReadOne(workspace, "<comment:4>DARC<ituz:2>28", kContestIaru).RcvdExch(), "");
  EXPECT_EQ(ReadOne(workspace, "<srx_string:4>DARC", kContestIaru).RcvdExch(), "DARC");
  EXPECT_EQ(ReadOne(workspace, "<qth:3>SCL", kContestCqww).RcvdExch(), "");
  // The comment stays the contact's own; a general log's exchange is the logged exchange text.
  QsoRecord general = ReadOne(workspace, "<comment:3>tnx<srx_string:3>599", kContestGeneralQso);
  EXPECT_EQ(general.RcvdExch(), "599");
  EXPECT_EQ(general.Comment(), "tnx");
}

TEST(AdifReader, GridFillsTheExchangeOnlyInGridContestsOrWhenNothingElseDoes) {
  AdifWorkspace workspace;
  struct Case {
    const char* tags;
    int contest;
    const char* exchange;
  };
  const Case cases[] = {
      {"<state:2>MA<gridsquare:4>FN42", kContestNaqp, "MA"},
      {"<gridsquare:4>FN42<state:2>MA", kContestNaqp, "MA"},
      {"<gridsquare:4>FN42<arrl_sect:3>EMA", kContestArrl160, "EMA"},
      {"<gridsquare:4>FN42<rx_pwr:3>100", kContestArrlDx, "100"},
      {"<gridsquare:4>FN42", kContestNaqp, "FN42"},
      {"<gridsquare:4>FN42<comment:3>tnx", kContestGeneralQso, "FN42"},
      {"<state:2>MA<gridsquare:4>FN42", kContestVhfQso, "FN42"},
      {"<rx_pwr:3>100<gridsquare:4>FN42", kContestStewPerry, "FN42"},
  };
  for (const Case& c : cases) {
    QsoRecord record = ReadOne(workspace, c.tags, c.contest);
    EXPECT_EQ(record.RcvdExch(), c.exchange) << c.tags;
    EXPECT_EQ(record.Gridsquare(), "FN42") << c.tags;
  }
}

}  // namespace
}  // namespace quorvel
