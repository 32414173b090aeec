#include "formats/ct9_log_file.h"

#include <algorithm>
#include <optional>

#include "core/numbers.h"
#include "formats/ct_tables.h"

namespace quorvel {
namespace {

// Fields of the version 9 header beyond the version 8 layout.
constexpr std::size_t kVersionText = 35;
constexpr std::size_t kVersionTextWidth = 13;  // up to the end of the 16-byte signature
constexpr std::size_t kUtcFlag = 858;
// The precedence letter of a Sweepstakes record has its own byte from this version on.
constexpr int kFirstVersionWithPrecedenceLetter = 937;

}  // namespace

int CtVersionHundredths(std::string_view text) {
  std::size_t at = 0;
  std::int64_t whole = 0;
  for (; at < text.size() && IsDigit(text[at]) && whole < 1000000; ++at) {
    whole = whole * 10 + (text[at] - '0');
  }
  int fraction = 0;
  if (at < text.size() && text[at] == '.') {
    int scale = 10;
    for (++at; at < text.size() && IsDigit(text[at]) && scale > 0; ++at, scale /= 10) {
      fraction += (text[at] - '0') * scale;
    }
  }
  return static_cast<int>(whole * 100 + fraction);
}

int Ct9LogFile::Open(const char* path, unsigned mode) {
  qso_count = 0;
  if (!LogStream::Open(path, mode | kOpenBinary)) return 0;
  if (mode & kOpenWrite) return 1;
  if (!ReadHeader()) {
    Close();
    return 0;
  }
  return 1;
}

// The first 1024 bytes hold the station and contest; the other 3072 are CT's own.
bool Ct9LogFile::ReadHeader() {
  ByteLayout<kCt8HeaderSize> raw;
  ByteLayout<kCt9HeaderSize - kCt8HeaderSize> rest;
  if (!ReadBlock(raw.data(), raw.size()) || !ReadBlock(rest.data(), rest.size())) return false;
  std::optional<ContestHeader> read = ReadCtHeader(raw, CtHeaderVersion::k9);
  if (!read) return false;
  header = *read;
  version_hundredths = CtVersionHundredths(raw.Text(kVersionText, kVersionTextWidth));
  times_in_utc = raw.U8(kUtcFlag) != 0;
  return true;
}

int Ct9LogFile::ReadQso(QsoRecord& record) {
  using namespace ct_record;
  record.Clear();
  Record spare;
  std::optional<RecordView> read = ReadRecord(spare);
  if (!read) return 0;
  const RecordView& raw = *read;
  std::string_view call = raw.Text(kCall, kCallWidth);
  record.SetCall(call.data(), static_cast<int>(std::min(call.size(), kCallLimit)));
  record.time_on = std::int64_t{raw.I32(kTime)} - (times_in_utc ? 0 : kCtTimeOffset);
  record.band = CtBandFromNumber(header.contest, raw.U8(kBand), kCt9BandsGeneral);
  record.freq = raw.U32(kFrequencyHz) / 100;
  record.mode = Ct9Mode(raw.U8(kMode));
  record.qsl_sent = static_cast<char>(raw.U8(kQslSent));
  ReadExchange(raw, record);
  ++qso_count;
  return 1;
}

void Ct9LogFile::ReadExchange(const RecordView& raw, QsoRecord& record) const {
  using namespace ct_record;
  std::string_view text = raw.Text(kExchange, kExchangeWidth);
  int serial = raw.I16(kReport);
  switch (header.contest) {
    case kContestSs:
      record.srx = serial;
      record.prec = version_hundredths >= kFirstVersionWithPrecedenceLetter
                        ? static_cast<char>(raw.U8(kSsPrecedenceLetter))
                        : SsPrecedenceFromFlags(raw.U8(kFlags));
      record.check = static_cast<char>(raw.U8(kSsCheck));
      record.SetArrlSect(text);
      return;
    case kContestFd: {
      // The class packed into the report word (category in the high byte), or, when that word
      // is 0, in bytes of its own.
      std::uint16_t packed = raw.U16(kReport);
      if (packed != 0) {
        SetFieldDayClass(record, packed & 0x0F, static_cast<std::uint8_t>(packed >> 8));
      } else {
        SetFieldDayClass(record, raw.U8(kFdTransmitters), raw.U8(kFdCategory));
      }
      record.SetArrlSect(text.substr(0, kFdSectionWidth));
      return;
    }
    case kContestCqp:
      record.srx = serial;
      record.SetRcvdExch(text);
      return;
    default:
      break;
  }
  record.rst_rcvd = ValueOrZero<std::int16_t>(CtReceivedReport(raw.U16(kReport), record.mode));
  record.rst_sent = CtSentReport(record.mode);
  switch (header.contest) {
    case kContestCqww:
      record.SetCqz(text);
      break;
    case kContestWpx:
      record.SetSrx(text);
      break;
    case kContestIaru:
      if (!text.empty() && IsDigit(text[0])) {
        record.SetItuz(text.substr(0, 5));
      } else {
        record.SetRcvdExch(text.substr(0, 5));
      }
      break;
    case kContestWae:
      record.SetRcvdExch(text);
      record.exch_word = raw.U16(kExchWord);
      break;
    default:
      record.SetRcvdExch(text);
  }
}

}  // namespace quorvel
