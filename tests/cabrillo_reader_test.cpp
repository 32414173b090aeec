// Reading Cabrillo logs: real logs of contest loggers converted whole to ADIF and compared with
// the words of their own QSO lines, split here; logs this program wrote read back into the same
// QSO lines; the header keywords of both versions; and lines that cannot be read, passed over
// and counted while the contacts around them are converted.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cabrillo_syntax.h"
#include "core/contest_header.h"
#include "formats/cabrillo_log_file.h"
#include "log_test_support.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using testing::CabrilloGoldenDir;
using testing::CheckCabrillo;
using testing::LogWorkspace;
using testing::ReadFile;
using testing::RunQuorvelcon;
using Fields = testing::AdifFields;
using testing::LowerAscii;

std::vector<Fields> AdifRecords(const std::string& text) {
  return testing::ParseAdifRecords(text, false);
}
std::string Get(const Fields& fields, const std::string& name) {
  return testing::FieldOf(fields, name);
}

// ---- the test's own reading of both files ----

std::vector<std::string> Split(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

bool AllDigits(const std::string& word) {
  return !word.empty() && word.find_first_not_of("0123456789") == std::string::npos;
}

// Two exchange values are the same when their texts are, ignoring letter case, or when both
// are numbers of the same value ("0002" and "2").
bool SameValue(const std::string& a, const std::string& b) {
  if (AllDigits(a) && AllDigits(b)) return std::stol(a) == std::stol(b);
  return LowerAscii(a) == LowerAscii(b);
}

// Where an ADIF record may hold a received exchange word.
constexpr const char* kExchangeTags[] = {"srx",   "srx_string", "state",      "qth",   "ituz",
                                         "cqz",   "arrl_sect",  "name",       "class", "prec",
                                         "check", "rx_pwr",     "precedence", "age"};

// The received section has room for four characters.
constexpr std::size_t kSectionRoom = 4;

bool RecordHolds(const Fields& record, const std::string& word) {
  for (const char* tag : kExchangeTags) {
    if (SameValue(Get(record, tag), word)) return true;
  }
  if (word.size() > kSectionRoom && Get(record, "arrl_sect") == word.substr(0, kSectionRoom)) {
    return true;
  }
  // A Field Day class may be written as the transmitter count and the category letter.
  return SameValue(Get(record, "tx_count") + Get(record, "category"), word);
}

// The ADIF mode of a Cabrillo mode word.
std::string AdifMode(const std::string& word) {
  if (word == "PH") return "SSB";
  if (word == "RY") return "RTTY";
  return word;  // CW, FM, and the digital words, which keep their names
}

// The band designators the real logs use, with their ADIF band names.
const std::map<std::string, std::string> kDesignatorBands = {
    {"50", "6m"}, {"70", "4m"}, {"144", "2m"}, {"222", "1.25m"}, {"432", "70cm"}};

// Words per side of the contests of the real logs (the calls included), by the start of their
// CONTEST value; whether the second word of each side is the report. Logs of other contests
// are split in the middle and their exchanges are not compared.
struct SideWords {
  const char* contest;
  std::size_t words;
  bool reports;
  bool field_day_class = false;
};
constexpr SideWords kSides[] = {
    {"ARRL-10", 3, true},        {"IARU-HF", 3, true},   {"CQ-160-", 3, true},
    {"ARRL-DX-", 3, true},       {"ARRL-SS-", 5, false}, {"NAQP-", 3, false},
    {"ARRL-FD", 3, false, true},
};

struct LogShape {
  std::size_t side = 0;  // 0: not known
  bool reports = false;
  bool field_day_class = false;
};

// A Field Day class: the transmitters, then one category letter ("2A", "12F").
bool IsFieldDayClass(const std::string& word) {
  return word.size() >= 2 && AllDigits(word.substr(0, word.size() - 1)) && word.back() >= 'A' &&
         word.back() <= 'Z';
}

LogShape ShapeOf(const std::string& text) {
  for (const std::string& line : Lines(text)) {
    if (line.rfind("CONTEST:", 0) != 0) continue;
    std::vector<std::string> words = Split(line.substr(8));
    std::string name = words.empty() ? "" : words[0];
    for (const SideWords& sides : kSides) {
      if (name.rfind(sides.contest, 0) == 0) {
        return {sides.words, sides.reports, sides.field_day_class};
      }
    }
  }
  return {};
}

// The QSO lines of a log that the syntax check accepts, each on its own in a log of one line.
std::vector<std::vector<std::string>> ReadableQsoLines(const std::string& text) {
  std::vector<std::vector<std::string>> lines;
  for (const std::string& line : Lines(text)) {
    if (line.rfind("QSO:", 0) != 0) continue;
    std::string alone = "START-OF-LOG: 3.0\r\n" + line + "\r\nEND-OF-LOG:\r\n";
    if (CheckCabrillo(alone).errors.empty()) lines.push_back(Split(line.substr(4)));
  }
  return lines;
}

int QsoLineCount(const std::string& text) {
  int count = 0;
  for (const std::string& line : Lines(text)) count += line.rfind("QSO:", 0) == 0 ? 1 : 0;
  return count;
}

// One QSO line against the ADIF record made of it: call, date, time, frequency or band, mode,
// reports and every received exchange word.
void ExpectRecordOfLine(const std::vector<std::string>& words, const LogShape& shape,
                        const Fields& record, const std::string& where) {
  std::vector<std::string> exchange(words.begin() + 4, words.end());
  std::size_t side = shape.side;
  if (side == 0 || exchange.size() < side + 1) side = exchange.size() / 2;
  std::size_t received_end = std::min(exchange.size(), 2 * side);
  EXPECT_EQ(Get(record, "call"), exchange[side]) << where;
  std::string date = words[2];
  EXPECT_EQ(Get(record, "qso_date"), date.substr(0, 4) + date.substr(5, 2) + date.substr(8, 2))
      << where;
  EXPECT_EQ(Get(record, "time_on").substr(0, 4), words[3]) << where;
  if (kDesignatorBands.count(words[0])) {
    EXPECT_EQ(LowerAscii(Get(record, "band")), kDesignatorBands.at(words[0])) << where;
  } else {
    EXPECT_EQ(std::lround(std::atof(Get(record, "freq").c_str()) * 1000), std::stol(words[0]))
        << where;
  }
  EXPECT_EQ(Get(record, "mode"), AdifMode(words[1])) << where;
  std::size_t first_exchange = side + 1;
  if (shape.reports) {
    EXPECT_TRUE(SameValue(Get(record, "rst_sent"), exchange[1])) << where;
    EXPECT_TRUE(SameValue(Get(record, "rst_rcvd"), exchange[side + 1])) << where;
    ++first_exchange;
  }
  if (shape.side == 0) return;  // a contest whose exchange the test does not know
  for (std::size_t i = first_exchange; i < received_end; ++i) {
    if (shape.field_day_class && i == first_exchange && !IsFieldDayClass(exchange[i])) {
      continue;  // a class the operator mistyped (1AB, WA, 31) has no fields to go to
    }
    EXPECT_TRUE(RecordHolds(record, exchange[i])) << where << ": " << exchange[i];
  }
}

TEST(CabrilloRealLogs, EveryReadableQsoLineBecomesOneAdifRecordWithTheWordsOfTheLine) {
  std::string real = testing::RealDataDir();
  if (real.empty() || !fs::is_directory(fs::path(real) / "cabrillo")) {
    GTEST_SKIP() << "no real Cabrillo logs here";
  }
  int logs = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(real) / "cabrillo")) {
    std::string extension = entry.path().extension().string();
    if (extension != ".log" && extension != ".cbr") continue;
    ++logs;
    std::string text = ReadFile(entry.path().string());
    LogWorkspace workspace;
    workspace.Write("in" + extension, text);
    auto run = RunQuorvelcon({"in" + extension, "out.adi"}, workspace.Folder());
    std::string name = entry.path().filename().string();
    ASSERT_EQ(run.exit_code, 0) << name << "\n" << run.output;

    std::vector<std::vector<std::string>> lines = ReadableQsoLines(text);
    std::vector<Fields> records = AdifRecords(ReadFile(workspace.Path("out.adi")));
    ASSERT_EQ(records.size(), lines.size()) << name;
    EXPECT_NE(run.output.find("Processed " + std::to_string(lines.size()) + " QSO's"),
              std::string::npos)
        << name;
    int unread = QsoLineCount(text) - static_cast<int>(lines.size());
    if (unread > 0) {
      EXPECT_NE(run.output.find(std::to_string(unread) + " QSO lines could not be read"),
                std::string::npos)
          << name << "\n"
          << run.output;
    }
    LogShape shape = ShapeOf(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      ExpectRecordOfLine(lines[i], shape, records[i], name + " QSO " + std::to_string(i + 1));
    }
  }
  EXPECT_GT(logs, 0);
}

