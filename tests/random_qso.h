// A seeded generator of QSO records for round-trip properties: every field set within the
// range a layout holds, with the awkward values (the ends of each range, empty and full-width
// texts, signed reports) drawn far more often than chance would draw them.
#pragma once

#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <string_view>

#include "core/civil_time.h"
#include "core/contest_header.h"
#include "core/qso_record.h"

namespace quorvel::testing {

/// A closed range of whole numbers.
struct Span {
  std::int64_t low;
  std::int64_t high;
};

inline constexpr std::string_view kCallCharacters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/";
inline constexpr std::string_view kPrintableCharacters =
    " !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`"
    "abcdefghijklmnopqrstuvwxyz{|}~";

/// What a layout holds of each field; the generator draws only from these ranges. The defaults
/// are the record's own ranges.
struct QsoRanges {
  Span time{UtcSeconds(1970, 1, 1, 0, 0, 0), UtcSeconds(2100, 12, 31, 23, 59, 59)};
  bool whole_minutes = false;
  /// Times just outside `time`, which the writer must leave out; one record in this many.
  int outside_time_every = 40;
  std::string_view text_characters = kPrintableCharacters;
  int call_length = 16;  // longer than the record's 13: the record cuts it
  int name_length = 15;
  int qth_length = 29;
  int section_length = 4;
  int exchange_length = 39;
  int comment_length = 399;
  int grid_length = 11;
  Span srx{std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()};
  Span stx{0, std::numeric_limits<std::int32_t>::max()};
  Span report{std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()};
  Span freq{0, std::numeric_limits<std::uint32_t>::max()};
  Span zone{0, 255};
  Span age{0, 255};
  Span arci{0, 65535};
  Span ten_ten{0, std::numeric_limits<std::int32_t>::max()};
  Span tx_pwr{0, 65535};
  Span points{0, 255};
  Span fd_transmitters{1, 255};
  Span ss_check{0, 99};
};

class RandomQso {
 public:
  RandomQso(std::uint32_t seed, const QsoRanges& ranges) : random(seed), ranges(ranges) {}

  /// A record of `contest` with every field set; `inside` tells whether its time is one the
  /// layout holds.
  QsoRecord Next(int contest, bool& inside) {
    QsoRecord r;
    r.Clear();
    r.SetCallText(Text(1, ranges.call_length, kCallCharacters));
    inside = Between(1, ranges.outside_time_every) != 1;
    r.time_on = inside ? Time() : OutsideTime();
    r.time_off = Chance(3) ? 0 : r.time_on + Between(0, 86399);
    r.band = static_cast<std::uint8_t>(Between(0, kBandCount));
    r.freq = static_cast<std::uint32_t>(Draw(ranges.freq));
    r.mode = static_cast<std::uint8_t>(Between(0, kModeCount));
    r.contest = static_cast<std::uint8_t>(Between(0, kContestCount));
    r.tx_pwr = static_cast<std::uint16_t>(Draw(ranges.tx_pwr));
    r.stx = static_cast<std::int32_t>(Draw(ranges.stx));
    r.srx = static_cast<std::int32_t>(Draw(ranges.srx));
    r.SetName(FreeText(ranges.name_length));
    r.cqz = static_cast<std::uint8_t>(Draw(ranges.zone));
    r.ituz = static_cast<std::uint8_t>(Draw(ranges.zone));
    r.SetIota(FreeText(7));
    r.SetQth(FreeText(ranges.qth_length));
    r.SetArrlSect(FreeText(ranges.section_length));
    std::string state = FreeText(3);
    r.SetState(state.data(), static_cast<int>(state.size()));
    SetReports(r);
    r.ten_ten = static_cast<std::int32_t>(Draw(ranges.ten_ten));
    r.arci_num = static_cast<std::uint16_t>(Draw(ranges.arci));
    r.age = static_cast<std::uint8_t>(Draw(ranges.age));
    r.SetRcvdExch(FreeText(ranges.exchange_length));
    r.SetComment(FreeText(ranges.comment_length));
    SetPrecedenceAndCheck(contest, r);
    r.points = static_cast<std::uint8_t>(Draw(ranges.points));
    for (int i = Between(0, 3); i > 0; --i) r.AddMult(Pick({"K", "W1", "VE3", "DL", "05", "JA"}));
    r.exch_word = static_cast<std::uint16_t>(Between(0, 65535));
    r.qsl_sent = Pick({'Y', 'N', 'R', 'I', ' '});
    r.qsl_rcvd = Pick({'Y', 'N', 'R', 'I', ' '});
    r.aux_digit = static_cast<std::uint8_t>(Between(0, 9));
    r.SetGridsquare(Chance(2) ? "" : Text(4, ranges.grid_length, kCallCharacters));
    return r;
  }

