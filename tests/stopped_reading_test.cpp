// Logs cut short or damaged in the middle: each reader keeps the QSOs before the damage and
// notes the byte it could not read; a whole log notes no stop. Whole conversions to ADIF, from
// the golden inputs and small logs written here, cut or overwritten at a record or a line.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

#include "core/converter.h"
#include "formats/ct8_log_file.h"
#include "formats/ct9_log_file.h"
#include "formats/ct_old_log_file.h"
#include "formats/na_log_file.h"
#include "test_support.h"

namespace quorvel {
namespace {

using testing::ReadFile;

// Where the damage goes in a log's bytes.
using Locate = std::function<std::int64_t(const std::string& bytes)>;

Locate Record(std::size_t header_size, std::size_t record_size, std::size_t index) {
  return [=](const std::string&) {
    return static_cast<std::int64_t>(header_size + index * record_size);
  };
}

// The first byte of line `index`, counting from 0.
Locate Line(std::size_t index) {
  return [index](const std::string& bytes) {
    std::size_t at = 0;
    for (std::size_t line = 0; line < index; ++line) at = bytes.find('\n', at) + 1;
    return static_cast<std::int64_t>(at);
  };
}

struct Damage {
  enum Kind { kNone, kCut, kOverwrite } kind = kNone;
  std::size_t into = 0;  // bytes past the located byte where the cut or the new text begins
  std::string text;      // what overwrites the log there
};
Damage Whole() {
  return {};
}
Damage CutAfter(std::size_t into) {
  return {Damage::kCut, into, ""};
}
Damage Overwrite(std::size_t into, std::string text) {
  return {Damage::kOverwrite, into, std::move(text)};
}

struct StopCase {
  const char* name;
  std::string log;  // the whole log's bytes
  const char* input;
  Locate at;
  Damage damage;
  int qsos;    // QSOs converted
  bool stops;  // whether reading stops at the located byte
  const char* options = "";
};
void PrintTo(const StopCase& row, std::ostream* out) {
  *out << row.name;
}

std::string Golden(const std::string& path) {
  return ReadFile(std::string(QUORVEL_SOURCE_DIR) + "/" + path);
}

std::string Damaged(const StopCase& row, std::int64_t offset) {
  std::string bytes = row.log;
  std::size_t at = static_cast<std::size_t>(offset) + row.damage.into;
  if (row.damage.kind == Damage::kCut) bytes.resize(at);
  if (row.damage.kind == Damage::kOverwrite)
    bytes.replace(at, row.damage.text.size(), row.damage.text);
  return bytes;
}

const std::string kTrLogPage =
    "2024 CQ WW Contest N0QV\r\n\r\n"
    " Band    Date    Time  QSO#  Call worked   Sent Rcvd Zone           Mults   Pts\r\n"
    " ----    ----    ----  ----  -----------   ---- ---- ----           -----   ---\r\n"
    " 20CW  23-Nov-24 12:00    1  K1AA0          599  599  01                     0\r\n"
    " 40CW  23-Nov-24 12:01    2  W2BB1          599  599  02                     0\r\n"
    " 15CW  23-Nov-24 12:02    3  VE3CC2         599  599  03                     0\r\n";

const std::string kArrlLog =
    "10  CW  14/12/124 0002 1      DL1AA         599 001   599 MA    * 2  0\r\n"
    "10  CW  14/12/124 0003 2      W1XYZ         599       599 123     2  0\r\n"
    "10  CW  14/12/124 0004 3      K2ABC         599       599 NJ      2  0\r\n";

std::string FirstBytes(const std::string& bytes, std::size_t count) {
  return bytes.substr(0, count);
}

std::vector<StopCase> Cases() {
  const std::string ct8 = Golden("examples/cqww-cw.bin");
  const std::string ct9 = Golden("tests/golden/cases/ct-older-logs/in-ct9.bin");
  const std::string ct_old = Golden("tests/golden/cases/ct-older-logs/in-old.bin");
  const std::string na_old = Golden("tests/golden/cases/na-logs/in-old.qdf");
  const std::string na_new = Golden("tests/golden/cases/na-logs/in-naqp.qdf");
  const std::string cluster = Golden("tests/golden/cases/spot-logs/in-cluster.dat");
  // The spot file's six good records, before the one that fails its mark.
  const std::string info = FirstBytes(Golden("tests/golden/cases/spot-logs/in-info.dat"), 486);
  const std::string wrtc = Golden("tests/golden/cases/wrtc-logs/in-wrtc.log");
  const std::string adif = Golden("tests/golden/cases/trlog-pages/in.adi");
  const auto ct8_record = [](std::size_t i) { return Record(kCt8HeaderSize, kCt8RecordSize, i); };
  const auto ct9_record = [](std::size_t i) { return Record(kCt9HeaderSize, kCt8RecordSize, i); };
  const auto old_record = [](std::size_t i) {
    return Record(kCtOldHeaderSize, kCtOldRecordSize, i);
  };
  const auto na_record = [](std::size_t i) { return Record(kNaHeaderSize, kNaRecordSize, i); };
  return {
      {"Ct8Whole", ct8, "in.bin", ct8_record(0), Whole(), 21, false},
      {"Ct8CutInRecord", ct8, "in.bin", ct8_record(7), CutAfter(20), 7, true},
      {"Ct8CutAfterRecord", ct8, "in.bin", ct8_record(7), CutAfter(0), 7, false},
      {"Ct9Whole", ct9, "in.bin", ct9_record(0), Whole(), 3, false},
      {"Ct9CutInRecord", ct9, "in.bin", ct9_record(2), CutAfter(1), 2, true},
      {"CtOldWhole", ct_old, "in.bin", old_record(0), Whole(), 3, false},
      {"CtOldCutInRecord", ct_old, "in.bin", old_record(1), CutAfter(36), 1, true},
      {"NaOlderWhole", na_old, "in.qdf", na_record(0), Whole(), 4, false},
      {"NaOlderCutInRecord", na_old, "in.qdf", na_record(3), CutAfter(39), 3, true},
      {"NaNewerWhole", na_new, "in.qdf", na_record(0), Whole(), 2, false},
      {"NaNewerCutInRecord", na_new, "in.qdf", na_record(0), CutAfter(10), 0, true},
      {"DxClusterWhole", cluster, "in.dat", Line(0), Whole(), 7, false},
      {"DxClusterDamagedRecord", cluster, "in.dat", Line(3), Overwrite(0, "?"), 3, true},
      {"DxClusterCutInRecord", cluster, "in.dat", Line(4), CutAfter(30), 4, true},
      {"DxClusterCtrlZBetweenRecords", cluster, "in.dat", Line(2), Overwrite(0, "\x1A"), 2, true},
      {"DxClusterTrailingBlankLines", cluster + "\n\n  \n", "in.dat", Line(0), Whole(), 7, false},
      {"DxInfoWhole", info, "in.dat", Line(0), Whole(), 6, false},
      {"DxInfoDamagedRecord", info, "in.dat", Line(2), Overwrite(0, "X"), 2, true},
      {"WrtcWhole", wrtc, "in.log", Line(0), Whole(), 10, false},
      {"WrtcCtrlZInTheMiddle", wrtc, "in.log", Line(6), Overwrite(0, "\x1A"), 6, true},
      {"WrtcCtrlZPaddingAtTheEnd", wrtc + "\x1A\x1A\0\r\n", "in.log", Line(0), Whole(), 10, false},
      {"WrtcUnknownMode", wrtc, "in.log", Line(4), Overwrite(15, "FM "), 4, true},
      {"AdifWhole", adif, "in.adi", Line(0), Whole(), 120, false},
      {"AdifCutInRecord", adif, "in.adi", Line(5 + 9), CutAfter(40), 9, true},
      {"AdifTrailerAfterLastRecord", adif + "<app_x_eof>\r\n", "in.adi", Line(0), Whole(), 120,
       false},
      {"AdifCutInItsOnlyRecord", "ADIF\r\n<call:4>W1AW <qso_date:8>2024", "in.adi", Line(1),
       Whole(), 0, true},
      {"AdifReportWithoutContacts", "Report\r\n<programid:4>LoTW\r\n<app_lotw_eof>\r\n", "in.adi",
       Line(0), Whole(), 0, false},
      // The formats that pass over lines they cannot read (TR Log) or read every line (ARRL)
      // never stop before the end of the file.
      {"TrLogWhole", kTrLogPage, "in.dat", Line(0), Whole(), 3, false},
      {"TrLogDamagedLine", kTrLogPage, "in.dat", Line(5), Overwrite(0, std::string(40, '\x01')), 2,
       false},
      {"TrLogCtrlZInTheMiddle", kTrLogPage, "in.dat", Line(5), Overwrite(0, "\x1A"), 1, true},
      {"ArrlCtrlZInTheMiddle", kArrlLog, "in.log", Line(2), Overwrite(0, "\x1A"), 2, true,
       "-cARRL10"},
      {"ArrlWhole", kArrlLog, "in.log", Line(0), Whole(), 3, false, "-cARRL10"},
      {"ArrlDamagedLine", kArrlLog, "in.log", Line(1), Overwrite(20, "\x7f\x7f"), 3, false,
       "-cARRL10"},
  };
}

class StoppedReading : public ::testing::TestWithParam<StopCase> {};

TEST_P(StoppedReading, KeepsTheQsosBeforeTheDamageAndNotesItsByte) {
  const StopCase& row = GetParam();
  testing::ScratchDir dir;
  std::int64_t offset = row.at(row.log);
  std::string bytes = Damaged(row, offset);
  testing::WriteFile(dir.Path(row.input), bytes);
  Converter converter;
  std::string options = row.options;
  converter.ParseOptions(options.data());
  ASSERT_TRUE(converter.OpenInput(dir.Path(row.input).c_str()));
  ASSERT_TRUE(converter.OpenOutput(dir.Path("out.adi").c_str(), kFormatNone));
  RunToEnd(converter);
  EXPECT_EQ(converter.Converted(), row.qsos);
  EXPECT_EQ(converter.Notes().stopped_at, row.stops ? offset : -1);
  EXPECT_EQ(converter.InputSize(), static_cast<std::int64_t>(bytes.size()));
}

INSTANTIATE_TEST_SUITE_P(Readers, StoppedReading, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<StopCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(StoppedReadingText, NamesTheByteAndTheFileSize) {
  EXPECT_EQ(StoppedReadingText(1234, 5000),
            "Stopped at byte 1234 of 5000: the rest of the input could not be read");
}

}  // namespace
}  // namespace quorvel
