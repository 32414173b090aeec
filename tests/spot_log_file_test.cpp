// DX Cluster and DX Info spot files: lines laid out column by column from the formats' layouts,
// read through the objects the format table makes, with the tests' own country file.
#include "formats/spot_log_file.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/civil_time.h"
#include "core/format_factory.h"
#include "log_test_support.h"

namespace quorvel {
namespace {

using testing::LogWorkspace;
using testing::WorkingFolder;

// A DX Cluster line of `width` characters: frequency, call, date and time at their columns.
std::string ClusterLine(const std::string& frequency, const std::string& call,
                        const std::string& date = "05-Nov-2000", const std::string& time = "2103",
                        std::size_t width = 85) {
  std::string line(width, ' ');
  auto put = [&line](std::size_t at, const std::string& text) {
    line.replace(at, text.size(), text);
  };
  put(0, frequency);
  put(10, call);
  put(23, date);
  put(35, time + "Z");
  put(41, "CQ DX de K1TTT");
  return line + "\n";
}

// A DX Info line of 79 characters from its words.
std::string InfoLine(const std::string& words) {
  std::string line = words;
  line.resize(79, ' ');
  return line + "\n";
}

std::int64_t Utc(int year, int month, int day, int hour, int minute) {
  return UtcSeconds(year, month, day, hour, minute, 0);
}

class SpotReading : public ::testing::Test {
 protected:
  std::vector<QsoRecord> Read(int format, const std::string& bytes) {
    std::string path = workspace.Write("spots" + std::to_string(files++) + ".dat", bytes);
    WorkingFolder folder(workspace.Folder());
    reader = CreateLogFile(format, Direction::kInput);
    if (!reader) return {};
    return testing::ReadThrough(*reader, path, 0);
  }
  QsoRecord Only(int format, const std::string& bytes) {
    std::vector<QsoRecord> read = Read(format, bytes);
    EXPECT_EQ(read.size(), 1u);
    return read.empty() ? QsoRecord{} : read[0];
  }