// ---- logs this program wrote ----

// The writer's golden logs: read back and written again, every line comes back as it was.
TEST(CabrilloRoundTrip, LogsThisProgramWroteAreWrittenAgainByteForByte) {
  int logs = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(CabrilloGoldenDir())) {
    if (entry.path().extension() != ".cbr") continue;
    ++logs;
    std::string name = entry.path().filename().string();
    std::string written = ReadFile(entry.path().string());
    LogWorkspace workspace;
    workspace.Write("in.cbr", written);
    auto run = RunQuorvelcon({"in.cbr", "out.cbr"}, workspace.Folder());
    ASSERT_EQ(run.exit_code, 0) << name << "\n" << run.output;
    std::vector<std::string> before = Lines(written);
    std::vector<std::string> after = Lines(ReadFile(workspace.Path("out.cbr")));
    std::vector<std::string> qsos_before, qsos_after;
    for (const std::string& line : before) {
      if (line.rfind("QSO:", 0) == 0) qsos_before.push_back(line);
    }
    for (const std::string& line : after) {
      if (line.rfind("QSO:", 0) == 0) qsos_after.push_back(line);
    }
    EXPECT_EQ(qsos_after, qsos_before) << name;
    EXPECT_EQ(after, before) << name << ": the header lines too";
  }
  EXPECT_GT(logs, 5);
}

