// WRTC logs: lines laid out from the format's words (the date at column 18, the time at 29),
// read through the object the format table makes.
#include "formats/wrtc_log_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/civil_time.h"
#include "core/format_factory.h"
#include "log_test_support.h"

namespace quorvel {
namespace {

// One QSO line: number, own call, band, mode, date, time, worked call, report, exchange; the
// date at column 18 where the words before it leave room.
std::string WrtcLine(int number, const std::string& band = "20", const std::string& mode = "CW",
                     const std::string& call = "DL1ABC", const std::string& exchange = "14") {
  char start[64];
  std::snprintf(start, sizeof start, "%4d K1ABC %s %s", number, band.c_str(), mode.c_str());
  std::string line = start;
  line.resize(std::max<std::size_t>(line.size() + 1, 18), ' ');
  char rest[64];
  std::snprintf(rest, sizeof rest, "2002/07/13 12:%02d:%02d %s 599 ", number % 60, number * 7 % 60,
                call.c_str());
  return line + rest + exchange;
}

std::string Lines(int count, bool final_line_end = true) {
  std::string text;
  for (int i = 1; i <= count; ++i) text += WrtcLine(i) + (i < count || final_line_end ? "\n" : "");
  return text;
}

class WrtcReading : public ::testing::Test {
 protected:
  std::vector<QsoRecord> Read(const std::string& bytes) {
    std::string path = dir.Path("log" + std::to_string(files++) + ".log");
    testing::WriteFile(path, bytes);
    reader = CreateLogFile(kFormatWrtc, Direction::kInput);
    if (!reader) return {};
    return testing::ReadThrough(*reader, path, 0);
  }
  QsoRecord Only(const std::string& bytes) {
    std::vector<QsoRecord> read = Read(bytes);
    EXPECT_EQ(read.size(), 1u);
    return read.empty() ? QsoRecord{} : read[0];
  }

