// ADIF logs of any content: the reader reads every contact under a contest chosen by the first
// byte, and a whole ADIF to ADIF conversion of half of the inputs must give a file that reads
// back contact for contact.
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/converter.h"
#include "formats/adif_log_file.h"
#include "fuzz_file.h"

namespace {

bool Terminated(const char* field, std::size_t width) {
  return field[width - 1] == '\0';
}

int ReadEveryContact(const char* path, int contest) {
  quorvel::AdifLogFile reader;
  quorvel::ConversionOptions options{};
  options.contest = static_cast<std::uint8_t>(contest);
  reader.SetOptions(&options);
  if (!reader.Open(path, quorvel::kModeReadText)) return -1;
  quorvel::QsoRecord record;
  int count = 0;
  while (!reader.IsEof() && reader.ReadQso(record)) {
    if (!Terminated(record.call, sizeof record.call) ||
        !Terminated(record.comment, sizeof record.comment) ||
        !Terminated(record.rcvd_exch, sizeof record.rcvd_exch) ||
        !Terminated(record.name, sizeof record.name)) {
      __builtin_trap();
    }
    ++count;
  }
  if (count != reader.QsoCount()) __builtin_trap();
  return count;
}

void ConvertAndReadBack(const char* path, int contest) {
  std::string output = quorvel::fuzzing::ScratchPath("out.adi");
  std::remove(output.c_str());
  int converted = 0;
  {
    quorvel::Converter converter;
    char option[16];
    std::snprintf(option, sizeof option, "-c%s", contest ? "SS" : "NONE");
    converter.ParseOptions(option);
    if (!converter.OpenInput(path) || !converter.OpenOutput(output.c_str(), 0)) {
      std::remove(output.c_str());
      return;
    }
    converted = quorvel::RunToEnd(converter);
  }
  // Every tag written states its true length, so the output reads back whole.
  if (ReadEveryContact(output.c_str(), contest ? quorvel::kContestSs : 0) != converted) {
    __builtin_trap();
  }
  std::remove(output.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  int contest = data[0] % (quorvel::kContestCount + 2);
  quorvel::fuzzing::FuzzFile file(data + 1, size - 1, "adi");
  ReadEveryContact(file.Path(), contest);
  // The whole conversion and its read-back take three more ADIF objects: half of the inputs
  // (chosen by the same first byte) go through it, which keeps the target fast.
  if ((data[0] & 2) != 0) ConvertAndReadBack(file.Path(), data[0] & 1);
  return 0;
}
