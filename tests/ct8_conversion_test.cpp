// CT version 8 logs as a whole: random logs of every CT contest written and read back, and
// whole conversions through the Converter and the built quorvelcon.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/converter.h"
#include "core/text_field.h"
#include "ct8_bytes.h"
#include "formats/ct8_log_file.h"
#include "line_format.h"
#include "test_support.h"

namespace quorvel {
namespace {

using testing::Ct8File;
using testing::Ct8Header;
using testing::Ct8Qso;
using testing::FileExists;
using testing::kBanner;
using testing::ReadAllQsos;
using testing::ReadFile;
using testing::RunQuorvelcon;
using testing::ScratchDir;
using testing::WriteFile;

// Every contest a CT 8 header can name.
constexpr int kCtContests[] = {
    kContestCqww,   kContestCq160,   kContestWpx, kContestArrlDx, kContestArrlDxFromDx,
    kContestArrl10, kContestArrl160, kContestSs,  kContestVhfQso, kContestFd,
    kContestWae,    kContestDxped,   kContestCqp, kContestIaru,   kContestAllAsian};

// The bands each contest's CT band numbering carries.
std::vector<int> BandsOf(int contest) {
  switch (contest) {
    case kContestArrl10:
      return {9};
    case kContestVhfQso:
      return {10, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 30};
    case kContestDxped:
      return {1, 2, 3, 4, 5, 6, 7, 8, 9, 27};
    default:
      return {1, 2, 3, 5, 7, 9, 27, 28, 29};
  }
}

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = ToUpper(c);
  return upper;
}

constexpr std::string_view kPrintable =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 .,-/#&'";
constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr std::string_view kAlphanumerics =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::string_view kCallCharacters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/";

class Random {
 public:
  explicit Random(unsigned seed) : engine(seed) {}
  int Int(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine); }
  std::string Text(int min_length, int max_length, std::string_view alphabet) {
    std::string text(static_cast<std::size_t>(Int(min_length, max_length)), ' ');
    for (char& c : text)
      c = alphabet[static_cast<std::size_t>(Int(0, static_cast<int>(alphabet.size()) - 1))];
    return text;
  }
  // Text of any length the field holds with its terminator.
  template <std::size_t N>
  void Fill(char (&field)[N]) {
    CopyCut(field, Text(0, static_cast<int>(N) - 1, kPrintable));
  }
  template <std::size_t N>
  void Fill(std::uint8_t (&field)[N]) {
    for (std::uint8_t& byte : field) byte = static_cast<std::uint8_t>(Int(0, 255));
  }
  std::uint8_t Byte() { return static_cast<std::uint8_t>(Int(0, 255)); }

 private:
  std::mt19937 engine;
};

const char* const kRadios[] = {"NONE", "TS440", "TS850", "IC781", "FT990", "FT1000"};

// A header with every field set, and the header a CT 8 log of it reads back as.
struct HeaderPair {
  ContestHeader written{};
  ContestHeader read{};
};

HeaderPair RandomHeader(Random& random, int contest) {
  ContestHeader h{};
  h.contest = static_cast<std::uint8_t>(contest);
  random.Fill(h.call);
  random.Fill(h.contest_name);
  random.Fill(h.name);
  random.Fill(h.address);
  random.Fill(h.city);
  random.Fill(h.state);
  random.Fill(h.zip);
  random.Fill(h.club);
  random.Fill(h.ct_text);
  random.Fill(h.gridsquare);
  random.Fill(h.arrl_sect);
  random.Fill(h.text1);
  random.Fill(h.text2);
  random.Fill(h.text3);
  random.Fill(h.text4);
  random.Fill(h.text5);
  random.Fill(h.text6);
  random.Fill(h.year);
  CopyCut(h.radio, kRadios[random.Int(0, 5)]);
  h.category = random.Byte();
  h.power_cat = static_cast<std::uint8_t>(random.Int(1, 3));
  h.mode = static_cast<std::uint8_t>(random.Int(0, 9));
  h.ct_option = random.Byte();
  h.zone = random.Byte();
  h.prec = contest == kContestSs ? "ABQ"[random.Int(0, 2)] : random.Byte();
  h.check = random.Byte();
  h.fd_flag = random.Byte();
  h.ct_word1 = static_cast<std::uint16_t>(random.Int(0, 65535));
  h.ct_word2 = static_cast<std::uint16_t>(random.Int(0, 65535));
  h.ct_long = static_cast<std::uint32_t>(random.Int(INT_MIN, INT_MAX));
  random.Fill(h.ct_settings);
  random.Fill(h.fd_extra);
  random.Fill(h.ct_block1);
  random.Fill(h.ct_block2);
  random.Fill(h.ct_block3);
  random.Fill(h.ct_pair);

  ContestHeader r = h;
  r.power_cat = 0;
  CopyCut(r.year, "");
  r.ct_pair[0] = r.ct_pair[1] = 0;
  r.mode = (h.mode >= kModeCw && h.mode <= kModeRtty) ? h.mode : std::uint8_t{kModeCw};
  r.fd_extra[9] = 0;
  if (contest != kContestSs && contest != kContestFd) {
    r.prec = r.check = 0;
    CopyCut(r.arrl_sect, "");
  }
  if (contest != kContestFd) {
    r.fd_flag = 0;
    for (std::uint8_t& byte : r.fd_extra) byte = 0;
  }
  return {h, r};
}

