#include "formats/ct8_log_file.h"

#include <algorithm>
#include <optional>
#include <span>
#include <string_view>

#include "core/civil_time.h"
#include "core/decimal_text.h"
#include "core/numbers.h"
#include "core/text_field.h"
#include "formats/ct_tables.h"
#include "formats/header_fields.h"

namespace quorvel {
namespace {

// Offsets and widths in the 1024-byte file header that are not plain text or byte blocks.
namespace header_layout {
constexpr std::size_t kSignature = 32;
constexpr std::size_t kSignatureWidth = 16;
constexpr std::size_t kContestNumber = 256;
constexpr std::size_t kMode = 257;
constexpr std::size_t kCategory = 258;
constexpr std::size_t kOption = 262;
constexpr std::size_t kRadio = 263;
constexpr std::size_t kZone = 502;
constexpr std::size_t kZoneWidth = 8;
constexpr std::size_t kSsPrecedence = 702;
constexpr std::size_t kSsCheck = 706;
constexpr std::size_t kSsCheckWidth = 4;
constexpr std::size_t kFdExtra = 710;
constexpr std::size_t kFdExtraWidth = 9;
constexpr std::size_t kAlwaysOne = 719;
constexpr std::size_t kFdTransmitters = 720;
constexpr std::size_t kFdCategory = 721;
constexpr std::size_t kFdFlag = 722;
constexpr std::size_t kSection = 734;
constexpr std::size_t kSectionWidth = 8;
constexpr std::size_t kWord1 = 782;
constexpr std::size_t kWord2 = 784;
constexpr std::size_t kLong = 786;
constexpr std::size_t kMark = 825;
constexpr std::size_t kCall = 48;
constexpr std::size_t kCt9CallWidth = 16;
constexpr std::size_t kCtPair = 790;
}  // namespace header_layout

constexpr std::string_view kVersionSignature = "CT 8.19";
// Four fixed bytes CT keeps near the end of its header.
constexpr std::uint8_t kMarkBytes[] = {0x20, 0xF4, 0x01, 0x04};

// Header texts that every contest carries, at the same offset for reading and writing.
constexpr HeaderText kHeaderTexts[] = {
    {0, 32, TextOf<&ContestHeader::contest_name>}, {48, 32, TextOf<&ContestHeader::call>},
    {80, 32, TextOf<&ContestHeader::name>},        {112, 64, TextOf<&ContestHeader::address>},
    {176, 32, TextOf<&ContestHeader::city>},       {208, 8, TextOf<&ContestHeader::state>},
    {294, 64, TextOf<&ContestHeader::text1>},      {358, 64, TextOf<&ContestHeader::text2>},
    {422, 64, TextOf<&ContestHeader::text3>},      {486, 16, TextOf<&ContestHeader::zip>},
    {510, 64, TextOf<&ContestHeader::text5>},      {574, 64, TextOf<&ContestHeader::text6>},
    {638, 64, TextOf<&ContestHeader::club>},       {726, 8, TextOf<&ContestHeader::gridsquare>},
    {742, 32, TextOf<&ContestHeader::text4>},      {806, 16, TextOf<&ContestHeader::ct_text>},
};

// CT station data carried byte for byte.
struct HeaderBytes {
  std::size_t at;
  std::size_t width;
  std::span<std::uint8_t> (*field)(ContestHeader&);
};
constexpr HeaderBytes kHeaderBytes[] = {
    {248, 8, BytesOf<&ContestHeader::ct_block1>},
    {259, 3, BytesOf<&ContestHeader::ct_settings>},
    {264, 14, BytesOf<&ContestHeader::ct_block3>},
    {774, 8, BytesOf<&ContestHeader::ct_block2>},
};

// The number as "%0*d" prints it, cut to leave the field a terminating NUL.
template <typename Layout>
void PutDecimal(Layout& layout, std::size_t at, std::size_t width, int value, int min_digits) {
  DecimalText number = Decimal(value, min_digits);
  layout.PutText(at, width, number.View().substr(0, std::min<std::size_t>(15, width - 1)));
}

// The exchange text upper-cased and cut to `limit` characters.
void PutExchangeUpper(ByteLayout<kCt8RecordSize>& raw, std::string_view text, std::size_t limit) {
  char upper[ct_record::kExchangeWidth];
  std::size_t count = std::min({text.size(), limit, sizeof upper});
  for (std::size_t i = 0; i < count; ++i) upper[i] = ToUpper(text[i]);
  raw.PutText(ct_record::kExchange, ct_record::kExchangeWidth, {upper, count});
}

// Numbers in the exchange text keep a terminator inside the field.
void PutExchangeNumber(ByteLayout<kCt8RecordSize>& raw, int value, int min_digits) {
  PutDecimal(raw, ct_record::kExchange, ct_record::kExchangeWidth, value, min_digits);
}

std::uint8_t RadioIndex(std::string_view radio) {
  std::uint8_t index = 0;
  for (int i = 0; i < kCtRadioCount; ++i) {
    if (kCtRadios[i] == radio) index = static_cast<std::uint8_t>(i);
  }
  return index;
}

// CT keeps the own Field Day category as a letter index (0 = 'A'); ADIF logs give the letter.
std::uint8_t FieldDayCategoryIndex(std::uint8_t check) {
  char letter = ToUpper(static_cast<char>(check));
  return IsUpperLetter(letter) ? static_cast<std::uint8_t>(letter - 'A') : check;
}

// CT stores the contest mode counted from 0, and only for CW, SSB and RTTY.
std::uint8_t StoredContestMode(std::uint8_t mode) {
  return (mode >= kModeCw && mode <= kModeRtty) ? static_cast<std::uint8_t>(mode - 1) : 0;
}

// The own exchange of the two contests whose header carries one. Version 9 keeps the own
// section for Sweepstakes only.
void ReadOwnExchange(const ByteLayout<kCt8HeaderSize>& raw, CtHeaderVersion version,
                     ContestHeader& header) {
  using namespace header_layout;
  if (header.contest == kContestSs) {
    header.prec = raw.U8(kSsPrecedence);
    header.check = ValueOrZero<std::uint8_t>(ParseLeadingInt(raw.Text(kSsCheck, kSsCheckWidth)));
    CopyCut(header.arrl_sect, raw.Text(kSection, kSectionWidth));
  } else if (header.contest == kContestFd) {
    header.prec = raw.U8(kFdTransmitters);
    header.check = raw.U8(kFdCategory);
    if (version == CtHeaderVersion::k8)
      CopyCut(header.arrl_sect, raw.Text(kSection, kSectionWidth));
    raw.GetBytes(kFdExtra, header.fd_extra, kFdExtraWidth);
    header.fd_flag = raw.U8(kFdFlag);
  }
}

// Version 9 stores the contest mode as 0 for CW and 1 for SSB.
std::uint8_t Ct9ContestMode(std::uint8_t stored) {
  return stored == 0 ? kModeCw : stored == 1 ? kModeSsb : 0;
}

}  // namespace

std::optional<ContestHeader> ReadCtHeader(const ByteLayout<kCt8HeaderSize>& raw,
                                          CtHeaderVersion version) {
  using namespace header_layout;
  ContestHeader header{};
  int contest = ContestFromCtNumber(raw.U8(kContestNumber));
  if (contest == kContestNone) return std::nullopt;
  header.contest = static_cast<std::uint8_t>(contest);
  ReadHeaderTexts(raw, kHeaderTexts, header);
  for (const HeaderBytes& bytes : kHeaderBytes) {
    std::span<std::uint8_t> field = bytes.field(header);
    raw.GetBytes(bytes.at, field.data(), std::min(bytes.width, field.size()));
  }
  header.ct_option = static_cast<std::uint8_t>(raw.U8(kOption) + 1);
  std::uint8_t radio = raw.U8(kRadio);
  if (radio < kCtRadioCount) CopyCut(header.radio, kCtRadios[radio]);
  header.zone = ValueOrZero<std::uint8_t>(ParseLeadingInt(raw.Text(kZone, kZoneWidth)));
  header.category = raw.U8(kCategory);
  header.mode = static_cast<std::uint8_t>(raw.U8(kMode) + 1);
  header.ct_word1 = raw.U16(kWord1);
  header.ct_word2 = raw.U16(kWord2);
  header.ct_long = raw.U32(kLong);
  if (version == CtHeaderVersion::k9) {
    CopyCut(header.call, raw.Text(kCall, kCt9CallWidth));
    header.mode = Ct9ContestMode(raw.U8(kMode));
    raw.GetBytes(kCtPair, header.ct_pair, sizeof header.ct_pair);
  }
  ReadOwnExchange(raw, version, header);
  return header;
}

int Ct8LogFile::Open(const char* path, unsigned mode) {
  qso_count = 0;
  if (!LogStream::Open(path, mode | kOpenBinary)) return 0;
  if (mode & kOpenWrite) return 1;
  raw_header.Clear();
  std::optional<ContestHeader> read;
  if (ReadBlock(raw_header.data(), raw_header.size())) {
    read = ReadCtHeader(raw_header, CtHeaderVersion::k8);
  }
  if (!read) {
    Close();
    return 0;
  }
  header = *read;
  return 1;
}

int Ct8LogFile::WriteHeader(ContestHeader source) {
  header = source;
  int ct_number = CtNumberFromContest(header.contest);
  if (ct_number < 0) {
    Close();
    return 0;
  }
  FillRawHeader(ct_number);
  WriteBlock(raw_header.data(), raw_header.size());
  return 1;
}

void Ct8LogFile::FillRawHeader(int ct_number) {
  using namespace header_layout;
  raw_header.Clear();
  raw_header.PutText(kSignature, kSignatureWidth, kVersionSignature);
  for (const HeaderText& text : kHeaderTexts) {
    std::span<char> field = text.field(header);
    raw_header.PutText(text.at, text.width, FieldText(field.data(), field.size()));
  }
  for (const HeaderBytes& bytes : kHeaderBytes) {
    std::span<std::uint8_t> field = bytes.field(header);
    raw_header.PutBytes(bytes.at, field.data(), std::min(bytes.width, field.size()));
  }
  raw_header.PutU8(kContestNumber, static_cast<std::uint8_t>(ct_number));
  raw_header.PutU8(kMode, StoredContestMode(header.mode));
  raw_header.PutU8(kCategory, header.category);
  raw_header.PutU8(kOption, static_cast<std::uint8_t>(header.ct_option - 1));
  raw_header.PutU8(kRadio, RadioIndex(FieldText(header.radio)));
  PutDecimal(raw_header, kZone, kZoneWidth, header.zone, 1);
  raw_header.PutU16(kWord1, header.ct_word1);
  raw_header.PutU16(kWord2, header.ct_word2);
  raw_header.PutU32(kLong, header.ct_long);
  raw_header.PutU8(kAlwaysOne, 1);
  raw_header.PutBytes(kMark, kMarkBytes, sizeof kMarkBytes);
  FillContestFields();
}

void Ct8LogFile::FillContestFields() {
  using namespace header_layout;
  if (header.contest == kContestSs) {
    raw_header.PutU8(kSsPrecedence, header.prec);
    PutDecimal(raw_header, kSsCheck, kSsCheckWidth, header.check, 1);
    raw_header.PutText(kSection, kSectionWidth, FieldText(header.arrl_sect));
  } else if (header.contest == kContestFd) {
    raw_header.PutBytes(kFdExtra, header.fd_extra, kFdExtraWidth);
    raw_header.PutU8(kFdTransmitters, header.prec);
    raw_header.PutU8(kFdCategory, FieldDayCategoryIndex(header.check));
    raw_header.PutU8(kFdFlag, header.fd_flag);
    raw_header.PutText(kSection, kSectionWidth, FieldText(header.arrl_sect));
  }
}

int Ct8LogFile::ReadQso(QsoRecord& record) {
  using namespace ct_record;
  record.Clear();
  Record spare;
  std::optional<RecordView> read = ReadRecord(spare);
  if (!read) return 0;
  const RecordView& raw = *read;
  std::string_view call = raw.Text(kCall, kCallWidth);
  record.SetCall(call.data(), static_cast<int>(std::min(call.size(), kCallLimit)));
  record.time_on = std::int64_t{raw.I32(kTime)} - kCtTimeOffset;
  record.band = CtBandFromNumber(header.contest, raw.U8(kBand));
  record.mode = raw.U8(kMode);
  record.aux_digit = static_cast<std::uint8_t>(raw.U8(kAuxDigit) - '0');
  record.qsl_sent = static_cast<char>(raw.U8(kQslSent));
  ReadExchange(raw, record);
  ++qso_count;
  return 1;
}

// The Field Day class: the transmitter count and the category letter in bytes of their own, or,
// in records that leave both 0, packed into the report word as stored (category in the high
// byte). A count or category of 0 is no class: the record's blank.
void Ct8LogFile::ReadFieldDayClass(const RecordView& raw, QsoRecord& record) {
  using namespace ct_record;
  std::uint8_t transmitters = raw.U8(kFdTransmitters);
  std::uint8_t category = raw.U8(kFdCategory);
  if (transmitters == 0 && category == 0) {
    std::uint16_t packed = raw.U16(kReport);
    transmitters = static_cast<std::uint8_t>(packed & 0x0F);
    category = static_cast<std::uint8_t>(packed >> 8);
  }
  SetFieldDayClass(record, transmitters, category);
}

void Ct8LogFile::ReadExchange(const RecordView& raw, QsoRecord& record) const {
  using namespace ct_record;
  std::string_view text = raw.Text(kExchange, kExchangeWidth);
  int word = raw.I16(kReport);
  int second = raw.I16(kSecondNumber);
  if (header.contest == kContestSs) {
    record.srx = second != 0 ? second : word;
    record.prec = SsPrecedenceFromFlags(raw.U8(kFlags));
    record.check = static_cast<char>(raw.U8(kSsCheck));
    record.SetArrlSect(text);
    return;
  }
  int report = CtReceivedReport(word, record.mode);
  if (header.contest == kContestFd) {
    ReadFieldDayClass(raw, record);
    record.SetArrlSect(text.substr(0, kFdSectionWidth));
    return;
  }
  if (header.contest == kContestCqp) {
    record.srx = second != 0 ? second : report;
    record.SetRcvdExch(text);
    return;
  }
  record.rst_rcvd = ValueOrZero<std::int16_t>(report);
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
        record.SetItuz(text);
      } else {
        record.SetRcvdExch(text);
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

int Ct8LogFile::WriteQso(const QsoRecord& record) {
  using namespace ct_record;
  std::int64_t ct_time = record.time_on + kCtTimeOffset;
  if (!FitsTime32(ct_time)) return 0;  // CT's 32-bit times end in January 2038
  Record raw;
  raw.PutText(kCall, kCallWidth, record.Call().substr(0, kCallLimit));
  raw.PutI32(kTime, static_cast<std::int32_t>(ct_time));
  raw.PutU8(kMode, record.mode);
  raw.PutU8(kBand, CtNumberFromBand(header.contest, record.band));
  raw.PutU8(kAuxDigit, static_cast<std::uint8_t>('0' + record.aux_digit));
  raw.PutU8(kQslSent, static_cast<std::uint8_t>(record.qsl_sent));
  WriteExchange(record, raw);
  ++qso_count;
  WriteBlock(raw.data(), raw.size());
  return 1;
}

void Ct8LogFile::WriteExchange(const QsoRecord& record, Record& raw) const {
  using namespace ct_record;
  auto serial = static_cast<std::uint16_t>(record.srx);
  switch (header.contest) {
    case kContestSs:
      raw.PutU16(kReport, serial);
      raw.PutU8(kFlags, FlagsFromSsPrecedence(record.prec));
      raw.PutU8(kSsCheck, static_cast<std::uint8_t>(record.check));
      PutExchangeUpper(raw, record.ArrlSect(), kExchangeWidth);
      return;
    case kContestFd: {
      // The blank of an absent class is stored as no class (0), not as 32 transmitters.
      auto transmitters = static_cast<std::uint8_t>(record.prec == ' ' ? 0 : record.prec);
      auto category = static_cast<std::uint8_t>(record.check == ' ' ? 0 : record.check);
      raw.PutU8(kFdTransmitters, transmitters);
      raw.PutU8(kFdCategory, category);
      raw.PutU16(kReport, static_cast<std::uint16_t>(category << 8 | transmitters));
      PutExchangeUpper(raw, record.ArrlSect(), kFdSectionWidth);
      return;
    }
    case kContestCqp:
      raw.PutU16(kReport, serial);
      raw.PutU16(kSecondNumber, serial);
      PutExchangeUpper(raw, record.RcvdExch(), kExchangeWidth);
      return;
    default:
      break;
  }
  raw.PutI16(kReport, record.rst_rcvd);
  switch (header.contest) {
    case kContestCqww:
      PutExchangeNumber(raw, record.cqz, 2);
      break;
    case kContestWpx:
      PutExchangeNumber(raw, record.srx, 1);
      break;
    case kContestIaru:
      if (record.ituz > 0) {
        PutExchangeNumber(raw, record.ituz, 2);
      } else {
        PutExchangeUpper(raw, record.RcvdExch(), kExchangeWidth);
      }
      break;
    case kContestWae:
      PutExchangeUpper(raw, record.RcvdExch(), kExchangeWidth);
      raw.PutU16(kExchWord, record.exch_word);
      break;
    default:
      PutExchangeUpper(raw, record.RcvdExch(), kExchangeWidth);
  }
}

}  // namespace quorvel
