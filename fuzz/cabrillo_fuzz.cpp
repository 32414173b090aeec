// Cabrillo logs of any content: the header's texts stay within their fields and its contest is
// one of the codes, every QSO read keeps its texts within theirs and a band and mode of the
// codes, the counts of lines passed over never go below zero, and the whole conversion writes
// the QSOs again as a CT 8 log that reads back one for one.
#include <cstdint>

#include "formats/cabrillo_log_file.h"
#include "fuzz_file.h"
#include "fuzz_reader.h"

namespace {

using namespace quorvel;

void CheckHeader(const ContestHeader& header) {
  if (!fuzzing::Terminated(header.call, sizeof header.call) ||
      !fuzzing::Terminated(header.contest_name, sizeof header.contest_name) ||
      !fuzzing::Terminated(header.year, sizeof header.year) ||
      !fuzzing::Terminated(header.name, sizeof header.name) ||
      !fuzzing::Terminated(header.address, sizeof header.address) ||
      !fuzzing::Terminated(header.city, sizeof header.city) ||
      !fuzzing::Terminated(header.state, sizeof header.state) ||
      !fuzzing::Terminated(header.zip, sizeof header.zip) ||
      !fuzzing::Terminated(header.club, sizeof header.club) ||
      !fuzzing::Terminated(header.arrl_sect, sizeof header.arrl_sect) ||
      !fuzzing::Terminated(header.gridsquare, sizeof header.gridsquare) ||
      !fuzzing::Terminated(header.operators, sizeof header.operators) ||
      header.contest > kContestCount || header.mode > kModeCount || header.power_cat > 3) {
    __builtin_trap();
  }
}

void ReadEveryQso(const char* path) {
  CabrilloLogFile reader;
  if (!reader.Open(path, kModeReadText)) return;
  CheckHeader(reader.Header());
  QsoRecord record;
  int count = 0;
  while (reader.ReadQso(record)) {
    fuzzing::CheckTexts(record);
    if (record.band > kBandCount || record.mode > kModeCount) __builtin_trap();
    if (!fuzzing::Terminated(record.band_name, sizeof record.band_name) ||
        !fuzzing::Terminated(record.mode_name, sizeof record.mode_name)) {
      __builtin_trap();
    }
    ++count;
  }
  const ReadingNotes& notes = reader.Notes();
  if (count != reader.QsoCount() || notes.unread_lines < 0 || notes.x_qsos < 0) __builtin_trap();
  fuzzing::CheckStop(notes, reader.FileSize());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quorvel::fuzzing::FuzzFile file(data, size, "cbr");
  ReadEveryQso(file.Path());
  quorvel::fuzzing::ConvertToCt8(file.Path());
  return 0;
}
