// TR Log page listings: seeded awkward contacts of every contest written and read back through
// the format object and through ADIF, the columns of every line, the page layout, the title
// line with its contest decision, and the real listing.
#include "formats/trlog_log_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/civil_time.h"
#include "core/format_factory.h"
#include "core/numbers.h"
#include "core/text_field.h"
#include "formats/adif_log_file.h"
#include "formats/received_exchange.h"
#include "log_test_support.h"

namespace quorvel {
namespace {

using testing::Contact;
using testing::HeaderFor;
using testing::LogWorkspace;
using testing::ReadThrough;
using testing::WorkingFolder;
using testing::WriteThrough;

// ---- what each contest's lines carry ----

enum Carried : unsigned {
  kReports = 1 << 0,
  kSrx = 1 << 1,
  kSsLetters = 1 << 2,  // precedence letter and check number
  kSection = 1 << 3,
  kExchange = 1 << 4,
  kCqz = 1 << 5,
  kItuzOrSociety = 1 << 6,
  kFdClass = 1 << 7,
  kName = 1 << 8,
  kQth = 1 << 9,
  kAge = 1 << 10,
  kArci = 1 << 11,
  kTenTen = 1 << 12,
  kMults = 1 << 13,
  kPoints = 1 << 14,
};
constexpr unsigned kTrailer = kMults | kPoints;

unsigned CarriedBy(int contest) {
  switch (contest) {
    case kContestSs:
      return kSrx | kSsLetters | kSection | kTrailer;
    case kContestCqww:
      return kReports | kCqz | kTrailer;
    case kContestWpx:
      return kReports | kSrx | kTrailer;
    case kContestIaru:
      return kReports | kItuzOrSociety | kTrailer;
    case kContestFd:
      return kFdClass | kSection | kTrailer;
    case kContestCqp:
      return kSrx | kExchange | kTrailer;
    case kContestDxped:
      return kReports | kName | kExchange | kPoints;
    case kContestAllAsian:
      return kReports | kAge | kTrailer;
    case kContestNaqp:
    case kContestGridloc:
      return kName | kExchange | kTrailer;
    case kContestYodx:
      return kReports | kCqz | kExchange | kTrailer;
    case kContestTenTen:
      return kName | kTenTen | kQth;
    case kContestSprint:
    case kContestInternetSprint:
      return kSrx | kName | kExchange | kTrailer;
    case kContestArci:
      return kReports | kArci | kExchange | kTrailer;
    case kContestIota:
      return kReports | kSrx | kExchange | kTrailer;
    case kContestHelvetia:
    case kContestWag:
    case kContestAri:
    case kContestRac:
      return kReports | kSrx | kQth | kTrailer;
    default:
      return kReports | kExchange | kTrailer;
  }
}

// Seeded contacts with the values that push a layout hardest: empty exchanges with multipliers
// and points, blank precedences, modes and bands without a label, wide numbers, long calls.
class AwkwardContacts {
 public:
  explicit AwkwardContacts(unsigned seed) : random(seed) {}

