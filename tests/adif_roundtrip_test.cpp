// Round trips of random contacts for every contest: written as ADIF, read back, converted
// ADIF to ADIF, and ADIF to CT version 8 and back to ADIF.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "adif_test_support.h"
#include "core/converter.h"

namespace quorvel {
namespace {

using testing::AdifLog;
using testing::AdifWorkspace;
using testing::ContactText;
using testing::ReadAdifFile;
using testing::WriteAdif;

enum class Field {
  kSrx,
  kPrec,
  kCheck,
  kArrlSect,
  kRcvdExch,
  kCqz,
  kItuz,
  kName,
  kQth,
  kState,
  kAge,
  kTenTen,
  kArciNum,
  kTxPwr,
  kContest,
  kTimeOff,
  kReports,
  kFrequency
};

// The fields that each contest's ADIF layout carries (besides call, time, band and mode).
std::vector<Field> AdifFields(int contest) {
  using enum Field;
  switch (contest) {
    case kContestSs:
      return {kSrx, kPrec, kCheck, kArrlSect, kFrequency};
    case kContestCqww:
      return {kCqz, kReports, kFrequency};
    case kContestWpx:
      return {kSrx, kReports, kFrequency};
    case kContestIaru:
      return {kItuz, kRcvdExch, kReports, kFrequency};
    case kContestFd:
      return {kPrec, kCheck, kArrlSect, kFrequency};
    case kContestCqp:
      return {kSrx, kRcvdExch, kReports, kFrequency};
    case kContestDxped:
    case kContestNaqp:
      return {kName, kRcvdExch, kReports, kFrequency};
    case kContestGridloc:
      return {kName, kRcvdExch, kFrequency};
    case kContestAllAsian:
      return {kAge, kReports, kFrequency};
    case kContestYodx:
      return {kCqz, kRcvdExch, kReports, kFrequency};
    case kContestTenTen:
      return {kName, kTenTen, kQth, kReports, kFrequency};
    case kContestSprint:
    case kContestInternetSprint:
      return {kSrx, kName, kRcvdExch, kReports, kFrequency};
    case kContestArci:
      return {kArciNum, kRcvdExch, kReports, kFrequency};
    case kContestIota:
      return {kSrx, kRcvdExch, kReports, kFrequency};
    case kContestGeneralQso:
      return {kContest, kTxPwr,    kName,    kQth,     kState,    kCqz,
              kItuz,    kRcvdExch, kTimeOff, kReports, kFrequency};
    case kContestHelvetia:
    case kContestWag:
    case kContestAri:
    case kContestRac:
      return {kSrx, kQth, kReports, kFrequency};
    default:
      return {kRcvdExch, kReports, kFrequency};  // 2, 6-8, 11-13, 19, 22-24, 29
  }
}

// The fields that survive a CT version 8 log in between (contests 0 to 15 only).
std::vector<Field> Ct8Fields(int contest) {
  using enum Field;
  switch (contest) {
    case kContestSs:
      return {kSrx, kPrec, kCheck, kArrlSect};
    case kContestCqww:
      return {kCqz};
    case kContestWpx:
      return {kSrx};
    case kContestIaru:
      return {kItuz, kRcvdExch};
    case kContestFd:
      return {kPrec, kCheck, kArrlSect};
    case kContestCqp:
      return {kSrx, kRcvdExch};
    case kContestAllAsian:
      return {kAge};
    default:
      return {kRcvdExch};
  }
}

class ContactMaker {
 public:
  explicit ContactMaker(unsigned seed) : random(seed) {}

  QsoRecord Make(int contest) {
    QsoRecord record;
    record.Clear();
    static const char* const kCalls[] = {"K1ABC",  "N2XYZ", "W3AA",   "AA4BB",  "VE3ABC", "VA7XX",
                                         "KH6ABC", "KL7AA", "DL1ABC", "JA1XYZ", "4U1ITU", "KP4AA"};
    record.SetCallText(kCalls[Number(0, 11)]);
    record.time_on = Number(946684800, 1893456000);  // 2000 to 2030, seconds included
    static const int kBands[] = {1, 2, 3, 5, 7, 9};  // bands CT logs keep
    record.band = static_cast<std::uint8_t>(kBands[Number(0, 5)]);
    record.freq = static_cast<std::uint32_t>(Number(1800, 300000) * 10);
    record.mode = static_cast<std::uint8_t>(Number(0, 9));
    record.rst_sent = static_cast<std::uint16_t>(Number(0, 599));
    record.rst_rcvd = static_cast<std::uint16_t>(Number(0, 599));
    for (Field field : AdifFields(contest)) Fill(field, contest, record);
    return record;
  }

