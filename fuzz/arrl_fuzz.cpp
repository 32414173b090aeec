// ARRL text logs of any content, read under each contest: every QSO read keeps its texts within
// their fields, and written again as an ARRL log every QSO written reads back as one line.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "formats/arrl_log_file.h"
#include "fuzz_file.h"

namespace {

constexpr int kContests[] = {0, 1, 2, 3, 5, 6, 7, 9, 11, 13, 16, 21};

void CheckTerminated(const quorvel::QsoRecord& record) {
  if (record.call[sizeof record.call - 1] != '\0') __builtin_trap();
  if (record.name[sizeof record.name - 1] != '\0') __builtin_trap();
  if (record.arrl_sect[sizeof record.arrl_sect - 1] != '\0') __builtin_trap();
  if (record.rcvd_exch[sizeof record.rcvd_exch - 1] != '\0') __builtin_trap();
}

std::vector<quorvel::QsoRecord> ReadAll(const char* path, int contest) {
  quorvel::ConversionOptions options{};
  options.contest = static_cast<std::uint8_t>(contest);
  quorvel::ArrlLogFile reader;
  reader.SetOptions(&options);
  std::vector<quorvel::QsoRecord> records;
  if (!reader.Open(path, quorvel::kModeReadText)) return records;
  quorvel::QsoRecord record;
  while (!reader.IsEof() && reader.ReadQso(record)) {
    CheckTerminated(record);
    records.push_back(record);
  }
  if (static_cast<int>(records.size()) != reader.QsoCount()) __builtin_trap();
  return records;
}

void WriteAndReadBack(const std::vector<quorvel::QsoRecord>& records, int contest) {
  if (!quorvel::ArrlLogFile::SupportsContest(contest)) return;
  std::string output = quorvel::fuzzing::ScratchPath("out.log");
  std::remove(output.c_str());
  std::size_t written = 0;
  {
    quorvel::ArrlLogFile writer;
    if (!writer.Open(output.c_str(), quorvel::kModeWriteNew)) return;
    quorvel::ContestHeader header{};
    header.contest = static_cast<std::uint8_t>(contest);
    if (!writer.WriteHeader(header)) __builtin_trap();
    for (const quorvel::QsoRecord& record : records) written += writer.WriteQso(record);
    writer.Close();
  }
  // A QSO of a year the column cannot give back is left out; every other one reads back.
  if (ReadAll(output.c_str(), contest).size() != written) __builtin_trap();
  std::remove(output.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  int contest = kContests[data[0] % (sizeof kContests / sizeof kContests[0])];
  quorvel::fuzzing::FuzzFile file(data + 1, size - 1, "log");
  WriteAndReadBack(ReadAll(file.Path(), contest), contest);
  return 0;
}
