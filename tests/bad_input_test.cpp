// The bad-input catalogue: the built quorvelcon run on logs that are empty, cut short, random,
// oddly encoded, not files at all, or aimed at outputs it cannot make. Each row is one run: the
// files laid out first, the arguments, what the run prints after the banner and its exit code.
// After every run the files that were there before hold the same bytes, a failed run has left
// no file behind, a text output holds no NUL, and nothing was printed on standard error (where
// a sanitizer reports).
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/format_factory.h"
#include "test_support.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// ---- what a row lays out ----

enum class Kind {
  kBytes,     // a file holding `bytes`
  kSample,    // the first `size` bytes of a generated log of 3 QSOs (sample = its name)
  kFolder,    // an empty folder
  kLocked,    // a file holding `bytes` that nobody may read (skipped where the lock is ignored)
  kReadOnly,  // a folder nobody may write into (skipped where the lock is ignored)
  kLink,      // a symbolic link to `bytes`
};

struct Item {
  Kind kind;
  std::string path;
  std::string bytes;
  std::string sample;
  std::size_t size = 0;
};

Item Bytes(std::string path, std::string bytes) {
  return {Kind::kBytes, std::move(path), std::move(bytes), "", 0};
}
Item Folder(std::string path) {
  return {Kind::kFolder, std::move(path), "", "", 0};
}
Item Locked(std::string path, std::string bytes) {
  return {Kind::kLocked, std::move(path), std::move(bytes), "", 0};
}
Item ReadOnlyFolder(std::string path) {
  return {Kind::kReadOnly, std::move(path), "", "", 0};
}
Item Link(std::string path, std::string target) {
  return {Kind::kLink, std::move(path), std::move(target), "", 0};
}

// Bytes of a seeded generator, the same on every platform (no distribution is involved).
std::string RandomBytes(unsigned seed, std::size_t size) {
  std::mt19937 generator(seed);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(generator() & 0xFF);
  return bytes;
}

std::string GoldenInput(const std::string& name) {
  return testing::ReadFile(std::string(QUORVEL_SOURCE_DIR) + "/tests/golden/cases/" + name);
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  std::size_t at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// The text with its line ends turned into lone carriage returns.
std::string CrOnly(std::string text) {
  std::string result;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    result += text[i] == '\n' ? '\r' : text[i];
  }
  return result;
}

// The text with a line of one megabyte put in before its line number `line` (from 0).
std::string WithLongLine(const std::string& text, int line) {
  std::size_t at = 0;
  for (int i = 0; i < line && at != std::string::npos; ++i) at = text.find('\n', at) + 1;
  return text.substr(0, at) + std::string(1 << 20, 'x') + "\r\n" + text.substr(at);
}

// ---- the logs the rows start from ----

const std::string kAdif =
    "Contest log\r\n<call:4>N0QV<contest_id:5>CQ-WW<eoh>\r\n"
    "<call:5>K1ABC<qso_date:8>20261128<time_on:4>1200<band:3>20M<mode:2>CW<name:4>Jose<eor>\r\n"
    "<call:5>DL1XY<qso_date:8>20261128<time_on:4>1201<band:3>40M<mode:2>CW<name:3>Ute<eor>\r\n";
const std::string kArrl = GoldenInput("field-day-and-sweepstakes/expected.log");
const std::string kTrLog = GoldenInput("trlog-general/expected.dat");
const std::string kWrtc = GoldenInput("wrtc-logs/in-wrtc.log");
const std::string kCluster = GoldenInput("spot-logs/in-cluster.dat");
const std::string kInfo = GoldenInput("spot-logs/in-info.dat");

// The generated logs of the formats the engine reads in bytes: 3 QSOs each, written by the
// benchmark's writers (CT 8 by the engine's own).
struct Sample {
  std::string name;
  std::string file;
  int format;  // 0: the writer of the file's extension
};
const Sample kSamples[] = {
    {"ct8", "sample.bin", kFormatNone},     {"ct9", "sample.bin", kFormatCt9},
    {"ct-old", "sample.bin", kFormatCtOld}, {"na-new", "sample.qdf", kFormatNaNew},
    {"na-old", "sample.qdf", kFormatNaOld},
};

Item Cut(std::string path, std::string sample, std::size_t size) {
  return {Kind::kSample, std::move(path), "", std::move(sample), size};
}