// ---- header keywords ----

ContestHeader HeaderOf(const std::string& text, int contest_option = 0) {
  LogWorkspace workspace;
  workspace.Write("in.cbr", text);
  CabrilloLogFile reader;
  ConversionOptions options{};
  options.contest = static_cast<std::uint8_t>(contest_option);
  reader.SetOptions(&options);
  EXPECT_EQ(reader.Open(workspace.Path("in.cbr").c_str(), kModeReadText), 1) << text;
  return reader.Header();
}

struct HeaderCase {
  const char* lines;
  int contest;
  int mode;
  int category;
  int power;
};

TEST(CabrilloHeader, ContestNamesAndCategoriesOfBothVersionsGiveTheirCodes) {
  const HeaderCase cases[] = {
      {"CONTEST: CQ-WW-CW", kContestCqww, kModeCw, 0, 0},
      {"CONTEST: CQ-WW-SSB\nCATEGORY: MULTI-TWO ALL HIGH", kContestCqww, kModeSsb, 3, 3},
      {"CONTEST: CQ-WPX-RTTY\nCATEGORY: SINGLE-OP-ASSISTED ALL QRP", kContestWpx, kModeRtty, 1, 1},
      {"CONTEST: ARRL-DX-SSB", kContestArrlDx, kModeSsb, 0, 0},
      {"CONTEST: ARRL-DX-CW\nLOCATION: DX", kContestArrlDxFromDx, kModeCw, 0, 0},
      {"CONTEST: ARRL-DX-CW\nARRL-SECTION: DX", kContestArrlDxFromDx, kModeCw, 0, 0},
      {"CONTEST: ARRL-SS-SSB", kContestSs, kModeSsb, 0, 0},
      {"CONTEST: ARRL-10\nCATEGORY-MODE: CW", kContestArrl10, kModeCw, 0, 0},
      {"CONTEST: ARRL-160", kContestArrl160, 0, 0, 0},
      {"CONTEST: IARU-HF\nCATEGORY-OPERATOR: MULTI-OP\nCATEGORY-TRANSMITTER: UNLIMITED",
       kContestIaru, 0, 4, 0},
      {"CONTEST: NAQP-RTTY", kContestNaqp, kModeRtty, 0, 0},
      {"CONTEST: ARRL-FD\nCATEGORY-OPERATOR: MULTI-OP\nCATEGORY-POWER: LOW", kContestFd, 0, 2, 2},
      {"CONTEST: ARRL-VHF-JUN\nCATEGORY-STATION: ROVER", kContestVhfQso, 0, 8, 0},
      {"CONTEST: CQ-160-CW\nCATEGORY-OPERATOR: SINGLE-OP\nCATEGORY-ASSISTED: ASSISTED",
       kContestCq160, kModeCw, 1, 0},
      {"CONTEST: DARC-WAEDC-CW", kContestWae, kModeCw, 0, 0},
      {"CONTEST: STEW-PERRY", kContestStewPerry, 0, 0, 0},
      {"CONTEST: NA-SPRINT-SSB", kContestSprint, kModeSsb, 0, 0},
      {"CONTEST: CA-QSO-PARTY", kContestCqp, 0, 0, 0},
      {"CONTEST: RSGB-IOTA", kContestIota, 0, 0, 0},
      {"CONTEST: YARC-QSO-PARTY", kContestNone, 0, 0, 0},
      {"CONTEST: ARRL-10-GHZ", kContestNone, 0, 0, 0},
      {"CONTEST: CQ-WW-", kContestNone, 0, 0, 0},
      {"CATEGORY: MULTI-LIMITED ALL LOW", kContestNone, 0, 9, 2},
      {"CATEGORY-OPERATOR: SINGLE-OP\nCATEGORY-POWER: QRP\nCATEGORY-STATION: PORTABLE",
       kContestNone, 0, 5, 1},
  };
  for (const HeaderCase& c : cases) {
    ContestHeader header = HeaderOf(std::string("START-OF-LOG: 3.0\n") + c.lines + "\n");
    EXPECT_EQ(header.contest, c.contest) << c.lines;
    EXPECT_EQ(header.mode, c.mode) << c.lines;
    EXPECT_EQ(header.category, c.category) << c.lines;
    EXPECT_EQ(header.power_cat, c.power) << c.lines;
  }
}