// A QSO with every field set, and the QSO a CT 8 log of `contest` reads back as.
struct QsoPair {
  QsoRecord written;
  QsoRecord read;
};

std::uint16_t RandomReport(Random& random, int mode) {
  if (mode == kModeCw) return static_cast<std::uint16_t>(500 + random.Int(1, 9) * 10 + 9);
  return static_cast<std::uint16_t>(random.Int(1, 5) * 10 + random.Int(1, 9));
}

void FillEveryField(Random& random, QsoRecord& q, int contest) {
  q.Clear();
  q.SetCallText(random.Text(1, 1, "KWNDGJ") + random.Text(2, 12, kCallCharacters));
  q.time_on = random.Int(INT_MIN, INT_MAX);
  q.time_off = random.Int(0, INT_MAX);
  std::vector<int> bands = BandsOf(contest);
  q.band = static_cast<std::uint8_t>(
      bands[static_cast<std::size_t>(random.Int(0, static_cast<int>(bands.size()) - 1))]);
  q.freq = static_cast<std::uint32_t>(random.Int(18000, 1480000));
  q.mode = static_cast<std::uint8_t>(random.Int(1, 9));
  q.contest = static_cast<std::uint8_t>(contest);
  q.tx_pwr = static_cast<std::uint16_t>(random.Int(1, 1500));
  q.stx = random.Int(1, 5000);
  q.srx = random.Int(1, 5000);
  q.SetName(random.Text(0, 15, kLetters));
  q.cqz = static_cast<std::uint8_t>(random.Int(1, 40));
  q.ituz = static_cast<std::uint8_t>(random.Int(1, 90));
  q.SetIota("EU-005");
  q.SetQth(random.Text(0, 29, kLetters));
  q.SetArrlSect(random.Text(1, 4, kLetters));
  q.SetState("NY", 2);
  q.rst_sent = 599;
  q.rst_rcvd = RandomReport(random, q.mode);
  q.ten_ten = random.Int(1, 99999);
  q.arci_num = static_cast<std::uint16_t>(random.Int(1, 9999));
  q.age = static_cast<std::uint8_t>(random.Int(10, 99));
  q.SetRcvdExch(random.Text(0, 12, kAlphanumerics));
  q.SetComment(random.Text(0, 60, kPrintable));
  q.prec = static_cast<char>(random.Byte());
  q.check = static_cast<char>(random.Byte());
  q.points = random.Byte();
  q.AddMult("K");
  q.exch_word = static_cast<std::uint16_t>(random.Int(0, 65535));
  q.qsl_sent = "YNR"[random.Int(0, 2)];
  q.qsl_rcvd = 'Y';
  q.aux_digit = random.Byte();
}

// Values the contest's exchange must keep within what a CT record holds.
void FitExchange(Random& random, QsoRecord& q, int contest) {
  switch (contest) {
    case kContestSs:
      q.srx = random.Int(-32768, 32767);
      q.prec = "ABQ"[random.Int(0, 2)];
      break;
    case kContestWpx:
      q.srx = random.Int(-999999, 9999999);
      break;
    case kContestCqww:
      q.cqz = random.Byte();
      break;
    case kContestIaru:
      q.ituz = static_cast<std::uint8_t>(random.Int(0, 1) * random.Int(1, 90));
      q.SetRcvdExch(random.Text(1, 1, kLetters) + random.Text(0, 9, kAlphanumerics));
      break;
    case kContestFd:
      q.prec = static_cast<char>(random.Int(1, 255));
      break;
    case kContestCqp:
      q.srx = random.Int(1, 32767) * (random.Int(0, 1) ? 1 : -1);
      break;
    default:
      break;
  }
}