// ---- what a row expects ----

// The closing lines of a conversion, with the count of QSOs read without a date or time.
std::string Done(int qsos, int undated = 0) {
  std::string lines = "Conversion Complete!\n\rProcessed " + std::to_string(qsos) + " QSO's\n\r";
  if (undated > 0) {
    lines += std::to_string(undated) +
             " QSO's had no readable date or time: 1970-01-01 and 00:00 stand in for them\n\r";
  }
  return lines;
}
// The last line of a conversion whose input could not be read to its end.
std::string Stopped(std::size_t at, std::size_t size) {
  return "Stopped at byte " + std::to_string(at) + " of " + std::to_string(size) +
         ": the rest of the input could not be read\n\r";
}
std::string Unrecognised(const std::string& input) {
  return "Error opening input file " + input;
}
std::string NotOpened(const std::string& input) {
  return "Error opening " + input + "\n\r" + Unrecognised(input);
}
std::string NotCreated(const std::string& output) {
  return "Output file could not be opened\n\rError opening output file " + output;
}

constexpr int kFailed = 255;  // exit -1 as the shell sees it
constexpr int kStopped = 3;   // converted up to data the reader could not read

// The DX Info sample's seventh record has no 'O' mark: six records of 79 characters and a line
// end come before it.
constexpr std::size_t kInfoBadMark = 6 * 81;
constexpr std::size_t kInfoBadMarkCrOnly = 6 * 80;

struct Case {
  std::string name;
  std::vector<Item> items;
  std::vector<std::string> args;
  std::string console;
  int exit_code;
};

// A binary log cut at its record boundaries and inside its header and a record: the
// conversion ends at the last whole record, and a cut inside a record is said.
std::vector<Case> CutRows(const std::string& sample, const std::string& input, std::size_t header,
                          std::size_t record) {
  std::vector<Case> rows = {
      {sample + "-cut-in-header",
       {Cut(input, sample, header / 2)},
       {input, "out.adi"},
       NotOpened(input),
       kFailed},
  };
  for (int whole = 0; whole <= 3; ++whole) {
    rows.push_back({sample + "-cut-after-" + std::to_string(whole),
                    {Cut(input, sample, header + whole * record)},
                    {input, "out.adi"},
                    Done(whole),
                    0});
  }
  rows.push_back({sample + "-cut-in-record-2",
                  {Cut(input, sample, header + record + record / 2)},
                  {input, "out.adi"},
                  Done(1) + Stopped(header + record, header + record + record / 2),
                  kStopped});
  return rows;
}

