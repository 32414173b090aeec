// Real ADIF logs written by other programs, converted whole to ADIF, Cabrillo and CT version 8.
// The expected values come from the input itself, read here by a small ADIF reader of the
// test's own: every contact arrives with its call, time, band, frequency, mode, reports and
// contest exchange.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "adif_test_support.h"
#include "core/bands.h"
#include "core/civil_time.h"
#include "core/numbers.h"
#include "core/text_field.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using testing::AdifWorkspace;
using testing::ReadFile;
using Fields = testing::AdifFields;
using testing::LowerAscii;

std::vector<Fields> ParseRecords(const std::string& text) {
  return testing::ParseAdifRecords(text, true);
}
std::string Get(const Fields& fields, const std::string& name) {
  return testing::FieldOf(fields, name);
}

bool IsNumber(const std::string& text) {
  std::size_t digits = text.find_first_not_of("+-") == 1 ? 1 : 0;
  return text.size() > digits && text.find_first_not_of("0123456789", digits) == std::string::npos;
}

// A report as every writer prints it back: its leading number (a report is a number: "57A"
// gives 57), signed ones with two digits ("-05"); empty for no report (also one too large for
// a report).
std::string Report(std::string given) {
  given.erase(0, given.find_first_not_of(' '));  // leading blanks, as C's number reading skips
  std::size_t end = given.find_first_not_of("0123456789", given.find_first_not_of("+-") == 1);
  std::string number = given.substr(0, end);
  if (!IsNumber(number) || number.size() > 9) return "";
  long value = std::stol(number);
  if (value < -32768 || value > 32767) return "";
  char text[16];
  std::snprintf(text, sizeof text, (given[0] == '+' || given[0] == '-') ? "%+03ld" : "%ld", value);
  return (value == 0 && given[0] != '+' && given[0] != '-') ? "" : text;
}

// The frequency in units of 100 Hz: MHz and the first three digits of the fraction.
std::uint64_t Frequency(const std::string& mhz) {
  if (mhz.empty() || !(IsDigit(mhz[0]) || mhz[0] == '.')) return 0;
  std::size_t point = mhz.find('.');
  std::string whole = mhz.substr(0, point);
  std::string fraction = point == std::string::npos ? "" : mhz.substr(point + 1, 3);
  while (fraction.size() < 3) fraction += '0';
  return (whole.empty() ? 0 : std::stoull(whole)) * 10000 + std::stoull(fraction) * 10;
}

// What the converter makes of a contact's mode: MODE and SUBMODE as ADIF writes them back,
// and the Cabrillo mode word.
struct Mode {
  std::string mode, submode, cabrillo;
};
Mode ModeOf(const Fields& in) {
  std::string mode = Get(in, "mode");
  std::string upper = mode;
  for (char& c : upper) c = ToUpper(c);
  Mode out{mode, Get(in, "submode"), "DG"};
  const std::map<std::string, std::string> coded = {
      {"CW", "CW"},  {"SSB", "PH"}, {"AM", "PH"},  {"FM", "FM"},     {"RTTY", "RY"},
      {"FSK", "RY"}, {"TOR", "DG"}, {"PKT", "DG"}, {"PACTOR", "DG"}, {"GTOR", "DG"}};
  if (upper == "USB" || upper == "LSB") {
    out = {"SSB", out.submode.empty() ? mode : out.submode, "PH"};
  } else if (coded.count(upper)) {
    out.mode = upper == "FSK" ? "RTTY" : upper;
    out.cabrillo = coded.at(upper);
  } else if (mode.empty()) {
    out.cabrillo = "?MODE?";
  }
  return out;
}

std::string Call(const Fields& in) {
  std::string call = Get(in, "call");
  return call.substr(0, std::min(call.find(' '), std::size_t{13}));
}