 private:
  int Number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
  std::string Text(int low, int high, const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123") {
    std::string text;
    int length = Number(low, high);
    int size = static_cast<int>(std::strlen(alphabet));
    for (int i = 0; i < length; ++i) text += alphabet[Number(0, size - 1)];
    return text;
  }

  void Fill(Field field, int contest, QsoRecord& record) {
    using enum Field;
    switch (field) {
      case kSrx:
        record.srx = Number(0, 9999);
        break;
      case kPrec:
        if (contest == kContestSs) {
          record.prec = "ABQ "[Number(0, 3)];
        } else {
          record.prec = static_cast<char>(Number(0, 3) ? Number(1, 20) : ' ');
        }
        break;
      case kCheck:
        if (contest == kContestSs) {
          record.check = static_cast<char>(Number(0, 9) ? Number(0, 99) : ' ');
        } else {
          record.check = "ABCDEF "[Number(0, 6)];
        }
        break;
      case kArrlSect:
        record.SetArrlSect(Text(0, 3, "ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
        break;
      case kRcvdExch:
        if (contest == kContestIaru && record.ituz != 0) break;  // written only without a zone
        if (contest == kContestArrl10 && Number(0, 1)) {
          record.SetRcvdExch(Text(1, 4, "0123456789"));  // a serial number
        } else if (contest == kContestIaru) {
          record.SetRcvdExch(Text(0, 7, "ABCDEFGHIJKLMNOPQRSTUVWXYZ"));  // a society
        } else {
          record.SetRcvdExch(Text(0, 7));
        }
        break;
      case kCqz:
        record.cqz = static_cast<std::uint8_t>(Number(0, 40));
        break;
      case kItuz:
        record.ituz = static_cast<std::uint8_t>(Number(0, 1) ? Number(1, 90) : 0);
        break;
      case kName:
        record.SetName(Text(0, 15, "ABCDEFGHIJ abcdefghij"));
        break;
      case kQth:
        record.SetQth(Text(0, 29, "ABCDEFGHIJ abcdefghij-"));
        break;
      case kState:
        record.SetState(Text(0, 3).c_str(), 3);
        break;
      case kAge:
        record.age = static_cast<std::uint8_t>(Number(10, 99));
        break;
      case kTenTen:
        record.ten_ten = Number(0, 99999);
        break;
      case kArciNum:
        record.arci_num = static_cast<std::uint16_t>(Number(0, 9999));
        break;
      case kTxPwr:
        record.tx_pwr = static_cast<std::uint16_t>(Number(0, 1500));
        break;
      case kContest:
        record.contest = static_cast<std::uint8_t>(Number(0, kContestCount));
        // "ARRLDX" names both ARRL DX contests and always reads as the first.
        if (record.contest == kContestArrlDxFromDx) record.contest = kContestArrlDx;
        break;
      case kTimeOff:
        record.time_off = Number(0, 1) ? record.time_on + Number(0, 7200) : 0;
        break;
      case kReports:
      case kFrequency:
        break;
    }
  }

  std::mt19937 random;
};

void ExpectSame(const QsoRecord& want, const QsoRecord& got, const std::vector<Field>& fields,
                const std::string& where) {
  using enum Field;
  SCOPED_TRACE(where);
  EXPECT_EQ(got.Call(), want.Call());
  EXPECT_EQ(got.time_on, want.time_on);
  EXPECT_EQ(got.mode, want.mode);
  for (Field field : fields) {
    switch (field) {
      case kSrx:
        EXPECT_EQ(got.srx, want.srx);
        break;
      case kPrec:
        EXPECT_EQ(got.prec, want.prec);
        break;
      case kCheck:
        EXPECT_EQ(got.check, want.check);
        break;
      case kArrlSect:
        EXPECT_EQ(got.ArrlSect(), want.ArrlSect());
        break;
      case kRcvdExch:
        EXPECT_EQ(got.RcvdExch(), want.RcvdExch());
        break;
      case kCqz:
        EXPECT_EQ(got.cqz, want.cqz);
        break;
      case kItuz:
        EXPECT_EQ(got.ituz, want.ituz);
        break;
      case kName:
        EXPECT_EQ(got.Name(), want.Name());
        break;
      case kQth:
        EXPECT_EQ(got.Qth(), want.Qth());
        break;
      case kState:
        EXPECT_EQ(got.State(), want.State());
        break;
      case kAge:
        EXPECT_EQ(got.age, want.age);
        break;
      case kTenTen:
        EXPECT_EQ(got.ten_ten, want.ten_ten);
        break;
      case kArciNum:
        EXPECT_EQ(got.arci_num, want.arci_num);
        break;
      case kTxPwr:
        EXPECT_EQ(got.tx_pwr, want.tx_pwr);
        break;
      case kContest:
        EXPECT_EQ(got.contest, want.contest);
        break;
      case kTimeOff:
        EXPECT_EQ(got.time_off, want.time_off);
        break;
      case kReports:
        EXPECT_EQ(got.rst_sent, want.rst_sent);
        EXPECT_EQ(got.rst_rcvd, want.rst_rcvd);
        break;
      case kFrequency:
        EXPECT_EQ(got.band, want.band);
        EXPECT_EQ(got.freq, want.freq);
        break;
    }
  }
}

// Runs one whole conversion in this process; returns the factory's messages.
std::string Convert(const std::string& input, const std::string& output, std::string options = "") {
  Converter converter;
  converter.ParseOptions(options.data());
  std::string messages;
  converter.SetMessageHook(
      [&messages](FactoryMessage, const std::string& text) { messages += text; });
  if (!converter.OpenInput(input.c_str())) return messages + "input not opened";
  if (!converter.OpenOutput(output.c_str(), kFormatNone)) return messages + "output refused";
  RunToEnd(converter);
  return messages;
}

constexpr int kContactsPerContest = 60;

class AdifRoundTrip : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    ContactMaker maker(1000u + static_cast<unsigned>(GetParam()));
    for (int i = 0; i < kContactsPerContest; ++i) contacts.push_back(maker.Make(GetParam()));
    header.contest = static_cast<std::uint8_t>(GetParam());
    std::strcpy(header.call, "K1TEST");
  }