std::vector<Case> Catalogue() {
  std::vector<Case> rows = {
      // Empty files under every extension the format table knows, and none.
      {"empty-bin", {Bytes("in.bin", "")}, {"in.bin", "out.adi"}, NotOpened("in.bin"), kFailed},
      {"empty-dat", {Bytes("in.dat", "")}, {"in.dat", "out.adi"}, Unrecognised("in.dat"), kFailed},
      {"empty-qdf", {Bytes("in.qdf", "")}, {"in.qdf", "out.adi"}, Unrecognised("in.qdf"), kFailed},
      {"empty-log", {Bytes("in.log", "")}, {"in.log", "out.adi"}, Unrecognised("in.log"), kFailed},
      {"empty-adi", {Bytes("in.adi", "")}, {"in.adi", "out.adi"}, NotOpened("in.adi"), kFailed},
      {"empty-cbr", {Bytes("in.cbr", "")}, {"in.cbr", "out.adi"}, NotOpened("in.cbr"), kFailed},
      {"empty-dbf", {Bytes("in.dbf", "")}, {"in.dbf", "out.adi"}, Unrecognised("in.dbf"), kFailed},
      {"empty-sdf", {Bytes("in.sdf", "")}, {"in.sdf", "out.adi"}, Unrecognised("in.sdf"), kFailed},
      {"empty-no-extension", {Bytes("in", "")}, {"in", "out.adi"}, Unrecognised("in"), kFailed},
      // Random bytes under every extension.
      {"random-bin",
       {Bytes("in.bin", RandomBytes(1, 4096))},
       {"in.bin", "out.adi"},
       NotOpened("in.bin"),
       kFailed},
      {"random-dat",
       {Bytes("in.dat", RandomBytes(2, 4096))},
       {"in.dat", "out.adi"},
       Unrecognised("in.dat"),
       kFailed},
      {"random-qdf",
       {Bytes("in.qdf", RandomBytes(3, 4096))},
       {"in.qdf", "out.adi"},
       NotOpened("in.qdf"),
       kFailed},
      {"random-log",
       {Bytes("in.log", RandomBytes(4, 4096))},
       {"in.log", "out.adi"},
       Unrecognised("in.log"),
       kFailed},
      {"random-adi", {Bytes("in.adi", RandomBytes(5, 4096))}, {"in.adi", "out.adi"}, Done(0), 0},
      {"random-cbr",
       {Bytes("in.cbr", RandomBytes(6, 4096))},
       {"in.cbr", "out.adi"},
       NotOpened("in.cbr"),
       kFailed},
      {"random-dbf",
       {Bytes("in.dbf", RandomBytes(7, 4096))},
       {"in.dbf", "out.adi"},
       Unrecognised("in.dbf"),
       kFailed},
      {"random-sdf",
       {Bytes("in.sdf", RandomBytes(8, 4096))},
       {"in.sdf", "out.adi"},
       Unrecognised("in.sdf"),
       kFailed},
      // Text logs with a NUL, a line of a megabyte, lone CRs, Latin-1 and UTF-8 letters.
      {"adif-whole", {Bytes("in.adi", kAdif)}, {"in.adi", "out.adi"}, Done(2), 0},
      {"adif-nul",
       {Bytes("in.adi", Replaced(kAdif, "K1ABC", "K1\0BC"s))},
       {"in.adi", "out.adi"},
       Done(2),
       0},
      {"adif-long-line",
       {Bytes("in.adi", WithLongLine(kAdif, 2))},
       {"in.adi", "out.adi"},
       Done(2),
       0},
      {"adif-cr-only", {Bytes("in.adi", CrOnly(kAdif))}, {"in.adi", "out.adi"}, Done(2), 0},
      {"adif-latin1",
       {Bytes("in.adi", Replaced(kAdif, "Jose", "Jos\xE9"))},
       {"in.adi", "out.adi"},
       Done(2),
       0},
      {"adif-utf8",
       {Bytes("in.adi", Replaced(kAdif, "<name:3>Ute", "<name:4>\xC3\x9Cte"))},
       {"in.adi", "out.adi"},
       Done(2),
       0},
      {"arrl-whole", {Bytes("in.log", kArrl)}, {"in.log", "out.adi", "-cFD"}, Done(3), 0},
      {"arrl-nul",
       {Bytes("in.log", Replaced(kArrl, "W2AW", "W2\0W"s))},
       {"in.log", "out.adi", "-cFD"},
       Done(3),
       0},
      {"arrl-long-line",
       {Bytes("in.log", WithLongLine(kArrl, 1))},
       {"in.log", "out.adi", "-cFD"},
       Done(4, 1),
       0},
      {"arrl-cr-only", {Bytes("in.log", CrOnly(kArrl))}, {"in.log", "out.adi", "-cFD"}, Done(3), 0},
      {"arrl-latin1",
       {Bytes("in.log", Replaced(kArrl, "W2AW", "W2\xC4W"))},
       {"in.log", "out.adi", "-cFD"},
       Done(3),
       0},
      {"arrl-utf8",
       {Bytes("in.log", Replaced(kArrl, "W2AW", "W2\xC3\x84W"))},
       {"in.log", "out.adi", "-cFD"},
       Done(3),
       0},
      {"trlog-whole", {Bytes("in.dat", kTrLog)}, {"in.dat", "out.adi"}, Done(2), 0},
      {"trlog-nul",
       {Bytes("in.dat", Replaced(kTrLog, "G4ABC", "G4\0BC"s))},
       {"in.dat", "out.adi"},
       Done(2),
       0},
      {"trlog-long-line",
       {Bytes("in.dat", WithLongLine(kTrLog, 5))},
       {"in.dat", "out.adi"},
       Done(2),
       0},
      {"trlog-cr-only", {Bytes("in.dat", CrOnly(kTrLog))}, {"in.dat", "out.adi"}, Done(2), 0},
      {"trlog-latin1",
       {Bytes("in.dat", Replaced(kTrLog, "G4ABC",
                                 "G4\xC4"
                                 "BC"))},
       {"in.dat", "out.adi"},
       Done(2),
       0},
      {"trlog-utf8",
       {Bytes("in.dat", Replaced(kTrLog, "G4ABC",
                                 "G4\xC3\x84"
                                 "BC"))},
       {"in.dat", "out.adi"},
       Done(2),
       0},
      {"wrtc-whole", {Bytes("in.log", kWrtc)}, {"in.log", "out.adi"}, Done(10, 3), 0},
      {"wrtc-nul",
       {Bytes("in.log", Replaced(kWrtc, "JA1XYZ", "JA1\0YZ"s))},
       {"in.log", "out.adi"},
       Done(10, 3),
       0},
      {"wrtc-long-line",
       {Bytes("in.log", WithLongLine(kWrtc, 1))},
       {"in.log", "out.adi"},
       Done(11, 4),
       0},
      {"wrtc-cr-only", {Bytes("in.log", CrOnly(kWrtc))}, {"in.log", "out.adi"}, Done(10, 3), 0},
      {"wrtc-latin1",
       {Bytes("in.log", Replaced(kWrtc, "JA1XYZ", "JA1\xC4YZ"))},
       {"in.log", "out.adi"},
       Done(10, 3),
       0},
      {"wrtc-utf8",
       {Bytes("in.log", Replaced(kWrtc, "JA1XYZ", "JA1\xC3\x84YZ"))},
       {"in.log", "out.adi"},
       Done(10, 3),
       0},
      {"cluster-whole", {Bytes("in.dat", kCluster)}, {"in.dat", "out.adi"}, Done(7, 1), 0},
      {"cluster-nul",
       {Bytes("in.dat", Replaced(kCluster, "JA1XYZ", "JA1\0YZ"s))},
       {"in.dat", "out.adi"},
       Done(7, 1),
       0},
      {"cluster-long-line",
       {Bytes("in.dat", WithLongLine(kCluster, 1))},
       {"in.dat", "out.adi"},
       Done(1) + Stopped(86, WithLongLine(kCluster, 1).size()),
       kStopped},
      {"cluster-cr-only",
       {Bytes("in.dat", CrOnly(kCluster))},
       {"in.dat", "out.adi"},
       Done(7, 1),
       0},
      {"cluster-latin1",
       {Bytes("in.dat", Replaced(kCluster, "CQ DX", "CQ D\xC4"))},
       {"in.dat", "out.adi"},
       Done(7, 1),
       0},
      {"cluster-utf8",
       {Bytes("in.dat", Replaced(kCluster, "CQ DX", "CQ \xC3\x84"))},
       {"in.dat", "out.adi"},
       Done(7, 1),
       0},
      {"cluster-cut-in-record-2",
       {Bytes("in.dat", kCluster.substr(0, 86 + 20))},
       {"in.dat", "out.adi"},
       Done(1) + Stopped(86, 86 + 20),
       kStopped},
      {"info-whole",
       {Bytes("in.dat", kInfo)},
       {"in.dat", "out.adi"},
       Done(6, 1) + Stopped(kInfoBadMark, kInfo.size()),
       kStopped},
      {"info-nul",
       {Bytes("in.dat", Replaced(kInfo, "JA1XYZ", "JA1\0YZ"s))},
       {"in.dat", "out.adi"},
       Done(6, 2) + Stopped(kInfoBadMark, kInfo.size()),
       kStopped},
      {"info-long-line",
       {Bytes("in.dat", WithLongLine(kInfo, 1))},
       {"in.dat", "out.adi"},
       Done(1) + Stopped(81, WithLongLine(kInfo, 1).size()),
       kStopped},
      {"info-cr-only",
       {Bytes("in.dat", CrOnly(kInfo))},
       {"in.dat", "out.adi"},
       Done(6, 1) + Stopped(kInfoBadMarkCrOnly, CrOnly(kInfo).size()),
       kStopped},
      {"info-latin1",
       {Bytes("in.dat", Replaced(kInfo, "K1TTT", "K1T\xC4T"))},
       {"in.dat", "out.adi"},
       Done(6, 1) + Stopped(kInfoBadMark, kInfo.size()),
       kStopped},
      {"info-utf8",
       {Bytes("in.dat", Replaced(kInfo, "K1TTT", "K1\xC3\x84T"))},
       {"in.dat", "out.adi"},
       Done(6, 1) + Stopped(kInfoBadMark, kInfo.size()),
       kStopped},
      {"info-cut-in-record-2",
       {Bytes("in.dat", kInfo.substr(0, 81 + 1))},
       {"in.dat", "out.adi"},
       Done(2, 1),
       0},
      // Folders, locks, missing folders, existing outputs and unusual names.
      {"folder-as-input-adi",
       {Folder("in.adi")},
       {"in.adi", "out.adi"},
       NotOpened("in.adi"),
       kFailed},
      {"folder-as-input-bin",
       {Folder("in.bin")},
       {"in.bin", "out.adi"},
       NotOpened("in.bin"),
       kFailed},
      {"folder-as-output",
       {Bytes("in.adi", kAdif), Folder("out.adi")},
       {"in.adi", "out.adi"},
       NotCreated("out.adi"),
       kFailed},
      {"locked-input",
       {Locked("in.adi", kAdif)},
       {"in.adi", "out.adi"},
       NotOpened("in.adi"),
       kFailed},
      {"input-that-opens-but-cannot-be-read",
       {Link("in.adi", "/proc/self/mem")},
       {"in.adi", "out.adi"},
       NotOpened("in.adi"),
       kFailed},
      {"missing-input", {}, {"in.adi", "out.adi"}, NotOpened("in.adi"), kFailed},
      {"missing-output-folder",
       {Bytes("in.adi", kAdif)},
       {"in.adi", "no such folder/out.adi"},
       NotCreated("no such folder/out.adi"),
       kFailed},
      {"read-only-output-folder",
       {Bytes("in.adi", kAdif), ReadOnlyFolder("locked")},
       {"in.adi", "locked/out.adi"},
       NotCreated("locked/out.adi"),
       kFailed},
      {"output-in-a-system-folder",
       {Bytes("in.adi", kAdif)},
       {"in.adi", "/proc/out.adi"},
       NotCreated("/proc/out.adi"),
       kFailed},
      {"output-exists",
       {Bytes("in.adi", kAdif), Bytes("out.adi", "precious\r\n")},
       {"in.adi", "out.adi"},
       NotCreated("out.adi"),
       kFailed},
      {"output-is-the-input",
       {Bytes("in.adi", kAdif)},
       {"in.adi", "in.adi"},
       NotCreated("in.adi"),
       kFailed},
      {"output-exists-as-ct8",
       {Bytes("in.adi", kAdif), Bytes("out.bin", RandomBytes(9, 100))},
       {"in.adi", "out.bin"},
       NotCreated("out.bin"),
       kFailed},
      {"names-with-blanks-and-letters",
       {Folder("my logs"), Bytes("my logs/Kåre Ærø.adi", kAdif), Folder("ütf ø")},
       {"my logs/Kåre Ærø.adi", "ütf ø/Ünï cödé.bin"},
       Done(2),
       0},
      {"names-in-latin1",
       {Bytes("K\xE5re.adi", kAdif)},
       {"K\xE5re.adi", "\xC6r\xF8.adi"},
       Done(2),
       0},
      {"missing-input-with-blanks-and-letters",
       {},
       {"Kåre Ærø.adi", "out.adi"},
       NotOpened("Kåre Ærø.adi"),
       kFailed},
  };
  for (const auto& [sample, input, header, record] :
       {std::tuple{"ct8", "in.bin", 1024, 50}, std::tuple{"ct9", "in.bin", 4096, 50},
        std::tuple{"ct-old", "in.bin", 398, 37}, std::tuple{"na-new", "in.qdf", 800, 40},
        std::tuple{"na-old", "in.qdf", 800, 40}}) {
    for (Case& row : CutRows(sample, input, header, record)) rows.push_back(std::move(row));
  }
  return rows;
}