// Start of the contact, seconds since 1970, as the converter dates it (1970-01-01 without a
// readable date, 00:00 without a readable time).
std::int64_t StartOf(const Fields& in) {
  std::string date = Get(in, "qso_date");
  std::string time = Get(in, "time_on");
  int y = 1970, m = 1, d = 1, h = 0, min = 0, s = 0;
  bool date_ok = date.size() >= 8 && IsNumber(date.substr(0, 8)) &&
                 IsCalendarDate(std::stoi(date.substr(0, 4)), std::stoi(date.substr(4, 2)),
                                std::stoi(date.substr(6, 2)));
  if (date_ok) {
    y = std::stoi(date.substr(0, 4)), m = std::stoi(date.substr(4, 2));
    d = std::stoi(date.substr(6, 2));
  }
  if (time.size() >= 4 && IsNumber(time.substr(0, 4))) {
    int hh = std::stoi(time.substr(0, 2)), mm = std::stoi(time.substr(2, 2));
    int ss = time.size() == 6 && IsNumber(time) ? std::stoi(time.substr(4, 2)) : 0;
    if (IsTimeOfDay(hh, mm, ss)) h = hh, min = mm, s = ss;
  }
  return UtcSeconds(y, m, d, h, min, s);
}

// The band ADIF writes back: the input's own, or the band of the frequency when it gave none.
std::string BandOf(const Fields& in) {
  std::string band = LowerAscii(Get(in, "band"));
  if (!band.empty()) return band;
  const BandEdges* by_frequency = BandOfFrequency(Frequency(Get(in, "freq")));
  return by_frequency != nullptr ? std::string(by_frequency->adif_name) : "";
}

// The frequency the record holds: none beyond its 32-bit field (above 429 GHz).
std::uint64_t HeldFrequency(const Fields& in) {
  std::uint64_t freq = Frequency(Get(in, "freq"));
  return freq > UINT32_MAX ? 0 : freq;
}

// ---- the three conversions of one log ----

void CompareAdif(const std::vector<Fields>& in, const std::vector<Fields>& out, int contest) {
  bool reports = contest != kContestSs && contest != kContestFd;  // their layouts have none
  ASSERT_EQ(out.size(), in.size());
  for (std::size_t i = 0; i < in.size(); ++i) {
    SCOPED_TRACE("contact " + std::to_string(i + 1) + " " + Get(in[i], "call"));
    EXPECT_EQ(Get(out[i], "call"), Call(in[i]));
    CivilTime start = UtcCalendar(StartOf(in[i]));
    char date[16], time[16];
    std::snprintf(date, sizeof date, "%04d%02d%02d", start.year, start.month, start.day);
    std::snprintf(time, sizeof time, "%02d%02d%02d", start.hour, start.minute, start.second);
    EXPECT_EQ(Get(out[i], "qso_date"), date);
    EXPECT_EQ(Get(out[i], "time_on"), time);
    EXPECT_EQ(LowerAscii(Get(out[i], "band")), BandOf(in[i]));
    EXPECT_EQ(Frequency(Get(out[i], "freq")), HeldFrequency(in[i]));
    Mode mode = ModeOf(in[i]);
    EXPECT_EQ(Get(out[i], "mode"), mode.mode);
    EXPECT_EQ(Get(out[i], "submode"), mode.submode);
    if (reports) {
      EXPECT_EQ(Get(out[i], "rst_sent"), Report(Get(in[i], "rst_sent")));
      EXPECT_EQ(Get(out[i], "rst_rcvd"), Report(Get(in[i], "rst_rcvd")));
    }
  }
}

// The contest exchange of contest loggers' logs survives ADIF to ADIF.
void CompareExchange(const std::vector<Fields>& in, const std::vector<Fields>& out, int contest) {
  for (std::size_t i = 0; i < in.size() && i < out.size(); ++i) {
    SCOPED_TRACE("exchange of contact " + std::to_string(i + 1));
    auto number = [](const std::string& text) { return text.empty() ? 0 : std::stol(text); };
    if (contest == kContestSs) {
      EXPECT_EQ(number(Get(out[i], "srx")), number(Get(in[i], "srx")));
      EXPECT_EQ(number(Get(out[i], "stx")), number(Get(in[i], "stx")));
      EXPECT_EQ(Get(out[i], "prec"), Get(in[i], "precedence"));
      EXPECT_EQ(Get(out[i], "check"), Get(in[i], "check"));
      EXPECT_EQ(Get(out[i], "arrl_sect"), Get(in[i], "arrl_sect"));
    } else if (contest == kContestCqww) {
      EXPECT_EQ(number(Get(out[i], "cqz")), number(Get(in[i], "cqz")));
    } else if (contest == kContestWpx) {
      EXPECT_EQ(number(Get(out[i], "srx")), number(Get(in[i], "srx")));
    } else if (contest == kContestFd) {
      std::string logged = Get(in[i], "srx_string");
      EXPECT_EQ(Get(out[i], "tx_count") + Get(out[i], "category"), logged.substr(0, 2));
      EXPECT_EQ(Get(out[i], "arrl_sect"), Get(in[i], "arrl_sect"));
    }
  }
}

