// CT version 8 logs: reading hand-built files, and the bytes the writer puts at each offset.
#include "formats/ct8_log_file.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/text_field.h"
#include "ct8_bytes.h"
#include "test_support.h"

namespace quorvel {
namespace {

using namespace std::string_literals;

using testing::Bytes;
using testing::Ct8File;
using testing::Ct8Header;
using testing::Ct8Qso;
using testing::ReadAllQsos;
using testing::ReadFile;
using testing::ScratchDir;
using testing::WriteFile;

constexpr int kCtCqww = 0;
constexpr int kCtWpx = 2;
constexpr int kCtArrl10 = 5;
constexpr int kCtSs = 7;
constexpr int kCtVhf = 8;
constexpr int kCtFd = 9;
constexpr int kCtWae = 10;
constexpr int kCtDxped = 11;
constexpr int kCtCqp = 12;
constexpr int kCtIaru = 13;

class Ct8Reading : public ::testing::Test {
 protected:
  // Opens the bytes as a CT 8 log; null when Open refuses them.
  std::unique_ptr<Ct8LogFile> Open(const std::string& bytes) {
    std::string path = dir.Path("log" + std::to_string(files++) + ".bin");
    WriteFile(path, bytes);
    auto reader = std::make_unique<Ct8LogFile>();
    if (!reader->Open(path.c_str(), kModeReadText)) return nullptr;
    return reader;
  }
  std::vector<QsoRecord> Qsos(const Bytes& header, const std::vector<Bytes>& qsos) {
    auto reader = Open(Ct8File(header, qsos));
    if (!reader) return {};
    return ReadAllQsos(*reader);
  }
  QsoRecord OnlyQso(int ct_contest, const Bytes& qso) {
    std::vector<QsoRecord> read = Qsos(Ct8Header(ct_contest), {qso});
    EXPECT_EQ(read.size(), 1u);
    return read.empty() ? QsoRecord{} : read[0];
  }

