// Helpers of the ARRL log and Cabrillo tests: writing and reading whole files through a format
// object, contacts built in code, and a working folder holding the tests' own small reference
// files (tests/golden/cabrillo), so that results do not depend on the shipped ones.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/civil_time.h"
#include "core/contest_header.h"
#include "core/log_file.h"
#include "core/qso_record.h"
#include "test_support.h"

namespace quorvel::testing {

/// The folder of the Cabrillo golden files and the tests' reference files.
inline std::string CabrilloGoldenDir() {
  return std::string(QUORVEL_SOURCE_DIR) + "/tests/golden/cabrillo";
}

/// A scratch folder holding copies of the tests' cqww.cty and stsec.dat.
class LogWorkspace {
 public:
  LogWorkspace() {
    for (const char* name : {"cqww.cty", "stsec.dat"}) {
      WriteFile(dir.Path(name), ReadFile(CabrilloGoldenDir() + "/" + name));
    }
  }
  std::string Path(const std::string& name) const { return dir.Path(name); }
  std::string Folder() const { return dir.Root().string(); }
  std::string Write(const std::string& name, const std::string& bytes) const {
    WriteFile(dir.Path(name), bytes);
    return dir.Path(name);
  }

 private:
  ScratchDir dir;
};

/// Makes a folder the working directory while the object lives, so that the reference files
/// are found there.
class WorkingFolder {
 public:
  explicit WorkingFolder(const std::string& folder) : previous(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~WorkingFolder() {
    std::error_code error;
    std::filesystem::current_path(previous, error);
  }
  WorkingFolder(const WorkingFolder&) = delete;
  WorkingFolder& operator=(const WorkingFolder&) = delete;

 private:
  std::filesystem::path previous;
};

/// A contact with call, band, mode and start time; all else absent.
inline QsoRecord Contact(const std::string& call, int band, int mode, int year, int month, int day,
                         int hour, int minute) {
  QsoRecord record;
  record.Clear();
  record.SetCallText(call);
  record.band = static_cast<std::uint8_t>(band);
  record.mode = static_cast<std::uint8_t>(mode);
  record.time_on = UtcSeconds(year, month, day, hour, minute, 0);
  return record;
}

inline ContestHeader HeaderFor(int contest, const std::string& call = "K1AB") {
  ContestHeader header{};
  header.contest = static_cast<std::uint8_t>(contest);
  std::snprintf(header.call, sizeof header.call, "%s", call.c_str());
  return header;
}

/// Writes the header and contacts through `file` into a new file at `path`; returns the text,
/// or "REFUSED" when the header was refused.
inline std::string WriteThrough(LogFile& file, const std::string& path, int contest_option,
                                const ContestHeader& header,
                                const std::vector<QsoRecord>& records) {
  ConversionOptions options{};
  options.contest = static_cast<std::uint8_t>(contest_option);
  file.SetOptions(&options);
  if (!file.Open(path.c_str(), kModeWriteNew)) return "NOT OPENED";
  if (!file.WriteHeader(header)) {
    file.Close();
    return "REFUSED";
  }
  for (const QsoRecord& record : records) file.WriteQso(record);
  file.Close();
  return ReadFile(path);
}

/// Reads every QSO of `path` through `file`, opened the way a conversion opens its input.
inline std::vector<QsoRecord> ReadThrough(LogFile& file, const std::string& path,
                                          int contest_option) {
  ConversionOptions options{};
  options.contest = static_cast<std::uint8_t>(contest_option);
  file.SetOptions(&options);
  std::vector<QsoRecord> records;
  if (!file.Open(path.c_str(), kModeReadText)) return records;
  QsoRecord record;
  while (!file.IsEof() && file.ReadQso(record)) records.push_back(record);
  file.Close();
  return records;
}

/// Every line read alone gives its contacts' fields; a log of the lines repeated past 300,000
/// bytes, so that lines cross the reader's buffer ends, must give the same fields in the same
/// order. `read` reads a text into records, `fields` makes a record's fields comparable.
template <typename Read, typename Fields>
void ExpectRepeatedLinesReadAsAlone(const std::vector<std::string>& lines, Read read,
                                    Fields fields) {
  std::vector<std::string> expected;
  for (const std::string& line : lines) {
    for (const QsoRecord& record : read(line)) expected.push_back(fields(record));
  }
  ASSERT_EQ(expected.size(), lines.size());  // the blank line gives none, the split one two
  std::string log;
  int rounds = 0;
  for (; log.size() < 300000; ++rounds) {
    for (const std::string& line : lines) log += line;
  }
  std::vector<QsoRecord> records = read(log);
  ASSERT_EQ(records.size(), expected.size() * static_cast<std::size_t>(rounds));
  for (std::size_t i = 0; i < records.size(); ++i) {
    ASSERT_EQ(fields(records[i]), expected[i % expected.size()]) << "record " << i;
  }
}

}  // namespace quorvel::testing