std::vector<std::string> Words(const std::string& line) {
  std::istringstream stream(line);
  std::vector<std::string> words;
  for (std::string word; stream >> word;) words.push_back(word);
  return words;
}

// Cabrillo QSO lines: frequency, mode, date, time, and the call and reports of the report
// layout, or the call and the received exchange of the Sweepstakes layout.
void CompareCabrillo(const std::vector<Fields>& in, const std::string& cabrillo, int contest) {
  std::vector<std::vector<std::string>> lines;
  std::istringstream stream(cabrillo);
  for (std::string line; std::getline(stream, line);) {
    if (line.rfind("QSO:", 0) == 0) lines.push_back(Words(line));
  }
  ASSERT_EQ(lines.size(), in.size());
  for (std::size_t i = 0; i < in.size(); ++i) {
    SCOPED_TRACE("QSO line " + std::to_string(i + 1) + " " + Get(in[i], "call"));
    const std::vector<std::string>& words = lines[i];
    ASSERT_EQ(words.size(), contest == kContestSs ? 15u : 11u);
    std::uint64_t freq = Frequency(Get(in[i], "freq"));
    if (freq != 0 && freq < 50 * kMhz) {
      EXPECT_EQ(words[1], std::to_string(freq / 10));
    }
    EXPECT_EQ(words[2], ModeOf(in[i]).cabrillo);
    CivilTime start = UtcCalendar(StartOf(in[i]));
    char date[16], time[8];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", start.year, start.month, start.day);
    std::snprintf(time, sizeof time, "%02d%02d", start.hour, start.minute);
    EXPECT_EQ(words[3], date);
    EXPECT_EQ(words[4], time);
    if (contest == kContestSs) {
      std::vector<std::string> received = {
          Call(in[i]), std::to_string(std::stol(Get(in[i], "srx"))), Get(in[i], "precedence"),
          Get(in[i], "check"), Get(in[i], "arrl_sect")};
      EXPECT_EQ(std::vector<std::string>(words.begin() + 10, words.end()), received);
      continue;
    }
    std::string sent = Report(Get(in[i], "rst_sent"));
    std::string received = Report(Get(in[i], "rst_rcvd"));
    EXPECT_EQ(words[6], sent.empty() || sent.size() > 3 ? "0" : sent);
    EXPECT_EQ(words[8], Call(in[i]));
    EXPECT_EQ(words[9], received.empty() || received.size() > 3 ? "0" : received);
  }
}

// CT version 8 records: the call, the time (seven hours ahead of UTC) and the mode code, 0 for
// the modes that are known by name only.
void CompareCt8(const std::vector<Fields>& in, const std::string& ct8) {
  ASSERT_EQ(ct8.size(), 1024 + 50 * in.size());
  const std::map<std::string, int> codes = {{"CW", 1},  {"SSB", 2},    {"RTTY", 3},
                                            {"AM", 4},  {"FM", 5},     {"TOR", 6},
                                            {"PKT", 7}, {"PACTOR", 8}, {"GTOR", 9}};
  for (std::size_t i = 0; i < in.size(); ++i) {
    SCOPED_TRACE("CT record " + std::to_string(i + 1) + " " + Get(in[i], "call"));
    const unsigned char* record =
        reinterpret_cast<const unsigned char*>(ct8.data()) + 1024 + 50 * i;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(record)), Call(in[i]));
    std::int32_t time = static_cast<std::int32_t>(record[42] | record[43] << 8 | record[44] << 16 |
                                                  static_cast<std::uint32_t>(record[45]) << 24);
    EXPECT_EQ(std::int64_t{time} - 25200, StartOf(in[i]));
    std::string mode = ModeOf(in[i]).mode;
    EXPECT_EQ(record[25], codes.count(mode) ? codes.at(mode) : 0);
  }
}

