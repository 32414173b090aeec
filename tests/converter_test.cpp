#include "core/converter.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/format_factory.h"
#include "line_format.h"
#include "test_support.h"

namespace quorvel {
namespace {

using testing::CreateLineFormat;
using testing::FileExists;
using testing::ReadFile;
using testing::ScratchDir;
using testing::WriteFile;

struct Recorded {
  std::vector<FactoryMessage> kinds;
  std::string texts;
};

void Hook(Converter& converter, Recorded& recorded) {
  converter.SetMessageHook([&recorded](FactoryMessage kind, const std::string& text) {
    recorded.kinds.push_back(kind);
    recorded.texts += text;
  });
}

int RunAll(Converter& converter, std::int64_t* last_position = nullptr) {
  std::int64_t position = -1;
  int count = -1;
  while (converter.Step(position, count)) {
  }
  if (last_position) *last_position = position;
  return converter.Converted();
}

TEST(Converter, ConvertsEveryQsoAndReportsPositionAndCount) {
  ScratchDir dir;
  WriteFile(dir.Path("in.adi"), "TESTLOG 3\r\nK1ABC\r\nW2XYZ\r\nDL1AA\r\n");
  Converter converter(CreateLineFormat);
  ASSERT_EQ(converter.OpenInput(dir.Path("in.adi").c_str()), 1);
  ASSERT_EQ(converter.OpenOutput(dir.Path("out.adi").c_str(), 0), 1);
  std::int64_t position = 0;
  int count = 0;
  ASSERT_EQ(converter.Step(position, count), 1);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(position, 18);
  EXPECT_EQ(RunAll(converter, &position), 3);
  EXPECT_EQ(position, 32);
  converter.Finish();
  EXPECT_EQ(ReadFile(dir.Path("out.adi")), "TESTLOG 3 N0CALL\r\nK1ABC\r\nW2XYZ\r\nDL1AA\r\n");
}

TEST(Converter, RunToEndReportsEachQsoWithPositionAndSizeThenFinishes) {
  ScratchDir dir;
  WriteFile(dir.Path("in.adi"), "TESTLOG 3\r\nK1ABC\r\nW2XYZ\r\nDL1AA\r\n");
  Converter converter(CreateLineFormat);
  ASSERT_EQ(converter.OpenInput(dir.Path("in.adi").c_str()), 1);
  ASSERT_EQ(converter.OpenOutput(dir.Path("out.adi").c_str(), 0), 1);
  std::vector<ConversionProgress> seen;
  EXPECT_EQ(RunToEnd(converter, [&seen](const ConversionProgress& p) { seen.push_back(p); }), 3);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].position, 18);
  EXPECT_EQ(seen[2].position, 32);
  EXPECT_EQ(seen[2].file_size, 32);
  EXPECT_EQ(seen[1].count, 2);
  EXPECT_EQ(converter.Input(), nullptr);  // finished: both objects closed and gone
  EXPECT_EQ(ReadFile(dir.Path("out.adi")), "TESTLOG 3 N0CALL\r\nK1ABC\r\nW2XYZ\r\nDL1AA\r\n");
}

TEST(Converter, ProgressIsAWholePercentInRangeAndZeroWithoutASize) {
  const struct {
    std::int64_t position, size;
    int percent;
  } cases[] = {{0, 0, 0},
               {5, 0, 0},
               {5, -1, 0},
               {1, 3, 33},
               {2, 3, 66},
               {3, 3, 100},
               {9, 3, 100},
               {-4, 10, 0},
               {INT64_MAX, INT64_MAX, 100},
               {INT64_MAX - 1, INT64_MAX, 99}};
  for (const auto& c : cases) {
    EXPECT_EQ(ProgressPercent(c.position, c.size), c.percent) << c.position << "/" << c.size;
  }
}

TEST(Converter, LogWithoutQsosLeavesOnlyTheHeader) {
  ScratchDir dir;
  WriteFile(dir.Path("in.adi"), "TESTLOG 3\r\n");
  Converter converter(CreateLineFormat);
  ASSERT_EQ(converter.OpenInput(dir.Path("in.adi").c_str()), 1);
  ASSERT_EQ(converter.OpenOutput(dir.Path("out.adi").c_str(), 0), 1);
  std::int64_t position = 77;
  int count = 77;
  EXPECT_EQ(converter.Step(position, count), 0);
  EXPECT_EQ(position, 77);
  EXPECT_EQ(count, 77);
  converter.Finish();
  EXPECT_EQ(ReadFile(dir.Path("out.adi")), "TESTLOG 3 N0CALL\r\n");
}