QsoRecord ExpectedRead(const QsoRecord& w, int contest) {
  QsoRecord r;
  r.Clear();
  CopyCut(r.call, w.Call());
  r.time_on = w.time_on;
  r.band = w.band;
  r.mode = w.mode;
  r.aux_digit = w.aux_digit;
  r.qsl_sent = w.qsl_sent;
  std::string exchange = Upper(w.RcvdExch().substr(0, 8));
  switch (contest) {
    case kContestSs:
      r.srx = w.srx;
      r.prec = w.prec;
      r.check = w.check;
      r.SetArrlSect(Upper(w.ArrlSect()));
      return r;
    case kContestFd:
      // A class part of 0 is no class: it reads back as the record's blank, as the blank does.
      r.prec = w.prec == '\0' ? ' ' : w.prec;
      r.check = w.check == '\0' ? ' ' : w.check;
      r.SetArrlSect(Upper(w.ArrlSect()));
      return r;
    case kContestCqp:
      r.srx = w.srx;
      r.SetRcvdExch(exchange);
      return r;
    default:
      break;
  }
  r.rst_rcvd = w.rst_rcvd;
  r.rst_sent = (w.mode == kModeCw || w.mode == kModeRtty || w.mode == kModePkt) ? 599 : 59;
  switch (contest) {
    case kContestCqww:
      r.cqz = w.cqz;
      break;
    case kContestWpx:
      r.srx = w.srx;
      break;
    case kContestIaru:
      r.ituz = w.ituz;
      if (w.ituz == 0) r.SetRcvdExch(exchange);
      break;
    case kContestWae:
      r.exch_word = w.exch_word;
      r.SetRcvdExch(exchange);
      break;
    default:
      r.SetRcvdExch(exchange);
  }
  return r;
}

QsoPair RandomQso(Random& random, int contest) {
  QsoPair pair;
  FillEveryField(random, pair.written, contest);
  FitExchange(random, pair.written, contest);
  pair.read = ExpectedRead(pair.written, contest);
  return pair;
}

// Compares one field of two records or headers: texts up to their terminator, byte blocks
// byte for byte, numbers by value.
class SameFields {
 public:
  explicit SameFields(std::string context) : context(std::move(context)) {}
  template <typename Field>
  void operator()(const char* name, const Field& expected, const Field& actual) const {
    if constexpr (std::is_array_v<Field> && std::is_same_v<std::remove_extent_t<Field>, char>) {
      EXPECT_EQ(FieldText(expected), FieldText(actual)) << context << name;
    } else if constexpr (std::is_array_v<Field>) {
      EXPECT_EQ(Bytes(expected), Bytes(actual)) << context << name;
    } else {
      EXPECT_EQ(+expected, +actual) << context << name;
    }
  }

 private:
  template <std::size_t N>
  static std::vector<int> Bytes(const std::uint8_t (&field)[N]) {
    return std::vector<int>(field, field + N);
  }
  std::string context;
};

void ExpectSameQso(const QsoRecord& expected, const QsoRecord& actual, const std::string& context) {
  SameFields same(context);
  same("call", expected.call, actual.call);
  same("reserved", expected.reserved, actual.reserved);
  same("time_on", expected.time_on, actual.time_on);
  same("time_off", expected.time_off, actual.time_off);
  same("band", expected.band, actual.band);
  same("freq", expected.freq, actual.freq);
  same("mode", expected.mode, actual.mode);
  same("contest", expected.contest, actual.contest);
  same("tx_pwr", expected.tx_pwr, actual.tx_pwr);
  same("stx", expected.stx, actual.stx);
  same("srx", expected.srx, actual.srx);
  same("name", expected.name, actual.name);
  same("cqz", expected.cqz, actual.cqz);
  same("ituz", expected.ituz, actual.ituz);
  same("iota", expected.iota, actual.iota);
  same("qth", expected.qth, actual.qth);
  same("arrl_sect", expected.arrl_sect, actual.arrl_sect);
  same("state", expected.state, actual.state);
  same("rst_sent", expected.rst_sent, actual.rst_sent);
  same("rst_rcvd", expected.rst_rcvd, actual.rst_rcvd);
  same("ten_ten", expected.ten_ten, actual.ten_ten);
  same("arci_num", expected.arci_num, actual.arci_num);
  same("age", expected.age, actual.age);
  same("rcvd_exch", expected.rcvd_exch, actual.rcvd_exch);
  same("comment", expected.comment, actual.comment);
  same("prec", expected.prec, actual.prec);
  same("check", expected.check, actual.check);
  same("points", expected.points, actual.points);
  same("mult_count", expected.mult_count, actual.mult_count);
  same("mults", expected.mults, actual.mults);
  same("exch_word", expected.exch_word, actual.exch_word);
  same("qsl_sent", expected.qsl_sent, actual.qsl_sent);
  same("qsl_rcvd", expected.qsl_rcvd, actual.qsl_rcvd);
  same("aux_digit", expected.aux_digit, actual.aux_digit);
}