// ---- laying out, running and checking ----

using Snapshot = std::map<std::string, std::string>;  // path in the folder -> bytes ("" folders)

Snapshot Take(const fs::path& root) {
  Snapshot snapshot;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    std::string name = fs::relative(entry.path(), root).string();
    snapshot[name] = entry.is_regular_file() && !entry.is_symlink()
                         ? testing::ReadFile(entry.path().string())
                         : std::string{};
  }
  return snapshot;
}

std::string MakeSample(const std::string& name, const testing::ScratchDir& dir) {
  for (const Sample& sample : kSamples) {
    if (sample.name != name) continue;
    std::vector<std::string> command{QUORVEL_LOGGEN_PATH, sample.file, "3", "3", "1"};
    if (sample.format != kFormatNone) command.push_back(std::to_string(sample.format));
    testing::RunResult made = testing::RunProgram(command, dir.Root().string());
    std::string bytes = testing::ReadFile(dir.Path(sample.file));
    fs::remove(dir.Path(sample.file));
    return made.exit_code == 0 ? bytes : std::string{};
  }
  return {};
}

bool Readable(const std::string& path) {
  return std::ifstream(path).is_open();
}
bool Writable(const fs::path& folder) {
  fs::path probe = folder / "probe";
  bool made = std::ofstream(probe).is_open();
  fs::remove(probe);
  return made;
}