  // ADIF names both ARRL DX contests "ARRLDX", which reads as the first: a log of the second
  // needs the contest named with -c.
  int ContestOption() const { return GetParam() == kContestArrlDxFromDx ? GetParam() : 0; }
  std::string ContestText() const { return ContestOption() ? "-cARDXDX" : ""; }

  AdifWorkspace workspace;
  ContestHeader header{};
  std::vector<QsoRecord> contacts;
};

TEST_P(AdifRoundTrip, WrittenContactsReadBackWithTheFieldsOfTheLayout) {
  WriteAdif(workspace, header, contacts, "first.adi");
  AdifLog log = ReadAdifFile(workspace.Path("first.adi"), ContestOption());
  EXPECT_EQ(log.header.contest, GetParam());
  ASSERT_EQ(log.qsos.size(), contacts.size());
  for (std::size_t i = 0; i < contacts.size(); ++i) {
    ExpectSame(contacts[i], log.qsos[i], AdifFields(GetParam()), "contact " + std::to_string(i));
    if (GetParam() == kContestSs) {
      EXPECT_EQ(log.qsos[i].stx, static_cast<int>(i) + 1);
    }
  }
}

TEST_P(AdifRoundTrip, AdifToAdifKeepsEveryContactLine) {
  std::string first = WriteAdif(workspace, header, contacts, "first.adi");
  EXPECT_EQ(Convert(workspace.Path("first.adi"), workspace.Path("second.adi"), ContestText()), "");
  EXPECT_EQ(ContactText(testing::ReadFile(workspace.Path("second.adi"))), ContactText(first));
}

TEST_P(AdifRoundTrip, AdifToCt8ToAdifKeepsWhatCtLogsHold) {
  WriteAdif(workspace, header, contacts, "first.adi");
  std::string messages =
      Convert(workspace.Path("first.adi"), workspace.Path("log.bin"), ContestText());
  if (GetParam() > 15) {  // CT logs know contests up to the All Asian only
    EXPECT_EQ(messages, "Contest not supported by output file\n\routput refused");
    return;
  }
  ASSERT_EQ(messages, "");
  ASSERT_EQ(Convert(workspace.Path("log.bin"), workspace.Path("back.adi")), "");
  AdifLog log = ReadAdifFile(workspace.Path("back.adi"), ContestOption());
  ASSERT_EQ(log.qsos.size(), contacts.size());
  for (std::size_t i = 0; i < contacts.size(); ++i) {
    QsoRecord want = contacts[i];
    if (GetParam() == kContestSs && want.prec != 'A' && want.prec != 'B') want.prec = 'Q';
    ExpectSame(want, log.qsos[i], Ct8Fields(GetParam()), "contact " + std::to_string(i));
    bool band_kept =
        GetParam() != kContestArrl10 && GetParam() != kContestVhfQso && GetParam() != kContestDxped;
    if (band_kept) {
      EXPECT_EQ(log.qsos[i].band, want.band) << "contact " << i;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Contests, AdifRoundTrip, ::testing::Range(1, kContestCount + 1),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "Contest" + std::to_string(info.param);
                         });

}  // namespace
}  // namespace quorvel