void ExpectSameHeader(const ContestHeader& expected, const ContestHeader& actual,
                      const std::string& context) {
  SameFields same(context);
  same("call", expected.call, actual.call);
  same("contest", expected.contest, actual.contest);
  same("category", expected.category, actual.category);
  same("power_cat", expected.power_cat, actual.power_cat);
  same("mode", expected.mode, actual.mode);
  same("contest_name", expected.contest_name, actual.contest_name);
  same("year", expected.year, actual.year);
  same("name", expected.name, actual.name);
  same("address", expected.address, actual.address);
  same("city", expected.city, actual.city);
  same("state", expected.state, actual.state);
  same("zip", expected.zip, actual.zip);
  same("club", expected.club, actual.club);
  same("ct_option", expected.ct_option, actual.ct_option);
  same("ct_text", expected.ct_text, actual.ct_text);
  same("radio", expected.radio, actual.radio);
  same("ct_settings", expected.ct_settings, actual.ct_settings);
  same("zone", expected.zone, actual.zone);
  same("gridsquare", expected.gridsquare, actual.gridsquare);
  same("prec", expected.prec, actual.prec);
  same("check", expected.check, actual.check);
  same("arrl_sect", expected.arrl_sect, actual.arrl_sect);
  same("fd_extra", expected.fd_extra, actual.fd_extra);
  same("fd_flag", expected.fd_flag, actual.fd_flag);
  same("text1", expected.text1, actual.text1);
  same("text2", expected.text2, actual.text2);
  same("text3", expected.text3, actual.text3);
  same("text4", expected.text4, actual.text4);
  same("text5", expected.text5, actual.text5);
  same("text6", expected.text6, actual.text6);
  same("ct_block1", expected.ct_block1, actual.ct_block1);
  same("ct_block2", expected.ct_block2, actual.ct_block2);
  same("ct_word1", expected.ct_word1, actual.ct_word1);
  same("ct_word2", expected.ct_word2, actual.ct_word2);
  same("ct_long", expected.ct_long, actual.ct_long);
  same("ct_pair", expected.ct_pair, actual.ct_pair);
  same("ct_block3", expected.ct_block3, actual.ct_block3);
}

// Writes a log with Ct8LogFile; false when the writer refused it.
bool WriteLog(const std::string& path, const ContestHeader& header,
              const std::vector<QsoRecord>& qsos) {
  Ct8LogFile writer;
  if (!writer.Open(path.c_str(), kModeWriteNew) || !writer.WriteHeader(header)) return false;
  for (const QsoRecord& qso : qsos) writer.WriteQso(qso);
  writer.Close();
  return !writer.WriteFailed();
}

TEST(Ct8RoundTrip, EveryCtContestKeepsTheFieldsItsLogsCarry) {
  Random random(20261207);
  ScratchDir dir;
  for (int contest : kCtContests) {
    std::string context = "contest " + std::to_string(contest) + ": ";
    HeaderPair header = RandomHeader(random, contest);
    std::vector<QsoPair> qsos;
    std::vector<QsoRecord> written;
    for (int i = 0; i < 300; ++i) {
      qsos.push_back(RandomQso(random, contest));
      written.push_back(qsos.back().written);
    }
    std::string path = dir.Path("contest" + std::to_string(contest) + ".bin");
    ASSERT_TRUE(WriteLog(path, header.written, written)) << context;
    EXPECT_EQ(ReadFile(path).size(), 1024u + 50u * qsos.size()) << context;

    Ct8LogFile reader;
    ASSERT_EQ(reader.Open(path.c_str(), kModeReadText), 1) << context;
    ExpectSameHeader(header.read, reader.Header(), context);
    std::vector<QsoRecord> read = ReadAllQsos(reader);
    ASSERT_EQ(read.size(), qsos.size()) << context;
    for (std::size_t i = 0; i < read.size(); ++i) {
      ExpectSameQso(qsos[i].read, read[i], context + "QSO " + std::to_string(i + 1) + " ");
    }
    EXPECT_EQ(reader.QsoCount(), static_cast<int>(qsos.size()));
  }
}