  LogWorkspace workspace;
  std::unique_ptr<LogFile> reader;
  int files = 0;
};

// A spot of each format: frequency, band, mode, call, time, report and zone, contest CQ WW.
TEST_F(SpotReading, SpotGivesFrequencyBandModeCallTimeReportAndZone) {
  const struct {
    int format;
    std::string line;
    std::uint32_t freq;
    int band, cqz;
    const char* call;
    std::int64_t time;
  } cases[] = {
      {kFormatDxCluster, ClusterLine("14025.3", "DL1ABC"), 140253u, 5, 14, "DL1ABC",
       Utc(2000, 11, 5, 21, 3)},
      {kFormatDxInfo, InfoLine("OK 7005 JA1XYZ 05-Nov-99 2103 de W1AW"), 70050u, 3, 25, "JA1XYZ",
       Utc(1999, 11, 5, 21, 3)},
  };
  for (const auto& c : cases) {
    QsoRecord qso = Only(c.format, c.line);
    EXPECT_EQ(qso.freq, c.freq);
    EXPECT_EQ(qso.band, c.band);
    EXPECT_EQ(qso.mode, kModeCw);
    EXPECT_EQ(qso.rst_rcvd, 599);
    EXPECT_EQ(qso.cqz, c.cqz);
    EXPECT_STREQ(qso.call, c.call);
    EXPECT_EQ(qso.time_on, c.time);
    EXPECT_EQ(reader->Header().contest, kContestCqww);
    EXPECT_EQ(reader->QsoCount(), 1);
  }
}

TEST_F(SpotReading, ClusterCallIsColumnsTenToTwentyTwoWithoutTrailingBlanks) {
  struct Case {
    std::string columns;  // from column 10
    const char* call;
  } const cases[] = {{"K1ABC        ", "K1ABC"},
                     {"VP2E/K1ABC/P ", "VP2E/K1ABC/P"},
                     {"ABCDEFGHIJKLM", "ABCDEFGHIJKLM"},
                     {"JA1 XYZ      ", "JA1 XYZ"},
                     {std::string("W1A\0W", 5), "W1A"}};
  for (const Case& c : cases) {
    std::string line = ClusterLine("7005.0", "");
    line.replace(10, c.columns.size(), c.columns);
    EXPECT_STREQ(Only(kFormatDxCluster, line).call, c.call) << c.call;
  }
}

TEST_F(SpotReading, ClusterLinesOneCharacterShortFailTheCheckOnTheSecondLine) {
  std::string full = ClusterLine("14025.0", "K1ABC") + ClusterLine("7005.0", "W2XX") +
                     ClusterLine("21025.0", "JA1AA");
  EXPECT_EQ(Read(kFormatDxCluster, full).size(), 3u);
  std::string short_lines = ClusterLine("14025.0", "K1ABC", "05-Nov-2000", "2103", 84) +
                            ClusterLine("7005.0", "W2XX", "05-Nov-2000", "2103", 84) +
                            ClusterLine("21025.0", "JA1AA", "05-Nov-2000", "2103", 84);
  std::vector<QsoRecord> read = Read(kFormatDxCluster, short_lines);
  ASSERT_EQ(read.size(), 1u);
  EXPECT_STREQ(read[0].call, "K1ABC");
}

TEST_F(SpotReading, LastSpotWithoutLineEndIsKeptWhenItPassesTheCheck) {
  std::string two = ClusterLine("14025.0", "K1ABC") + ClusterLine("7005.0", "W2XX");
  two.pop_back();
  std::vector<QsoRecord> read = Read(kFormatDxCluster, two);
  ASSERT_EQ(read.size(), 2u);
  EXPECT_STREQ(read[1].call, "W2XX");
  // Cut before the 'Z' of the time, the last line no longer passes.
  EXPECT_EQ(Read(kFormatDxCluster, two.substr(0, 86 + 39)).size(), 1u);
  EXPECT_EQ(Read(kFormatDxCluster, two.substr(0, 86 + 40)).size(), 2u);
  // The same for DX Info, and carriage returns before the line ends change nothing.
  std::string info = InfoLine("O 7005 K1ABC 05-Nov-99 2103") + InfoLine("O 14025 W2XX 5-Nov-99");
  info.pop_back();
  EXPECT_EQ(Read(kFormatDxInfo, info).size(), 2u);
  std::string crlf = InfoLine("O 7005 K1ABC 05-Nov-99 2103");
  crlf.insert(crlf.size() - 1, "\r");
  EXPECT_EQ(Read(kFormatDxInfo, crlf + crlf).size(), 2u);
}

// Spots read where they lie in the read buffer, or copied when a line runs past its end or
// holds a carriage return: both give the same QSOs.
TEST_F(SpotReading, SpotsAcrossReadBuffersAndWithCarriageReturnsReadAlike) {
  std::string cluster, info;
  for (int i = 0; i < 1000; ++i) {  // more than one read buffer of lines
    std::string call = "K" + std::to_string(i) + "AB";
    cluster += ClusterLine(std::to_string(7000 + i) + ".5", call);
    info += InfoLine("O " + std::to_string(14000 + i) + ".5 " + call + " 05-Nov-99 2103");
  }
  auto with_crlf = [](std::string text) {
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2)) {
      text.insert(at, "\r");
    }
    return text;
  };
  for (int format : {kFormatDxCluster, kFormatDxInfo}) {
    const std::string& lines = format == kFormatDxCluster ? cluster : info;
    std::vector<QsoRecord> plain = Read(format, lines);
    std::vector<QsoRecord> crlf = Read(format, with_crlf(lines));
    ASSERT_EQ(plain.size(), 1000u);
    ASSERT_EQ(crlf.size(), plain.size());
    for (std::size_t i = 0; i < plain.size(); ++i) {
      EXPECT_EQ("K" + std::to_string(i) + "AB", plain[i].Call());
      EXPECT_EQ(crlf[i].Call(), plain[i].Call());
      EXPECT_EQ(crlf[i].freq, plain[i].freq);
      EXPECT_EQ(crlf[i].time_on, plain[i].time_on);
    }
  }
}

