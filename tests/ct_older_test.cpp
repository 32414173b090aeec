// CT version 9 and pre-version-8 logs: hand-built files read field by field, and whole
// conversions of both into ADIF and CT 8.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/text_field.h"
#include "ct8_bytes.h"
#include "formats/ct9_log_file.h"
#include "formats/ct_old_log_file.h"
#include "test_support.h"

namespace quorvel {
namespace {

using testing::Bytes;
using testing::ReadAllQsos;
using testing::ScratchDir;
using testing::WriteFile;

constexpr int kCtCqww = 0;
constexpr int kCtWpx = 2;
constexpr int kCtSs = 7;
constexpr int kCtFd = 9;
constexpr int kCtCqp = 12;
constexpr std::int64_t kY2k = 946684800;  // 2000-01-01 00:00 UTC

// ---- hand-built files ----

Bytes Ct9Header(int ct_contest, std::string_view version = "CT 9.37") {
  Bytes header(4096);
  header.Text(32, version).U8(256, static_cast<unsigned>(ct_contest));
  return header;
}

// A CT 9 record at 2000-01-01 00:00 UTC as a log without the UTC flag stores it.
Bytes Ct9Qso(std::string_view call, int ct_mode, int report_word, std::string_view text) {
  Bytes qso(50);
  qso.Text(0, call).Text(16, text).U8(24, 4).U8(25, ct_mode).U16(28, report_word);
  qso.U32(42, kY2k + 25200);
  return qso;
}

// An older header: the contest keyword, the log's mode, and "UTC".
Bytes OldHeader(std::string_view keyword, std::string_view log_mode = "CW") {
  Bytes header(398);
  header.Text(20, "K1OLD").Text(162, keyword).Text(167, log_mode).Text(184, "UTC");
  return header;
}

Bytes OldQso(std::string_view call, unsigned band_and_mode, int report_word,
             std::string_view exchange) {
  Bytes qso(37);
  qso.U16(0, report_word).U32(10, kY2k).U8(15, band_and_mode).Text(16, call).Text(30, exchange);
  return qso;
}

std::string File(const Bytes& header, const std::vector<Bytes>& qsos) {
  std::string file = header.Str();
  for (const Bytes& qso : qsos) file += qso.Str();
  return file;
}

class CtOlderReading : public ::testing::Test {
 protected:
  template <typename Reader>
  std::unique_ptr<Reader> Open(const std::string& bytes) {
    std::string path = dir.Path("log" + std::to_string(files++) + ".bin");
    WriteFile(path, bytes);
    auto reader = std::make_unique<Reader>();
    if (!reader->Open(path.c_str(), kModeReadText)) return nullptr;
    return reader;
  }
  template <typename Reader>
  std::vector<QsoRecord> Qsos(const Bytes& header, const std::vector<Bytes>& qsos) {
    auto reader = Open<Reader>(File(header, qsos));
    if (!reader) return {};
    return ReadAllQsos(*reader);
  }
  template <typename Reader>
  QsoRecord Only(const Bytes& header, const Bytes& qso) {
    std::vector<QsoRecord> read = Qsos<Reader>(header, {qso});
    EXPECT_EQ(read.size(), 1u);
    return read.empty() ? QsoRecord{} : read[0];
  }