  QsoRecord Next(int contest, int index) {
    QsoRecord r = Contact(Pick({"K1AB", "VE3XYZ", "DL1ABCDEFGHIJ", "JA1ZZZ"}),
                          Pick({1, 5, 9, 12, 14, 22, 27, 31, 0}), Pick({0, 1, 2, 3, 4, 5, 6, 9}),
                          2024, 11, 2, 21, index % 60);
    r.points = static_cast<std::uint8_t>(Pick({0, 3, 12, 255}));
    if (Chance()) r.AddMult("K");
    if (Chance()) r.AddMult(Pick({"W1", "VE3", "DL"}));
    r.SetRstSent(Pick({"599", "59", "-11", "+03", ""}));
    r.SetRstRcvd(Pick({"579", "5", "-05", ""}));
    r.srx = Pick({0, 7, 999, 12345});
    r.cqz = static_cast<std::uint8_t>(Pick({0, 5, 40}));
    r.age = static_cast<std::uint8_t>(Pick({0, 7, 65}));
    r.arci_num = static_cast<std::uint16_t>(Pick({0, 123, 12345}));
    r.ten_ten = Pick({0, 7, 12345});
    r.SetName(Pick({"", "BOB", "MAXIMILIAN"}));
    r.SetQth(Pick({"", "X", "GA", "ABC"}));
    bool numeric = contest == kContestArrl10 && Chance();
    r.SetRcvdExch(numeric ? "123" : Pick({"", "MA", "EMA", "FN42"}));
    if (contest == kContestIaru) r.ituz = static_cast<std::uint8_t>(Pick({0, 8, 28}));
    if (contest == kContestSs) {
      r.prec = Pick({' ', 'A', 'Q', 'U', 'M'});
      r.check = Pick({' ', '\0', static_cast<char>(5), static_cast<char>(71)});
      r.SetArrlSect(Pick({"", "STX", "WWA"}));
    }
    if (contest == kContestFd) {
      r.prec = Pick({' ', static_cast<char>(1), static_cast<char>(12)});
      r.check = Pick({' ', 'A', 'F'});
      r.SetArrlSect(Pick({"", "CT", "EMA"}));
    }
    return r;
  }

 private:
  template <typename T>
  T Pick(std::initializer_list<T> values) {
    return values.begin()[random() % values.size()];
  }
  const char* Pick(std::initializer_list<const char*> values) {
    return values.begin()[random() % values.size()];
  }
  bool Chance() { return random() % 2 == 0; }

