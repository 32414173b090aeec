// Writing ADIF logs: header block, contact lines, per-contest exchange and tag lengths.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "adif_test_support.h"
#include "core/numbers.h"

namespace quorvel {
namespace {

using testing::AdifWorkspace;
using testing::Contact;
using testing::ContactText;
using testing::WriteAdif;

constexpr std::int32_t kNoon = 1699185600;  // 2023-11-05 12:00:00 UTC

ContestHeader HeaderOf(int contest) {
  ContestHeader header{};
  header.contest = static_cast<std::uint8_t>(contest);
  return header;
}

std::string WriteOne(const AdifWorkspace& workspace, int contest, const QsoRecord& record) {
  static int counter = 0;
  return ContactText(WriteAdif(workspace, HeaderOf(contest), {record},
                               "one" + std::to_string(counter++) + ".adi"));
}

// The third line of a single contact: what stands between the second line and "<eor>".
std::string ExchangeLines(const std::string& contact) {
  std::size_t first = contact.find("\r\n");
  std::size_t second = contact.find("\r\n", first + 2);
  std::size_t eor = contact.find("<eor>\r\n");
  return contact.substr(second + 2, eor - second - 2);
}

// Every tag "<name:length>" or "<name:length:type>" must be followed by exactly `length`
// characters of value and then by the next tag or a line end. Returns the first fault found.
std::string FirstLengthFault(const std::string& text) {
  std::size_t at = text.find("<eoh>");
  at = at == std::string::npos ? 0 : at;
  while ((at = text.find('<', at)) != std::string::npos) {
    std::size_t close = text.find('>', at);
    std::size_t colon = text.find(':', at);
    if (close == std::string::npos) return "unclosed tag at " + std::to_string(at);
    if (colon == std::string::npos || colon > close) {  // <eor>, <eoh>
      at = close + 1;
      continue;
    }
    std::string length_text = text.substr(colon + 1, close - colon - 1);
    if (length_text.empty() || !IsDigit(length_text[0])) return "no length: " + length_text;
    std::size_t length = std::strtoul(length_text.c_str(), nullptr, 10);
    std::size_t after = close + 1 + length;
    if (after > text.size()) return "value past the end at " + std::to_string(at);
    std::string value = text.substr(close + 1, length);
    bool ends_well = after == text.size() || text[after] == '<' || text[after] == '\r';
    if (!ends_well || value.find('<') != std::string::npos) {
      return "tag " + text.substr(at, close + 1 - at) + " is followed by " +
             text.substr(close + 1, length + 8);
    }
    at = after;
  }
  return "";
}

// ---- Header ----

TEST(AdifWriter, HeaderBlockHoldsTheKnownStationFacts) {
  AdifWorkspace workspace;
  ContestHeader header = HeaderOf(kContestSs);
  std::strcpy(header.call, "K5ZD");
  std::strcpy(header.year, "2023");
  header.category = kCategoryMultiSingle;
  header.power_cat = 3;
  header.mode = kModeCw;
  std::strcpy(header.name, "Randy");
  std::strcpy(header.address, "12 Main St");
  std::strcpy(header.city, "Harvard");
  std::strcpy(header.state, "MA");
  std::strcpy(header.zip, "01451");
  std::strcpy(header.club, "YCCC");
  header.zone = 5;
  std::strcpy(header.gridsquare, "FN42");
  header.prec = 'U';
  header.check = 71;
  std::strcpy(header.arrl_sect, "EMA");
  EXPECT_EQ(WriteAdif(workspace, header, {}),
            "This file created by Quorvel v1.72\r\n" + testing::kAdifProgramLines +
                "<call:4>K5ZD\r\n<contest_id:2>SS\r\n"
                "<year:4>2023\r\n<category:12>Multi Single\r\n<power_cat:4>High\r\n<mode:2>CW\r\n"
                "<name:5>Randy\r\n<address:29>12 Main St\r\nHarvard, MA 01451\r\n<club:4>YCCC\r\n"
                "<zone:1>5\r\n<gridsquare:4>FN42\r\n<prec:1>U\r\n<check:2>71\r\n"
                "<arrl_sect:3>EMA\r\n<eoh>\r\n");
}

TEST(AdifWriter, CategoryNamesOnlyForTheCodesThatHaveOne) {
  AdifWorkspace workspace;
  ContestHeader header{};
  EXPECT_EQ(WriteAdif(workspace, header, {}, "a.adi"), "This file created by Quorvel v1.72\r\n" +
                                                           testing::kAdifProgramLines +
                                                           "<category:9>Single Op\r\n<eoh>\r\n");
  header.category = kCategoryQrpPortable;
  EXPECT_EQ(WriteAdif(workspace, header, {}, "b.adi"),
            "This file created by Quorvel v1.72\r\n" + testing::kAdifProgramLines + "<eoh>\r\n");
  header.category = 11;
  header.power_cat = 4;
  header.mode = 10;
  EXPECT_EQ(WriteAdif(workspace, header, {}, "c.adi"),
            "This file created by Quorvel v1.72\r\n" + testing::kAdifProgramLines + "<eoh>\r\n");
}

TEST(AdifWriter, FieldDayHeaderWritesTheCategoryAsALetter) {
  AdifWorkspace workspace;
  ContestHeader header = HeaderOf(kContestFd);
  header.prec = 2;
  header.check = 'B';  // as the ADIF reader keeps it
  std::strcpy(header.arrl_sect, "CT");
  EXPECT_EQ(WriteAdif(workspace, header, {}, "a.adi"),
            "This file created by Quorvel v1.72\r\n" + testing::kAdifProgramLines +
                "<contest_id:2>FD\r\n<category:9>Single "
                "Op\r\n<tx_count:1>2\r\n<category:1>B\r\n<arrl_sect:2>CT\r\n<eoh>\r\n");
  header.check = 2;  // as CT logs keep it: a letter index
  EXPECT_NE(WriteAdif(workspace, header, {}, "b.adi").find("<category:1>C\r\n"), std::string::npos);
}

// ---- Contact lines ----

TEST(AdifWriter, SweepstakesExchangeAndStateLine) {
  AdifWorkspace workspace;
  QsoRecord record = Contact("W1AW", kNoon);
  record.srx = 42;
  record.prec = 'A';
  record.check = 65;
  record.SetArrlSect("STX");
  EXPECT_EQ(ExchangeLines(WriteOne(workspace, kContestSs, record)),
            "<contest_id:2>SS<stx:1>1<srx:2>42<prec:1>A<check:2>65<arrl_sect:3>STX\r\n"
            "<state:2>TX\r\n");
  record.SetCallText("DL1ABC");
  EXPECT_EQ(ExchangeLines(WriteOne(workspace, kContestSs, record)),
            "<contest_id:2>SS<stx:1>1<srx:2>42<prec:1>A<check:2>65<arrl_sect:3>STX\r\n");
}

TEST(AdifWriter, SweepstakesSerialSentCountsTheContacts) {
  AdifWorkspace workspace;
  std::vector<QsoRecord> records(12, Contact("DL1ABC", kNoon));
  std::string text = ContactText(WriteAdif(workspace, HeaderOf(kContestSs), records));
  EXPECT_NE(text.find("<stx:1>9<"), std::string::npos);
  EXPECT_NE(text.find("<stx:2>12<"), std::string::npos);
}

TEST(AdifWriter, FirstTwoLinesCarryTimeBandFrequencyModeAndReports) {
  AdifWorkspace workspace;
  QsoRecord record = Contact("JA1XYZ", kNoon + 3723);
  record.band = 5;
  record.freq = 140255;
  record.mode = kModeSsb;
  record.rst_sent = 599;
  record.rst_rcvd = 59;
  std::string contact = WriteOne(workspace, kContestCqww, record);
  EXPECT_EQ(contact.substr(0, contact.find("<contest_id")),
            "<call:6>JA1XYZ<qso_date:8:d>20231105<time_on:6>130203\r\n"
            "<band:3>20M<freq:6>14.025<mode:3>SSB<rst_sent:3>599<rst_rcvd:2>59\r\n");
}

TEST(AdifWriter, ReportsStateTheirTrueLength) {
  AdifWorkspace workspace;
  QsoRecord record = Contact("JA1XYZ", kNoon);
  record.rst_sent = 5;
  record.rst_rcvd = 100;
  EXPECT_NE(WriteOne(workspace, kContestCqww, record).find("\r\n<rst_sent:1>5<rst_rcvd:3>100\r\n"),
            std::string::npos);
  record.rst_sent = 5999;
  record.rst_rcvd = 0;
  EXPECT_NE(WriteOne(workspace, kContestCqww, record).find("\r\n<rst_sent:4>5999\r\n"),
            std::string::npos);
}

TEST(AdifWriter, NoReportsInSweepstakesFieldDayAndGridLocator) {
  AdifWorkspace workspace;
  QsoRecord record = Contact("JA1XYZ", kNoon);
  record.rst_sent = 599;
  for (int contest : {kContestSs, kContestFd, kContestGridloc}) {
    EXPECT_EQ(WriteOne(workspace, contest, record).find("rst_sent"), std::string::npos) << contest;
  }
}

TEST(AdifWriter, ContactWithNothingButACallHasAnEmptySecondLine) {
  AdifWorkspace workspace;
  EXPECT_EQ(WriteOne(workspace, kContestNone, Contact("JA1XYZ", 0)),
            "<call:6>JA1XYZ<qso_date:8:d>19700101<time_on:6>000000\r\n\r\n<eor>\r\n");
  EXPECT_EQ(WriteOne(workspace, 40, Contact("JA1XYZ", 0)),
            "<call:6>JA1XYZ<qso_date:8:d>19700101<time_on:6>000000\r\n\r\n<eor>\r\n");
}

TEST(AdifWriter, EndTimeOnlyInGeneralQsoLogs) {
  AdifWorkspace workspace;
  QsoRecord record = Contact("JA1XYZ", kNoon);
  record.time_off = kNoon + 90;
  EXPECT_NE(WriteOne(workspace, kContestGeneralQso, record).find("<time_off:6>120130\r\n"),
            std::string::npos);
  EXPECT_EQ(WriteOne(workspace, kContestCqww, record).find("time_off"), std::string::npos);
}

// ---- Exchanges ----

TEST(AdifWriter, ZonesAndChecksAreWrittenWithTwoDigits) {
  AdifWorkspace workspace;
  QsoRecord record = Contact("JA1XYZ", kNoon);
  record.cqz = 5;
  EXPECT_EQ(ExchangeLines(WriteOne(workspace, kContestCqww, record)),
            "<contest_id:4>CQWW<cqz:2>05\r\n");
  record.cqz = 140;
  EXPECT_EQ(ExchangeLines(WriteOne(workspace, kContestCqww, record)),
            "<contest_id:4>CQWW<cqz:3>140\r\n");
  record.ituz = 8;
  EXPECT_EQ(ExchangeLines(WriteOne(workspace, kContestIaru, record)),
            "<contest_id:4>IARU<ituz:2>08\r\n");
  record.check = 7;
  EXPECT_NE(WriteOne(workspace, kContestSs, record).find("<check:2>07<"), std::string::npos);
}

TEST(AdifWriter, AbsentNumbersInCharacterFieldsAreWrittenEmpty) {
  AdifWorkspace workspace;
  QsoRecord record = Contact("JA1XYZ", kNoon);  // prec and check blank
  EXPECT_EQ(ExchangeLines(WriteOne(workspace, kContestSs, record)),
            "<contest_id:2>SS<stx:1>1<srx:1>0<prec:0><check:0><arrl_sect:0>\r\n");
  EXPECT_EQ(ExchangeLines(WriteOne(workspace, kContestFd, record)),
            "<contest_id:2>FD<tx_count:0><category:0><arrl_sect:0>\r\n");
  record.prec = '\0';
  EXPECT_NE(WriteOne(workspace, kContestSs, record).find("<prec:0><check:0>"), std::string::npos);
}

TEST(AdifWriter, EveryTagStatesTheTrueLengthOfItsValue) {
  AdifWorkspace workspace;
  QsoRecord extreme = Contact("VE3ABCDEFGHIJ", -1);
  extreme.band = 30;
  extreme.freq = 4294967295u;
  extreme.mode = kModeGtor;
  extreme.contest = kContestRac;
  extreme.tx_pwr = 65535;
  extreme.stx = -7;
  extreme.srx = -2147483647 - 1;
  extreme.SetName("NNNNNNNNNNNNNNNNNNN");
  extreme.cqz = 255;
  extreme.ituz = 100;
  extreme.SetQth(std::string(40, 'q'));
  extreme.SetArrlSect("ABCDEFG");
  extreme.SetState("TXX", 3);
  extreme.rst_sent = -32768;
  extreme.rst_rcvd = 1000;
  extreme.ten_ten = 2147483647;
  extreme.arci_num = 65535;
  extreme.age = 255;
  extreme.SetRcvdExch(std::string(50, 'x'));
  extreme.prec = static_cast<char>(200);
  extreme.check = static_cast<char>(200);
  extreme.time_off = 2147483647;
  QsoRecord single_digits = Contact("K1AB", 5);
  single_digits.prec = 3;
  single_digits.check = 4;
  single_digits.cqz = 1;
  single_digits.ituz = 2;
  single_digits.rst_sent = 9;
  single_digits.tx_pwr = 1;
  for (int contest = 0; contest <= 34; ++contest) {
    ContestHeader header = HeaderOf(contest);
    header.zone = 255;
    header.check = 200;
    header.prec = 200;
    std::string text = WriteAdif(workspace, header, {extreme, single_digits, Contact("", 0)},
                                 "c" + std::to_string(contest) + ".adi");
    EXPECT_EQ(FirstLengthFault(text), "") << "contest " << contest;
  }
}

TEST(AdifWriter, UsAndCanadianStationsDecideTheExchangeTag) {
  AdifWorkspace workspace;
  auto exchange = [&](int contest, const char* call, const char* qth = "") {
    QsoRecord record = Contact(call, kNoon);
    record.SetRcvdExch("EXCH");
    record.SetQth(qth);
    return ExchangeLines(WriteOne(workspace, contest, record));
  };
  EXPECT_EQ(exchange(kContestArrl160, "VE3ABC"), "<contest_id:7>ARRL160<arrl_sect:4>EXCH\r\n");
  EXPECT_EQ(exchange(kContestArrl160, "KL7ABC"), "<contest_id:7>ARRL160<arrl_sect:4>EXCH\r\n");
  EXPECT_EQ(exchange(kContestArrl160, "DL1ABC"), "<contest_id:7>ARRL160<qth:4>EXCH\r\n");
  EXPECT_EQ(exchange(kContestArrl160, "DL1ABC", "Bonn"), "<contest_id:7>ARRL160<qth:4>Bonn\r\n");
  EXPECT_EQ(exchange(kContestCq160, "KH6ABC"), "<contest_id:5>CQ160<state:4>EXCH\r\n");
  EXPECT_EQ(exchange(kContestCq160, "VE3ABC"), "<contest_id:5>CQ160<qth:4>EXCH\r\n");
  EXPECT_EQ(exchange(kContestArrlDxFromDx, "N1XX"), "<contest_id:6>ARRLDX<state:4>EXCH\r\n");
  EXPECT_EQ(exchange(kContestArrlDxFromDx, "KL7ABC"), "<contest_id:6>ARRLDX<qth:4>EXCH\r\n");
  EXPECT_EQ(exchange(kContestNaqp, "KL7ABC"), "<contest_id:4>NAQP<name:0><state:4>EXCH\r\n");
  EXPECT_EQ(exchange(kContestNaqp, "VE3ABC"), "<contest_id:4>NAQP<name:0><qth:4>EXCH\r\n");
  // A call the country file does not know is outside the USA and Canada.
  EXPECT_EQ(exchange(kContestCq160, "4U1ITU"), "<contest_id:5>CQ160<qth:4>EXCH\r\n");
}

TEST(AdifWriter, ArrlTenSerialOrStateAndIaruZoneOrSociety) {
  AdifWorkspace workspace;
  QsoRecord record = Contact("DL1ABC", kNoon);
  record.SetRcvdExch("123");
  EXPECT_EQ(ExchangeLines(WriteOne(workspace, kContestArrl10, record)),
            "<contest_id:6>ARRL10<srx:3>123\r\n");
  record.SetRcvdExch("CT");
  EXPECT_EQ(ExchangeLines(WriteOne(workspace, kContestArrl10, record)),
            "<contest_id:6>ARRL10<state:2>CT\r\n");
  record.SetRcvdExch("DARC");
  EXPECT_EQ(ExchangeLines(WriteOne(workspace, kContestIaru, record)),
            "<contest_id:4>IARU<srx_string:4>DARC\r\n");
}

TEST(AdifWriter, ArrlOneSixtyStateLineComesFromTheExchange) {
  AdifWorkspace workspace;
  QsoRecord record = Contact("K1ABC", kNoon);
  record.SetRcvdExch("WWA");
  EXPECT_EQ(ExchangeLines(WriteOne(workspace, kContestArrl160, record)),
            "<contest_id:7>ARRL160<arrl_sect:3>WWA\r\n<state:2>WA\r\n");
}

TEST(AdifWriter, AllAsianAgeComesFromTheExchangeTextOfCtLogs) {
  AdifWorkspace workspace;
  QsoRecord record = Contact("JA1XYZ", kNoon);
  record.SetRcvdExch("44");
  EXPECT_EQ(ExchangeLines(WriteOne(workspace, kContestAllAsian, record)),
            "<contest_id:2>AA<age:2>44\r\n");
  record.age = 61;
  EXPECT_EQ(ExchangeLines(WriteOne(workspace, kContestAllAsian, record)),
            "<contest_id:2>AA<age:2>61\r\n");
}

TEST(AdifWriter, MissingReferenceFilesGiveNoStateLinesAndNoUsStations) {
  AdifWorkspace workspace;
  testing::WriteFile(workspace.Path("cqww.cty"), "");
  testing::WriteFile(workspace.Path("stsec.dat"), "");
  QsoRecord record = Contact("W1AW", kNoon);
  record.SetArrlSect("STX");
  record.SetRcvdExch("STX");
  EXPECT_EQ(ExchangeLines(WriteOne(workspace, kContestSs, record)).find("state"),
            std::string::npos);
  EXPECT_EQ(ExchangeLines(WriteOne(workspace, kContestArrl160, record)),
            "<contest_id:7>ARRL160<qth:3>STX\r\n");
}

TEST(AdifWriter, GeneralQsoLineWrapsBeforeEightyCharacters) {
  AdifWorkspace workspace;
  QsoRecord record = Contact("JA1XYZ", kNoon);
  record.SetName("ABCDEFGHIJKLMNO");            // <name:15>... 24 characters
  record.SetQth("abcdefghijklmnopqrstuvwxyz");  // <qth:26>...  34 characters
  record.SetState("ONT", 3);                    // <state:3>... 12 characters
  record.ituz = 8;                              // <ituz:2>08   10 characters: 80 in all
  EXPECT_EQ(ExchangeLines(WriteOne(workspace, kContestGeneralQso, record)),
            "<name:15>ABCDEFGHIJKLMNO<qth:26>abcdefghijklmnopqrstuvwxyz<state:3>ONT<ituz:2>08\r\n");
  record.cqz = 25;  // 79 characters with the CQ zone: the ITU zone goes to a second line
  EXPECT_EQ(ExchangeLines(WriteOne(workspace, kContestGeneralQso, record)),
            "<name:15>ABCDEFGHIJKLMNO<qth:26>abcdefghijklmnopqrstuvwxyz<state:3>ONT<cqz:2>25\r\n"
            "<ituz:2>08\r\n");
  EXPECT_EQ(WriteOne(workspace, kContestGeneralQso, Contact("JA1XYZ", kNoon)),
            "<call:6>JA1XYZ<qso_date:8:d>20231105<time_on:6>120000\r\n\r\n<eor>\r\n");
}

}  // namespace
}  // namespace quorvel