void LayOut(const Item& item, const testing::ScratchDir& dir) {
  std::string path = dir.Path(item.path);
  switch (item.kind) {
    case Kind::kBytes:
    case Kind::kLocked:
      return testing::WriteFile(path, item.bytes);
    case Kind::kSample: {
      std::string sample = MakeSample(item.sample, dir);
      EXPECT_GE(sample.size(), item.size) << "sample " << item.sample;
      return testing::WriteFile(path, sample.substr(0, item.size));
    }
    case Kind::kFolder:
    case Kind::kReadOnly:
      fs::create_directory(path);
      return;
    case Kind::kLink:
      fs::create_symlink(item.bytes, path);
      return;
  }
}

// Locks a locked item; false when the lock does not hold for this user (one who may read and
// write everything, such as root).
bool Lock(const Item& item, const testing::ScratchDir& dir) {
  std::string path = dir.Path(item.path);
  if (item.kind == Kind::kLocked) {
    fs::permissions(path, fs::perms::none);
    return !Readable(path);
  }
  if (item.kind == Kind::kReadOnly) {
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_exec);
    return !Writable(path);
  }
  return true;
}

void UnlockAll(const fs::path& root) {
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_symlink())
      fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add);
  }
}

bool IsTextOutput(const std::string& output) {
  for (const char* extension : {".adi", ".cbr", ".log", ".dat"}) {
    if (fs::path(output).extension() == extension) return true;
  }
  return false;
}