  ScratchDir dir;
  int files = 0;
};

// ---- CT version 9 ----

TEST_F(CtOlderReading, Ct9VersionTextIsReadAsWholeHundredths) {
  const struct {
    std::string_view text;
    int hundredths;
  } cases[] = {{"9.37", 937}, {"9.36", 936},   {"9.4", 940}, {"9.375", 937},
               {"9", 900},    {"10.05", 1005}, {"", 0},      {"x9.37", 0}};
  for (const auto& c : cases) EXPECT_EQ(CtVersionHundredths(c.text), c.hundredths) << c.text;
}

TEST_F(CtOlderReading, Ct9HeaderDiffersFromVersion8WhereItsLayoutDoes) {
  Bytes header = Ct9Header(kCtSs);
  header.Text(48, "K1ABCDEFGHIJKLMN").Text(64, "XYZ");  // the call ends at 16 characters
  header.U8(257, 1).U8(263, 13).U8(790, 0x12).U8(791, 0x34).Text(734, "CT");
  auto reader = Open<Ct9LogFile>(File(header, {}));
  ASSERT_TRUE(reader);
  const ContestHeader& read = reader->Header();
  EXPECT_EQ(FieldText(read.call), "K1ABCDEFGHIJKLMN");
  EXPECT_EQ(read.contest, kContestSs);
  EXPECT_EQ(read.mode, kModeSsb);
  EXPECT_EQ(FieldText(read.radio), "FT1000");
  EXPECT_EQ(read.ct_pair[0], 0x12);
  EXPECT_EQ(read.ct_pair[1], 0x34);
  EXPECT_EQ(FieldText(read.arrl_sect), "CT");
  EXPECT_EQ(reader->VersionHundredths(), 937);

  // Mode byte 0 is CW, 2 and above no mode; Field Day keeps no own section; radio 14 none.
  Bytes fd = Ct9Header(kCtFd);
  fd.U8(257, 2).U8(263, 14).Text(734, "CT").U8(720, 3).U8(721, 0);
  auto fd_reader = Open<Ct9LogFile>(File(fd, {}));
  ASSERT_TRUE(fd_reader);
  EXPECT_EQ(fd_reader->Header().mode, 0);
  EXPECT_EQ(FieldText(fd_reader->Header().radio), "");
  EXPECT_EQ(FieldText(fd_reader->Header().arrl_sect), "");
  EXPECT_EQ(fd_reader->Header().prec, 3);
  EXPECT_EQ(Open<Ct9LogFile>(File(Ct9Header(kCtCqww).U8(257, 0), {}))->Header().mode, kModeCw);
}

TEST_F(CtOlderReading, Ct9HeaderShorterThan4096BytesOrWithoutAContestFailsToOpen) {
  EXPECT_FALSE(Open<Ct9LogFile>(Ct9Header(kCtCqww).Str().substr(0, 4095)));
  EXPECT_FALSE(Open<Ct9LogFile>(Ct9Header(kCtCqww).Str().substr(0, 1024)));
  EXPECT_FALSE(Open<Ct9LogFile>(File(Ct9Header(15), {})));
  EXPECT_TRUE(Open<Ct9LogFile>(File(Ct9Header(14), {})));
}

TEST_F(CtOlderReading, Ct9TimesFollowTheUtcFlagAndFrequenciesComeInHertz) {
  Bytes qso = Ct9Qso("DL1AB", 1, 599, "14");
  qso.U32(34, 14025000);
  EXPECT_EQ(Only<Ct9LogFile>(Ct9Header(kCtCqww), qso).time_on, kY2k);
  QsoRecord utc = Only<Ct9LogFile>(Ct9Header(kCtCqww).U8(858, 1), qso);
  EXPECT_EQ(utc.time_on, kY2k + 25200);
  EXPECT_EQ(utc.freq, 140250u);
  EXPECT_EQ(Only<Ct9LogFile>(Ct9Header(kCtCqww), qso.U32(34, 0xFFFFFFFF)).freq, 42949672u);
  // A stored time near the end of CT's 32-bit range is not wrapped.
  EXPECT_EQ(Only<Ct9LogFile>(Ct9Header(kCtCqww), qso.U32(42, 0x7FFFFFFF)).time_on,
            std::int64_t{0x7FFFFFFF} - 25200);
}

TEST_F(CtOlderReading, Ct9ModeAndBandTablesAndReports) {
  const struct {
    int ct_mode;
    std::uint8_t mode;
    int word;
    std::int16_t rst_rcvd;
    std::int16_t rst_sent;
  } modes[] = {{0, 0, 59, 59, 59},  {1, kModeCw, 57, 579, 599}, {2, kModeSsb, 579, 57, 59},
               {3, 0, 599, 59, 59}, {4, kModeFm, 59, 59, 59},   {7, 0, 59, 59, 59},
               {8, 0, 59, 59, 59},  {200, 0, 59, 59, 59},       {1, kModeCw, 65535, 0, 599}};
  for (const auto& m : modes) {
    QsoRecord read = Only<Ct9LogFile>(Ct9Header(kCtCqww), Ct9Qso("DL1AB", m.ct_mode, m.word, "14"));
    EXPECT_EQ(read.mode, m.mode) << m.ct_mode;
    EXPECT_EQ(read.rst_rcvd, m.rst_rcvd) << m.ct_mode << " " << m.word;
    EXPECT_EQ(read.rst_sent, m.rst_sent) << m.ct_mode;
  }
  const std::pair<int, std::uint8_t> bands[] = {{4, 5},   {6, 9},   {10, 0}, {11, 29},
                                                {12, 27}, {13, 28}, {14, 0}, {255, 0}};
  for (auto [number, band] : bands) {
    Bytes qso = Ct9Qso("DL1AB", 1, 599, "14");
    EXPECT_EQ(Only<Ct9LogFile>(Ct9Header(kCtCqww), qso.U8(24, number)).band, band) << number;
  }
}

TEST_F(CtOlderReading, Ct9ExchangesByContest) {
  QsoRecord wpx = Only<Ct9LogFile>(Ct9Header(kCtWpx), Ct9Qso("DL1AB", 1, 599, "123"));
  EXPECT_EQ(wpx.srx, 123);
  EXPECT_EQ(wpx.ituz, 0);
  EXPECT_EQ(FieldText(wpx.rcvd_exch), "");
  EXPECT_EQ(Only<Ct9LogFile>(Ct9Header(kCtCqww), Ct9Qso("DL1AB", 1, 599, "14")).cqz, 14);

  // Sweepstakes: the serial is the report word as stored; the precedence has its own byte
  // from 9.37 on and is in the flag bits before.
  Bytes ss = Ct9Qso("W1AW", 1, -2, "CT");
  ss.U8(26, 0x40).U8(46, 77).U8(47, 'U');
  QsoRecord v937 = Only<Ct9LogFile>(Ct9Header(kCtSs), ss);
  EXPECT_EQ(v937.srx, -2);
  EXPECT_EQ(v937.prec, 'U');
  EXPECT_EQ(v937.check, 77);
  EXPECT_EQ(FieldText(v937.arrl_sect), "CT");
  EXPECT_EQ(v937.rst_rcvd, 0);
  EXPECT_EQ(Only<Ct9LogFile>(Ct9Header(kCtSs, "CT 9.36"), ss).prec, 'B');

  QsoRecord cqp = Only<Ct9LogFile>(Ct9Header(kCtCqp), Ct9Qso("W6AB", 2, 1234, "SCLA"));
  EXPECT_EQ(cqp.srx, 1234);
  EXPECT_EQ(FieldText(cqp.rcvd_exch), "SCLA");
  EXPECT_EQ(cqp.rst_rcvd, 0);
}

TEST_F(CtOlderReading, Ct9FieldDayClassIsUnpackedFromTheReportWordAsStored) {
  const struct {
    int mode;
    int word;
    int byte32;
    int byte33;
    char prec;
    char check;
  } cases[] = {{1, 'A' << 8 | 3, 0, 0, 3, 'A'},  // CW: no tone digit is added to the word
               {2, 'A' << 8 | 3, 0, 0, 3, 'A'},  // SSB: the word is not divided
               {2, 0, 2, 'B', 2, 'B'},           // word 0: the bytes of their own
               {1, 0, 0, 0, ' ', ' '}};          // no class at all
  for (const auto& c : cases) {
    Bytes qso = Ct9Qso("W1AW", c.mode, c.word, "EMA");
    qso.U8(32, c.byte32).U8(33, c.byte33);
    QsoRecord read = Only<Ct9LogFile>(Ct9Header(kCtFd), qso);
    EXPECT_EQ(read.prec, c.prec) << c.word;
    EXPECT_EQ(read.check, c.check) << c.word;
    EXPECT_EQ(FieldText(read.arrl_sect), "EMA");
    EXPECT_EQ(read.rst_rcvd, 0);
  }
}

// ---- CT logs before version 8 ----

TEST_F(CtOlderReading, OldContestKeywordsNameTheFirstContestTheyBeginWith) {
  const struct {
    std::string_view keyword;
    int contest;
  } cases[] = {{"ARRLD", kContestArrlDx},
               {"ARDX", kContestArrlDxFromDx},
               {"AR10", kContestArrl10},
               {" X", kContestIaru},
               {"SS", kContestSs},
               {"DXPN", kContestDxped},
               {"FDAY", kContestFd},
               {"VHF", kContestVhfQso},
               {"XYZ", 0},
               {"", 0}};
  for (const auto& c : cases) {
    auto reader = Open<CtOldLogFile>(File(OldHeader(c.keyword), {}));
    if (c.contest == 0) {
      EXPECT_FALSE(reader) << c.keyword;
    } else {
      ASSERT_TRUE(reader) << c.keyword;
      EXPECT_EQ(reader->Header().contest, c.contest) << c.keyword;
    }
  }
}

TEST_F(CtOlderReading, OldHeaderNeedsUtcTimesAndAWholeHeader) {
  EXPECT_FALSE(Open<CtOldLogFile>(File(OldHeader("CQWW").Text(184, "LCL"), {})));
  EXPECT_FALSE(Open<CtOldLogFile>(OldHeader("CQWW").Str().substr(0, 397)));
  EXPECT_TRUE(Open<CtOldLogFile>(OldHeader("CQWW").Str()));
}

TEST_F(CtOlderReading, OldHeaderStationFieldsAndSettingTables) {
  Bytes header = OldHeader("CQWW");
  header.Text(0, "CQWWCW").Text(34, "Alice").Text(131, "CT").Text(171, "MM").U8(174, 'R');
  header.Text(178, "FT1000").Text(198, "COM3").Text(373, "DVP").Text(290, "7").Text(295, "05");
  header.Text(363, "FN31").Text(322, "Radio Club").U8(194, 9).U8(362, 8).U8(321, 7);
  auto reader = Open<CtOldLogFile>(File(header, {}));
  ASSERT_TRUE(reader);
  const ContestHeader& read = reader->Header();
  EXPECT_EQ(FieldText(read.contest_name), "CQWWCW");
  EXPECT_EQ(FieldText(read.call), "K1OLD");
  EXPECT_EQ(FieldText(read.name), "Alice");
  EXPECT_EQ(FieldText(read.radio), "FT1000");  // cut at its field, before "UTC"
  EXPECT_EQ(read.category, kCategoryMultiMulti);
  EXPECT_EQ(read.ct_settings[0], 3);
  EXPECT_EQ(read.ct_settings[1], 3);
  EXPECT_EQ(read.ct_settings[2], 3);
  EXPECT_EQ(read.ct_option, 7);
  EXPECT_EQ(read.zone, 5);
  EXPECT_EQ(FieldText(read.gridsquare), "FN31");
  EXPECT_EQ(FieldText(read.club), "Radio Club");
  EXPECT_EQ(read.ct_block3[1], 9);
  EXPECT_EQ(read.ct_block3[7], 8);
  EXPECT_EQ(read.ct_block3[9], 7);
}

TEST_F(CtOlderReading, OldOwnExchangeOfSweepstakesAndFieldDay) {
  auto ss = Open<CtOldLogFile>(File(OldHeader("SS").Text(363, "A 72").Text(368, "CT"), {}));
  ASSERT_TRUE(ss);
  EXPECT_EQ(ss->Header().prec, 'A');
  EXPECT_EQ(ss->Header().check, 72);
  EXPECT_EQ(FieldText(ss->Header().arrl_sect), "CT");

  // Byte 363: one flag per bit; byte 364: transmitters above bit 3, one more flag in bit 0;
  // byte 365: the category index (signed) below the Field Day flag.
  auto fd =
      Open<CtOldLogFile>(File(OldHeader("FD").U8(363, 0x81).U8(364, 3 << 3 | 1).U8(365, 0x21), {}));
  ASSERT_TRUE(fd);
  const ContestHeader& read = fd->Header();
  EXPECT_EQ(read.prec, 3);
  EXPECT_EQ(read.check, 1);
  EXPECT_EQ(read.fd_flag, 2);
  const std::uint8_t flags[] = {1, 0, 0, 0, 0, 0, 0, 1, 1};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(read.fd_extra[i], flags[i]) << i;
  auto negative = Open<CtOldLogFile>(File(OldHeader("FD").U8(365, 0x0F), {}));
  ASSERT_TRUE(negative);
  EXPECT_EQ(negative->Header().check, 0);
}

TEST_F(CtOlderReading, OldRecordsCallExchangeBandModeAndQsl) {
  Bytes full = OldQso("ABCDEFGHIJKLMN", 0x25, 59, "12345");
  full.U8(35, 'Z').U8(36, 0xC0);
  QsoRecord read = Only<CtOldLogFile>(OldHeader("AR10"), full);
  EXPECT_EQ(FieldText(read.call), "ABCDEFGHIJKLM");  // the record keeps 13 characters
  EXPECT_EQ(FieldText(read.rcvd_exch), "12345");     // never runs on into byte 35
  EXPECT_EQ(read.band, 9);                           // the 10-metre contest
  EXPECT_EQ(read.mode, kModeSsb);
  EXPECT_EQ(read.qsl_sent, 'Y');
  EXPECT_EQ(read.qsl_rcvd, 'Y');
  EXPECT_EQ(read.time_on, kY2k);

  QsoRecord cut =
      Only<CtOldLogFile>(OldHeader("WAE"), OldQso("DL1AB X", 0x05, 57, "5NN/X").U8(35, 9));
  EXPECT_EQ(FieldText(cut.call), "DL1AB");
  EXPECT_EQ(FieldText(cut.rcvd_exch), "5NN");
  EXPECT_EQ(cut.band, 7);
  EXPECT_EQ(cut.mode, kModeCw);  // the log's own mode
  EXPECT_EQ(cut.rst_rcvd, 579);
  EXPECT_EQ(cut.exch_word, 9);

  const std::pair<unsigned, std::uint8_t> bands[] = {{9, 10}, {10, 12}, {11, 29}, {14, 0}};
  for (auto [number, band] : bands) {
    EXPECT_EQ(Only<CtOldLogFile>(OldHeader("CQWW"), OldQso("DL1AB", 0x10 | number, 599, "14")).band,
              band);
  }
  EXPECT_EQ(Only<CtOldLogFile>(OldHeader("VHF"), OldQso("DL1AB", 0x1B, 599, "")).band, 21);
  EXPECT_EQ(Only<CtOldLogFile>(OldHeader("DXPN"), OldQso("DL1AB", 0x1A, 599, "")).band, 27);
}

TEST_F(CtOlderReading, OldExchangesByContest) {
  QsoRecord ss =
      Only<CtOldLogFile>(OldHeader("SS"), OldQso("W1AW", 0x13, 321, "CT").U8(14, 0x04).U8(35, 88));
  EXPECT_EQ(ss.srx, 321);
  EXPECT_EQ(ss.prec, 'A');
  EXPECT_EQ(ss.check, 88);
  EXPECT_EQ(FieldText(ss.arrl_sect), "CT");
  EXPECT_EQ(ss.rst_rcvd, 0);

  QsoRecord fd =
      Only<CtOldLogFile>(OldHeader("FD"), OldQso("W1AW", 0x23, 0, "EMA").U8(0, 2).U8(1, 'F'));
  EXPECT_EQ(fd.prec, 2);
  EXPECT_EQ(fd.check, 'F');
  EXPECT_EQ(FieldText(fd.arrl_sect), "EMA");

  EXPECT_EQ(Only<CtOldLogFile>(OldHeader("CQWW"), OldQso("DL1AB", 0x13, 599, "14")).cqz, 14);
  EXPECT_EQ(Only<CtOldLogFile>(OldHeader("WPX"), OldQso("DL1AB", 0x13, 599, "0042")).srx, 42);
}

TEST_F(CtOlderReading, EachOldLogUsesItsOwnDefaultMode) {
  CtOldLogFile reader;
  for (auto [log_mode, mode] :
       {std::pair{"SSB", kModeSsb}, {"CW", kModeCw}, {"RTTY", kModeRtty}, {"SSB", kModeSsb}}) {
    std::string path = dir.Path(std::string("mode-") + log_mode + std::to_string(files++) + ".bin");
    WriteFile(path, File(OldHeader("CQWW", log_mode), {OldQso("DL1AB", 0x03, 59, "14")}));
    ASSERT_TRUE(reader.Open(path.c_str(), kModeReadText));
    QsoRecord record;
    ASSERT_TRUE(reader.ReadQso(record));
    EXPECT_EQ(record.mode, mode) << log_mode;
    reader.Close();
  }
}

TEST_F(CtOlderReading, PartialLastRecordsEndBothLogs) {
  std::string ct9 =
      File(Ct9Header(kCtCqww), {Ct9Qso("DL1AB", 1, 599, "14")}) + std::string(49, 'x');
  auto ct9_reader = Open<Ct9LogFile>(ct9);
  ASSERT_TRUE(ct9_reader);
  EXPECT_EQ(ReadAllQsos(*ct9_reader).size(), 1u);
  std::string old =
      File(OldHeader("CQWW"), {OldQso("DL1AB", 0x13, 599, "14")}) + std::string(36, 'x');
  auto old_reader = Open<CtOldLogFile>(old);
  ASSERT_TRUE(old_reader);
  EXPECT_EQ(ReadAllQsos(*old_reader).size(), 1u);
}

}  // namespace
}  // namespace quorvel
