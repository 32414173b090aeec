#include "formats/ct_old_log_file.h"

#include <algorithm>
#include <span>
#include <string_view>

#include "core/numbers.h"
#include "core/text_field.h"
#include "formats/ct_tables.h"
#include "formats/header_fields.h"

namespace quorvel {
namespace {

// Offsets in the 398-byte header that are not plain texts.
namespace header_layout {
constexpr std::size_t kContestKeyword = 162;
constexpr std::size_t kLogMode = 167;
constexpr std::size_t kCategory = 171;
constexpr std::size_t kSetting = 174;
constexpr std::size_t kRadio = 178;
constexpr std::size_t kRadioWidth = 6;
constexpr std::size_t kTimeZone = 184;
constexpr std::size_t kRadioPort = 198;
constexpr std::size_t kOption = 290;
constexpr std::size_t kZone = 295;
constexpr std::size_t kOwnExchange = 363;
constexpr std::size_t kSsCheck = 365;
constexpr std::size_t kSsSection = 368;
constexpr std::size_t kKeyingPort = 373;
}  // namespace header_layout

// Offsets in the 37-byte QSO record.
namespace record_layout {
constexpr std::size_t kReport = 0;
constexpr std::size_t kFdTransmitters = 0;
constexpr std::size_t kFdCategory = 1;
constexpr std::size_t kTime = 10;
constexpr std::size_t kFlags = 14;
constexpr std::size_t kBandAndMode = 15;
constexpr std::size_t kCall = 16;
constexpr std::size_t kCallWidth = 14;
constexpr std::size_t kExchange = 30;
constexpr std::size_t kExchangeWidth = 5;
constexpr std::size_t kSsCheck = 35;
constexpr std::size_t kExchByte = 35;
constexpr std::size_t kQsl = 36;
constexpr std::uint8_t kQslSentBit = 0x40;
constexpr std::uint8_t kQslReceivedBit = 0x80;
}  // namespace record_layout

constexpr HeaderText kHeaderTexts[] = {
    {0, 9, TextOf<&ContestHeader::contest_name>}, {20, 14, TextOf<&ContestHeader::call>},
    {34, 30, TextOf<&ContestHeader::name>},       {64, 40, TextOf<&ContestHeader::address>},
    {104, 27, TextOf<&ContestHeader::city>},      {131, 3, TextOf<&ContestHeader::state>},
    {203, 40, TextOf<&ContestHeader::text1>},     {243, 20, TextOf<&ContestHeader::text3>},
    {263, 20, TextOf<&ContestHeader::text2>},     {284, 5, TextOf<&ContestHeader::zip>},
    {300, 10, TextOf<&ContestHeader::text5>},     {310, 10, TextOf<&ContestHeader::text6>},
    {322, 40, TextOf<&ContestHeader::club>},      {363, 5, TextOf<&ContestHeader::gridsquare>},
    {378, 20, TextOf<&ContestHeader::text4>},
};

// Header bytes kept in CT's third station block: {header offset, index in ct_block3}.
constexpr struct {
  std::size_t at;
  std::size_t index;
} kBlock3Bytes[] = {{194, 1}, {195, 2}, {196, 3}, {197, 4}, {283, 5}, {362, 7}, {320, 8}, {321, 9}};
constexpr std::size_t kBlock1 = 154;

// Contest keywords by contest code; a keyword names the first contest whose entry it begins
// with ("ARRLDX" is ARRL DX, "AR10" the 10-metre contest, a leading blank IARU).
constexpr std::string_view kContestKeywords[] = {"",  "SS",   "ARRL", "CQWW", "WPX",
                                                 " ", "AR10", "A160", "C160", "FD",
                                                 " ", "ARDX", "WAE",  "VHF",  "DXPN"};
// Category keywords by category code, compared whole; the last equal entry counts.
constexpr std::string_view kCategories[] = {"SO", "SU", "MS", " ", "MM", " ", " ", "HP", " ", " "};
// Radio and keying ports by the number CT keeps in its settings.
constexpr std::string_view kRadioPorts[] = {"NONE", "COM1", "COM2", "COM3", "COM4", "LPT1", "LPT2"};
constexpr std::string_view kKeyingPorts[] = {"NONE", "LPT1", "LPT2", "DVP", " ", " ", " "};

// Band tables of the older logs, by the low four bits of the record's band byte.
constexpr CtBandTable kOldBandsGeneral = {0, 1, 2, 3, 5, 7, 9, 0, 0, 10, 12, 29, 27, 28, 0, 0};
constexpr CtBandTable kOldBandsVhf = {0, 10, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 0, 0, 0, 0};

std::uint8_t OldBand(int contest, unsigned number) {
  if (contest == kContestArrl10) return 9;
  if (contest == kContestVhfQso) return kOldBandsVhf[number & 0x0F];
  if (contest == kContestDxped) return kCtBandsDxped[number & 0x0F];
  return kOldBandsGeneral[number & 0x0F];
}

int ContestFromKeyword(std::string_view keyword) {
  for (std::size_t code = 1; code < std::size(kContestKeywords); ++code) {
    if (keyword.starts_with(kContestKeywords[code])) return static_cast<int>(code);
  }
  return kContestNone;
}

// The index of the last entry equal to `text`; 0 when none is.
template <std::size_t N>
std::uint8_t LastEqual(const std::string_view (&table)[N], std::string_view text) {
  std::uint8_t index = 0;
  for (std::size_t i = 0; i < N; ++i) {
    if (table[i] == text) index = static_cast<std::uint8_t>(i);
  }
  return index;
}

std::uint8_t SettingFromLetter(char letter) {
  if (letter == 'L') return 1;
  return letter == 'E' || letter == 'R' ? 3 : 0;
}

// The log's mode as its header names it; it stands for records that name none.
std::uint8_t LogMode(std::string_view text) {
  text = WithoutTrailingBlanks(text);
  if (text == "CW") return kModeCw;
  return text == "SSB" ? kModeSsb : kModeRtty;
}

// A signed four-bit number: 8 to 15 are -8 to -1.
int SignedNibble(std::uint8_t value) {
  int nibble = value & 0x0F;
  return nibble >= 8 ? nibble - 16 : nibble;
}

// The exchange text up to its first character that is neither a letter nor a digit.
std::string_view CleanExchange(std::string_view text) {
  auto end = std::find_if(text.begin(), text.end(),
                          [](char c) { return !IsDigit(c) && !IsUpperLetter(ToUpper(c)); });
  return text.substr(0, static_cast<std::size_t>(end - text.begin()));
}

}  // namespace

int CtOldLogFile::Open(const char* path, unsigned mode) {
  qso_count = 0;
  if (!LogStream::Open(path, mode | kOpenBinary)) return 0;
  if (mode & kOpenWrite) return 1;
  if (!ReadHeader()) {
    Close();
    return 0;
  }
  return 1;
}

bool CtOldLogFile::ReadHeader() {
  using namespace header_layout;
  RawHeader raw;
  if (!ReadBlock(raw.data(), raw.size())) return false;
  if (!raw.Text(kTimeZone, 3).starts_with("UTC")) return false;
  int contest = ContestFromKeyword(raw.Text(kContestKeyword, 5));
  if (contest == kContestNone) return false;
  header = ContestHeader{};
  header.contest = static_cast<std::uint8_t>(contest);
  ReadStation(raw);
  ReadOwnExchange(raw);
  default_mode = LogMode(raw.Text(kLogMode, 4));
  return true;
}

void CtOldLogFile::ReadStation(const RawHeader& raw) {
  using namespace header_layout;
  ReadHeaderTexts(raw, kHeaderTexts, header);
  raw.GetBytes(kBlock1, header.ct_block1, sizeof header.ct_block1);
  for (const auto& byte : kBlock3Bytes) header.ct_block3[byte.index] = raw.U8(byte.at);
  CopyCut(header.radio, raw.Text(kRadio, kRadioWidth));
  header.category = LastEqual(kCategories, raw.Text(kCategory, 3));
  header.ct_settings[0] = SettingFromLetter(static_cast<char>(raw.U8(kSetting)));
  header.ct_settings[1] = LastEqual(kRadioPorts, raw.Text(kRadioPort, 4));
  header.ct_settings[2] = LastEqual(kKeyingPorts, raw.Text(kKeyingPort, 4));
  header.ct_option = ValueOrZero<std::uint8_t>(ParseLeadingInt(raw.Text(kOption, 5)));
  header.zone = ValueOrZero<std::uint8_t>(ParseLeadingInt(raw.Text(kZone, 5)));
}

// Sweepstakes keeps the own precedence, check and section in the sent exchange; Field Day
// packs the own class and CT's Field Day settings into its first three bytes.
void CtOldLogFile::ReadOwnExchange(const RawHeader& raw) {
  using namespace header_layout;
  if (header.contest == kContestSs) {
    header.prec = raw.U8(kOwnExchange);
    header.check = ValueOrZero<std::uint8_t>(ParseLeadingInt(raw.Text(kSsCheck, 3)));
    CopyCut(header.arrl_sect, raw.Text(kSsSection, 5));
  } else if (header.contest == kContestFd) {
    std::uint8_t flags = raw.U8(kOwnExchange);
    std::uint8_t transmitters = raw.U8(kOwnExchange + 1);
    std::uint8_t category = raw.U8(kOwnExchange + 2);
    for (int bit = 0; bit < 8; ++bit) header.fd_extra[bit] = (flags >> bit) & 1;
    header.fd_extra[8] = transmitters & 1;
    header.prec = static_cast<std::uint8_t>(transmitters >> 3);
    // A negative category index names no category letter: the first category stands for it.
    header.check = ValueOrZero<std::uint8_t>(SignedNibble(category));
    header.fd_flag = static_cast<std::uint8_t>(category >> 4);
  }
}

int CtOldLogFile::ReadQso(QsoRecord& record) {
  using namespace record_layout;
  record.Clear();
  Record spare;
  std::optional<RecordView> read = ReadRecord(spare);
  if (!read) return 0;
  const RecordView& raw = *read;
  std::string_view call = raw.Text(kCall, kCallWidth);
  record.SetCallText(call.substr(0, call.find(' ')));
  record.time_on = raw.I32(kTime);
  std::uint8_t band_and_mode = raw.U8(kBandAndMode);
  record.band = OldBand(header.contest, band_and_mode);
  std::uint8_t mode = band_and_mode >> 4;
  record.mode = mode != 0 ? mode : default_mode;
  std::uint8_t qsl = raw.U8(kQsl);
  if (qsl & kQslSentBit) record.qsl_sent = 'Y';
  if (qsl & kQslReceivedBit) record.qsl_rcvd = 'Y';
  ReadExchange(raw, CleanExchange(raw.Text(kExchange, kExchangeWidth)), record);
  ++qso_count;
  return 1;
}

void CtOldLogFile::ReadExchange(const RecordView& raw, std::string_view exchange,
                                QsoRecord& record) const {
  using namespace record_layout;
  switch (header.contest) {
    case kContestSs:
      record.srx = raw.I16(kReport);
      record.prec = SsPrecedenceFromFlags(raw.U8(kFlags));
      record.check = static_cast<char>(raw.U8(kSsCheck));
      record.SetArrlSect(exchange);
      return;
    case kContestFd:
      SetFieldDayClass(record, raw.U8(kFdTransmitters), raw.U8(kFdCategory));
      record.SetArrlSect(exchange);
      return;
    default:
      break;
  }
  record.rst_rcvd = ValueOrZero<std::int16_t>(CtReceivedReport(raw.U16(kReport), record.mode));
  record.rst_sent = CtSentReport(record.mode);
  switch (header.contest) {
    case kContestCqww:
      record.SetCqz(exchange);
      break;
    case kContestWpx:
      record.SetSrx(exchange);
      break;
    case kContestWae:
      record.SetRcvdExch(exchange);
      record.exch_word = raw.U8(kExchByte);
      break;
    default:
      record.SetRcvdExch(exchange);
  }
}

}  // namespace quorvel