struct RealLog {
  const char* file;
  int contest;  // the contest its records name; 0 for logs of no contest
};

const RealLog kRealLogs[] = {
    {"adif316_official_test_qsos.adi", 0},
    {"adifmaster_g8jft.adi", 0},
    {"eqsl_inbox_g8jft.adi", 0},
    {"fle_rsgb_contest_m0nom.adi", 0},
    {"hrd_6.7_ei3ctb_first1000.adi", 0},
    {"log4om_2.22_k9cts.adi", 0},
    {"lotw_empty_report_g8jft.adi", 0},
    {"lotw_qslreport_oh2lhe.adi", 0},
    {"lotw_qsoreport_k5dru.adi", 0},
    {"minos_2.2.1_m0kpw_144mhz.adi", 0},
    {"n1mm_cqww-rtty_2025_w4ta_tr4qt-fixture.adi", kContestCqww},
    {"n3fjp_aclog_7.0.5.adi", 0},
    {"noheader_pota_ww4n.adi", 0},
    {"qrzlogbook_k9cts.adi", 0},
    {"skcclogger_3.00.15.adi", 0},
    {"tr4w_2014_CQ-WPX-CW_N4AF.ADI", kContestWpx},
    {"tr4w_fixture_arrldx_cw_dxexch.adi", kContestArrlDx},
    {"tr4w_fixture_arrlfd_sections.adi", kContestFd},
    {"tr4w_fixture_arrlss_cw_sections.adi", kContestSs},
    {"tr4w_fixture_cqww_cw_zones.adi", kContestCqww},
    {"wsjtx_2.6.1_kk7knb_wsjtx_log.adi", 0},
    {"wsjtx_2017_ei3kf_wsjtx_log.adi", 0},
};

TEST(AdifRealLogs, EveryContactKeepsItsFieldsInAdifCabrilloAndCt8) {
  std::string folder = testing::RealDataDir();
  if (folder.empty() || !fs::is_directory(folder + "/adif")) {
    GTEST_SKIP() << "no real logs in " << QUORVEL_REALDATA_DIR;
  }
  AdifWorkspace workspace;
  for (const RealLog& log : kRealLogs) {
    SCOPED_TRACE(log.file);
    std::string input = folder + "/adif/" + log.file;
    std::vector<Fields> contacts = ParseRecords(ReadFile(input));
    std::string stem = fs::path(log.file).stem().string();
    std::string count = "Processed " + std::to_string(contacts.size()) + " QSO's";

    auto adif = testing::RunQuorvelcon({input, stem + ".adi"}, workspace.Path(""));
    EXPECT_NE(adif.output.find(count), std::string::npos) << adif.output;
    std::vector<Fields> written = ParseRecords(ReadFile(workspace.Path(stem + ".adi")));
    CompareAdif(contacts, written, log.contest);
    CompareExchange(contacts, written, log.contest);

    auto ct8 = testing::RunQuorvelcon({input, stem + ".bin"}, workspace.Path(""));
    EXPECT_NE(ct8.output.find(count), std::string::npos) << ct8.output;
    CompareCt8(contacts, ReadFile(workspace.Path(stem + ".bin")));

    // Logs of no contest, and the Field Day log Cabrillo cannot hold, go out as CQ WW logs.
    bool contest_of_its_own = log.contest != 0 && log.contest != kContestFd;
    std::vector<std::string> args = {input, stem + ".cbr"};
    if (!contest_of_its_own) args.push_back("-cCQWW");
    auto cabrillo = testing::RunQuorvelcon(args, workspace.Path(""));
    EXPECT_EQ(cabrillo.exit_code, 0) << cabrillo.output;
    CompareCabrillo(contacts, ReadFile(workspace.Path(stem + ".cbr")),
                    contest_of_its_own ? log.contest : kContestCqww);
  }
}

