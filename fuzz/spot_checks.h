// What every spot QSO keeps, whatever the spot file holds: texts within their fields, a band
// and mode from the spot frequency table, the report of its mode, and a CQ WW log.
#pragma once

#include "core/contest_header.h"
#include "formats/spot_log_file.h"
#include "fuzz_reader.h"

namespace quorvel::fuzzing {

template <typename Reader>
void ReadEverySpot(const char* path) {
  Reader reader;
  if (!reader.Open(path, kModeReadText)) return;
  if (reader.Header().contest != kContestCqww) __builtin_trap();
  QsoRecord record;
  int count = 0;
  while (reader.ReadQso(record)) {
    CheckTexts(record);
    // A spot without a frequency has no band; one with a frequency has its table's band.
    SpotBand expected = record.freq == 0 ? SpotBand{} : SpotBandFromKhz(record.freq / 10);
    if (record.band != expected.band || record.mode != expected.mode ||
        record.rst_rcvd != (record.mode == kModeCw ? 599 : 59)) {
      __builtin_trap();
    }
    ++count;
  }
  if (count != reader.QsoCount()) __builtin_trap();
}

}  // namespace quorvel::fuzzing