TEST_F(SpotReading, ClusterChecksEndTheLog) {
  std::string good = ClusterLine("14025.0", "K1ABC");
  std::string no_digit = "A" + good.substr(1);
  std::string no_dash = good, no_zulu = good;
  no_dash[25] = ' ';
  no_zulu[39] = 'z';
  for (const std::string& bad : {no_digit, no_dash, no_zulu}) {
    EXPECT_EQ(Read(kFormatDxCluster, good + bad + good).size(), 1u);
  }
  EXPECT_EQ(Read(kFormatDxCluster, "").size(), 0u);
}

TEST_F(SpotReading, ClusterDatesAndTimesFromTheirColumns) {
  struct Case {
    std::string date, time;
    std::int64_t time_on;
    int undated;
  } const cases[] = {
      {"05-Nov-2000", "2103", Utc(2000, 11, 5, 21, 3), 0},
      {"29-Feb-2024", "0000", Utc(2024, 2, 29, 0, 0), 0},
      {"31-Dec-2099", "2359", Utc(2099, 12, 31, 23, 59), 0},
      {"05-nov-2000", "2103", Utc(2000, 1, 5, 21, 3), 0},  // month names with case
      {"05-Xyz-2038", "0101", Utc(2038, 1, 5, 1, 1), 0},
      {" 5-Nov-2000", "2103", Utc(2000, 11, 5, 21, 3), 0},
      {"30-Feb-2000", "2103", Utc(1970, 1, 1, 21, 3), 1},
      {"00-Nov-2000", "2103", Utc(1970, 1, 1, 21, 3), 1},
      {"05-Nov-2000", "2403", Utc(2000, 11, 5, 0, 0), 1},
      {"05-Nov-2000", "2160", Utc(2000, 11, 5, 0, 0), 1},
      {"05-Nov-1969", "2103", Utc(1969, 11, 5, 21, 3), 0},
  };
  for (const Case& c : cases) {
    QsoRecord qso = Only(kFormatDxCluster, ClusterLine("14025.0", "K1ABC", c.date, c.time));
    EXPECT_EQ(qso.time_on, c.time_on) << c.date << " " << c.time;
    EXPECT_EQ(reader->Notes().undated_qsos, c.undated) << c.date << " " << c.time;
  }
}

TEST_F(SpotReading, InfoRecordNeedsItsMarkAsFirstWord) {
  EXPECT_EQ(Read(kFormatDxInfo, InfoLine("X 7005 K1ABC 05-Nov-99 2103")).size(), 0u);
  EXPECT_EQ(Read(kFormatDxInfo, InfoLine(" O 7005 K1ABC 05-Nov-99 2103")).size(), 1u);
}

TEST_F(SpotReading, InfoYearsAndShortRecords) {
  struct Case {
    std::string words;
    std::int64_t time_on;
    int undated;
  } const cases[] = {
      {"O 7005 K1ABC 05-Nov-99 2103", Utc(1999, 11, 5, 21, 3), 0},
      {"O 7005 K1ABC 05-Nov-05 2103", Utc(2005, 11, 5, 21, 3), 0},
      {"O 7005 K1ABC 05-Nov-37 2103", Utc(2037, 11, 5, 21, 3), 0},
      {"O 7005 K1ABC 05-Nov-38 2103", Utc(2038, 11, 5, 21, 3), 0},
      {"O 7005 K1ABC 05-Nov-69 2103", Utc(2069, 11, 5, 21, 3), 0},
      {"O 7005 K1ABC 05-Nov-70 2103", Utc(1970, 11, 5, 21, 3), 0},
      {"O 7005 K1ABC 05-Nov-124 2103", Utc(2024, 11, 5, 21, 3), 0},
      {"O 7005 K1ABC 05-Nov-2005 2103", Utc(2005, 11, 5, 21, 3), 0},
      {"O 7005 K1ABC 05 Nov 99 2103", Utc(1999, 11, 5, 21, 3), 0},
      {"O 7005 K1ABC 05", Utc(2000, 1, 5, 0, 0), 0},  // four words: the others read as 0
      {"O 7005 K1ABC", Utc(1970, 1, 1, 0, 0), 1},
      {"O 7005 K1ABC 05-Nov-99 21", Utc(1999, 11, 5, 21, 0), 0},
      {"O 7005 K1ABC 05-Nov-99 7", Utc(1999, 11, 5, 7, 0), 0},
      {"O 7005 K1ABC 05-Nov-99 2199", Utc(1999, 11, 5, 0, 0), 1},
      {"O 7005 K1ABC 05-Nov-99 99999999999999999999", Utc(1999, 11, 5, 0, 0), 1},
      {"O 7005 K1ABC 05-Nov-99999999999999999999 2103", Utc(1970, 1, 1, 21, 3), 1},
  };
  for (const Case& c : cases) {
    QsoRecord qso = Only(kFormatDxInfo, InfoLine(c.words));
    EXPECT_EQ(qso.time_on, c.time_on) << c.words;
    EXPECT_EQ(reader->Notes().undated_qsos, c.undated) << c.words;
    EXPECT_STREQ(qso.call, c.words.size() > 8 ? "K1ABC" : "") << c.words;
  }
  // A record of 79 characters of one word: the time word is looked for within the record.
  QsoRecord qso = Only(kFormatDxInfo, InfoLine("O" + std::string(78, '1')) + InfoLine("X"));
  EXPECT_STREQ(qso.call, "");
}

