// The amateur bands by frequency: ADIF's band names with their edges and the band code of each
// band that has one. A contact that names a band without a code (60 m, 630 m) keeps its
// frequency, and its band is found again from the frequency.
#pragma once

#include <cstdint>
#include <string_view>

namespace quorvel {

struct BandEdges {
  std::string_view adif_name;
  std::uint64_t lowest;   // units of 100 Hz, like the record's `freq`
  std::uint64_t highest;  // inclusive
  std::uint8_t code;      // band code, 0 for a band the codes do not name
};

inline constexpr std::uint64_t kMhz = 10000;

/// ADIF's band enumeration, lowest band first.
inline constexpr BandEdges kBandEdges[] = {
    {"2190m", 1357, 1378, 0},
    {"630m", 4720, 4790, 0},
    {"560m", 5010, 5040, 0},
    {"160m", 18 * kMhz / 10, 2 * kMhz, 1},
    {"80m", 35 * kMhz / 10, 4 * kMhz, 2},
    {"60m", 506 * kMhz / 100, 545 * kMhz / 100, 0},
    {"40m", 7 * kMhz, 73 * kMhz / 10, 3},
    {"30m", 101 * kMhz / 10, 1015 * kMhz / 100, 4},
    {"20m", 14 * kMhz, 1435 * kMhz / 100, 5},
    {"17m", 18068 * kMhz / 1000, 18168 * kMhz / 1000, 6},
    {"15m", 21 * kMhz, 2145 * kMhz / 100, 7},
    {"12m", 2489 * kMhz / 100, 2499 * kMhz / 100, 8},
    {"10m", 28 * kMhz, 297 * kMhz / 10, 9},
    {"8m", 40 * kMhz, 45 * kMhz, 0},
    {"6m", 50 * kMhz, 54 * kMhz, 10},
    {"5m", 54 * kMhz + 1, 699 * kMhz / 10, 0},
    {"4m", 70 * kMhz, 71 * kMhz, 11},
    {"2m", 144 * kMhz, 148 * kMhz, 12},
    {"1.25m", 222 * kMhz, 225 * kMhz, 13},
    {"70cm", 420 * kMhz, 450 * kMhz, 14},
    {"33cm", 902 * kMhz, 928 * kMhz, 15},
    {"23cm", 1240 * kMhz, 1300 * kMhz, 16},
    {"13cm", 2300 * kMhz, 2450 * kMhz, 17},
    {"9cm", 3300 * kMhz, 3500 * kMhz, 18},
    {"6cm", 5650 * kMhz, 5925 * kMhz, 19},
    {"3cm", 10000 * kMhz, 10500 * kMhz, 20},
    {"1.25cm", 24000 * kMhz, 24250 * kMhz, 22},
    {"6mm", 47000 * kMhz, 47200 * kMhz, 23},
    {"4mm", 75500 * kMhz, 81000 * kMhz, 0},
    {"2.5mm", 119980 * kMhz, 123000 * kMhz, 24},
    {"2mm", 134000 * kMhz, 149000 * kMhz, 25},
    {"1mm", 241000 * kMhz, 250000 * kMhz, 26},
    {"submm", 300000 * kMhz, 7500000 * kMhz, 0},
};

/// The band a frequency lies in, or null outside every band (and for 0).
constexpr const BandEdges* BandOfFrequency(std::uint64_t freq) {
  for (const BandEdges& band : kBandEdges) {
    if (freq >= band.lowest && freq <= band.highest) return &band;
  }
  return nullptr;
}

}  // namespace quorvel
