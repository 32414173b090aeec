#include "core/settings_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "test_support.h"

namespace quorvel {
namespace {

using testing::ReadFile;
using testing::ScratchDir;
using testing::WriteFile;

const std::string kDefaultFile =
    "[General]\nBandDisplay=0\nTimeFormat=0\nFields=0\nContest=0\nComment=\n";

ConversionOptions ReadFrom(const ScratchDir& dir, const std::string& bytes) {
  WriteFile(dir.Path("quorvelwin.ini"), bytes);
  ConversionOptions options{};
  ReadSettings(dir.Path("quorvelwin.ini"), options);
  return options;
}

std::vector<std::string> FolderEntries(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

// The five kept options as one text: band, approach, fields, contest and the comment.
std::string Kept(const ConversionOptions& o) {
  return std::to_string(o.band_numeric) + " " + std::to_string(o.approach) + " " +
         std::to_string(o.extra_fields) + " " + std::to_string(o.contest) + " " + o.comment;
}

TEST(SettingsFile, MissingFileGivesDefaultsAndWritesEveryKey) {
  ScratchDir dir;
  ConversionOptions options{3, "left over", 1, 3, 3};
  std::string path = dir.Path("new/folder/quorvelwin.ini");
  ReadSettings(path, options);
  EXPECT_EQ(Kept(options), "0 0 0 0 ");
  EXPECT_EQ(WriteSettings(path, options), "");
  EXPECT_EQ(ReadFile(path), kDefaultFile);
  EXPECT_EQ(FolderEntries(dir.Path("new/folder")), std::vector<std::string>{"quorvelwin.ini"});
}

TEST(SettingsFile, ReadsValuesByProfileRules) {
  const std::string c37(37, 'c'), c39(39, 'c'), c40(40, 'c');
  const struct {
    std::string file, kept;
  } cases[] = {
      {"[General]\nFields=3x\n", "0 0 3 0 "},
      {"[General]\nContest=259\nBandDisplay=abc\n", "0 0 0 0 "},
      {"[General]\nContest=-1\nTimeFormat=-2\nBandDisplay=2\n", "2 1 0 0 "},
      {"[General]\nContest=33\nContest=5\nFields=-1\n", "0 0 0 33 "},
      {"[ general ]\r\n  bandDISPLAY = 1 \r\ntimeformat=7\r\ncomment = \"a, b\" \r\n",
       "1 1 0 0 a, b"},
      {"[Other]\nContest=3\n[General]\n;Contest=4\n", "0 0 0 0 "},
      {"[General]\nComment=" + c40 + "X\n", "0 0 0 0 " + c40},
      {"[General]\nComment=" + c39 + "\xC3\xA9\n", "0 0 0 0 " + c39},
      {"[General]\nComment=" + c37 + "\xE2\x82\xAC!\n", "0 0 0 0 " + c37 + "\xE2\x82\xAC"},
  };
  for (const auto& c : cases) {
    ScratchDir dir;
    EXPECT_EQ(Kept(ReadFrom(dir, c.file)), c.kept) << c.file;
  }
}

TEST(SettingsFile, CommentOfFortyCharactersRoundTripsVerbatim) {
  ScratchDir dir;
  const std::string comment = "Field day, club \\ station 2, K1ABC/W1AW!";
  ASSERT_EQ(comment.size(), 40u);
  ConversionOptions options{};
  options.extra_fields = 3;
  options.approach = 1;
  std::strcpy(options.comment, comment.c_str());
  std::string path = dir.Path("quorvelwin.ini");
  ASSERT_EQ(WriteSettings(path, options), "");
  EXPECT_EQ(
      ReadFile(path),
      "[General]\nBandDisplay=0\nTimeFormat=1\nFields=3\nContest=0\nComment=" + comment + "\n");
  ConversionOptions back{};
  ReadSettings(path, back);
  EXPECT_EQ(Kept(back), Kept(options));
}

TEST(SettingsFile, WrittenCommentHasNoLineBreaksAndIsCutAtACharacter) {
  const struct {
    std::string comment, written;
  } cases[] = {
      {"two\r\nlines", "two  lines"},
      {std::string(41, 'x'), std::string(40, 'x')},
      {std::string(39, 'x') + "\xC3\xA9", std::string(39, 'x')},
  };
  for (const auto& c : cases) {
    ScratchDir dir;
    ConversionOptions options{};
    std::strcpy(options.comment, c.comment.c_str());
    ASSERT_EQ(WriteSettings(dir.Path("s.ini"), options), "");
    std::string file = ReadFile(dir.Path("s.ini"));
    EXPECT_EQ(file.substr(file.find("Comment=")), "Comment=" + c.written + "\n");
  }
}

TEST(SettingsFile, KeepsForeignLinesAndWritesOwnedKeysAsOneBlock) {
  const struct {
    std::string old_file, new_file;
  } cases[] = {
      {"; kept\r\n[Other]\r\nContest=9\r\n[general]\r\nComment=old\r\nForeign=yes\r\n"
       "bandDisplay=1\r\nContest=4\r\n\r\n[Last]\r\ny=2",
       "; kept\n[Other]\nContest=9\n[general]\nBandDisplay=1\nTimeFormat=0\nFields=2\n"
       "Contest=4\nComment=new\nForeign=yes\n\n[Last]\ny=2\n"},
      {"[Other]\nx=1",
       "[Other]\nx=1\n[General]\nBandDisplay=1\nTimeFormat=0\nFields=2\n"
       "Contest=4\nComment=new\n"},
  };
  for (const auto& c : cases) {
    ScratchDir dir;
    ConversionOptions options = ReadFrom(dir, c.old_file);
    options.extra_fields = 2;
    options.band_numeric = 1;
    options.contest = 4;
    std::strcpy(options.comment, "new");
    ASSERT_EQ(WriteSettings(dir.Path("quorvelwin.ini"), options), "");
    EXPECT_EQ(ReadFile(dir.Path("quorvelwin.ini")), c.new_file);
    EXPECT_EQ(FolderEntries(dir.Root()), std::vector<std::string>{"quorvelwin.ini"});
  }
}

TEST(SettingsFile, ReportsWhatCannotBeWrittenAndCreatesNothing) {
  ScratchDir dir;
  WriteFile(dir.Path("blocker"), "a file, not a folder");
  std::filesystem::create_directory(dir.Path("folder.ini"));
  ConversionOptions options{};
  const std::string paths[] = {dir.Path("blocker/sub/quorvelwin.ini"), dir.Path("folder.ini")};
  for (const std::string& path : paths) {
    std::string error = WriteSettings(path, options);
    EXPECT_NE(error, "") << path;
    EXPECT_EQ(error.rfind("Could not ", 0), 0u) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos);
  }
  EXPECT_EQ(ReadFile(dir.Path("blocker")), "a file, not a folder");
  EXPECT_EQ(FolderEntries(dir.Root()).size(), 2u);
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path("folder.ini")));
}