TEST(CabrilloHeader, StationLinesFillTheHeaderAndTheFirstQsoLineTheOwnExchange) {
  ContestHeader v3 = HeaderOf(
      "START-OF-LOG: 3.0\nCONTEST: ARRL-SS-CW\nCALLSIGN: K5NZ\nLOCATION: STX\n"
      "NAME: Ann Smith\nADDRESS: 1 Main St\nADDRESS-CITY: Austin\nADDRESS-STATE-PROVINCE: TX\n"
      "ADDRESS-POSTALCODE: 78701\nCLUB: Central Texas DX and Contest Club\n"
      "OPERATORS: K5NZ W5XX\nGRID-LOCATOR: EM10\nX-UNKNOWN: passed over\n"
      "QSO: 14050 CW 2024-11-02 2101 K5NZ 0001 U 69 STX K8LX 0002 M 64 MI\nEND-OF-LOG:\n");
  EXPECT_STREQ(v3.call, "K5NZ");
  EXPECT_STREQ(v3.arrl_sect, "STX");
  EXPECT_STREQ(v3.name, "Ann Smith");
  EXPECT_STREQ(v3.address, "1 Main St");
  EXPECT_STREQ(v3.city, "Austin");
  EXPECT_STREQ(v3.state, "TX");
  EXPECT_STREQ(v3.zip, "78701");
  EXPECT_STREQ(v3.club, "Central Texas DX and Contest Club");
  EXPECT_STREQ(v3.operators, "K5NZ W5XX");
  EXPECT_STREQ(v3.gridsquare, "EM10");
  EXPECT_STREQ(v3.contest_name, "ARRL-SS-CW");
  EXPECT_STREQ(v3.year, "2024");
  EXPECT_EQ(v3.prec, 'U');
  EXPECT_EQ(v3.check, 69);

  ContestHeader v2 = HeaderOf(
      "START-OF-LOG: 2.0\nCONTEST: ARRL-FD\nARRL-SECTION: MDC\nCALLSIGN: W3AO\n"
      "ADDRESS: 18601 Queen Anne Bridge Road\nADDRESS: Mitchellville, MD 20716\n"
      "QSO: 21230 PH 2025-06-28 1800 W3AO 10A MDC AD4GG 1E TN\nEND-OF-LOG:\n");
  EXPECT_EQ(v2.contest, kContestFd);
  EXPECT_STREQ(v2.address, "18601 Queen Anne Bridge Road");
  EXPECT_STREQ(v2.city, "Mitchellville");
  EXPECT_STREQ(v2.state, "MD");
  EXPECT_STREQ(v2.zip, "20716");
  EXPECT_EQ(v2.prec, 10);
  EXPECT_EQ(v2.check, 0);  // category A

  ContestHeader iaru = HeaderOf(
      "START-OF-LOG: 3.0\nCONTEST: IARU-HF\n"
      "QSO: 21031 CW 2025-07-12 1215 GB0WR 599 27 RC2O 599 29 0\n");
  EXPECT_EQ(iaru.zone, 27);
  EXPECT_STREQ(iaru.call, "GB0WR");  // without a CALLSIGN line, the call the lines send
  ContestHeader vhf = HeaderOf(
      "START-OF-LOG: 3.0\nCONTEST: ARRL-VHF-SEP\nQSO: 144 PH 2025-09-13 1800 "
      "K1AB FN42 W1XY FN31\n");
  EXPECT_STREQ(vhf.gridsquare, "FN42");
}