TEST(Ct8RoundTrip, UnknownContestIsReadBackAsCqww) {
  ScratchDir dir;
  ContestHeader header{};
  CopyCut(header.call, "N0QV");
  ASSERT_TRUE(WriteLog(dir.Path("none.bin"), header, {}));
  Ct8LogFile reader;
  ASSERT_EQ(reader.Open(dir.Path("none.bin").c_str(), kModeReadText), 1);
  EXPECT_EQ(reader.Header().contest, kContestCqww);
  EXPECT_STREQ(reader.Header().call, "N0QV");
}

TEST(Ct8RoundTrip, PrecedenceOtherThanABOrQComesBackAsQ) {
  ScratchDir dir;
  ContestHeader header{};
  header.contest = kContestSs;
  std::vector<QsoRecord> qsos;
  for (char precedence : {'A', 'B', 'Q', 'M', 'U', ' '}) {
    QsoRecord qso;
    qso.Clear();
    qso.SetCallText("K1ABC");
    qso.prec = precedence;
    qsos.push_back(qso);
  }
  ASSERT_TRUE(WriteLog(dir.Path("ss.bin"), header, qsos));
  Ct8LogFile reader;
  ASSERT_EQ(reader.Open(dir.Path("ss.bin").c_str(), kModeReadText), 1);
  std::string precedences;
  for (const QsoRecord& qso : ReadAllQsos(reader)) precedences += qso.prec;
  EXPECT_EQ(precedences, "ABQQQQ");
}

// A CQ WW log written by Ct8LogFile, with 25 QSOs.
std::vector<QsoRecord> WriteCqwwLog(const std::string& path) {
  Random random(7);
  HeaderPair header = RandomHeader(random, kContestCqww);
  std::vector<QsoRecord> qsos;
  for (int i = 0; i < 25; ++i) qsos.push_back(RandomQso(random, kContestCqww).written);
  EXPECT_TRUE(WriteLog(path, header.written, qsos));
  return qsos;
}

TEST(Ct8Quorvelcon, ConvertsEveryQsoAndHeaderFieldToTheSameBytes) {
  ScratchDir dir;
  WriteCqwwLog(dir.Path("in.bin"));
  auto run = RunQuorvelcon({"in.bin", "out.bin"}, dir.Root().string());
  EXPECT_EQ(run.output, kBanner + "Conversion Complete!\n\rProcessed 25 QSO's\n\r");
  EXPECT_EQ(run.exit_code, 0);
  Ct8LogFile in;
  Ct8LogFile out;
  ASSERT_EQ(in.Open(dir.Path("in.bin").c_str(), kModeReadText), 1);
  ASSERT_EQ(out.Open(dir.Path("out.bin").c_str(), kModeReadText), 1);
  ExpectSameHeader(in.Header(), out.Header(), "header ");
  std::vector<QsoRecord> in_qsos = ReadAllQsos(in);
  std::vector<QsoRecord> out_qsos = ReadAllQsos(out);
  ASSERT_EQ(in_qsos.size(), 25u);
  ASSERT_EQ(out_qsos.size(), 25u);
  for (std::size_t i = 0; i < in_qsos.size(); ++i) {
    ExpectSameQso(in_qsos[i], out_qsos[i], "QSO " + std::to_string(i + 1) + " ");
  }
  EXPECT_EQ(ReadFile(dir.Path("out.bin")), ReadFile(dir.Path("in.bin")));
}

TEST(Ct8Quorvelcon, VerboseRunPrintsEveryQsoNumber) {
  ScratchDir dir;
  WriteFile(dir.Path("in.bin"), Ct8File(Ct8Header(0), {Ct8Qso("K1ABC", 1, kModeCw, 599, "05"),
                                                       Ct8Qso("W2XYZ", 2, kModeCw, 599, "05"),
                                                       Ct8Qso("DL1AA", 3, kModeCw, 599, "14")}));
  auto run = RunQuorvelcon({"in.bin", "out.bin", "-v"}, dir.Root().string());
  EXPECT_EQ(run.output, kBanner + "1\n2\n3\nConversion Complete!\n\rProcessed 3 QSO's\n\r");
  EXPECT_EQ(run.exit_code, 0);
}

