// Reading a stream's buffered bytes without copying them (PeekBuffered, TakeBuffered,
// ReadLineView).
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/log_stream.h"
#include "test_support.h"

namespace quorvel {
namespace {

using testing::ScratchDir;
using testing::WriteFile;

// Every byte of the file through PeekBuffered and TakeBuffered, taking `step` bytes at a time.
std::string ReadAllBuffered(LogStream& stream, std::size_t step) {
  std::string bytes;
  for (std::string_view window; !(window = stream.PeekBuffered()).empty();) {
    std::size_t count = std::min(step, window.size());
    bytes.append(window.substr(0, count));
    stream.TakeBuffered(count);
  }
  return bytes;
}

TEST(LogStreamBuffered, GivesEveryByteAcrossRefillsAndThenTheEnd) {
  ScratchDir dir;
  std::string content;
  for (int i = 0; i < 200000; ++i) content += static_cast<char>('a' + i % 26);
  content += "\r\n\x1A tail";
  WriteFile(dir.Path("a.adi"), content);
  for (std::size_t step : {1u, 7u, 4096u, 1000000u}) {
    LogStream stream;
    ASSERT_EQ(stream.Open(dir.Path("a.adi").c_str(), kModeReadBinary), 1);
    EXPECT_EQ(ReadAllBuffered(stream, step), content) << step;
    EXPECT_TRUE(stream.IsEof());
  }
}

TEST(LogStreamBuffered, PositionFollowsTheTakenBytesAndMixesWithOtherReads) {
  ScratchDir dir;
  WriteFile(dir.Path("a.adi"), "first line\nsecond line\n");
  LogStream stream;
  ASSERT_EQ(stream.Open(dir.Path("a.adi").c_str(), kModeReadBinary), 1);
  std::string_view window = stream.PeekBuffered();
  ASSERT_EQ(window.substr(0, 6), "first ");
  EXPECT_EQ(stream.Tell(), 0);
  stream.TakeBuffered(6);
  EXPECT_EQ(stream.Tell(), 6);
  char line[40];
  ASSERT_EQ(stream.ReadLine(line, sizeof line), 1);
  EXPECT_STREQ(line, "line");
  stream.TakeBuffered(1000);  // more than there is: only what is buffered is taken
  EXPECT_EQ(stream.Tell(), 23);
  EXPECT_FALSE(stream.IsEof());
  EXPECT_TRUE(stream.PeekBuffered().empty());
  EXPECT_TRUE(stream.IsEof());
  ASSERT_EQ(stream.Seek(6), 1);
  EXPECT_EQ(stream.PeekBuffered().substr(0, 4), "line");
}

TEST(LogStreamBuffered, TextModeBytesStopAtCtrlZButKeepCarriageReturns) {
  ScratchDir dir;
  WriteFile(dir.Path("a.txt"),
            "ab\r\ncd\x1A"
            "ef");
  LogStream stream;
  ASSERT_EQ(stream.Open(dir.Path("a.txt").c_str(), kModeReadText), 1);
  EXPECT_EQ(ReadAllBuffered(stream, 100), "ab\r\ncd");
}

TEST(LogStreamBuffered, NothingOnAStreamNotOpenForReading) {
  ScratchDir dir;
  LogStream unopened;
  EXPECT_TRUE(unopened.PeekBuffered().empty());
  EXPECT_TRUE(unopened.IsEof());
  LogStream writer;
  ASSERT_EQ(writer.Open(dir.Path("new.adi").c_str(), kModeWriteNew), 1);
  EXPECT_TRUE(writer.PeekBuffered().empty());
  writer.TakeBuffered(5);
  EXPECT_EQ(writer.Tell(), 0);
}

}  // namespace
}  // namespace quorvel

namespace quorvel {
namespace {

// ReadUpTo gives what reading a byte at a time gives, in both modes, whatever the piece size
// and wherever a line end falls against the buffer's edge.
TEST(LogStreamBuffered, ReadUpToReadsWhatSingleBytesRead) {
  ScratchDir dir;
  std::string content;
  for (int i = 0; i < 140000; ++i) content += i % 97 == 0 ? '\r' : static_cast<char>('a' + i % 26);
  content.replace(65535, 2, "\r\n");  // a CR LF across the first refill
  content += "\r\n\rend\x1Apadding";
  WriteFile(dir.Path("s.dat"), content);
  for (unsigned mode : {kModeReadBinary, kModeReadText}) {
    std::string expected;
    LogStream single;
    ASSERT_EQ(single.Open(dir.Path("s.dat").c_str(), mode), 1);
    for (char c; single.ReadBlock(&c, 1);) expected += c;
    for (std::size_t piece : {1u, 3u, 86u, 70000u}) {
      LogStream stream;
      ASSERT_EQ(stream.Open(dir.Path("s.dat").c_str(), mode), 1);
      std::string got(piece, '\0');
      std::string all;
      for (std::size_t n; (n = stream.ReadUpTo(got.data(), piece)) > 0;) all.append(got, 0, n);
      EXPECT_EQ(all, expected) << mode << " " << piece;
      EXPECT_TRUE(stream.IsEof());
    }
  }
}

// Every line of a file with its end position, read with ReadLine or with ReadLineView.
std::vector<std::pair<std::string, std::int64_t>> AllLines(const std::string& path, unsigned mode,
                                                           bool views) {
  std::vector<std::pair<std::string, std::int64_t>> lines;
  LogStream stream;
  if (stream.Open(path.c_str(), mode) != 1) return lines;
  std::string line, spare;
  for (;;) {
    std::string_view view;
    bool read = views ? stream.ReadLineView(view, spare) == 1 : stream.ReadLine(line) == 1;
    if (!read) break;
    lines.emplace_back(views ? std::string(view) : line, stream.Tell());
  }
  return lines;
}

TEST(LogStreamBuffered, LineViewsReadAsCopiedLines) {
  ScratchDir dir;
  const std::string long_line(70000, 'x');  // runs past the end of the first buffer
  const std::string contents[] = {
      "one\ntwo\n", "one\r\ntwo\r\n", "one\rtwo\rthree",       "in\rside\n",       "\n\r\n\n",
      "last",       "cut\x1A off\n",  long_line + "\r\nend\n", "a\r\n" + long_line};
  for (const std::string& content : contents) {
    WriteFile(dir.Path("a.log"), content);
    for (unsigned mode : {kModeReadText, kModeReadBinary}) {
      std::string path = dir.Path("a.log");
      EXPECT_EQ(AllLines(path, mode, true), AllLines(path, mode, false))
          << content.substr(0, 20) << " mode " << mode;
    }
  }
}

}  // namespace
}  // namespace quorvel