  ScratchDir dir;
  int files = 0;
};

TEST_F(Ct8Reading, StationHeaderFieldsComeFromTheirOffsets) {
  Bytes header = Ct8Header(kCtCqww);
  header.Text(0, "CQ WW DX CW").Text(48, "N0QV").Text(80, "Quinn Vale").Text(112, "1 Main St");
  header.Text(176, "Springfield").Text(208, "MO").Text(486, "65801").Text(502, "4");
  header.Text(294, "line one").Text(358, "line two").Text(422, "line three").Text(742, "four");
  header.Text(510, "line five").Text(574, "line six").Text(638, "Ozark Contesters");
  header.Text(726, "EM37").Text(806, "ct text");
  header.U8(257, 1).U8(258, 4).U8(259, 7).U8(260, 8).U8(261, 9).U8(262, 2).U8(263, 10);
  for (int i = 0; i < 8; ++i) header.U8(248 + i, 0x10 + i).U8(774 + i, 0x30 + i);
  for (int i = 0; i < 14; ++i) header.U8(264 + i, 0x50 + i);
  header.U16(782, 0xBEEF).U16(784, 0x1234).U32(786, 0x89ABCDEF);
  auto reader = Open(header.Str());
  ASSERT_TRUE(reader);
  const ContestHeader& read = reader->Header();
  EXPECT_EQ(read.contest, kContestCqww);
  EXPECT_STREQ(read.contest_name, "CQ WW DX CW");
  EXPECT_STREQ(read.call, "N0QV");
  EXPECT_STREQ(read.name, "Quinn Vale");
  EXPECT_STREQ(read.address, "1 Main St");
  EXPECT_STREQ(read.city, "Springfield");
  EXPECT_STREQ(read.state, "MO");
  EXPECT_STREQ(read.zip, "65801");
  EXPECT_EQ(read.zone, 4);
  EXPECT_STREQ(read.text1, "line one");
  EXPECT_STREQ(read.text2, "line two");
  EXPECT_STREQ(read.text3, "line three");
  EXPECT_STREQ(read.text4, "four");
  EXPECT_STREQ(read.text5, "line five");
  EXPECT_STREQ(read.text6, "line six");
  EXPECT_STREQ(read.club, "Ozark Contesters");
  EXPECT_STREQ(read.gridsquare, "EM37");
  EXPECT_STREQ(read.ct_text, "ct text");
  EXPECT_EQ(read.mode, kModeSsb);  // stored counted from 0
  EXPECT_EQ(read.category, 4);
  EXPECT_EQ(read.ct_settings[0], 7);
  EXPECT_EQ(read.ct_settings[2], 9);
  EXPECT_EQ(read.ct_option, 3);  // stored less one
  EXPECT_STREQ(read.radio, "IC781");
  EXPECT_EQ(read.ct_block1[7], 0x17);
  EXPECT_EQ(read.ct_block2[0], 0x30);
  EXPECT_EQ(read.ct_block3[13], 0x5D);
  EXPECT_EQ(read.ct_word1, 0xBEEF);
  EXPECT_EQ(read.ct_word2, 0x1234);
  EXPECT_EQ(read.ct_long, 0x89ABCDEFu);
  EXPECT_EQ(read.power_cat, 0);
  EXPECT_EQ(read.prec, 0);
  EXPECT_STREQ(read.arrl_sect, "");
}

TEST_F(Ct8Reading, FullWidthHeaderTextsAreCutToStayTerminated) {
  Bytes header = Ct8Header(kCtCqww);
  header.Text(48, std::string(32, 'K')).Text(208, "ABCDEFGH").Text(806, std::string(16, 'T'));
  auto reader = Open(header.Str());
  ASSERT_TRUE(reader);
  EXPECT_EQ(std::string(reader->Header().call), std::string(31, 'K'));
  EXPECT_STREQ(reader->Header().state, "ABCDEFG");
  EXPECT_EQ(std::string(reader->Header().ct_text), std::string(15, 'T'));
}

TEST_F(Ct8Reading, RadioIndexPastTheTableLeavesTheRadioEmpty) {
  auto none = Open(Ct8Header(kCtCqww).Str());
  ASSERT_TRUE(none);
  EXPECT_STREQ(none->Header().radio, "NONE");
  auto last = Open(Ct8Header(kCtCqww).U8(263, 13).Str());
  ASSERT_TRUE(last);
  EXPECT_STREQ(last->Header().radio, "FT1000");
  auto past = Open(Ct8Header(kCtCqww).U8(263, 14).Str());
  ASSERT_TRUE(past);
  EXPECT_STREQ(past->Header().radio, "");
}

TEST_F(Ct8Reading, SweepstakesAndFieldDayHeaderRowsBelongToTheirContestOnly) {
  auto fill = [](Bytes header) {
    header.U8(702, 'B').Text(706, "72").Text(734, "WWA");
    for (int i = 0; i < 9; ++i) header.U8(710 + i, i + 1);
    return header.U8(720, 3).U8(721, 5).U8(722, 6);
  };
  auto ss = Open(fill(Ct8Header(kCtSs)).Str());
  ASSERT_TRUE(ss);
  EXPECT_EQ(ss->Header().contest, kContestSs);
  EXPECT_EQ(ss->Header().prec, 'B');
  EXPECT_EQ(ss->Header().check, 72);
  EXPECT_STREQ(ss->Header().arrl_sect, "WWA");
  EXPECT_EQ(ss->Header().fd_flag, 0);
  auto fd = Open(fill(Ct8Header(kCtFd)).Str());
  ASSERT_TRUE(fd);
  EXPECT_EQ(fd->Header().prec, 3);
  EXPECT_EQ(fd->Header().check, 5);
  EXPECT_STREQ(fd->Header().arrl_sect, "WWA");
  EXPECT_EQ(fd->Header().fd_extra[0], 1);
  EXPECT_EQ(fd->Header().fd_extra[8], 9);
  EXPECT_EQ(fd->Header().fd_extra[9], 0);
  EXPECT_EQ(fd->Header().fd_flag, 6);
  auto cqww = Open(fill(Ct8Header(kCtCqww)).Str());
  ASSERT_TRUE(cqww);
  EXPECT_EQ(cqww->Header().prec, 0);
  EXPECT_EQ(cqww->Header().check, 0);
  EXPECT_STREQ(cqww->Header().arrl_sect, "");
  EXPECT_EQ(cqww->Header().fd_extra[0], 0);
}

TEST_F(Ct8Reading, ContestNumbersMapToContestCodesAnd15IsRefused) {
  const int expected[] = {kContestCqww,         kContestCq160,  kContestWpx,     kContestArrlDx,
                          kContestArrlDxFromDx, kContestArrl10, kContestArrl160, kContestSs,
                          kContestVhfQso,       kContestFd,     kContestWae,     kContestDxped,
                          kContestCqp,          kContestIaru,   kContestAllAsian};
  for (int number = 0; number < 15; ++number) {
    auto reader = Open(Ct8Header(number).Str());
    ASSERT_TRUE(reader) << number;
    EXPECT_EQ(reader->Header().contest, expected[number]) << number;
  }
  EXPECT_FALSE(Open(Ct8Header(15).Str()));
  EXPECT_FALSE(Open(Ct8Header(255).Str()));
}

TEST_F(Ct8Reading, HeaderShorterThan1024BytesFailsToOpen) {
  std::string header = Ct8Header(kCtCqww).Str();
  EXPECT_FALSE(Open(header.substr(0, 500)));
  EXPECT_FALSE(Open(header.substr(0, 1023)));
  EXPECT_FALSE(Open(""));
  EXPECT_TRUE(Open(header));
  Ct8LogFile missing;
  EXPECT_EQ(missing.Open(dir.Path("missing.bin").c_str(), kModeReadText), 0);
}

TEST_F(Ct8Reading, PartialLastRecordEndsTheLog) {
  std::string file = Ct8File(Ct8Header(kCtCqww), {Ct8Qso("K1ABC", 1, kModeCw, 599, "05"),
                                                  Ct8Qso("W2XYZ", 2, kModeCw, 599, "05")});
  auto reader = Open(file.substr(0, file.size() - 1));
  ASSERT_TRUE(reader);
  std::vector<QsoRecord> qsos = ReadAllQsos(*reader);
  ASSERT_EQ(qsos.size(), 1u);
  EXPECT_STREQ(qsos[0].call, "K1ABC");
  EXPECT_EQ(reader->QsoCount(), 1);
  EXPECT_TRUE(reader->IsEof());
}

TEST_F(Ct8Reading, ReportRuleGivesToneDigitsByMode) {
  struct Case {
    int mode;
    int word;
    int rcvd;
    int sent;
  };
  const Case cases[] = {{kModeCw, 57, 579, 599},   {kModeSsb, 579, 57, 59},
                        {kModeRtty, 599, 59, 599}, {kModeCw, 599, 599, 599},
                        {kModeSsb, 59, 59, 59},    {kModePkt, 589, 58, 599},
                        {kModeFm, 5, 5, 59},       {kModeCw, 100, 100, 599}};
  for (const Case& c : cases) {
    QsoRecord qso = OnlyQso(kCtCqww, Ct8Qso("K1ABC", 3, c.mode, c.word, "14"));
    EXPECT_EQ(qso.rst_rcvd, c.rcvd) << c.mode << " " << c.word;
    EXPECT_EQ(qso.rst_sent, c.sent) << c.mode << " " << c.word;
    EXPECT_EQ(qso.cqz, 14);
  }
}

TEST_F(Ct8Reading, RecordFieldsAndSevenHourOffset) {
  Bytes record = Ct8Qso("DL1ABC", 5, kModeSsb, 59, "14");
  record.U32(42, 946710000).U8(27, '7').U8(48, 'Y');
  QsoRecord qso = OnlyQso(kCtCqww, record);
  EXPECT_STREQ(qso.call, "DL1ABC");
  EXPECT_EQ(qso.time_on, 946684800);
  EXPECT_EQ(qso.band, 7);
  EXPECT_EQ(qso.mode, kModeSsb);
  EXPECT_EQ(qso.aux_digit, 7);
  EXPECT_EQ(qso.qsl_sent, 'Y');
  EXPECT_EQ(qso.freq, 0u);
  EXPECT_EQ(qso.prec, ' ');
  EXPECT_EQ(qso.check, ' ');
}

TEST_F(Ct8Reading, AuxDigitNulReadsAs208) {
  QsoRecord qso = OnlyQso(kCtCqww, Ct8Qso("K1ABC", 1, kModeCw, 599, "05").U8(27, 0));
  EXPECT_EQ(qso.aux_digit, 208);
}

TEST_F(Ct8Reading, CallIsCutAtItsFirstBlankAndTo13Characters) {
  EXPECT_STREQ(OnlyQso(kCtCqww, Ct8Qso("K1ABC /P", 1, kModeCw, 599, "05")).call, "K1ABC");
  EXPECT_STREQ(OnlyQso(kCtCqww, Ct8Qso("ABCDEFGHIJKLMNOP", 1, kModeCw, 599, "05")).call,
               "ABCDEFGHIJKLM");
}

TEST_F(Ct8Reading, BandNumbersFollowTheContestsBandTable) {
  EXPECT_EQ(OnlyQso(kCtCqww, Ct8Qso("K1ABC", 4, kModeCw, 599, "05")).band, 5);
  EXPECT_EQ(OnlyQso(kCtCqww, Ct8Qso("K1ABC", 10, kModeCw, 599, "05")).band, 29);
  EXPECT_EQ(OnlyQso(kCtCqww, Ct8Qso("K1ABC", 13, kModeCw, 599, "05")).band, 0);
  EXPECT_EQ(OnlyQso(kCtCqww, Ct8Qso("K1ABC", 200, kModeCw, 599, "05")).band, 0);
  EXPECT_EQ(OnlyQso(kCtVhf, Ct8Qso("K1ABC", 1, kModeSsb, 59, "EM37")).band, 10);
  EXPECT_EQ(OnlyQso(kCtVhf, Ct8Qso("K1ABC", 12, kModeSsb, 59, "EM37")).band, 30);
  EXPECT_EQ(OnlyQso(kCtDxped, Ct8Qso("K1ABC", 4, kModeSsb, 59, "")).band, 4);
  EXPECT_EQ(OnlyQso(kCtDxped, Ct8Qso("K1ABC", 10, kModeSsb, 59, "")).band, 27);
  EXPECT_EQ(OnlyQso(kCtDxped, Ct8Qso("K1ABC", 11, kModeSsb, 59, "")).band, 0);
  for (int ct_band : {0, 1, 6, 99}) {
    EXPECT_EQ(OnlyQso(kCtArrl10, Ct8Qso("K1ABC", ct_band, kModeCw, 599, "MO")).band, 9);
  }
}

TEST_F(Ct8Reading, SweepstakesPrecedenceBitsSerialCheckAndSection) {
  struct Case {
    int flags;
    char precedence;
  };
  for (Case c :
       {Case{0x00, 'Q'}, Case{0x40, 'B'}, Case{0x04, 'A'}, Case{0x44, 'A'}, Case{0xBB, 'Q'}}) {
    QsoRecord qso = OnlyQso(kCtSs, Ct8Qso("K1ABC", 2, kModeCw, 123, "SJV").U8(26, c.flags));
    EXPECT_EQ(qso.prec, c.precedence) << c.flags;
  }
  QsoRecord qso = OnlyQso(kCtSs, Ct8Qso("K1ABC", 2, kModeCw, 57, "SJVX1").U8(46, 88));
  EXPECT_EQ(qso.srx, 57);  // a serial number, not a report: no tone digit
  EXPECT_EQ(qso.check, 88);
  EXPECT_STREQ(qso.arrl_sect, "SJVX");
  EXPECT_EQ(qso.rst_rcvd, 0);
  EXPECT_EQ(qso.rst_sent, 0);
  QsoRecord second = OnlyQso(kCtSs, Ct8Qso("K1ABC", 2, kModeCw, 57, "SJV").U16(30, 1234));
  EXPECT_EQ(second.srx, 1234);
  EXPECT_EQ(OnlyQso(kCtSs, Ct8Qso("K1ABC", 2, kModeCw, -5, "SJV")).srx, -5);
}

TEST_F(Ct8Reading, IaruTextIsAZoneWhenItStartsWithADigit) {
  QsoRecord zone = OnlyQso(kCtIaru, Ct8Qso("K1ABC", 3, kModeCw, 599, "08"));
  EXPECT_EQ(zone.ituz, 8);
  EXPECT_STREQ(zone.rcvd_exch, "");
  QsoRecord society = OnlyQso(kCtIaru, Ct8Qso("K1ABC", 3, kModeCw, 599, "HQ"));
  EXPECT_EQ(society.ituz, 0);
  EXPECT_STREQ(society.rcvd_exch, "HQ");
  EXPECT_EQ(society.rst_rcvd, 599);
}

TEST_F(Ct8Reading, WpxSerialAndWaeExchangeWord) {
  QsoRecord wpx = OnlyQso(kCtWpx, Ct8Qso("K1ABC", 3, kModeCw, 579, "1234567"));
  EXPECT_EQ(wpx.srx, 1234567);
  EXPECT_EQ(wpx.rst_rcvd, 579);
  QsoRecord wae = OnlyQso(kCtWae, Ct8Qso("K1ABC", 3, kModeCw, 599, "12345678").U16(46, 0xA1B2));
  EXPECT_STREQ(wae.rcvd_exch, "12345678");
  EXPECT_EQ(wae.exch_word, 0xA1B2);
}

TEST_F(Ct8Reading, FieldDayClassFromItsBytesOrFromTheReportWord) {
  QsoRecord bytes = OnlyQso(kCtFd, Ct8Qso("K1ABC", 2, kModeSsb, 0, "EMA").U8(32, 3).U8(33, 'A'));
  EXPECT_EQ(bytes.prec, 3);
  EXPECT_EQ(bytes.check, 'A');
  EXPECT_STREQ(bytes.arrl_sect, "EMA");
  EXPECT_EQ(bytes.rst_rcvd, 0);
  QsoRecord word = OnlyQso(kCtFd, Ct8Qso("K1ABC", 2, kModeCw, 'B' << 8 | 0x12, "WWA"));
  EXPECT_EQ(word.prec, 2);  // low four bits
  EXPECT_EQ(word.check, 'B');
}

TEST_F(Ct8Reading, CaliforniaSerialFromTheSecondWordOrTheReportWord) {
  QsoRecord second = OnlyQso(kCtCqp, Ct8Qso("K1ABC", 3, kModeSsb, 9999, "SCLA").U16(30, 321));
  EXPECT_EQ(second.srx, 321);
  EXPECT_STREQ(second.rcvd_exch, "SCLA");
  EXPECT_EQ(second.rst_rcvd, 0);
  EXPECT_EQ(OnlyQso(kCtCqp, Ct8Qso("K1ABC", 3, kModeSsb, 45, "SCLA")).srx, 45);
}

class Ct8Writing : public ::testing::Test {
 protected:
  // Writes a header and QSOs and returns the file's bytes.
  Bytes Write(const ContestHeader& header, const std::vector<QsoRecord>& qsos,
              int* header_result = nullptr) {
    std::string path = dir.Path("out" + std::to_string(files++) + ".bin");
    Ct8LogFile writer;
    EXPECT_EQ(writer.Open(path.c_str(), kModeWriteNew), 1);
    int result = writer.WriteHeader(header);
    if (header_result) *header_result = result;
    for (const QsoRecord& qso : qsos) EXPECT_EQ(writer.WriteQso(qso), 1);
    writer.Close();
    std::string bytes = ReadFile(path);
    Bytes file(bytes.size());
    file.Text(0, bytes);
    return file;
  }
  static ContestHeader Header(int contest) {
    ContestHeader header{};
    header.contest = static_cast<std::uint8_t>(contest);
    return header;
  }
  static QsoRecord Qso(const char* call, int band, int mode) {
    QsoRecord qso;
    qso.Clear();
    qso.SetCallText(call);
    qso.band = static_cast<std::uint8_t>(band);
    qso.mode = static_cast<std::uint8_t>(mode);
    qso.time_on = 946684800;
    return qso;
  }