TEST(SettingsFile, PathFollowsXdgConfigHomeThenHome) {
  const struct {
    const char* xdg;
    const char* home;
    std::string path;
  } cases[] = {
      {"/cfg", "/home/op", "/cfg/quorvel/quorvelwin.ini"},
      {"relative/cfg", "/home/op", "/home/op/.config/quorvel/quorvelwin.ini"},
      {"", "/home/op", "/home/op/.config/quorvel/quorvelwin.ini"},
      {nullptr, "/home/op", "/home/op/.config/quorvel/quorvelwin.ini"},
      {nullptr, nullptr, ""},
  };
  auto set = [](const char* name, const char* value) {
    value ? setenv(name, value, 1) : unsetenv(name);
  };
  auto saved = [](const char* name) { return getenv(name) ? std::string(getenv(name)) : "\x01"; };
  const std::string saved_xdg = saved("XDG_CONFIG_HOME"), saved_home = saved("HOME");
  for (const auto& c : cases) {
    set("XDG_CONFIG_HOME", c.xdg);
    set("HOME", c.home);
    EXPECT_EQ(SettingsFilePath(), c.path) << (c.xdg ? c.xdg : "(unset)");
  }
  set("XDG_CONFIG_HOME", saved_xdg == "\x01" ? nullptr : saved_xdg.c_str());
  set("HOME", saved_home == "\x01" ? nullptr : saved_home.c_str());
}

}  // namespace
}  // namespace quorvel
