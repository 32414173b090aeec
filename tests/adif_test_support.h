// Helpers of the ADIF tests: a working folder with small hand-written reference files, and
// whole-file reading and writing through the ADIF format object.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/contest_header.h"
#include "core/qso_record.h"
#include "formats/adif_log_file.h"
#include "test_support.h"

namespace quorvel::testing {

/// A scratch folder that is the working directory while the object lives. It holds the ADIF
/// tests' own cqww.cty and stsec.dat (tests/golden/adif), so that results do not depend on
/// the reference files shipped with the program.
class AdifWorkspace {
 public:
  AdifWorkspace();
  ~AdifWorkspace();
  AdifWorkspace(const AdifWorkspace&) = delete;
  AdifWorkspace& operator=(const AdifWorkspace&) = delete;

  std::string Path(const std::string& name) const { return dir.Path(name); }
  /// Writes `bytes` to a file of the folder and returns its path.
  std::string Write(const std::string& name, const std::string& bytes) const;

 private:
  ScratchDir dir;
  std::filesystem::path previous;
};

/// The folder of the ADIF golden files and reference files in the source tree.
inline std::string AdifGoldenDir();

struct AdifLog {
  int opened = 0;
  ContestHeader header{};
  std::vector<QsoRecord> qsos;
};

/// Reads a whole ADIF file the way a conversion does. `contest` is the -c option's code.
inline AdifLog ReadAdifFile(const std::string& path, int contest = 0);
/// Writes `text` into the workspace as an .adi file and reads it.
inline AdifLog ReadAdifText(const AdifWorkspace& workspace, const std::string& text,
                            int contest = 0);

/// Writes a header and contacts through the ADIF writer into a new file and returns its text.
inline std::string WriteAdif(const AdifWorkspace& workspace, const ContestHeader& header,
                             const std::vector<QsoRecord>& qsos,
                             const std::string& name = "out.adi");

/// A record with a call and a start time, all else absent.
inline QsoRecord Contact(const std::string& call, std::int32_t time_on);

/// The contacts of an ADIF text: everything after its "<eoh>" line.
inline std::string ContactText(const std::string& adif);

inline std::string AdifGoldenDir() {
  return std::string(QUORVEL_SOURCE_DIR) + "/tests/golden/adif";
}

inline AdifWorkspace::AdifWorkspace() : previous(std::filesystem::current_path()) {
  for (const char* name : {"cqww.cty", "stsec.dat"}) {
    std::filesystem::copy_file(AdifGoldenDir() + "/" + name, dir.Path(name));
  }
  std::filesystem::current_path(dir.Root());
}

inline AdifWorkspace::~AdifWorkspace() {
  std::error_code error;
  std::filesystem::current_path(previous, error);
}

inline std::string AdifWorkspace::Write(const std::string& name, const std::string& bytes) const {
  WriteFile(Path(name), bytes);
  return Path(name);
}

inline AdifLog ReadAdifFile(const std::string& path, int contest) {
  AdifLog log;
  AdifLogFile reader;
  ConversionOptions options{};
  options.contest = static_cast<std::uint8_t>(contest);
  reader.SetOptions(&options);
  log.opened = reader.Open(path.c_str(), kModeReadText);
  QsoRecord record;
  while (log.opened && !reader.IsEof() && reader.ReadQso(record)) log.qsos.push_back(record);
  log.header = reader.Header();
  reader.Close();
  return log;
}

inline AdifLog ReadAdifText(const AdifWorkspace& workspace, const std::string& text, int contest) {
  static int counter = 0;  // a fresh name per text: the writer never replaces a file
  return ReadAdifFile(workspace.Write("in" + std::to_string(counter++) + ".adi", text), contest);
}

inline std::string WriteAdif(const AdifWorkspace& workspace, const ContestHeader& header,
                             const std::vector<QsoRecord>& qsos, const std::string& name) {
  std::string path = workspace.Path(name);
  {
    AdifLogFile writer;
    EXPECT_EQ(writer.Open(path.c_str(), kModeWriteNew), 1);
    EXPECT_EQ(writer.WriteHeader(header), 1);
    for (const QsoRecord& record : qsos) writer.WriteQso(record);
    writer.Close();
  }
  return ReadFile(path);
}

inline QsoRecord Contact(const std::string& call, std::int32_t time_on) {
  QsoRecord record;
  record.Clear();
  record.SetCallText(call);
  record.time_on = time_on;
  return record;
}

inline std::string ContactText(const std::string& adif) {
  std::size_t end_of_header = adif.find("<eoh>\r\n");
  return end_of_header == std::string::npos ? adif : adif.substr(end_of_header + 7);
}

}  // namespace quorvel::testing