TEST(CabrilloHeader, ALogOfNoKnownContestTakesTheContestTheUserNames) {
  EXPECT_EQ(HeaderOf("START-OF-LOG: 3.0\nCONTEST: SOMETHING\n", kContestCqww).contest,
            kContestCqww);
  EXPECT_EQ(HeaderOf("START-OF-LOG: 3.0\nCONTEST: CQ-WPX-CW\n", kContestCqww).contest, kContestWpx);
}

TEST(CabrilloHeader, AByteOrderMarkBeforeTheStartLineIsPassedOver) {
  EXPECT_EQ(HeaderOf("\xEF\xBB\xBFSTART-OF-LOG: 3.0\nCONTEST: CQ-WW-CW\n").contest, kContestCqww);
}

TEST(CabrilloHeader, AFileWithoutTheStartLineIsNoCabrilloLog) {
  LogWorkspace workspace;
  workspace.Write("in.cbr", "QSO: 14025 CW 2024-11-23 0001 DL1AB 599 14 W1XYZ 599 05\n");
  CabrilloLogFile reader;
  EXPECT_EQ(reader.Open(workspace.Path("in.cbr").c_str(), kModeReadText), 0);
}

// ---- QSO lines ----

std::vector<QsoRecord> ReadAll(const std::string& text, ReadingNotes* notes = nullptr) {
  LogWorkspace workspace;
  workspace.Write("in.cbr", text);
  CabrilloLogFile reader;
  ConversionOptions options{};
  reader.SetOptions(&options);
  EXPECT_EQ(reader.Open(workspace.Path("in.cbr").c_str(), kModeReadText), 1);
  std::vector<QsoRecord> records;
  QsoRecord record;
  while (!reader.IsEof() && reader.ReadQso(record)) records.push_back(record);
  if (notes != nullptr) *notes = reader.Notes();
  EXPECT_EQ(reader.QsoCount(), static_cast<int>(records.size()));
  return records;
}

QsoRecord OneQso(const std::string& contest, const std::string& words) {
  std::vector<QsoRecord> read =
      ReadAll("START-OF-LOG: 3.0\nCONTEST: " + contest + "\nQSO: " + words + "\nEND-OF-LOG:\n");
  EXPECT_EQ(read.size(), 1u) << contest << ": " << words;
  if (read.empty()) {
    QsoRecord none;
    none.Clear();
    return none;
  }
  return read[0];
}

struct FrequencyCase {
  const char* word;
  std::uint32_t freq;
  int band;
  const char* band_name;
};

TEST(CabrilloQso, FrequenciesInKilohertzAndBandDesignators) {
  const FrequencyCase cases[] = {
      {"14025", 140250, 5, ""},    {"1800", 18000, 1, ""},
      {"7012.5", 70125, 3, ""},    {"28000", 280000, 9, ""},
      {"5330", 53300, 0, "60m"},   {"50", 0, 10, ""},
      {"144", 0, 12, ""},          {"902", 0, 15, ""},
      {"1.2G", 0, 16, ""},         {"24G", 0, 22, ""},
      {"LIGHT", 0, 30, ""},        {"?BAND?", 0, 0, ""},
      {"144300", 1443000, 12, ""}, {"429496729", 4294967290u, 0, "submm"},
  };
  for (const FrequencyCase& c : cases) {
    QsoRecord r = OneQso("CQ-WW-CW", std::string(c.word) +
                                         " CW 2024-11-23 0001 DL1AB 599 14 "
                                         "W1XYZ 599 05");
    EXPECT_EQ(r.freq, c.freq) << c.word;
    EXPECT_EQ(r.band, c.band) << c.word;
    EXPECT_EQ(r.BandName(), c.band_name) << c.word;
  }
}