TEST_F(SpotReading, SpotFrequencyTableGivesBandAndMode) {
  struct Case {
    std::int64_t khz;
    int band, mode;
  } const cases[] = {
      {1, 1, kModeCw},        {1830, 1, kModeCw},       {1831, 1, kModeSsb},
      {1900, 1, kModeSsb},    {1901, 2, kModeCw},       {10120, 4, kModeCw},
      {12000, 5, kModeCw},    {18150, 6, kModeSsb},     {28300, 9, kModeCw},
      {50100, 10, kModeCw},   {52000, 10, kModeFm},     {146520, 12, kModeFm},
      {432100, 14, kModeSsb}, {24250000, 21, kModeSsb}, {24250001, 0, kModeNone},
      {0, 0, kModeNone},      {-7005, 0, kModeNone},
  };
  for (const Case& c : cases) {
    SpotBand band = SpotBandFromKhz(c.khz);
    EXPECT_EQ(band.band, c.band) << c.khz;
    EXPECT_EQ(band.mode, c.mode) << c.khz;
  }
}

TEST_F(SpotReading, FrequenciesReportsAndZonesOfBothFormats) {
  struct Case {
    std::string frequency;
    std::uint32_t freq;
    int band, rst_rcvd;
  } const cases[] = {
      {"14200.0", 142000, 5, 59},     {"18150", 181500, 6, 59},           {"0.0", 0, 0, 59},
      {"29999999", 299999990, 0, 59}, {"429496729", 4294967290, 0, 59},   {"429496730", 0, 0, 59},
      {"1830.9", 18309, 1, 599},      {"99999999999999999999", 0, 0, 59},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.frequency);
    std::string info = InfoLine("O " + c.frequency + " VE3XYZ 05-Nov-99 2103");
    std::string cluster = ClusterLine(c.frequency.substr(0, 10), "VE3XYZ");
    for (const QsoRecord& qso : {Only(kFormatDxInfo, info), Only(kFormatDxCluster, cluster)}) {
      EXPECT_EQ(qso.freq, c.freq);
      EXPECT_EQ(qso.band, c.band);
      EXPECT_EQ(qso.rst_rcvd, c.rst_rcvd);
      EXPECT_EQ(qso.cqz, 5);
    }
  }
  EXPECT_EQ(Only(kFormatDxInfo, InfoLine("O 14025 X1ABC 05-Nov-99 2103")).cqz, 0);
}

TEST_F(SpotReading, DxInfoCannotBeWritten) {
  std::unique_ptr<LogFile> writer = CreateLogFile(kFormatDxInfo, Direction::kOutput);
  ASSERT_TRUE(writer);
  ASSERT_TRUE(writer->Open(workspace.Path("out.dat").c_str(), kModeWriteNew));
  EXPECT_EQ(writer->WriteHeader(testing::HeaderFor(kContestCqww)), 0);
  EXPECT_FALSE(CreateLogFile(kFormatDxCluster, Direction::kOutput));
}

}  // namespace
}  // namespace quorvel