TEST(Ct8Quorvelcon, ExistingOutputIsLeftUntouched) {
  ScratchDir dir;
  WriteCqwwLog(dir.Path("in.bin"));
  const std::string existing("\x01\x02precious\0bytes", 16);
  WriteFile(dir.Path("out.bin"), existing);
  auto run = RunQuorvelcon({"in.bin", "out.bin"}, dir.Root().string());
  EXPECT_EQ(run.output,
            kBanner + "Output file could not be opened\n\rError opening output file out.bin");
  EXPECT_EQ(run.exit_code, 255);
  EXPECT_EQ(ReadFile(dir.Path("out.bin")), existing);
}

TEST(Ct8Quorvelcon, OutputInAMissingFolderFails) {
  ScratchDir dir;
  WriteCqwwLog(dir.Path("in.bin"));
  auto run = RunQuorvelcon({"in.bin", "missing/out.bin"}, dir.Root().string());
  EXPECT_EQ(run.output, kBanner +
                            "Output file could not be opened\n\r"
                            "Error opening output file missing/out.bin");
  EXPECT_EQ(run.exit_code, 255);
  EXPECT_FALSE(FileExists(dir.Path("missing")));
}

TEST(Ct8Quorvelcon, ShortHeaderIsAnInputThatCannotBeOpened) {
  ScratchDir dir;
  WriteFile(dir.Path("short.bin"), Ct8Header(0).Str().substr(0, 500));
  auto run = RunQuorvelcon({"short.bin", "out.bin"}, dir.Root().string());
  EXPECT_EQ(run.output, kBanner + "Error opening short.bin\n\rError opening input file short.bin");
  EXPECT_EQ(run.exit_code, 255);
  EXPECT_FALSE(FileExists(dir.Path("out.bin")));
}

// Reads test logs with the line format and writes CT 8 logs.
std::unique_ptr<LogFile> LineToCt8(int code, Direction direction) {
  if (direction == Direction::kInput) return testing::CreateLineFormat(code, direction);
  if (code == kFormatCt8) return std::make_unique<Ct8LogFile>();
  return nullptr;
}

TEST(Ct8Converter, ContestWithoutACtNumberIsNotSupportedAndLeavesNoFile) {
  ScratchDir dir;
  WriteFile(dir.Path("in.adi"), "TESTLOG 16\nK1ABC\n");
  std::string messages;
  Converter converter(LineToCt8);
  converter.SetMessageHook(
      [&messages](FactoryMessage, const std::string& text) { messages += text; });
  ASSERT_EQ(converter.OpenInput(dir.Path("in.adi").c_str()), 1);
  EXPECT_EQ(converter.OpenOutput(dir.Path("out.bin").c_str(), 0), 0);
  EXPECT_EQ(messages, "Contest not supported by output file\n\r");
  converter.Finish();
  EXPECT_FALSE(FileExists(dir.Path("out.bin")));
}

TEST(Ct8Example, QuickStartLogIsACqwwCwLogOfAContestWeekend) {
  std::string path = std::string(QUORVEL_SOURCE_DIR) + "/examples/cqww-cw.bin";
  Ct8LogFile reader;
  ASSERT_EQ(reader.Open(path.c_str(), kModeReadText), 1);
  EXPECT_EQ(reader.Header().contest, kContestCqww);
  EXPECT_EQ(reader.Header().mode, kModeCw);
  EXPECT_STREQ(reader.Header().call, "N0QV");
  std::vector<QsoRecord> qsos = ReadAllQsos(reader);
  EXPECT_EQ(reader.Header().zone, 4);
  EXPECT_EQ(qsos.size(), 21u);
  std::int32_t previous = 0;
  for (const QsoRecord& qso : qsos) {
    EXPECT_EQ(qso.mode, kModeCw) << qso.call;
    EXPECT_EQ(qso.rst_rcvd, 599) << qso.call;
    EXPECT_TRUE(qso.cqz >= 1 && qso.cqz <= 40) << qso.call;
    EXPECT_TRUE(qso.band == 1 || qso.band == 2 || qso.band == 3 || qso.band == 5 || qso.band == 7 ||
                qso.band == 9)
        << qso.call;
    EXPECT_GT(qso.time_on, previous) << qso.call;
    previous = qso.time_on;
  }
  ASSERT_FALSE(qsos.empty());
  EXPECT_LT(qsos.back().time_on - qsos.front().time_on, 48 * 3600);
}

}  // namespace
}  // namespace quorvel