  std::mt19937 random;
};

// What a contact reads back as from a listing of `contest`.
QsoRecord Expected(const QsoRecord& w, int contest) {
  unsigned carried = CarriedBy(contest);
  QsoRecord r = Contact(std::string(w.Call()), 0, 0, 2024, 11, 2, 21, 0);
  r.time_on = w.time_on;
  static const bool kLabelled[] = {false, true,  true,  true, true, true, true,  true,
                                   true,  true,  true,  true, true, true, true,  true,
                                   true,  true,  true,  true, true, true, false, false,
                                   false, false, false, true, true, true, true};
  r.band = (w.band < std::size(kLabelled) && kLabelled[w.band]) ? w.band : 0;
  bool labelled_mode = w.mode == kModeCw || w.mode == kModeSsb || w.mode == kModeFm;
  r.mode = labelled_mode ? w.mode : static_cast<std::uint8_t>(kModeAm);  // three blanks read as AM
  // A report its three columns cannot hold is written as 0, no report.
  auto held = [](bool present, const ReportText& text, std::int16_t value) {
    return static_cast<std::int16_t>(present && text.length <= 3 ? value : 0);
  };
  if (carried & kReports) {
    r.rst_sent = held(w.HasRstSent(), w.RstSentText(), w.rst_sent);
    r.rst_rcvd = held(w.HasRstRcvd(), w.RstRcvdText(), w.rst_rcvd);
  }
  if (carried & kSrx) r.srx = w.srx;
  // Helvetia's serial has four columns before the QTH: a fifth digit does not fit (stars).
  if (contest == kContestHelvetia && w.srx > 9999) r.srx = 0;
  if (carried & kSsLetters) {
    r.prec = w.prec;
    r.check = w.check;
  }
  if (carried & kFdClass) {
    r.prec = w.prec;
    r.check = w.check;
  }
  if (carried & kSection) r.SetArrlSect(w.ArrlSect());
  // The exchange as the writer finds it: the text, or where ADIF logs keep it; in ARRL 10 m
  // also the serial.
  std::string exchange(ReceivedExchangeText(w));
  if (contest == kContestArrl10 && w.RcvdExch().empty() && w.srx != 0) {
    exchange = std::to_string(w.srx);
  }
  if (carried & kExchange) r.SetRcvdExch(exchange);
  if (contest == kContestArci && !exchange.empty() && IsDigit(exchange[0])) r.SetRcvdExch("");
  if (carried & kCqz) r.cqz = w.cqz;
  if (carried & kItuzOrSociety) {
    r.ituz = w.ituz;
    if (w.ituz == 0) r.SetRcvdExch(exchange);
  }
  if (carried & kName) r.SetName(w.Name());
  if (carried & kQth) r.SetQth(w.Qth().empty() && contest != kContestTenTen ? exchange : w.Qth());
  if (carried & kAge) r.age = w.age;
  if (carried & kArci) r.arci_num = w.arci_num;
  if (carried & kTenTen) r.ten_ten = w.ten_ten;
  if (carried & kPoints) r.points = w.points;
  if (carried & kMults) {
    std::istringstream words(std::string(w.Mults().substr(0, 8)));
    std::string word;
    for (int i = 0; i < 2 && words >> word; ++i) r.AddMult(word);
  }
  return r;
}

void ExpectSameContact(const QsoRecord& expected, const QsoRecord& actual, const std::string& at) {
  EXPECT_EQ(actual.Call(), expected.Call()) << at;
  EXPECT_EQ(actual.time_on, expected.time_on) << at;
  EXPECT_EQ(+actual.band, +expected.band) << at;
  EXPECT_EQ(+actual.mode, +expected.mode) << at;
  EXPECT_EQ(actual.rst_sent, expected.rst_sent) << at;
  EXPECT_EQ(actual.rst_rcvd, expected.rst_rcvd) << at;
  EXPECT_EQ(actual.srx, expected.srx) << at;
  EXPECT_EQ(+actual.prec, +expected.prec) << at;
  EXPECT_EQ(+actual.check, +expected.check) << at;
  EXPECT_EQ(actual.ArrlSect(), expected.ArrlSect()) << at;
  EXPECT_EQ(actual.RcvdExch(), expected.RcvdExch()) << at;
  EXPECT_EQ(+actual.cqz, +expected.cqz) << at;
  EXPECT_EQ(+actual.ituz, +expected.ituz) << at;
  EXPECT_EQ(actual.Name(), expected.Name()) << at;
  EXPECT_EQ(actual.Qth(), expected.Qth()) << at;
  EXPECT_EQ(+actual.age, +expected.age) << at;
  EXPECT_EQ(actual.arci_num, expected.arci_num) << at;
  EXPECT_EQ(actual.ten_ten, expected.ten_ten) << at;
  EXPECT_EQ(+actual.points, +expected.points) << at;
  EXPECT_EQ(actual.Mults(), expected.Mults()) << at;
}

// Every QSO line keeps its columns: the date's '-' at 9, the time's ':' at 19, the call at 29
// and the multipliers at 68, whatever the values.
void ExpectColumnsKept(const std::string& listing, int contest) {
  std::istringstream lines(listing);
  int qso_lines = 0;
  for (std::string line; std::getline(lines, line);) {
    if (line.size() < 20 || line[9] != '-' || line[19] != ':') continue;
    ++qso_lines;
    EXPECT_EQ(line[28], ' ') << line;
    EXPECT_NE(line[29], ' ') << line;
    EXPECT_LE(line.size(), 81u) << line;
    if (CarriedBy(contest) & kMults) {
      EXPECT_EQ(line[67], ' ') << line;
    }
  }
  EXPECT_GT(qso_lines, 0);
}

TEST(TrLogRoundTrip, EveryContestKeepsTheFieldsItsLinesCarry) {
  LogWorkspace workspace;
  WorkingFolder folder(workspace.Folder());
  for (int contest = 1; contest <= kContestCount; ++contest) {
    AwkwardContacts generator(20261208u + static_cast<unsigned>(contest));
    std::vector<QsoRecord> written;
    for (int i = 0; i < 60; ++i) written.push_back(generator.Next(contest, i));
    std::string name = "log" + std::to_string(contest) + ".dat";
    TrLogFile writer;
    // The DX side of the ARRL DX contest is told from the W/VE side by the own call.
    const char* own = contest == kContestArrlDxFromDx ? "DL1AB" : "N0QV";
    std::string listing =
        WriteThrough(writer, workspace.Path(name), 0, HeaderFor(contest, own), written);
    ExpectColumnsKept(listing, contest);
    TrLogFile reader;
    std::vector<QsoRecord> read = ReadThrough(reader, workspace.Path(name), 0);
    EXPECT_EQ(reader.Header().contest, contest);
    ASSERT_EQ(read.size(), written.size()) << "contest " << contest;
    for (std::size_t i = 0; i < read.size(); ++i) {
      ExpectSameContact(Expected(written[i], contest), read[i],
                        "contest " + std::to_string(contest) + " QSO " + std::to_string(i + 1));
    }
  }
}

// ADIF to TR Log to ADIF keeps what the listing carries: the same as ADIF to ADIF, field by
// field, for the fields the contest's lines have.
TEST(TrLogRoundTrip, AdifThroughTrLogKeepsWhatTheListingCarries) {
  LogWorkspace workspace;
  for (int contest = 1; contest <= kContestCount; ++contest) {
    AwkwardContacts generator(7u + static_cast<unsigned>(contest));
    std::vector<QsoRecord> written;
    for (int i = 0; i < 25; ++i) written.push_back(generator.Next(contest, i));
    std::string tag = std::to_string(contest);
    // ADIF names both ARRL DX contests ARRLDX: the DX side needs its keyword and a DX call.
    bool dx_side = contest == kContestArrlDxFromDx;
    AdifLogFile adif;
    {
      WorkingFolder folder(workspace.Folder());
      WriteThrough(adif, workspace.Path("in" + tag + ".adi"), 0,
                   HeaderFor(contest, dx_side ? "DL1AB" : "K1AB"), written);
    }
    std::string option = dx_side ? "-cARDXDX" : "-qsonum";
    auto direct = testing::RunQuorvelcon({"in" + tag + ".adi", "direct" + tag + ".adi", option},
                                         workspace.Folder());
    auto to_tr = testing::RunQuorvelcon({"in" + tag + ".adi", "tr" + tag + ".dat", option},
                                        workspace.Folder());
    auto back =
        testing::RunQuorvelcon({"tr" + tag + ".dat", "back" + tag + ".adi"}, workspace.Folder());
    ASSERT_EQ(to_tr.exit_code, 0) << to_tr.output;
    ASSERT_EQ(back.exit_code, 0) << back.output;
    WorkingFolder folder(workspace.Folder());
    AdifLogFile direct_reader, back_reader;
    std::vector<QsoRecord> expected =
        ReadThrough(direct_reader, workspace.Path("direct" + tag + ".adi"), 0);
    std::vector<QsoRecord> actual =
        ReadThrough(back_reader, workspace.Path("back" + tag + ".adi"), 0);
    ASSERT_EQ(actual.size(), expected.size()) << "contest " << contest;
    for (std::size_t i = 0; i < actual.size(); ++i) {
      QsoRecord want = Expected(expected[i], contest);
      QsoRecord got = Expected(actual[i], contest);  // both cut to what the listing carries
      ExpectSameContact(want, got, "contest " + tag + " QSO " + std::to_string(i + 1));
    }
  }
}

// ---- pages and numbers ----

TEST(TrLogPages, TenThousandthAndHundredThousandthQsosKeepTheirColumns) {
  LogWorkspace workspace;
  std::vector<QsoRecord> records(100000, Contact("K1AB", 5, kModeCw, 2024, 11, 2, 21, 7));
  TrLogFile writer;
  std::string listing =
      WriteThrough(writer, workspace.Path("big.dat"), 0, HeaderFor(kContestCqww), records);
  std::istringstream lines(listing);
  std::vector<std::string> qso_lines;
  for (std::string line; std::getline(lines, line);) {
    if (line.size() > 20 && line[9] == '-' && line[19] == ':') qso_lines.push_back(line);
  }
  ASSERT_EQ(qso_lines.size(), 100000u);
  EXPECT_EQ(qso_lines[9998].substr(22, 8), " 9999  K");
  EXPECT_EQ(qso_lines[9999].substr(22, 8), " 10000 K");
  EXPECT_EQ(qso_lines[99999].substr(22, 8), " 100000K");
  EXPECT_EQ(listing.substr(listing.size() - 2), "\r\n");
}

TEST(TrLogWriting, RefusesContestsItCannotNameAndNeverReplacesAFile) {
  LogWorkspace workspace;
  for (int contest : {0, 34, 255}) {
    TrLogFile writer;
    EXPECT_EQ(WriteThrough(writer, workspace.Path("c" + std::to_string(contest) + ".dat"), 0,
                           HeaderFor(contest), {}),
              "REFUSED");
  }
  workspace.Write("old.dat", "keep");
  TrLogFile writer;
  EXPECT_EQ(writer.Open(workspace.Path("old.dat").c_str(), kModeWriteNew), 0);
  EXPECT_EQ(testing::ReadFile(workspace.Path("old.dat")), "keep");
}

TEST(TrLogWriting, QsosOutsideTheTwoDigitYearsAreLeftOut) {
  LogWorkspace workspace;
  TrLogFile writer;
  ASSERT_EQ(writer.Open(workspace.Path("y.dat").c_str(), kModeWriteNew), 1);
  ASSERT_EQ(writer.WriteHeader(HeaderFor(kContestCqww)), 1);
  EXPECT_EQ(writer.WriteQso(Contact("K1AB", 5, kModeCw, 1949, 12, 31, 23, 59)), 0);
  EXPECT_EQ(writer.WriteQso(Contact("K1AC", 5, kModeCw, 2050, 1, 1, 0, 0)), 0);
  EXPECT_EQ(writer.WriteQso(Contact("K1AD", 5, kModeCw, 1950, 1, 1, 0, 0)), 1);
  writer.Close();
  TrLogFile reader;
  std::vector<QsoRecord> read = ReadThrough(reader, workspace.Path("y.dat"), 0);
  ASSERT_EQ(read.size(), 1u);
  EXPECT_EQ(read[0].time_on, UtcSeconds(1950, 1, 1, 0, 0, 0));
}

// ---- the title line ----

struct TitleCase {
  const char* title;
  const char* country_file;  // "" for the tests' own
  int contest;
  const char* call;
};

TEST(TrLogTitle, ContestByNamePrefixHighestCodeWinsArrlDxByTheOwnCall) {
  std::string real_cty = testing::RealDataDir() + "/cty/ad1c_cty-3510_cqww.cty";
  bool have_real = !testing::RealDataDir().empty() && std::filesystem::exists(real_cty);
  const TitleCase cases[] = {
      {"2003 CQ WW Contest K7RAT", "", kContestCqww, "K7RAT"},
      {"2003 cq ww contest k7rat", "", kContestCqww, "k7rat"},
      {"2003 CQ WW Contest CW weekend K7RAT", "", kContestCqww, "K7RAT"},
      {"2003 CQ WPX Contest  W1AW  ", "", kContestWpx, "W1AW"},
      {"2024 ARRL DX Test W1AW", "", kContestArrlDx, "W1AW"},
      {"2024 ARRL DX Test DL1ABC", "", kContestArrlDxFromDx, "DL1ABC"},
      {"2024 ARRL DX Test VE3XX", "", kContestArrlDx, "VE3XX"},
      {"2024 ARRL DX Test Q9ZZZ", "", kContestArrlDx, "Q9ZZZ"},  // no country: W/VE side
      {"2024 ARRL DX Test K1ABC", "real", kContestArrlDx, "K1ABC"},
      {"2024 ARRL DX Test VE3XX", "real", kContestArrlDx, "VE3XX"},
      {"2024 ARRL DX Test DL1ABC", "real", kContestArrlDxFromDx, "DL1ABC"},
      {"2024 ARRL DX Test KH6XX", "real", kContestArrlDxFromDx, "KH6XX"},
      {"2024   N0QV", "", kContestGeneralQso, "N0QV"},
  };
  for (const TitleCase& c : cases) {
    if (std::string(c.country_file) == "real" && !have_real) continue;
    SCOPED_TRACE(c.title);
    LogWorkspace workspace;
    if (std::string(c.country_file) == "real") {
      workspace.Write("cqww.cty", testing::ReadFile(real_cty));
    }
    WorkingFolder folder(workspace.Folder());
    workspace.Write("t.dat", std::string(c.title) + "\r\n\r\n\r\n");
    TrLogFile reader;
    ASSERT_EQ(reader.Open(workspace.Path("t.dat").c_str(), kModeReadText), 1);
    EXPECT_EQ(reader.Header().contest, c.contest);
    EXPECT_EQ(FieldText(reader.Header().call), c.call);
    EXPECT_EQ(FieldText(reader.Header().year), std::string(c.title).substr(0, 4));
  }
}

TEST(TrLogTitle, UnnamedContestLooksForTheSentColumnWithoutTakingAQsoLine) {
  LogWorkspace workspace;
  WorkingFolder folder(workspace.Folder());
  const std::string qso =
      " 20CW  19-Oct-03 16:55    1  K1AR           599  579  05    X      0\r\n";
  const std::string titles =
      " Band    Date    Time  QSO#  Call worked   Sent Rcvd Zone           Mults   Pts\r\n";
  workspace.Write("sent.dat", "2003 Some Other Contest K7RAT\r\n\r\n" + titles + qso);
  TrLogFile with_sent;
  std::vector<QsoRecord> read = ReadThrough(with_sent, workspace.Path("sent.dat"), 0);
  ASSERT_EQ(read.size(), 1u);
  EXPECT_EQ(with_sent.Header().contest, kContestGeneralQso);
  EXPECT_EQ(read[0].rst_rcvd, 579);
  EXPECT_EQ(read[0].RcvdExch(), "05 X");
  workspace.Write("nosent.dat", "2003 Some Other Contest K7RAT\r\n" + qso);
  TrLogFile without;
  read = ReadThrough(without, workspace.Path("nosent.dat"), 0);
  ASSERT_EQ(read.size(), 1u);  // the QSO line is not taken for the column titles
  EXPECT_EQ(read[0].RcvdExch(), "599 579 05 X");
  workspace.Write("empty.dat", "2003 Some Other Contest K7RAT\r\nshort\r\n");
  TrLogFile nothing;
  EXPECT_EQ(nothing.Open(workspace.Path("empty.dat").c_str(), kModeReadText), 0);
}

// ---- reading other programs' lines ----

TEST(TrLogReading, ShortLinesUnknownMonthsAndALastLineWithoutLineEnd) {
  LogWorkspace workspace;
  WorkingFolder folder(workspace.Folder());
  workspace.Write("l.dat",
                  "2003 CQ WW Contest K7RAT\r\n"
                  " 20CW  19-Xyz-03 16:55    1  K1AR\r\n"
                  " 40SSB 05-nov-00 21:03    2  W1AW           59   57   05            K 05    3");
  TrLogFile reader;
  std::vector<QsoRecord> read = ReadThrough(reader, workspace.Path("l.dat"), 0);
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read[0].Call(), "K1AR");
  EXPECT_EQ(read[0].time_on, UtcSeconds(1970, 1, 1, 16, 55, 0));  // no such month
  EXPECT_EQ(read[0].cqz, 0);
  EXPECT_EQ(reader.Notes().undated_qsos, 1);
  EXPECT_EQ(read[1].time_on, UtcSeconds(2000, 11, 5, 21, 3, 0));
  EXPECT_EQ(read[1].mode, kModeSsb);
  EXPECT_EQ(read[1].cqz, 5);
  EXPECT_EQ(read[1].Mults(), "K 05");
  EXPECT_EQ(read[1].mult_count, 2);
  EXPECT_EQ(read[1].points, 3);
}

// The fields a CQ WW line fills, in one text for comparing records.
std::string CqwwFields(const QsoRecord& r) {
  std::ostringstream out;
  out << r.Call() << '|' << r.time_on << '|' << int{r.band} << '|' << int{r.mode} << '|'
      << r.rst_sent << '|' << r.rst_rcvd << '|' << int{r.cqz} << '|' << r.Mults() << '|'
      << int{r.mult_count} << '|' << int{r.points};
  return out.str();
}

std::vector<QsoRecord> ReadCqwwListing(LogWorkspace& workspace, const std::string& lines) {
  TrLogFile reader;
  std::string path = workspace.Write("l.dat", "2003 CQ WW Contest K7RAT\r\n" + lines);
  return ReadThrough(reader, path, 0);
}

// A long listing takes most lines in place from the stream's buffer and copies the others
// (across the buffer's end, ended by a bare carriage return), and reads a date once for a run
// of lines: every line of it reads as it does in a listing of its own.
TEST(TrLogReading, EveryLineOfALongListingReadsAsItDoesAlone) {
  LogWorkspace workspace;
  WorkingFolder folder(workspace.Folder());
  const std::vector<std::string> lines = {
      " 20CW  19-Oct-03 16:55    1  K1AR           599  599  05            K 05    3\r\n",
      " 40SSB 19-oct-03 23:59    2  W1AW           59   57   05                    1\n",
      " 80CW  30-Feb-03 16:55    3  K3PP           599  599  04                    2\r",
      " 80CW  30-Feb-03 24:00    4  K4PP           599  599  04                    2\r\n",
      " 80CW  30-Xyz-03 16:56    5  K5PP           599  599  04                    2\r\n",
      "160CW  01-NOV-49 00:00    6  K6PP           599  599  03                    2\r\n",
      "160CW  01-NOV-50 00:00    7  K7PP           599  599  03                    2\r\n",
      " 10CW  02-Nov-03 00:01    8  K8PP  \r 10CW  02-Nov-03 00:03   10  K0PP\n",
      " 15CW  02-Nov-03 00:02    9  K9PP\r\n",
      "\r\n",
  };
  testing::ExpectRepeatedLinesReadAsAlone(
      lines, [&workspace](const std::string& text) { return ReadCqwwListing(workspace, text); },
      CqwwFields);
}

TEST(TrLogReading, RealListingReadsWhole) {
  std::string folder = testing::RealDataDir();
  std::string path = folder + "/trlog/trlinux_CQWW.DAT";
  if (folder.empty() || !std::filesystem::exists(path)) GTEST_SKIP() << "no real listing";
  LogWorkspace workspace;
  WorkingFolder in(workspace.Folder());
  EXPECT_EQ(DetectInputFormat(path.c_str()), kFormatTrLog);
  TrLogFile reader;
  std::vector<QsoRecord> read = ReadThrough(reader, path, 0);
  ASSERT_EQ(read.size(), 4u);
  EXPECT_EQ(FieldText(reader.Header().year), "2003");
  EXPECT_EQ(reader.Header().contest, kContestCqww);
  EXPECT_EQ(FieldText(reader.Header().call), "K7RAT");
  EXPECT_EQ(read[0].Call(), "K1AR");
  EXPECT_EQ(read[0].band, 5);
  EXPECT_EQ(read[1].band, 1);
  EXPECT_EQ(read[1].Call(), "K3PP");  // the dupe mark after the call is no part of it
  EXPECT_EQ(read[0].time_on, UtcSeconds(2003, 10, 19, 16, 55, 0));
  EXPECT_EQ(read[0].rst_rcvd, 599);
  EXPECT_EQ(read[0].cqz, 5);
  EXPECT_EQ(read[0].Mults(), "K 05");
  EXPECT_EQ(read[2].mult_count, 0);
}

}  // namespace
}  // namespace quorvel