TEST(Converter, RefusedQsoIsCountedAndAlsoCountedAsUnwritten) {
  ScratchDir dir;
  WriteFile(dir.Path("in.adi"), "TESTLOG 3\nK1ABC\nREFUSE\nW2XYZ\n");
  Converter converter(CreateLineFormat);
  ASSERT_EQ(converter.OpenInput(dir.Path("in.adi").c_str()), 1);
  ASSERT_EQ(converter.OpenOutput(dir.Path("out.adi").c_str(), 0), 1);
  EXPECT_EQ(RunAll(converter), 3);
  EXPECT_EQ(converter.Unwritten(), 1);
}

TEST(Converter, InputThatCannotBeOpenedIsReportedAndNoOutputIsMade) {
  ScratchDir dir;
  WriteFile(dir.Path("bad.adi"), "not a test log\n");
  for (const std::string& name : {std::string("missing.adi"), std::string("bad.adi")}) {
    Recorded recorded;
    Converter converter(CreateLineFormat);
    Hook(converter, recorded);
    EXPECT_EQ(converter.OpenInput(dir.Path(name).c_str()), 0);
    EXPECT_EQ(recorded.texts, "Error opening " + dir.Path(name) + "\n\r");
    ASSERT_EQ(recorded.kinds.size(), 1u);
    EXPECT_EQ(recorded.kinds[0], FactoryMessage::kInputOpenFailed);
    EXPECT_EQ(converter.OpenOutput(dir.Path("out.adi").c_str(), 0), 0);
    EXPECT_FALSE(FileExists(dir.Path("out.adi")));
  }
}

TEST(Converter, UnknownInputFormatSaysNothingAndFails) {
  ScratchDir dir;
  WriteFile(dir.Path("in.xyz"), "TESTLOG 3\n");
  Recorded recorded;
  Converter converter(CreateLineFormat);
  Hook(converter, recorded);
  EXPECT_EQ(converter.OpenInput(dir.Path("in.xyz").c_str()), 0);
  EXPECT_TRUE(recorded.texts.empty());
}

TEST(Converter, ExistingOutputIsNeverReplaced) {
  ScratchDir dir;
  WriteFile(dir.Path("in.adi"), "TESTLOG 3\nK1ABC\n");
  WriteFile(dir.Path("out.adi"), "precious");
  Recorded recorded;
  Converter converter(CreateLineFormat);
  Hook(converter, recorded);
  ASSERT_EQ(converter.OpenInput(dir.Path("in.adi").c_str()), 1);
  EXPECT_EQ(converter.OpenOutput(dir.Path("out.adi").c_str(), 0), 0);
  EXPECT_EQ(recorded.texts, "Output file could not be opened\n\r");
  converter.Finish();
  EXPECT_EQ(ReadFile(dir.Path("out.adi")), "precious");
}

TEST(Converter, RefusedContestRemovesTheOutputFileItCreatedAndReports) {
  ScratchDir dir;
  WriteFile(dir.Path("in.adi"), "TESTLOG 9\nK1ABC\n");
  Recorded recorded;
  Converter converter(CreateLineFormat);
  Hook(converter, recorded);
  ASSERT_EQ(converter.OpenInput(dir.Path("in.adi").c_str()), 1);
  EXPECT_EQ(converter.OpenOutput(dir.Path("out.adi").c_str(), 0), 0);
  EXPECT_EQ(recorded.texts, "Contest not supported by output file\n\r");
  EXPECT_EQ(recorded.kinds.back(), FactoryMessage::kContestNotSupported);
  EXPECT_FALSE(FileExists(dir.Path("out.adi")));  // a retry with another contest can create it
  converter.Finish();
  EXPECT_FALSE(FileExists(dir.Path("out.adi")));
}

TEST(Converter, OutputCodeComesFromTheExtensionOrIsForced) {
  ScratchDir dir;
  WriteFile(dir.Path("in.adi"), "TESTLOG 3\nK1ABC\n");
  Converter by_extension(CreateLineFormat);
  by_extension.OpenInput(dir.Path("in.adi").c_str());
  EXPECT_EQ(by_extension.OpenOutput(dir.Path("out.txt").c_str(), 0), 0);
  EXPECT_FALSE(FileExists(dir.Path("out.txt")));

  Converter forced(CreateLineFormat);
  forced.OpenInput(dir.Path("in.adi").c_str());
  EXPECT_EQ(forced.OpenOutput(dir.Path("out.txt").c_str(), kFormatAdif), 1);
  EXPECT_EQ(RunAll(forced), 1);
}

