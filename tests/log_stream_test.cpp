#include "core/log_stream.h"

#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace quorvel {
namespace {

using testing::ReadFile;
using testing::ScratchDir;
using testing::WriteFile;

std::string Line(LogStream& stream, int size, int* result = nullptr) {
  std::string buffer(static_cast<std::size_t>(size), '#');
  int got = stream.ReadLine(buffer.data(), size);
  if (result) *result = got;
  return got ? std::string(buffer.c_str()) : "<none>";
}

TEST(LogStream, ExtensionIsTheTextAfterTheLastDot) {
  ScratchDir dir;
  WriteFile(dir.Path("W1AW.ADI"), "");
  LogStream stream;
  EXPECT_EQ(stream.Extension(), nullptr);
  stream.Open(dir.Path("W1AW.ADI").c_str(), kModeReadBinary);
  EXPECT_STREQ(stream.Extension(), "ADI");
  LogStream missing;
  missing.Open("C:\\LOGS.OLD\\W1AW", kModeReadBinary);
  EXPECT_STREQ(missing.Extension(), "OLD\\W1AW");
}

TEST(LogStream, LongLinesComeInPiecesAndAnExactFitLeavesTheLineFeed) {
  ScratchDir dir;
  WriteFile(dir.Path("a.txt"), std::string(100, 'a') + "\n" + std::string(79, 'b') + "\nlast");
  LogStream stream;
  ASSERT_EQ(stream.Open(dir.Path("a.txt").c_str(), kModeReadBinary), 1);
  EXPECT_EQ(Line(stream, 80), std::string(79, 'a'));
  EXPECT_EQ(Line(stream, 80), std::string(21, 'a'));
  EXPECT_EQ(Line(stream, 80), std::string(79, 'b'));
  EXPECT_EQ(Line(stream, 80), "");
  EXPECT_FALSE(stream.IsEof());
  EXPECT_EQ(Line(stream, 80), "last");
  EXPECT_TRUE(stream.IsEof());
  EXPECT_EQ(Line(stream, 80), "<none>");
}

TEST(LogStream, EndOfFileIsSeenOnlyWhenAReadMeetsIt) {
  ScratchDir dir;
  WriteFile(dir.Path("a.txt"), "one\ntwo\n");
  LogStream stream;
  stream.Open(dir.Path("a.txt").c_str(), kModeReadBinary);
  EXPECT_EQ(Line(stream, 80), "one");
  EXPECT_EQ(Line(stream, 80), "two");
  EXPECT_FALSE(stream.IsEof());
  EXPECT_EQ(Line(stream, 80), "<none>");
  EXPECT_TRUE(stream.IsEof());
}

TEST(LogStream, TextModeEndsLinesAtCrLfOrABareCrAndStopsAtCtrlZ) {
  ScratchDir dir;
  WriteFile(dir.Path("a.txt"), "one\r\ntw\ro\r\n\r\nend\x1Ahidden\r\n");
  LogStream text;
  text.Open(dir.Path("a.txt").c_str(), kModeReadText);
  EXPECT_EQ(Line(text, 80), "one");
  EXPECT_EQ(Line(text, 80), "tw");
  EXPECT_EQ(Line(text, 80), "o");
  EXPECT_EQ(Line(text, 80), "");
  EXPECT_EQ(Line(text, 80), "end");
  EXPECT_TRUE(text.IsEof());
  EXPECT_EQ(Line(text, 80), "<none>");

  LogStream binary;
  binary.Open(dir.Path("a.txt").c_str(), kModeReadBinary);
  EXPECT_EQ(Line(binary, 80), "one\r");
  Line(binary, 80);
  Line(binary, 80);
  EXPECT_EQ(Line(binary, 80), "end\x1Ahidden\r");
}

TEST(LogStream, TextModeLineFitsWhenTheCarriageReturnIsDropped) {
  ScratchDir dir;
  WriteFile(dir.Path("a.txt"), std::string(79, 'x') + "\r\nnext\r\n");
  LogStream text;
  text.Open(dir.Path("a.txt").c_str(), kModeReadText);
  EXPECT_EQ(Line(text, 80), std::string(79, 'x'));
  EXPECT_EQ(Line(text, 80), "");
  EXPECT_EQ(Line(text, 80), "next");
}

TEST(LogStream, TextModePositionsStayByteOffsets) {
  ScratchDir dir;
  WriteFile(dir.Path("a.txt"), "ab\r\ncd\r\n");
  LogStream text;
  text.Open(dir.Path("a.txt").c_str(), kModeReadText);
  Line(text, 80);
  EXPECT_EQ(text.Tell(), 4);
  EXPECT_EQ(text.FileSize(), 8);
  EXPECT_EQ(text.Tell(), 4);
  EXPECT_EQ(Line(text, 80), "cd");
}

TEST(LogStream, CarriageReturnAtABufferBoundaryIsStillDropped) {
  ScratchDir dir;
  std::string first(65535, 'a');  // the CR is the last byte of the first 64 KiB block
  WriteFile(dir.Path("a.txt"), first + "\r\nb\r\n");
  LogStream text;
  text.Open(dir.Path("a.txt").c_str(), kModeReadText);
  EXPECT_EQ(Line(text, 70000), first);
  EXPECT_EQ(Line(text, 70000), "b");
}

TEST(LogStream, BlocksAndTheEndFlag) {
  ScratchDir dir;
  WriteFile(dir.Path("a.bin"), "0123456789");
  LogStream stream;
  stream.Open(dir.Path("a.bin").c_str(), kModeReadBinary);
  char block[8] = {};
  EXPECT_EQ(stream.ReadBlock(block, 6), 1);
  EXPECT_EQ(std::string(block, 6), "012345");
  EXPECT_FALSE(stream.IsEof());
  EXPECT_EQ(stream.ReadBlock(block, 6), 0);
  EXPECT_TRUE(stream.IsEof());

  LogStream never_opened;
  EXPECT_EQ(never_opened.ReadBlock(block, 1), 0);
  EXPECT_TRUE(never_opened.IsEof());
  LogStream closed;
  EXPECT_EQ(Line(closed, 80), "<none>");
  EXPECT_TRUE(closed.IsEof());
}

TEST(LogStream, OpenRefusesNullMissingAndDirectories) {
  ScratchDir dir;
  LogStream stream;
  EXPECT_EQ(stream.Open(nullptr, kModeReadBinary), 0);
  EXPECT_EQ(stream.Path(), nullptr);
  EXPECT_EQ(stream.Open(dir.Path("missing.adi").c_str(), kModeReadText), 0);
  EXPECT_FALSE(testing::FileExists(dir.Path("missing.adi")));
  EXPECT_EQ(stream.Open(dir.Root().c_str(), kModeReadText), 0);
}

TEST(LogStream, WritingNewNeverReplacesAnExistingFile) {
  ScratchDir dir;
  WriteFile(dir.Path("old.adi"), "keep me");
  LogStream stream;
  EXPECT_EQ(stream.Open(dir.Path("old.adi").c_str(), kModeWriteNew), 0);
  EXPECT_EQ(ReadFile(dir.Path("old.adi")), "keep me");

  LogStream fresh;
  ASSERT_EQ(fresh.Open(dir.Path("new.adi").c_str(), kModeWriteNew), 1);
  EXPECT_EQ(fresh.WriteText("hello\r\n"), 1);
  EXPECT_EQ(fresh.Tell(), 7);
  fresh.Close();
  EXPECT_EQ(ReadFile(dir.Path("new.adi")), "hello\r\n");
  EXPECT_FALSE(fresh.WriteFailed());
}

TEST(LogStream, OpeningTwiceClosesTheFirstFile) {
  ScratchDir dir;
  WriteFile(dir.Path("a.txt"), "first\n");
  WriteFile(dir.Path("b.txt"), "second\n");
  LogStream stream;
  stream.Open(dir.Path("a.txt").c_str(), kModeReadBinary);
  ASSERT_EQ(stream.Open(dir.Path("b.txt").c_str(), kModeReadBinary), 1);
  EXPECT_EQ(Line(stream, 80), "second");
  EXPECT_STREQ(stream.Extension(), "txt");
}

TEST(LogStream, LargeWritesAreAllThere) {
  ScratchDir dir;
  std::string big(300000, 'z');
  LogStream stream;
  stream.Open(dir.Path("big.txt").c_str(), kModeWriteNew);
  for (int i = 0; i < 3; ++i) stream.WriteText(big);
  EXPECT_EQ(stream.FileSize(), 900000);
  stream.Close();
  EXPECT_EQ(ReadFile(dir.Path("big.txt")).size(), 900000u);
}

TEST(LogStream, WholeLinesOfAnyLengthKeepEveryByte) {
  ScratchDir dir;
  std::string huge(200000, 'h');
  huge[100] = '\0';
  WriteFile(dir.Path("a.txt"), huge + "\r\nshort\r\nlast");
  LogStream text;
  text.Open(dir.Path("a.txt").c_str(), kModeReadText);
  std::string line;
  ASSERT_EQ(text.ReadLine(line), 1);
  EXPECT_EQ(line, huge);
  ASSERT_EQ(text.ReadLine(line), 1);
  EXPECT_EQ(line, "short");
  ASSERT_EQ(text.ReadLine(line), 1);
  EXPECT_EQ(line, "last");
  EXPECT_TRUE(text.IsEof());
  EXPECT_EQ(text.ReadLine(line), 0);
  EXPECT_EQ(line, "");
}

}  // namespace
}  // namespace quorvel