struct ModeCase {
  const char* word;
  int mode;
  const char* name;
};

TEST(CabrilloQso, ModeWords) {
  const ModeCase cases[] = {{"CW", kModeCw, ""}, {"PH", kModeSsb, ""}, {"RY", kModeRtty, ""},
                            {"FM", kModeFm, ""}, {"DG", 0, "DG"},      {"DI", 0, "DI"},
                            {"?MODE?", 0, ""}};
  for (const ModeCase& c : cases) {
    QsoRecord r = OneQso(
        "CQ-WW-CW", std::string("14025 ") + c.word + " 2024-11-23 0001 DL1AB 599 14 W1XYZ 599 05");
    EXPECT_EQ(r.mode, c.mode) << c.word;
    EXPECT_EQ(r.ModeName(), c.name) << c.word;
  }
}

TEST(CabrilloQso, ExchangesLandInTheFieldsOfTheirContest) {
  QsoRecord cqww = OneQso("CQ-WW-CW", "14025 CW 2024-11-23 2359 DL1AB 599 14 W1XYZ 579 05");
  EXPECT_EQ(cqww.Call(), "W1XYZ");
  EXPECT_EQ(cqww.time_on, 1732406340);  // 2024-11-23 23:59 UTC
  EXPECT_EQ(cqww.rst_sent, 599);
  EXPECT_EQ(cqww.rst_rcvd, 579);
  EXPECT_EQ(cqww.cqz, 5);

  QsoRecord wpx = OneQso("CQ-WPX-SSB", "14225 PH 2024-03-30 0000 DL1AB 59 17 K1AB 59 1234 1");
  EXPECT_EQ(wpx.stx, 17);
  EXPECT_EQ(wpx.srx, 1234);

  QsoRecord iaru = OneQso("IARU-HF", "14025 CW 2025-07-12 1233 GB0WR 599 27 LZ0HQ 599 BFRA 0");
  EXPECT_EQ(iaru.ituz, 0);
  EXPECT_EQ(iaru.RcvdExch(), "BFRA");
  EXPECT_EQ(OneQso("IARU-HF", "14025 CW 2025-07-12 1233 GB0WR 599 27 RC2O 599 29 0").ituz, 29);

  QsoRecord ss =
      OneQso("ARRL-SS-CW", "14050 CW 2024-11-02 2101 K5NZ 0001 U 69 STX K8LX 0002 M 64 MI");
  EXPECT_EQ(ss.stx, 1);
  EXPECT_EQ(ss.srx, 2);
  EXPECT_EQ(ss.prec, 'M');
  EXPECT_EQ(ss.check, 64);
  EXPECT_EQ(ss.ArrlSect(), "MI");

  QsoRecord fd = OneQso("ARRL-FD", "14025 CW 2025-06-28 1801 W1OP 4A GA W4GTA 12F MDC");
  EXPECT_EQ(fd.prec, 12);
  EXPECT_EQ(fd.check, 'F');
  EXPECT_EQ(fd.ArrlSect(), "MDC");

  QsoRecord naqp = OneQso("NAQP-CW", "28044 CW 2025-01-11 1800 K3DNE Ed SC VE2FK DUB QC");
  EXPECT_EQ(naqp.Name(), "DUB");
  EXPECT_EQ(naqp.RcvdExch(), "QC");

  QsoRecord sprint =
      OneQso("NA-SPRINT-CW", "7025 CW 2025-02-02 0000 N0AB 12 JIM MN K1XX 33 BOB MA");
  EXPECT_EQ(sprint.stx, 12);
  EXPECT_EQ(sprint.srx, 33);
  EXPECT_EQ(sprint.Name(), "BOB");
  EXPECT_EQ(sprint.RcvdExch(), "MA");
  QsoRecord cqp = OneQso("CA-QSO-PARTY", "7025 CW 2025-10-04 1600 N6XX 1 SCLA K9YC 5 IL");
  EXPECT_EQ(cqp.srx, 5);
  EXPECT_EQ(cqp.RcvdExch(), "IL");

  QsoRecord vhf = OneQso("ARRL-VHF-JUN", "50 PH 2025-06-14 1800 K1AB 59 FN42 W1XY 57 FN31");
  EXPECT_EQ(vhf.rst_rcvd, 57);
  EXPECT_EQ(vhf.RcvdExch(), "FN31");
  EXPECT_EQ(OneQso("ARRL-VHF-JUN", "50 PH 2025-06-14 1800 K1AB FN42 W1XY FN31").RcvdExch(), "FN31");

  QsoRecord ten = OneQso("ARRL-10", "28053 CW 2024-12-14 0007 PX2A 599 004 JL1UTS 599 003");
  EXPECT_EQ(ten.stx, 4);
  EXPECT_EQ(ten.RcvdExch(), "003");
  EXPECT_EQ(OneQso("ARRL-10", "28053 CW 2024-12-14 0007 PX2A 599 004 K1LT 599 OH").RcvdExch(),
            "OH");

  QsoRecord general =
      OneQso("YARC-QSO-PARTY", "14200 PH 2018-12-01 1420 W200YARC 59 NY K4NYX 045 FL");
  EXPECT_EQ(general.Call(), "K4NYX");
  EXPECT_EQ(general.rst_sent, 59);
  EXPECT_EQ(general.rst_rcvd, 0);  // 045 is no report
  EXPECT_EQ(general.RcvdExch(), "045 FL");
}