TEST(Converter, OptionsReachTheFormatsBeforeTheyOpen) {
  ScratchDir dir;
  WriteFile(dir.Path("in.adi"), "TESTLOG 0\nK1ABC\n");
  Converter converter(CreateLineFormat);
  char text[] = "-cwpx ";
  converter.ParseOptions(text);
  ASSERT_EQ(converter.OpenInput(dir.Path("in.adi").c_str()), 1);
  EXPECT_EQ(converter.Input()->Header().contest, kContestWpx);
  EXPECT_EQ(converter.Input()->Options().contest, kContestWpx);
  EXPECT_EQ(converter.SetOptions(nullptr), 0);
  EXPECT_EQ(converter.Options().contest, kContestWpx);
}

TEST(Converter, PathsOf2048CharactersAreRefused) {
  Converter converter(CreateLineFormat);
  std::string long_path(2048, 'a');
  long_path += ".adi";
  EXPECT_EQ(converter.OpenInput(long_path.c_str()), 0);
  EXPECT_EQ(converter.OpenInput(nullptr), 0);
}

TEST(Converter, FinishTwiceAndStepAfterFinishAreHarmless) {
  ScratchDir dir;
  WriteFile(dir.Path("in.adi"), "TESTLOG 3\nK1ABC\n");
  Converter converter(CreateLineFormat);
  converter.OpenInput(dir.Path("in.adi").c_str());
  converter.OpenOutput(dir.Path("out.adi").c_str(), 0);
  converter.Finish();
  converter.Finish();
  std::int64_t position = 0;
  int count = 0;
  EXPECT_EQ(converter.Step(position, count), 0);
  EXPECT_EQ(converter.Input(), nullptr);
  EXPECT_EQ(converter.Output(), nullptr);
}

}  // namespace
}  // namespace quorvel