  std::int64_t Between(std::int64_t low, std::int64_t high) {
    return std::uniform_int_distribution<std::int64_t>(low, high)(random);
  }
  /// True once in `n` draws.
  bool Chance(int n) { return Between(1, n) == 1; }

 private:
  // The ends of the range and 0 come up often; other values uniformly.
  std::int64_t Draw(Span span) {
    switch (Between(0, 7)) {
      case 0:
        return span.low;
      case 1:
        return span.high;
      case 2:
        return span.low <= 0 && span.high >= 0 ? 0 : span.low;
      default:
        return Between(span.low, span.high);
    }
  }

  std::string Text(int shortest, int longest, std::string_view characters) {
    int length = static_cast<int>(Chance(3) ? longest : Between(shortest, longest));
    std::string text;
    for (int i = 0; i < length; ++i) {
      text += characters[static_cast<std::size_t>(Between(0, characters.size() - 1))];
    }
    return text;
  }
  // Empty, full-width or anything between.
  std::string FreeText(int longest) {
    return Chance(5) ? std::string() : Text(1, longest, ranges.text_characters);
  }

  std::int64_t Time() {
    std::int64_t time = Draw(ranges.time);
    return ranges.whole_minutes ? time - time % 60 : time;
  }
  std::int64_t OutsideTime() {
    return Chance(2) ? ranges.time.low - 60 * Between(1, 1000000)
                     : ranges.time.high + 60 * Between(1, 1000000);
  }

  // Reports within the range, with or without the sign of a decibel report.
  void SetReports(QsoRecord& r) {
    r.rst_sent = static_cast<std::int16_t>(Draw(ranges.report));
    r.rst_rcvd = static_cast<std::int16_t>(Draw(ranges.report));
    if (Chance(4)) r.rst_sent = static_cast<std::int16_t>(Between(-30, 30));
    if (Chance(4)) r.rst_rcvd = static_cast<std::int16_t>(Between(-30, 30));
    r.report_signs = 0;
    if (r.rst_sent < 0 || Chance(8)) r.report_signs |= kSignedRstSent;
    if (r.rst_rcvd < 0 || Chance(8)) r.report_signs |= kSignedRstRcvd;
  }

  // Sweepstakes: a precedence letter and a check number; Field Day: a transmitter count and a
  // category letter; either may be absent (the blank). Other contests leave both absent.
  void SetPrecedenceAndCheck(int contest, QsoRecord& r) {
    auto letter = [this] { return static_cast<char>('A' + Between(0, 25)); };
    if (contest == kContestSs) {
      r.prec = Chance(6) ? ' ' : letter();
      r.check = Chance(6) ? ' ' : static_cast<char>(Draw(ranges.ss_check));
    } else if (contest == kContestFd) {
      r.prec = Chance(6) ? ' ' : static_cast<char>(Draw(ranges.fd_transmitters));
      r.check = Chance(6) ? ' ' : letter();
    }
  }

  template <typename T>
  T Pick(std::initializer_list<T> values) {
    return values.begin()[Between(0, static_cast<std::int64_t>(values.size()) - 1)];
  }

  std::mt19937 random;
  QsoRanges ranges;
};

}  // namespace quorvel::testing
