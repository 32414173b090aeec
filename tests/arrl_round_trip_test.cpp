// Round trips through the ARRL text log for its ten contests, with seeded random contacts:
// ARRL -> ARRL through the format object, and ADIF -> ARRL -> ADIF through the built program.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "adif_test_support.h"
#include "formats/arrl_log_file.h"
#include "log_test_support.h"

namespace quorvel {
namespace {

using testing::LogWorkspace;
using testing::ReadThrough;
using testing::RunQuorvelcon;
using testing::WriteThrough;

constexpr int kArrlContests[] = {1, 2, 5, 6, 7, 9, 11, 13, 16, 21};
constexpr int kLabelledBands[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13,
                                  14, 15, 16, 17, 18, 19, 20, 21, 27, 28, 29, 30};
constexpr int kContactsPerLog = 60;

class RandomContacts {
 public:
  explicit RandomContacts(unsigned seed) : rng(seed) {}

  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }

  std::string Letters(int low, int high) {
    std::string text;
    for (int i = Between(low, high); i > 0; --i) text += static_cast<char>('A' + Between(0, 25));
    return text;
  }

  std::string Digits(int low, int high) {
    std::string text = std::to_string(Between(1, 9));
    for (int i = Between(low, high) - 1; i > 0; --i) text += static_cast<char>('0' + Between(0, 9));
    return text;
  }

  // A call of a station in the USA, Canada, Germany or Japan (tests/golden/cabrillo/cqww.cty).
  std::string Call() {
    static const char* const kPrefixes[] = {"K",  "W",  "N",  "AA", "VE",
                                            "VA", "DL", "DK", "JA", "JH"};
    return std::string(kPrefixes[Between(0, 9)]) + std::to_string(Between(0, 9)) + Letters(1, 3);
  }

  int Report() { return Between(0, 1) ? Between(51, 59) : Between(51, 59) * 10 + 9; }

  // Start times on whole minutes from 1980 to 2037 (the ARRL log has no seconds).
  std::int32_t Time() { return Between(315532800 / 60, 2145916799 / 60) * 60; }

  QsoRecord Contact(int contest) {
    QsoRecord record;
    record.Clear();
    record.SetCallText(Call());
    record.band = static_cast<std::uint8_t>(kLabelledBands[Between(0, 24)]);
    record.mode = static_cast<std::uint8_t>(Between(1, 5));
    record.time_on = Time();
    record.points = static_cast<std::uint8_t>(Between(0, 30));
    if (contest != kContestFd) record.mult_count = static_cast<std::uint8_t>(Between(0, 1));
    FillExchange(contest, record);
    return record;
  }

 private:
  void FillExchange(int contest, QsoRecord& record) {
    switch (contest) {
      case kContestSs:
        record.srx = Between(1, 2500);
        record.prec = "QABUMS"[Between(0, 5)];
        record.check = static_cast<char>(Between(0, 99));
        record.SetArrlSect(Letters(2, 3));
        break;
      case kContestFd:
        record.prec = static_cast<char>(Between(1, 40));
        record.check = static_cast<char>('A' + Between(0, 5));
        record.SetArrlSect(Letters(2, 3));
        break;
      case kContestVhfQso:
        record.SetRcvdExch(Letters(2, 2) + Digits(2, 2));
        break;
      case kContestNaqp:
        record.SetName(Letters(2, 10));
        record.SetRcvdExch(Letters(2, 3));
        break;
      case kContestSprint:
        record.srx = Between(1, 999);
        record.SetName(Letters(2, 10));
        record.SetRcvdExch(Letters(2, 3));
        break;
      case kContestIaru:
        record.rst_sent = static_cast<std::uint16_t>(Report());
        record.rst_rcvd = static_cast<std::uint16_t>(Report());
        if (Between(0, 3) == 0) {
          record.SetRcvdExch(Letters(2, 5));
        } else {
          record.ituz = static_cast<std::uint8_t>(Between(1, 90));
        }
        break;
      default:  // ARRL DX both sides, ARRL 10 m, ARRL 160 m
        record.rst_sent = static_cast<std::uint16_t>(Report());
        record.rst_rcvd = static_cast<std::uint16_t>(Report());
        record.SetRcvdExch(Between(0, 1) ? Letters(2, 3) : Digits(1, 4));
        break;
    }
  }