namespace quorvel {
namespace {

// ---- reading ahead: inputs of kReadAheadFrom bytes and more ----

struct Outcome {
  std::string output;
  int converted = 0;
  int unwritten = 0;
  ReadingNotes notes;
  std::vector<std::int64_t> positions;  // after each QSO
};

// One conversion of `input` into `output_name`, through RunToEnd or through Step alone.
Outcome Convert(const ScratchDir& dir, const std::string& input, const std::string& output_name,
                bool run_to_end, FormatCreator creator, std::string options = "") {
  Converter converter(std::move(creator));
  Outcome outcome;
  if (!options.empty()) converter.ParseOptions(options.data());
  EXPECT_EQ(converter.OpenInput(dir.Path(input).c_str()), 1);
  EXPECT_EQ(converter.OpenOutput(dir.Path(output_name).c_str(), 0), 1);
  if (run_to_end) {
    RunToEnd(converter, [&outcome](const ConversionProgress& step) {
      EXPECT_EQ(step.count, static_cast<int>(outcome.positions.size()) + 1);
      outcome.positions.push_back(step.position);
    });
  } else {
    std::int64_t position = 0;
    int count = 0;
    while (converter.Step(position, count)) outcome.positions.push_back(position);
    converter.Finish();
  }
  outcome.output = ReadFile(dir.Path(output_name));
  outcome.converted = converter.Converted();
  outcome.unwritten = converter.Unwritten();
  outcome.notes = converter.Notes();
  return outcome;
}

void ExpectSameOutcome(const Outcome& ahead, const Outcome& stepped) {
  EXPECT_EQ(ahead.output, stepped.output);
  EXPECT_EQ(ahead.converted, stepped.converted);
  EXPECT_EQ(ahead.unwritten, stepped.unwritten);
  EXPECT_EQ(ahead.notes.stopped_at, stepped.notes.stopped_at);
  EXPECT_EQ(ahead.notes.skipped_records, stepped.notes.skipped_records);
  EXPECT_EQ(ahead.notes.undated_qsos, stepped.notes.undated_qsos);
  EXPECT_EQ(ahead.positions, stepped.positions);
}

// Writes `log` as `input` and converts it into `output_extension` both ways, which must agree;
// the outcome of reading ahead.
Outcome ConvertBothWaysAlike(const ScratchDir& dir, const std::string& input,
                             const std::string& log, const std::string& output_extension,
                             const std::string& options = "") {
  WriteFile(dir.Path(input), log);
  Outcome ahead = Convert(dir, input, "ahead." + output_extension, true, CreateLogFile, options);
  Outcome stepped =
      Convert(dir, input, "stepped." + output_extension, false, CreateLogFile, options);
  ExpectSameOutcome(ahead, stepped);
  return ahead;
}

TEST(ReadingAhead, GivesWhatStepByStepGivesRefusedQsosAndEveryPositionIncluded) {
  ScratchDir dir;
  std::string log = "TESTLOG 3\n";
  for (int i = 0; static_cast<std::int64_t>(log.size()) < 2 * kReadAheadFrom; ++i) {
    log += i % 997 == 5 ? "REFUSE\n" : "K" + std::to_string(i) + "ABC\n";
  }
  WriteFile(dir.Path("in.adi"), log);
  Outcome ahead = Convert(dir, "in.adi", "ahead.adi", true, CreateLineFormat);
  Outcome stepped = Convert(dir, "in.adi", "stepped.adi", false, CreateLineFormat);
  ExpectSameOutcome(ahead, stepped);
  EXPECT_GT(ahead.unwritten, 200);
  ASSERT_FALSE(ahead.positions.empty());
  EXPECT_EQ(ahead.positions.back(), static_cast<std::int64_t>(log.size()));
}

// A large ADIF log cut inside its last contact, with contacts past 2038 that CT 8 cannot hold,
// contacts without a readable time and records that are no contacts. ADIF is read in two
// steps, whose second either thread may take.
TEST(ReadingAhead, KeepsTheStopNoteAndTheUnwrittenCountOfTheRealFormats) {
  ScratchDir dir;
  std::string log = "Large log\r\n<eoh>\r\n";
  for (int i = 0; static_cast<std::int64_t>(log.size()) < kReadAheadFrom + 4096; ++i) {
    std::string year = i % 500 == 7 ? "2040" : "2024";
    std::string time = i % 300 == 11 ? "9960" : "1234";
    log += "<call:6>K" + std::to_string(10000 + i % 90000) + "<qso_date:8>" + year +
           "0102<time_on:4>" + time + "<band:3>20m<mode:2>CW<eor>\r\n";
    if (i % 400 == 3) log += "<app_x:1>y<eor>\r\n";
  }
  log += "<call:5>W1AW<qso_date:8>2024";
  Outcome ahead = ConvertBothWaysAlike(dir, "in.adi", log, "bin");
  EXPECT_GT(ahead.notes.stopped_at, kReadAheadFrom);
  EXPECT_GT(ahead.unwritten, 10);
  EXPECT_GT(ahead.notes.undated_qsos, 10);
  EXPECT_GT(ahead.notes.skipped_records, 10);
}

// A large WRTC log, read in two steps too: blank lines, lines without a readable time, and a
// line of an unknown mode that ends the log where it stands.
TEST(ReadingAhead, ReadsAWrtcLogInTwoStepsAsStepByStep) {
  ScratchDir dir;
  std::string log;
  for (int i = 1; static_cast<std::int64_t>(log.size()) < kReadAheadFrom + 4096; ++i) {
    std::string time = i % 300 == 11 ? "25:00:00" : "12:34:56";
    std::string number = std::to_string(i);
    log += std::string(number.size() < 4 ? 4 - number.size() : 0, ' ') + number +
           " N0QV 20 CW   2026/07/11 " + time + " K" + number + "AB 599 " + std::to_string(i % 90) +
           "\r\n";
    if (i % 500 == 9) log += "      \r\n";
  }
  std::size_t stop = log.size();
  log += "9999 N0QV 20 FT8  2026/07/11 12:00:00 K1XX 599 5\r\n   1 N0QV 20 CW\r\n";
  Outcome ahead = ConvertBothWaysAlike(dir, "in.log", log, "adi");
  EXPECT_EQ(ahead.notes.stopped_at, static_cast<std::int64_t>(stop));
  EXPECT_GT(ahead.notes.undated_qsos, 10);
}

// A large ARRL Sweepstakes log, read in two steps: blank lines, lines without a readable time,
// lines the stream copies (one with a carriage return inside, one longer than a line may be)
// and a last line without a line end.
TEST(ReadingAhead, ReadsAnArrlLogInTwoStepsAsStepByStep) {
  ScratchDir dir;
  std::string log;
  for (int i = 1; static_cast<std::int64_t>(log.size()) < kReadAheadFrom + 4096; ++i) {
    std::string time = i % 300 == 11 ? "2500" : "1234";
    std::string number = std::to_string(i);
    log += "20  CW  28/11/126 " + time + " " + number + " A N0QV 00 CO " + number + " B K" +
           number + "AB 62 OH * 2\r\n";
    if (i % 500 == 9) log += "   \t  \r\n";
    if (i % 700 == 5) log += "40  CW  28/11/126 1300 1 A N0QV 00 CO 7 B\rW1AW 62 CT 2\r\n";
    if (i % 900 == 7)
      log += "40  SSB 28/11/126 1300 1 A N0QV 00 CO 7 B W1AW 62 CT 2" + std::string(1100, ' ') +
             "junk\r\n";
  }
  log += "40  CW  28/11/126 1300 1 A N0QV 00 CO 7 B W9XYZ 62 CT 2";
  Outcome ahead = ConvertBothWaysAlike(dir, "in.log", log, "adi", "-cSS");
  EXPECT_GT(ahead.notes.undated_qsos, 10);
  EXPECT_NE(ahead.output.find("<call:5>W9XYZ"), std::string::npos);
}

// A large DX Info spot file, read in two steps: lines of unreadable dates, lines the stream
// copies (a carriage return inside), and a line without the spot mark, where the log stops.
TEST(ReadingAhead, ReadsADxInfoFileInTwoStepsAsStepByStep) {
  ScratchDir dir;
  std::string log;
  auto spot = [](const std::string& words) {
    return words + std::string(79 - words.size(), ' ') + "\n";
  };
  for (int i = 1; static_cast<std::int64_t>(log.size()) < kReadAheadFrom + 4096; ++i) {
    std::string date = i % 300 == 11 ? "31-Feb-99" : "05-Nov-99";
    std::string call = (i % 2 ? "JA" : "DL") + std::to_string(i % 10) + "XYZ";
    log += spot("OK " + std::to_string(7000 + i % 300) + ".5 " + call + " " + date + " 2103");
    if (i % 700 == 5) log += spot("O 14025 K1ABC\r05-Nov-99 2103");
  }
  std::size_t stop = log.size();
  log += spot("X 7005 K1ABC 05-Nov-99 2103") + spot("O 7005 K1ABC 05-Nov-99 2103");
  Outcome ahead = ConvertBothWaysAlike(dir, "in.dat", log, "adi");
  EXPECT_EQ(ahead.notes.stopped_at, static_cast<std::int64_t>(stop));
  EXPECT_GT(ahead.notes.undated_qsos, 10);
  EXPECT_NE(ahead.output.find("<call:6>DL2XYZ"), std::string::npos);
}

// A large DX4WIN ARRL 10 m log, whose Canadian provinces stand in the serial tag: the makers
// of both threads ask the country file, which the first question loads.
TEST(ReadingAhead, LooksCallsUpOnBothThreadsAsStepByStep) {
  ScratchDir dir;
  std::string log = "DX4WIN ADIF export\r\n<contest_id:6>ARRL10\r\n<eoh>\r\n";
  for (int i = 0; static_cast<std::int64_t>(log.size()) < kReadAheadFrom + 4096; ++i) {
    std::string call = (i % 3 == 0 ? "VE3" : "K1") + std::to_string(100 + i % 900);
    std::string serial = i % 3 == 0 ? "ON" : std::to_string(i % 1000 + 1);
    log += "<call:" + std::to_string(call.size()) + ">" + call + "<qso_date:8>20241207" +
           "<time_on:4>1234<band:3>10m<mode:2>CW<srx:" + std::to_string(serial.size()) + ">" +
           serial + "<state:2>QC<eor>\r\n";  // a Canadian's province wins over the state tag
  }
  Outcome ahead = ConvertBothWaysAlike(dir, "in.adi", log, "adi");
  EXPECT_NE(ahead.output.find("<call:6>VE3100"), std::string::npos);
  EXPECT_NE(ahead.output.find("<state:2>ON"), std::string::npos);
}

// A progress callback that throws ends the conversion on its thread; the reading thread stops.
TEST(ReadingAhead, AnExceptionFromTheCallbackEndsTheConversionCleanly) {
  ScratchDir dir;
  std::string log = "TESTLOG 3\n";
  while (static_cast<std::int64_t>(log.size()) < 2 * kReadAheadFrom) log += "DL1ABC\n";
  WriteFile(dir.Path("in.adi"), log);
  Converter converter(CreateLineFormat);
  ASSERT_EQ(converter.OpenInput(dir.Path("in.adi").c_str()), 1);
  ASSERT_EQ(converter.OpenOutput(dir.Path("out.adi").c_str(), 0), 1);
  auto stop_at_1000 = [](const ConversionProgress& step) {
    if (step.count == 1000) throw std::runtime_error("stop");
  };
  EXPECT_THROW(RunToEnd(converter, stop_at_1000), std::runtime_error);
  EXPECT_EQ(converter.Converted(), 1000);
  converter.Finish();
}

}  // namespace
}  // namespace quorvel