// The writer leaves a column without a value empty: the line then lacks that word, and the
// words before it are read as they stand.
TEST(CabrilloQso, AnEmptyLastColumnLeavesItsFieldEmpty) {
  QsoRecord r = OneQso("ARRL-DX-CW", "14025 CW 2024-02-17 0022 K1AB 599 ??? VE1ANF 599");
  EXPECT_EQ(r.Call(), "VE1ANF");
  EXPECT_EQ(r.rst_rcvd, 599);
  EXPECT_EQ(r.RcvdExch(), "");
  QsoRecord ss = OneQso("ARRL-SS-CW", "14050 CW 2024-11-02 2101 K5NZ 1 U 69 STX K8LX 2 ? ??");
  EXPECT_EQ(ss.prec, ' ');
  EXPECT_EQ(ss.check, ' ');
  EXPECT_EQ(ss.ArrlSect(), "");
}

// Words are found 64 bytes at a time: they are read whole wherever they stand, across those
// boundaries and after runs of blanks of any length, tabs included.
TEST(CabrilloQso, WordsAreReadWholeWhateverTheBlanksBetweenThem) {
  const std::vector<std::string> words = {"14025", "CW", "2024-11-23", "0001", "DL1AB",
                                          "599",   "14", "W1XYZ/VE3",  "579",  "05"};
  // Every line length from the shortest on, past the lengths split sixteen bytes at a time.
  const char separators[] = {' ', '\t', ' ', '\x01'};
  for (std::size_t blanks = 1; blanks <= 70; ++blanks) {
    std::string line;
    for (std::size_t i = 0; i < words.size(); ++i) {
      line += std::string(i % 2 == 0 ? blanks : 1 + blanks / 7, separators[i % 4]);
      line += words[i];
    }
    QsoRecord r = OneQso("CQ-WW-CW", line + std::string(blanks % 3, ' '));
    EXPECT_EQ(r.freq, 140250u) << blanks;
    EXPECT_EQ(r.Call(), "W1XYZ/VE3") << blanks;
    EXPECT_EQ(r.rst_rcvd, 579) << blanks;
    EXPECT_EQ(r.cqz, 5) << blanks;
  }
  // The same words moved one byte at a time, so that each begins and ends at every place of a
  // line split from masks and then past it.
  const std::string compact = "14025 CW 2024-11-23 0001 DL1AB 599 14 W1XYZ/VE3 579 05";
  for (std::size_t lead = 0; lead <= 90; ++lead) {
    QsoRecord r = OneQso("CQ-WW-CW", std::string(lead, ' ') + compact);
    EXPECT_EQ(r.Call(), "W1XYZ/VE3") << lead;
    EXPECT_EQ(r.rst_rcvd, 579) << lead;
    EXPECT_EQ(r.cqz, 5) << lead;
  }
  // A line of more words than any layout has is not read, however short; one word fewer is.
  std::string crowded = "14025 CW 2024-11-23 0001 DL1AB 599 W1XYZ 579";
  for (int word = 0; word < 24; ++word) crowded += " x";
  for (const std::string& line : {crowded, crowded + " x"}) {
    ReadingNotes notes;
    std::size_t read = ReadAll("START-OF-LOG: 3.0\nQSO: " + line + "\n", &notes).size();
    EXPECT_EQ(read, line == crowded ? 1u : 0u) << line.size();
    EXPECT_EQ(notes.unread_lines, line == crowded ? 0 : 1) << line.size();
  }
}