  std::mt19937 rng;
};

ContestHeader OwnStation(int contest) {
  ContestHeader header = testing::HeaderFor(contest, "K1AB");
  header.prec = contest == kContestFd ? 3 : 'A';
  header.check = contest == kContestFd ? 'B' : 72;
  std::snprintf(header.arrl_sect, sizeof header.arrl_sect, "CT");
  std::snprintf(header.gridsquare, sizeof header.gridsquare, "FN31");
  header.zone = 8;
  return header;
}

// What an ARRL line carries of a contact in each contest.
void ExpectCarried(int contest, const QsoRecord& expected, const QsoRecord& actual,
                   const std::string& where) {
  EXPECT_EQ(actual.Call(), expected.Call()) << where;
  EXPECT_EQ(actual.band, expected.band) << where;
  EXPECT_EQ(actual.mode, expected.mode) << where;
  EXPECT_EQ(actual.time_on, expected.time_on) << where;
  EXPECT_EQ(actual.points, expected.points) << where;
  EXPECT_EQ(actual.mult_count, expected.mult_count) << where;
  switch (contest) {
    case kContestSs:
      EXPECT_EQ(actual.srx, expected.srx) << where;
      EXPECT_EQ(actual.prec, expected.prec) << where;
      EXPECT_EQ(actual.check, expected.check) << where;
      EXPECT_EQ(actual.ArrlSect(), expected.ArrlSect()) << where;
      break;
    case kContestFd:
      EXPECT_EQ(actual.prec, expected.prec) << where;
      EXPECT_EQ(actual.check, expected.check) << where;
      EXPECT_EQ(actual.ArrlSect(), expected.ArrlSect()) << where;
      break;
    case kContestNaqp:
    case kContestSprint:
      EXPECT_EQ(actual.srx, contest == kContestSprint ? expected.srx : 0) << where;
      EXPECT_EQ(actual.Name(), expected.Name()) << where;
      EXPECT_EQ(actual.RcvdExch(), expected.RcvdExch()) << where;
      break;
    case kContestVhfQso:
      EXPECT_EQ(actual.RcvdExch(), expected.RcvdExch()) << where;
      break;
    default:
      EXPECT_EQ(actual.rst_sent, expected.rst_sent) << where;
      EXPECT_EQ(actual.rst_rcvd, expected.rst_rcvd) << where;
      EXPECT_EQ(actual.ituz, expected.ituz) << where;
      EXPECT_EQ(actual.RcvdExch(), expected.RcvdExch()) << where;
      break;
  }
}

TEST(ArrlRoundTrip, ArrlToArrlKeepsEveryCarriedFieldForTheTenContests) {
  for (int contest : kArrlContests) {
    RandomContacts random(1000u + static_cast<unsigned>(contest));
    std::vector<QsoRecord> contacts;
    for (int i = 0; i < kContactsPerLog; ++i) contacts.push_back(random.Contact(contest));
    LogWorkspace workspace;
    ArrlLogFile writer;
    std::string first =
        WriteThrough(writer, workspace.Path("first.log"), contest, OwnStation(contest), contacts);
    ArrlLogFile reader;
    std::vector<QsoRecord> back = ReadThrough(reader, workspace.Path("first.log"), contest);
    ASSERT_EQ(back.size(), contacts.size()) << contest;
    for (std::size_t i = 0; i < contacts.size(); ++i) {
      ExpectCarried(contest, contacts[i], back[i],
                    "contest " + std::to_string(contest) + " contact " + std::to_string(i + 1));
    }
    ArrlLogFile rewriter;
    std::string second =
        WriteThrough(rewriter, workspace.Path("second.log"), contest, OwnStation(contest), back);
    EXPECT_EQ(second, first) << contest;
  }
}

// ---- ADIF -> ARRL -> ADIF ----

std::string Tag(const std::string& name, const std::string& value) {
  return "<" + name + ":" + std::to_string(value.size()) + ">" + value;
}

bool InUsa(const std::string& call) {
  return call[0] == 'K' || call[0] == 'W' || call[0] == 'N' || call.starts_with("AA");
}
bool InCanada(const std::string& call) {
  return call.starts_with("VE") || call.starts_with("VA");
}

// The exchange tags the ADIF format uses for a contest, for a contact of `record`.
std::string ExchangeTags(int contest, const QsoRecord& record) {
  std::string call(record.Call());
  std::string exchange(record.RcvdExch());
  switch (contest) {
    case kContestSs:
      return Tag("srx", std::to_string(record.srx)) + Tag("prec", std::string(1, record.prec)) +
             Tag("check", std::to_string(record.check)) +
             Tag("arrl_sect", std::string(record.ArrlSect()));
    case kContestFd:
      return Tag("tx_count", std::to_string(record.prec)) +
             Tag("category", std::string(1, record.check)) +
             Tag("arrl_sect", std::string(record.ArrlSect()));
    case kContestArrlDx:
      return Tag("rx_pwr", exchange);
    case kContestIaru:
      return Tag("ituz", std::to_string(record.ituz));
    case kContestArrl10:
      return record.RcvdExchIsNumeric() ? Tag("srx", exchange) : Tag("state", exchange);
    case kContestArrl160:
      return (InUsa(call) || InCanada(call)) ? Tag("arrl_sect", exchange) : Tag("qth", exchange);
    case kContestArrlDxFromDx:
      return InUsa(call) ? Tag("state", exchange) : Tag("qth", exchange);
    case kContestVhfQso:
      return Tag("gridsquare", exchange);
    case kContestNaqp:
      return Tag("name", std::string(record.Name())) +
             (InUsa(call) ? Tag("state", exchange) : Tag("qth", exchange));
    case kContestSprint:
      return Tag("srx", std::to_string(record.srx)) + Tag("name", std::string(record.Name())) +
             Tag("qth", exchange);
  }
  return "";
}

// Contacts whose exchange fits the ADIF tags of its contest: a state has at most three
// characters, an ARRL 10 m serial or a state, an IARU zone.
QsoRecord AdifSized(int contest, QsoRecord record) {
  if (contest == kContestIaru && record.ituz == 0) record.ituz = 28;
  std::string exchange(record.RcvdExch());
  if (exchange.size() > 3) record.SetRcvdExch(exchange.substr(0, 3));
  return record;
}

std::string AdifLine(int contest, const QsoRecord& record) {
  CivilTime time = UtcCalendar(record.time_on);
  char date[16];
  char clock[8];
  std::snprintf(date, sizeof date, "%04d%02d%02d", time.year, time.month, time.day);
  std::snprintf(clock, sizeof clock, "%02d%02d", time.hour, time.minute);
  std::string line = Tag("call", std::string(record.Call())) + Tag("qso_date", date) +
                     Tag("time_on", clock) + Tag("band", std::string(kAdifBandNames[record.band])) +
                     Tag("mode", std::string(kModeNames[record.mode]));
  if (record.rst_sent != 0) line += Tag("rst_sent", std::to_string(record.rst_sent));
  if (record.rst_rcvd != 0) line += Tag("rst_rcvd", std::to_string(record.rst_rcvd));
  return line + ExchangeTags(contest, record) + "<eor>\r\n";
}

// The fields a contact keeps from ADIF through the ARRL log back to ADIF.
void ExpectKeptThroughArrl(int contest, const QsoRecord& expected, const QsoRecord& actual,
                           const std::string& where) {
  EXPECT_EQ(actual.Call(), expected.Call()) << where;
  EXPECT_EQ(actual.band, expected.band) << where;
  EXPECT_EQ(actual.mode, expected.mode) << where;
  EXPECT_EQ(actual.time_on, expected.time_on) << where;
  bool reports = contest != kContestSs && contest != kContestFd && contest != kContestVhfQso &&
                 contest != kContestNaqp && contest != kContestSprint;
  if (reports) {
    EXPECT_EQ(actual.rst_sent, expected.rst_sent) << where;
    EXPECT_EQ(actual.rst_rcvd, expected.rst_rcvd) << where;
  }
  EXPECT_EQ(actual.srx, expected.srx) << where;
  EXPECT_EQ(actual.prec, expected.prec) << where;
  EXPECT_EQ(actual.check, expected.check) << where;
  EXPECT_EQ(actual.ArrlSect(), expected.ArrlSect()) << where;
  EXPECT_EQ(actual.ituz, expected.ituz) << where;
  EXPECT_EQ(actual.Name(), expected.Name()) << where;
  EXPECT_EQ(actual.Qth(), expected.Qth()) << where;
  EXPECT_EQ(actual.RcvdExch(), expected.RcvdExch()) << where;
  // In Sweepstakes, Field Day and ARRL 160 m the ADIF writer adds the state of a US section.
  bool section_state = contest == kContestSs || contest == kContestFd || contest == kContestArrl160;
  if (!section_state) {
    EXPECT_EQ(actual.State(), expected.State()) << where;
  }
}

TEST(ArrlRoundTrip, AdifToArrlToAdifKeepsTheContactsForTheTenContests) {
  for (int contest : kArrlContests) {
    RandomContacts random(2000u + static_cast<unsigned>(contest));
    std::string adif = "Random contacts\r\n" + Tag("call", "K1AB") + "<eoh>\r\n";
    for (int i = 0; i < kContactsPerLog; ++i) {
      adif += AdifLine(contest, AdifSized(contest, random.Contact(contest)));
    }
    LogWorkspace workspace;
    workspace.Write("in.adi", adif);
    std::string option = "-c" + std::string(kContestKeywords[contest]);
    auto to_arrl = RunQuorvelcon({"in.adi", "mid.log", option}, workspace.Folder());
    ASSERT_EQ(to_arrl.exit_code, 0) << to_arrl.output;
    auto to_adif = RunQuorvelcon({"mid.log", "out.adi", option}, workspace.Folder());
    ASSERT_EQ(to_adif.exit_code, 0) << to_adif.output;

    testing::AdifLog original = testing::ReadAdifFile(workspace.Path("in.adi"), contest);
    testing::AdifLog final_log = testing::ReadAdifFile(workspace.Path("out.adi"), contest);
    ASSERT_EQ(original.qsos.size(), static_cast<std::size_t>(kContactsPerLog)) << contest;
    ASSERT_EQ(final_log.qsos.size(), original.qsos.size()) << contest;
    for (std::size_t i = 0; i < original.qsos.size(); ++i) {
      ExpectKeptThroughArrl(
          contest, original.qsos[i], final_log.qsos[i],
          "contest " + std::to_string(contest) + " contact " + std::to_string(i + 1));
    }
  }
}

}  // namespace
}  // namespace quorvel
