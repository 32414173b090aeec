#include "core/converter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
