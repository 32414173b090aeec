// TR Log listings of any content: every QSO read keeps its texts within their fields, and the
// QSOs written again as a listing of the same contest read back one for one.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "formats/trlog_log_file.h"
#include "fuzz_file.h"

namespace {

bool Terminated(const char* field, std::size_t width) {
  return field[width - 1] == '\0';
}

std::vector<quorvel::QsoRecord> ReadAll(const char* path, quorvel::ContestHeader& header) {
  std::vector<quorvel::QsoRecord> records;
  quorvel::TrLogFile reader;
  if (!reader.Open(path, quorvel::kModeReadText)) return records;
  quorvel::QsoRecord record;
  while (!reader.IsEof() && reader.ReadQso(record)) {
    if (!Terminated(record.call, sizeof record.call) ||
        !Terminated(record.rcvd_exch, sizeof record.rcvd_exch) ||
        !Terminated(record.name, sizeof record.name) ||
        !Terminated(record.mults, sizeof record.mults)) {
      __builtin_trap();
    }
    records.push_back(record);
  }
  if (static_cast<int>(records.size()) != reader.QsoCount()) __builtin_trap();
  header = reader.Header();
  return records;
}

void WriteAndReadBack(const std::vector<quorvel::QsoRecord>& records,
                      quorvel::ContestHeader header) {
  if (header.contest == quorvel::kContestNone) header.contest = quorvel::kContestGeneralQso;
  std::string output = quorvel::fuzzing::ScratchPath("out.dat");
  std::remove(output.c_str());
  std::size_t written = 0;
  {
    quorvel::TrLogFile writer;
    if (!writer.Open(output.c_str(), quorvel::kModeWriteNew)) return;
    if (!writer.WriteHeader(header)) __builtin_trap();
    for (const quorvel::QsoRecord& record : records) written += writer.WriteQso(record);
    writer.Close();
  }
  quorvel::ContestHeader read_header{};
  if (ReadAll(output.c_str(), read_header).size() != written) __builtin_trap();
  std::remove(output.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quorvel::fuzzing::FuzzFile file(data, size, "dat");
  quorvel::ContestHeader header{};
  std::vector<quorvel::QsoRecord> records = ReadAll(file.Path(), header);
  WriteAndReadBack(records, header);
  return 0;
}