  testing::ScratchDir dir;
  std::unique_ptr<LogFile> reader;
  int files = 0;
};

TEST_F(WrtcReading, FirstLineGivesTheHeaderAndIsTheFirstQso) {
  for (bool final_line_end : {true, false}) {
    std::vector<QsoRecord> read = Read(Lines(10, final_line_end));
    ASSERT_EQ(read.size(), 10u) << final_line_end;
    EXPECT_EQ(reader->QsoCount(), 10);
    EXPECT_STREQ(reader->Header().call, "K1ABC");
    EXPECT_STREQ(reader->Header().year, "2002");
    EXPECT_EQ(reader->Header().contest, kContestIaru);
    EXPECT_STREQ(reader->Header().contest_name, "IARU HF Championships");
    for (int i = 0; i < 10; ++i) EXPECT_EQ(read[i].srx, i + 1);
  }
}

// The fields a whole QSO line gives, each checked against the record.
struct LineFields {
  int srx;
  int band;
  char mode;
  std::int64_t time_on;
  const char* call;
  int rst_rcvd;
  const char* rcvd_exch;
};
void ExpectFields(const QsoRecord& qso, const LineFields& want) {
  EXPECT_EQ(qso.srx, want.srx);
  EXPECT_EQ(qso.band, want.band);
  EXPECT_EQ(qso.mode, want.mode);
  EXPECT_EQ(qso.time_on, want.time_on);
  EXPECT_STREQ(qso.call, want.call);
  EXPECT_EQ(qso.rst_rcvd, want.rst_rcvd);
  EXPECT_STREQ(qso.rcvd_exch, want.rcvd_exch);
}

TEST_F(WrtcReading, QsoLineFields) {
  QsoRecord qso = Only(WrtcLine(1234, "15", "SSB", "JA1XYZ", "IARU") + "\n");
  ExpectFields(qso,
               {1234, 7, kModeSsb, UtcSeconds(2002, 7, 13, 12, 34, 58), "JA1XYZ", 599, "IARU"});
  EXPECT_EQ(reader->Notes().undated_qsos, 0);
}

TEST_F(WrtcReading, BandWordsInMetres) {
  const std::pair<const char*, int> bands[] = {{"160", 1}, {"80", 2}, {"40", 3}, {"30", 4},
                                               {"20", 5},  {"18", 6}, {"15", 7}, {"12", 8},
                                               {"10", 9},  {"17", 0}, {"6", 0},  {"020", 0}};
  for (const auto& [word, band] : bands) EXPECT_EQ(Only(WrtcLine(1, word)).band, band) << word;
}

TEST_F(WrtcReading, OnlyAModeWordOtherThanCwOrSsbEndsTheLog) {
  std::string text = WrtcLine(1) + "\n" + WrtcLine(2, "20", "RTTY") + "\n" + WrtcLine(3) + "\n";
  EXPECT_EQ(Read(text).size(), 1u);
  EXPECT_EQ(Read(WrtcLine(1) + "\n" + WrtcLine(2, "20", "cw") + "\n").size(), 1u);
  // Short lines keep what they have; blank lines are passed over.
  std::vector<QsoRecord> read =
      Read(WrtcLine(1) + "\n\n   \n7 K1ABC 40\n8 K1ABC 40 CW\n9\n" + WrtcLine(10) + "\n");
  ASSERT_EQ(read.size(), 5u);
  EXPECT_EQ(read[1].srx, 7);
  EXPECT_EQ(read[1].band, 3);
  EXPECT_EQ(read[1].mode, kModeNone);
  EXPECT_EQ(read[1].time_on, UtcSeconds(1970, 1, 1, 0, 0, 0));
  EXPECT_EQ(read[2].mode, kModeCw);
  EXPECT_EQ(read[3].srx, 9);
  EXPECT_EQ(read[4].srx, 10);
  EXPECT_EQ(reader->Notes().undated_qsos, 3);
}

TEST_F(WrtcReading, LongLinesAreOneQsoEach) {
  std::string long_line = WrtcLine(1, "20", "CW", "DL1ABC", std::string(60, 'X'));
  ASSERT_GE(long_line.size(), 100u);
  std::string tail = std::string(200, ' ') + "2 K1ABC 20 CW";
  std::vector<QsoRecord> read =
      Read(long_line + "\n" + WrtcLine(2) + " " + tail + "\n" + WrtcLine(3) + "\n");
  ASSERT_EQ(read.size(), 3u);
  EXPECT_EQ(read[0].RcvdExch(), std::string(39, 'X'));
  EXPECT_EQ(read[1].srx, 2);
  EXPECT_EQ(read[2].srx, 3);
}

// Lines of every length from a few words to past 64 bytes, the blanks falling anywhere: each
// reads the same words.
TEST_F(WrtcReading, TheWordsAreTheSameWhereverTheBlanksFall) {
  const std::string words[] = {"12",       "K1ABC",  "15",  "SSB", "2002/07/13",
                               "12:05:09", "JA1XYZ", "599", "IARU"};
  std::string text;
  int lines = 0;
  for (std::size_t widened = 0; widened < std::size(words); ++widened) {
    for (std::size_t blanks = 1; blanks <= 40; ++blanks) {
      std::string line = std::string(widened == 0 ? blanks : 0, ' ');
      for (std::size_t i = 0; i < std::size(words); ++i) {
        line += words[i] + std::string(i + 1 == widened ? blanks : 1, ' ');
      }
      if (blanks % 2 == 0) line.pop_back();  // half of them end with the last word
      text += line + "\n";
      ++lines;
    }
  }
  std::vector<QsoRecord> read = Read(text);
  ASSERT_EQ(read.size(), static_cast<std::size_t>(lines));
  for (const QsoRecord& qso : read) {
    ExpectFields(qso, {12, 7, kModeSsb, UtcSeconds(2002, 7, 13, 12, 5, 9), "JA1XYZ", 599, "IARU"});
  }
  EXPECT_EQ(reader->Notes().undated_qsos, 0);
  // Lines that stop after some of the words, of every length their blanks give them.
  for (std::size_t kept = 3; kept < std::size(words); ++kept) {
    std::string line = " ";
    for (std::size_t i = 0; i < kept; ++i) line += words[i] + " ";
    for (; line.size() <= 70; line += ' ') {
      QsoRecord qso = Only(line + "\n");
      EXPECT_EQ(qso.band, 7) << line;
      EXPECT_EQ(qso.mode, kept > 3 ? kModeSsb : kModeNone) << line;
      EXPECT_EQ(qso.Call(), kept > 6 ? "JA1XYZ" : "") << line;
      EXPECT_EQ(qso.rst_rcvd, kept > 7 ? 599 : 0) << line;
      EXPECT_EQ(qso.RcvdExch(), "") << line;
    }
  }
}

// The lines of one day read their date once: a log that changes its day, goes back to an
// earlier one or has a date that is none reads every line's own.
TEST_F(WrtcReading, EachLineHasItsOwnDayInALogOfSeveralDays) {
  const std::pair<std::string, std::int64_t> days[] = {
      {"2002/07/13", UtcSeconds(2002, 7, 13, 0, 0, 0)},
      {"2002/07/13", UtcSeconds(2002, 7, 13, 0, 0, 0)},
      {"2002/07/14", UtcSeconds(2002, 7, 14, 0, 0, 0)},
      {"2002/02/30", UtcSeconds(1970, 1, 1, 0, 0, 0)},
      {"2002/02/30", UtcSeconds(1970, 1, 1, 0, 0, 0)},
      {"2002/07/13", UtcSeconds(2002, 7, 13, 0, 0, 0)},
      {"2002/7/14", UtcSeconds(2002, 7, 14, 0, 0, 0)}};
  std::string text;
  for (const auto& [date, start] : days) text += "1 K1ABC 20 CW " + date + " 01:02:03 DL1A 599 1\n";
  std::vector<QsoRecord> read = Read(text);
  ASSERT_EQ(read.size(), std::size(days));
  for (std::size_t i = 0; i < read.size(); ++i) {
    EXPECT_EQ(read[i].time_on, days[i].second + 3723) << days[i].first;
  }
  EXPECT_EQ(reader->Notes().undated_qsos, 2);
}

TEST_F(WrtcReading, DatesAndTimes) {
  struct Case {
    std::string date, time;
    std::int64_t time_on;
    int undated;
  } const cases[] = {
      {"2002/07/13", "12:00:00", UtcSeconds(2002, 7, 13, 12, 0, 0), 0},
      {"2024/02/29", "23:59:59", UtcSeconds(2024, 2, 29, 23, 59, 59), 0},
      {"2038/01/19", "03:14:08", UtcSeconds(2038, 1, 19, 3, 14, 8), 0},
      {"2002/13/01", "12:00:00", UtcSeconds(1970, 1, 1, 12, 0, 0), 1},
      {"2002/02/30", "12:00:00", UtcSeconds(1970, 1, 1, 12, 0, 0), 1},
      {"2002/07/13", "24:00:00", UtcSeconds(2002, 7, 13, 0, 0, 0), 1},
      {"2002/07/13", "12:00:60", UtcSeconds(2002, 7, 13, 0, 0, 0), 1},
      {"2002//13", "12:00", UtcSeconds(1970, 1, 1, 12, 0, 0), 1},
      {"99999999999/07/13", "12:00:00", UtcSeconds(1970, 1, 1, 12, 0, 0), 1},
  };
  for (const Case& c : cases) {
    std::string line = "1 K1ABC 20 CW " + c.date + " " + c.time + " DL1ABC 599 14\n";
    EXPECT_EQ(Only(line).time_on, c.time_on) << c.date << " " << c.time;
    EXPECT_EQ(reader->Notes().undated_qsos, c.undated) << c.date << " " << c.time;
  }
}

// Dates and times as every line writes them are read straight from their columns; written
// any other way, each of their numbers is read on its own. Both readings agree.
TEST_F(WrtcReading, UsualAndOtherShapesOfDatesAndTimesReadAlike) {
  struct Case {
    std::string usual_date, usual_time, other_date, other_time;
  } const cases[] = {
      {"2002/07/13", "12:05:09", "2002/7/13", "12:5:9"},
      {"2002/07/13", "12:05:09", "+2002/07/013", "12:05:09:30"},
      {"0000/01/01", "00:00:00", "0/1/1", "0:0:0"},
      {"2002/13/01", "24:00:00", "2002/13/1", "24:00"},
      {"2002/00/10", "12:60:00", "2002/0/10", "12:60"},
      {"2023/02/29", "23:59:60", "2023/02/29x", "23:59:60x"},
  };
  for (const Case& c : cases) {
    auto read = [this](const std::string& date, const std::string& time) {
      QsoRecord qso = Only("1 K1ABC 20 CW " + date + " " + time + " DL1ABC 599 14\n");
      return std::make_pair(qso.time_on, reader->Notes().undated_qsos);
    };
    EXPECT_EQ(read(c.usual_date, c.usual_time), read(c.other_date, c.other_time))
        << c.usual_date << " " << c.usual_time;
  }
}

TEST_F(WrtcReading, FirstLineWithoutOwnCallOrYear) {
  struct Case {
    std::string first;
    const char *call, *year;
  } const cases[] = {
      {"1", "", ""},
      {"1 K1", "", ""},
      {"   1 K1ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", "K1ABCDEFGHIJKLMNOPQRSTUVWXYZ012", "LMNO"},
      {"   1 K1ABC 20 CW  20", "K1ABC", "20"},
      {"   1 K1ABC 20 CW  20021/07/13", "K1ABC", "2002"},
      {"", "", ""}};
  for (const Case& c : cases) {
    Read(c.first + "\n" + WrtcLine(2) + "\n");
    EXPECT_STREQ(reader->Header().call, c.call) << c.first;
    EXPECT_STREQ(reader->Header().year, c.year) << c.first;
  }
}

}  // namespace
}  // namespace quorvel