struct BadLineCase {
  const char* line;
  const char* why;
};

TEST(CabrilloQso, LinesThatCannotBeReadAreCountedAndTheContactsAroundThemConverted) {
  const BadLineCase cases[] = {
      {"QSO: 14025 XX 2024-11-23 0002 DL1AB 599 14 K2BAD 599 05", "no mode word"},
      {"QSO: 14025 CW 2024-13-23 0002 DL1AB 599 14 K2BAD 599 05", "no month 13"},
      {"QSO: 14025 CW 2024-02-30 0002 DL1AB 599 14 K2BAD 599 05", "no 30 February"},
      {"QSO: 14025 CW 2024-11-23 2460 DL1AB 599 14 K2BAD 599 05", "no hour 24"},
      {"QSO: 14025 CW 24-11-23 0002 DL1AB 599 14 K2BAD 599 05", "a two-digit year"},
      {"QSO: 14025 CW 2024-11-23 002 DL1AB 599 14 K2BAD 599 05", "a time of three digits"},
      {"QSO: << CW 2024-11-23 0002 DL1AB 599 14 K2BAD 599 05", "no frequency"},
      {"QSO: 4294967296 CW 2024-11-23 0002 DL1AB 599 14 K2BAD 599 05", "a frequency too high"},
      {"QSO: 14025 CW 2024-11-23 0002 DL1AB", "no worked call"},
      {"QSO: 14025 CW 2024-11-23 0002 DL1AB 599 14 K2BAD 599 05 0 1", "words left over"},
      {"QSO: 14025 CW 2024-11-23 0002 DL1AB 599 14 K2BAD 599 05 X", "no transmitter number"},
      {"QSO:", "nothing at all"},
  };
  for (const BadLineCase& c : cases) {
    ReadingNotes notes;
    std::vector<QsoRecord> read = ReadAll(std::string("START-OF-LOG: 3.0\nCONTEST: CQ-WW-CW\n") +
                                              "QSO: 14025 CW 2024-11-23 0001 DL1AB 599 14 "
                                              "W1XYZ 599 05\n" +
                                              c.line +
                                              "\nX-QSO: 14025 CW 2024-11-23 0003 DL1AB 599 14 "
                                              "K3X 599 05\nSOAPBOX: later lines\n"
                                              "QSO: 14025 CW 2024-11-23 0004 DL1AB 599 14 "
                                              "JA1ABC 599 25\nEND-OF-LOG:\n",
                                          &notes);
    ASSERT_EQ(read.size(), 2u) << c.why;
    EXPECT_EQ(read[0].Call(), "W1XYZ") << c.why;
    EXPECT_EQ(read[1].Call(), "JA1ABC") << c.why;
    EXPECT_EQ(notes.unread_lines, 1) << c.why;
    EXPECT_EQ(notes.x_qsos, 1) << c.why;
    EXPECT_FALSE(notes.Stopped()) << c.why;
  }
}

TEST(CabrilloQso, NothingIsReadAfterTheEndLine) {
  std::vector<QsoRecord> read = ReadAll(
      "START-OF-LOG: 3.0\nCONTEST: CQ-WW-CW\nEND-OF-LOG:\n"
      "QSO: 14025 CW 2024-11-23 0001 DL1AB 599 14 W1XYZ 599 05\n");
  EXPECT_TRUE(read.empty());
}

}  // namespace
}  // namespace quorvel
