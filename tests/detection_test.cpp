#include <gtest/gtest.h>

#include <string>

#include "core/format_factory.h"
#include "core/log_stream.h"
#include "test_support.h"

namespace quorvel {
namespace {

using testing::ScratchDir;
using testing::WriteFile;

// A file of at least 80 bytes, blank-filled, with the given bytes placed at their offsets.
std::string Bytes(std::initializer_list<std::pair<int, std::string>> placed,
                  std::size_t size = 80) {
  std::string bytes(size, ' ');
  for (const auto& [at, text] : placed)
    bytes.replace(static_cast<std::size_t>(at), text.size(), text);
  return bytes;
}

class Detection : public ::testing::Test {
 protected:
  int Detect(const std::string& name, const std::string& bytes) {
    WriteFile(dir.Path(name), bytes);
    return DetectInputFormat(dir.Path(name).c_str());
  }
  ScratchDir dir;
};

TEST_F(Detection, BinFilesAreAlwaysSomeCtVersion) {
  EXPECT_EQ(Detect("W1AW.BIN", Bytes({{32, "CT 9.0"}})), kFormatCt9);
  EXPECT_EQ(Detect("W1AW.bin", Bytes({{32, "CT 8.19"}})), kFormatCt8);
  EXPECT_EQ(Detect("empty.bin", ""), kFormatCtOld);
  EXPECT_EQ(Detect("other.Bin", Bytes({{32, "ct 8.19"}})), kFormatCtOld);
}

TEST_F(Detection, DatFilesByTitleLineSpotShapeOrLetter) {
  EXPECT_EQ(Detect("log.dat", Bytes({{2, " band    date    time  qso#  call"}})), kFormatTrLog);
  EXPECT_EQ(Detect("spots.dat", Bytes({{0, "1"}, {25, "-"}, {39, "Z"}})), kFormatDxCluster);
  EXPECT_EQ(Detect("info.dat", Bytes({{0, "O"}})), kFormatDxInfo);
  EXPECT_EQ(Detect("digit.dat", Bytes({{0, "1"}})), kFormatNone);
  EXPECT_EQ(Detect("lower.dat", Bytes({{0, "o"}})), kFormatNone);
}

TEST_F(Detection, TrLogMarkerNeedsItsExactBlanksAndIsSoughtInTheFirst79Bytes) {
  EXPECT_EQ(Detect("a.dat", Bytes({{0, "BAND   DATE    TIME  QSO#  CALL"}})), kFormatNone);
  EXPECT_EQ(Detect("b.dat", Bytes({{48, "BAND    DATE    TIME  QSO#  CALL"}})), kFormatNone);
  EXPECT_EQ(Detect("c.dat", Bytes({{47, "BAND    DATE    TIME  QSO#  CALL"}})), kFormatTrLog);
}

TEST_F(Detection, QdfFilesByFirstByte) {
  EXPECT_EQ(Detect("a.qdf", Bytes({{0, "Z"}})), kFormatNaNew);
  EXPECT_EQ(Detect("b.qdf", Bytes({{0, "a"}})), kFormatNaNew);
  EXPECT_EQ(Detect("c.qdf", Bytes({{0, "\xF0"}})), kFormatNaNew);
  EXPECT_EQ(Detect("d.qdf", Bytes({{0, "P"}})), kFormatNaOld);
  EXPECT_EQ(Detect("e.qdf", Bytes({{0, "Y"}})), kFormatNaOld);
  EXPECT_EQ(Detect("f.qdf", Bytes({{0, "O"}})), kFormatNone);
}

TEST_F(Detection, LogFilesWrtcBeforeArrl) {
  EXPECT_EQ(Detect("a.log", Bytes({{22, "/"}, {34, ":"}, {8, "/"}})), kFormatWrtc);
  EXPECT_EQ(Detect("b.log", Bytes({{9, "/"}})), kFormatArrl);
  EXPECT_EQ(Detect("c.log", Bytes({{10, "/"}})), kFormatArrl);
  EXPECT_EQ(Detect("d.log", Bytes({{11, "/"}})), kFormatNone);
}

TEST_F(Detection, LogFilesBeginningWithTheCabrilloStartAreCabrilloBeforeWrtcAndArrl) {
  EXPECT_EQ(Detect("a.log", Bytes({{0, "START-OF-LOG: 3.0"}, {22, "/"}, {34, ":"}})),
            kFormatCabrillo);
  EXPECT_EQ(Detect("b.LOG", Bytes({{0, "START-OF-LOG: 2.0"}})), kFormatCabrillo);
  EXPECT_EQ(Detect("c.log", Bytes({{0, "start-of-log: 3.0"}})), kFormatNone);
  EXPECT_EQ(Detect("e.log", Bytes({{0, "\xEF\xBB\xBFSTART-OF-LOG: 3.0"}})), kFormatCabrillo);
  EXPECT_EQ(Detect("d.log", Bytes({{1, "START-OF-LOG:"}})), kFormatNone);
  EXPECT_EQ(OutputFormatFromExtension("a.log"), kFormatArrl);
}

TEST_F(Detection, AdiAndCbrByExtensionAloneAndEverythingElseIsNothing) {
  EXPECT_EQ(Detect("x.ADI", ""), kFormatAdif);
  EXPECT_EQ(Detect("x.Cbr", "anything"), kFormatCabrillo);
  EXPECT_EQ(Detect("x.xyz", Bytes({{32, "CT 8."}})), kFormatNone);
  EXPECT_EQ(Detect("noextension", Bytes({{32, "CT 8."}})), kFormatNone);
  EXPECT_EQ(DetectInputFormat(dir.Path("missing.adi").c_str()), kFormatAdif);
  EXPECT_EQ(DetectInputFormat(nullptr), kFormatNone);
}

TEST_F(Detection, DetectTypeLeavesTheReadPositionAlone) {
  WriteFile(dir.Path("a.bin"), Bytes({{32, "CT 8.19"}}, 200));
  LogStream stream;
  stream.Open(dir.Path("a.bin").c_str(), kModeReadBinary);
  char block[50];
  stream.ReadBlock(block, sizeof block);
  EXPECT_EQ(stream.DetectType(), kFormatCt8);
  EXPECT_EQ(stream.Tell(), 50);
  EXPECT_FALSE(stream.IsEof());
}

TEST(OutputFormat, ComesFromTheExtensionInAnyCase) {
  EXPECT_EQ(OutputFormatFromExtension("OUT.ADI"), kFormatAdif);
  EXPECT_EQ(OutputFormatFromExtension("out.adi"), kFormatAdif);
  EXPECT_EQ(OutputFormatFromExtension("out.Adi"), kFormatAdif);
  EXPECT_EQ(OutputFormatFromExtension("a.bin"), kFormatCt8);
  EXPECT_EQ(OutputFormatFromExtension("a.dbf"), kFormatDbase);
  EXPECT_EQ(OutputFormatFromExtension("a.dat"), kFormatTrLog);
  EXPECT_EQ(OutputFormatFromExtension("a.sdf"), kFormatDxBase);
  EXPECT_EQ(OutputFormatFromExtension("a.log"), kFormatArrl);
  EXPECT_EQ(OutputFormatFromExtension("a.cbr"), kFormatCabrillo);
  EXPECT_EQ(OutputFormatFromExtension("out.txt"), kFormatNone);
  EXPECT_EQ(OutputFormatFromExtension("noextension"), kFormatNone);
  EXPECT_EQ(OutputFormatFromExtension("dir.adi/file"), kFormatNone);
}

}  // namespace
}  // namespace quorvel