TEST(AdifRealLogs, ContestLoggersNameContestCallAndModeOnTheirRecordsOnly) {
  std::string folder = testing::RealDataDir();
  if (folder.empty()) GTEST_SKIP() << "no real logs";
  AdifWorkspace workspace;
  struct Expected {
    const char* file;
    int contest;
    const char* call;
    int mode;
  };
  const Expected expected[] = {
      {"n1mm_cqww-rtty_2025_w4ta_tr4qt-fixture.adi", kContestCqww, "W4TA", kModeRtty},
      {"tr4w_2014_CQ-WPX-CW_N4AF.ADI", kContestWpx, "N4AF", kModeCw},
      {"tr4w_fixture_arrlss_cw_sections.adi", kContestSs, "NY4I", kModeCw},
      {"tr4w_fixture_arrlfd_sections.adi", kContestFd, "NY4I", kModeCw},
      {"wsjtx_2.6.1_kk7knb_wsjtx_log.adi", kContestNone, "KK7KNB", kModeNone},
  };
  for (const Expected& log : expected) {
    SCOPED_TRACE(log.file);
    testing::AdifLog read = testing::ReadAdifFile(folder + "/adif/" + log.file);
    EXPECT_EQ(read.header.contest, log.contest);
    EXPECT_EQ(FieldText(read.header.call), log.call);
    EXPECT_EQ(read.header.mode, log.mode);
  }
  testing::AdifLog ss = testing::ReadAdifFile(folder + "/adif/tr4w_fixture_arrlss_cw_sections.adi");
  EXPECT_EQ(ss.header.prec, 'B');  // the own exchange of the sent exchange text "1 B 80 WCF"
  EXPECT_EQ(ss.header.check, 80);
  EXPECT_EQ(FieldText(ss.header.arrl_sect), "WCF");
}

TEST(AdifRealLogs, ContestFieldsOfLoggersAreRead) {
  std::string folder = testing::RealDataDir();
  if (folder.empty()) GTEST_SKIP() << "no real logs";
  AdifWorkspace workspace;
  // A log without any header: its first contact is kept.
  testing::AdifLog pota = testing::ReadAdifFile(folder + "/adif/noheader_pota_ww4n.adi");
  ASSERT_EQ(pota.qsos.size(), 49u);
  EXPECT_EQ(pota.qsos[0].Call(), "K9DVP");
  // Sweepstakes fields of a contest logger, read as the Sweepstakes layout reads them.
  testing::AdifLog ss =
      testing::ReadAdifFile(folder + "/adif/tr4w_fixture_arrlss_cw_sections.adi", kContestSs);
  ASSERT_EQ(ss.qsos.size(), 3u);
  EXPECT_EQ(ss.qsos[0].Call(), "VA7DZ");
  EXPECT_EQ(ss.qsos[0].srx, 174);
  EXPECT_EQ(ss.qsos[0].prec, 'M');
  EXPECT_EQ(ss.qsos[0].contest, kContestSs);  // from its CONTEST_ID ARRL-SS-CW
  EXPECT_EQ(ss.qsos[0].check, 57);
  EXPECT_EQ(ss.qsos[0].ArrlSect(), "BC");
  EXPECT_EQ(ss.qsos[0].freq, 140440u);
  EXPECT_EQ(ss.qsos[0].time_on, 1699156734);  // 2023-11-05 03:58:54 UTC
}

TEST(AdifRealLogs, EmptyLogbookReportHasNoContacts) {
  std::string folder = testing::RealDataDir();
  std::string report = folder + "/adif/lotw_empty_report_g8jft.adi";
  if (folder.empty() || !fs::exists(report)) GTEST_SKIP() << "no real logs";
  AdifWorkspace workspace;
  testing::AdifLog log = testing::ReadAdifFile(report);
  EXPECT_EQ(log.opened, 1);
  EXPECT_TRUE(log.qsos.empty());
}

}  // namespace
}  // namespace quorvel