void PrintTo(const Case& row, std::ostream* out) {
  *out << row.name;
}

class BadInput : public ::testing::TestWithParam<Case> {};

TEST_P(BadInput, PrintsItsMessageAndLeavesEveryOtherFileAlone) {
  const Case& row = GetParam();
  testing::ScratchDir dir;
  for (const Item& item : row.items) LayOut(item, dir);
  Snapshot before = Take(dir.Root());
  for (const Item& item : row.items) {
    if (!Lock(item, dir)) GTEST_SKIP() << item.path << " cannot be locked for this user";
  }
  testing::RunResult run = testing::RunQuorvelcon(row.args, dir.Root().string());
  UnlockAll(dir.Root());

  EXPECT_EQ(run.output, testing::kBanner + row.console);
  EXPECT_EQ(run.exit_code, row.exit_code);
  EXPECT_EQ(run.errors, "") << "standard error (a sanitizer report?)";
  Snapshot after = Take(dir.Root());
  std::string output = row.args.size() > 1 ? row.args[1] : "";
  if (run.exit_code == 0 || run.exit_code == kStopped) {  // a stopped conversion keeps its output
    ASSERT_TRUE(after.count(output)) << output << " was not written";
    if (IsTextOutput(output)) {
      EXPECT_EQ(after[output].find('\0'), std::string::npos) << "a NUL in " << output;
    }
    after.erase(output);
  }
  EXPECT_EQ(after.size(), before.size()) << "a file was left behind or removed";
  for (const auto& [name, bytes] : before) {
    EXPECT_TRUE(after.count(name) && after[name] == bytes) << name << " changed";
  }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, BadInput, ::testing::ValuesIn(Catalogue()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           std::string name = info.param.name;
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

// The catalogue's check for sanitizer reports rests on this.
TEST(ProgramRunner, KeepsStandardErrorApartFromStandardOutput) {
  testing::RunResult run = testing::RunProgram({"sh", "-c", "echo report >&2; echo out; exit 3"});
  EXPECT_EQ(run.output, "out\n");
  EXPECT_EQ(run.errors, "report\n");
  EXPECT_EQ(run.exit_code, 3);
}

}  // namespace
}  // namespace quorvel