  ScratchDir dir;
  int files = 0;
};

TEST_F(Ct8Writing, HeaderHasSignatureFixedBytesAndZeroedGaps) {
  ContestHeader header = Header(kContestCqww);
  CopyCut(header.call, "N0QV");
  CopyCut(header.radio, "IC781");
  header.mode = kModeRtty;
  header.ct_option = 0;
  header.zone = 4;
  Bytes file = Write(header, {});
  ASSERT_EQ(file.Str().size(), 1024u);
  EXPECT_EQ(file.Str().substr(32, 16), std::string("CT 8.19") + std::string(9, '\0'));
  EXPECT_EQ(file.Str().substr(48, 5), std::string("N0QV\0", 5));
  EXPECT_EQ(file.At(256), 0);
  EXPECT_EQ(file.At(257), 2);
  EXPECT_EQ(file.At(262), 255);
  EXPECT_EQ(file.At(263), 10);
  EXPECT_EQ(file.Str().substr(502, 2), "4\0"s);
  EXPECT_EQ(file.At(719), 1);
  EXPECT_EQ(file.Long(825), 0x0401F420u);
  for (std::size_t at : {216u, 247u, 278u, 293u, 703u, 723u, 790u, 805u, 822u, 829u, 1023u}) {
    EXPECT_EQ(file.At(at), 0) << at;
  }
}

TEST_F(Ct8Writing, UnknownContestIsStoredAsCqwwAndContestsPast15AreRefused) {
  EXPECT_EQ(Write(Header(kContestNone), {}).At(256), 0);
  EXPECT_EQ(Write(Header(kContestAllAsian), {}).At(256), 14);
  EXPECT_EQ(Write(Header(kContestSs), {}).At(256), 7);
  for (int contest : {16, 28, 33}) {
    int result = -1;
    Bytes file = Write(Header(contest), {Qso("K1ABC", 1, kModeCw)}, &result);
    EXPECT_EQ(result, 0) << contest;
    EXPECT_EQ(file.Str().size(), 0u) << contest;
  }
}

TEST_F(Ct8Writing, RecordHoldsTimeSevenHoursAheadAndTheAuxDigitAsACharacter) {
  QsoRecord qso = Qso("ABCDEFGHIJKLMN", 1, kModeCw);
  qso.aux_digit = 0;
  qso.qsl_sent = 'N';
  QsoRecord nul = Qso("K1ABC", 1, kModeCw);
  nul.aux_digit = 208;
  Bytes file = Write(Header(kContestCqww), {qso, nul});
  ASSERT_EQ(file.Str().size(), 1024u + 100u);
  EXPECT_EQ(file.Str().substr(1024, 16), std::string("ABCDEFGHIJKLM") + std::string(3, '\0'));
  EXPECT_EQ(file.Long(1024 + 42), 946710000u);
  EXPECT_EQ(file.At(1024 + 27), '0');
  EXPECT_EQ(file.At(1024 + 48), 'N');
  EXPECT_EQ(file.At(1074 + 27), 0);
}

TEST_F(Ct8Writing, ExchangesAreEncodedByContest) {
  QsoRecord cqww = Qso("K1ABC", 1, kModeCw);
  cqww.cqz = 5;
  cqww.rst_rcvd = 579;
  Bytes c = Write(Header(kContestCqww), {cqww});
  EXPECT_EQ(c.Str().substr(1024 + 16, 8), "05\0\0\0\0\0\0"s);
  EXPECT_EQ(c.Word(1024 + 28), 579);

  QsoRecord ss = Qso("K1ABC", 2, kModeCw);
  ss.srx = 70000;  // low 16 bits
  ss.prec = 'B';
  ss.check = 72;
  ss.SetArrlSect("sjv");
  Bytes s = Write(Header(kContestSs), {ss});
  EXPECT_EQ(s.Word(1024 + 28), 70000 & 0xFFFF);
  EXPECT_EQ(s.At(1024 + 26), 0x40);
  EXPECT_EQ(s.At(1024 + 46), 72);
  EXPECT_EQ(s.Str().substr(1024 + 16, 4), "SJV\0"s);

  QsoRecord fd = Qso("K1ABC", 2, kModeSsb);
  fd.prec = 3;
  fd.check = 'A';
  fd.SetArrlSect("ema");
  Bytes f = Write(Header(kContestFd), {fd});
  EXPECT_EQ(f.At(1024 + 32), 3);
  EXPECT_EQ(f.At(1024 + 33), 'A');
  EXPECT_EQ(f.Word(1024 + 28), 'A' * 256 + 3);
  EXPECT_EQ(f.Str().substr(1024 + 16, 8), "EMA\0\0\0\0\0"s);

  QsoRecord cqp = Qso("K1ABC", 2, kModeSsb);
  cqp.srx = 321;
  cqp.SetRcvdExch("scla");
  Bytes p = Write(Header(kContestCqp), {cqp});
  EXPECT_EQ(p.Word(1024 + 28), 321);
  EXPECT_EQ(p.Word(1024 + 30), 321);
  EXPECT_EQ(p.Str().substr(1024 + 16, 5), "SCLA\0"s);

  QsoRecord iaru = Qso("K1ABC", 2, kModeSsb);
  iaru.SetRcvdExch("dargeneral");
  Bytes i = Write(Header(kContestIaru), {iaru});
  EXPECT_EQ(i.Str().substr(1024 + 16, 8), "DARGENER");
  iaru.ituz = 8;
  EXPECT_EQ(Write(Header(kContestIaru), {iaru}).Str().substr(1024 + 16, 3), "08\0"s);

  QsoRecord wpx = Qso("K1ABC", 2, kModeSsb);
  wpx.srx = 123456789;  // seven digits and the terminator fit
  EXPECT_EQ(Write(Header(kContestWpx), {wpx}).Str().substr(1024 + 16, 8), "1234567\0"s);
}

TEST_F(Ct8Writing, BandsOutsideTheContestsBandTableAreWrittenAsUnknown) {
  struct Case {
    int contest;
    int band;
    int ct_band;
  };
  const Case cases[] = {
      {kContestCqww, 5, 4},    {kContestCqww, 4, 0},     {kContestCqww, 6, 0},
      {kContestCqww, 8, 0},    {kContestCqww, 10, 0},    {kContestCqww, 27, 11},
      {kContestCqww, 31, 0},   {kContestCqww, 200, 0},   {kContestDxped, 5, 5},
      {kContestDxped, 4, 4},   {kContestDxped, 27, 10},  {kContestDxped, 10, 0},
      {kContestVhfQso, 12, 2}, {kContestVhfQso, 30, 12}, {kContestVhfQso, 1, 0},
  };
  for (const Case& c : cases) {
    Bytes file = Write(Header(c.contest), {Qso("K1ABC", c.band, kModeCw)});
    EXPECT_EQ(file.At(1024 + 24), c.ct_band) << c.contest << " band " << c.band;
  }
}

}  // namespace
}  // namespace quorvel
