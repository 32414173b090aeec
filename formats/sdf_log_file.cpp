#include "formats/sdf_log_file.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "core/civil_time.h"
#include "core/decimal_text.h"
#include "core/numbers.h"
#include "core/text_field.h"
#include "formats/received_exchange.h"

namespace quorvel {
namespace {

// Offsets of the record.
namespace at {
constexpr std::size_t kCall = 0;
constexpr std::size_t kCallWidth = 15;
constexpr std::size_t kZone = 15;
constexpr std::size_t kBand = 17;
constexpr std::size_t kMode = 19;
constexpr std::size_t kTime = 21;
constexpr std::size_t kReportReceived = 31;
constexpr std::size_t kReportSent = 34;
constexpr std::size_t kText = 38;
constexpr std::size_t kTextWidth = 30;
constexpr std::size_t kCwFlag = 68;
constexpr std::size_t kStateCode = 82;
constexpr std::size_t kIota = 84;
constexpr std::size_t kIotaWidth = 6;  // up to the 'B' at 89, which a six-character one covers
constexpr std::size_t kGrid = 91;
constexpr std::size_t kTenTen = 121;
constexpr std::size_t kTenTenWidth = 6;
}  // namespace at

// Band codes to two characters; band 0 is two blanks.
constexpr std::string_view kBands[] = {"  ", "16", "80", "40", "30", "20", "17",
                                       "15", "12", "10", " 6", " 4", " 2"};
// Mode codes to the record's mode character: CW 1, RTTY, TOR and packet 2, telephony 3.
constexpr char kModes[] = {' ', '1', '3', '2', '3', '3', '2', '2', ' ', ' '};

// Contests whose record holds the default received report.
bool HasNoReports(int contest) {
  switch (contest) {
    case kContestSs:
    case kContestFd:
    case kContestCqp:
    case kContestNaqp:
    case kContestGridloc:
    case kContestTenTen:
    case kContestSprint:
    case kContestInternetSprint:
      return true;
    default:
      return false;
  }
}

bool CarriesGrid(int contest) {
  return contest == kContestVhfQso || contest == kContestGridloc || contest == kContestToec ||
         contest == kContestStewPerry;
}

void Put(char* record, std::size_t offset, std::size_t width, std::string_view text) {
  CopyCutBlanks(record + offset, width, text);
}

std::string DecimalString(std::int64_t value) {
  return std::string(Decimal(value).View());
}

// A letter kept in a character field, or nothing for 0 and for the blank of "not given".
std::string Letter(char value) {
  unsigned char c = static_cast<unsigned char>(value);
  return (c > ' ' && c < 0x7F) ? std::string(1, value) : std::string();
}

// A number kept in a character field, or nothing when it is absent.
std::string Count(char value) {
  if (value == ' ' || value == '\0') return {};
  return DecimalString(static_cast<unsigned char>(value));
}

// The exchange text of the contest, after the comment.
std::string ContestText(int contest, const QsoRecord& r) {
  // Made only for the contests that write them.
  auto exchange = [&r] { return std::string(ReceivedExchangeText(r)); };
  auto serial = [&r] { return DecimalString(r.srx); };
  switch (contest) {
    case kContestSs:
      return serial() + Letter(r.prec) + " " + Count(r.check) + " " + std::string(r.ArrlSect());
    case kContestCqww:
    case kContestVhfQso:
    case kContestStewPerry:
      return {};
    case kContestWpx:
      return serial();
    case kContestFd:
      return Count(r.prec) + Letter(r.check) + " " + std::string(r.ArrlSect());
    case kContestCqp:
    case kContestIota:
      return serial() + " " + exchange();
    case kContestNaqp:
      return exchange().size() == 2 ? std::string() : exchange();
    case kContestGridloc:
    case kContestToec:
      return std::string(r.Name());
    case kContestTenTen:
      return std::string(r.Name()) + " " + std::string(r.Qth());
    case kContestSprint:
    case kContestInternetSprint:
      return serial() + " " + std::string(r.Name()) + " " + exchange();
    case kContestArci:
      return DecimalString(r.arci_num) + " " + exchange();
    case kContestHelvetia:
      return serial() + " " + std::string(r.Qth());
    case kContestWag:
    case kContestAri:
    case kContestRac:
      return (r.srx != 0 ? serial() + " " : std::string()) + std::string(r.Qth());
    default:
      return exchange();
  }
}

// The received report: the record's own in three characters for CW and two for the other
// modes (a signed report in three), or the default of the sent report where the contest has
// no reports or the contact none, or where its digits do not fit.
std::string ReceivedReport(int contest, const QsoRecord& r, std::string_view default_report) {
  if (HasNoReports(contest) || !r.HasRstRcvd()) return std::string(default_report);
  ReportText report = r.RstRcvdText();
  bool is_signed = report.text[0] == '-' || report.text[0] == '+';
  std::size_t width = (r.mode == kModeCw || is_signed) ? 3 : 2;
  if (is_signed && report.length > 3) return std::string(default_report);
  if (!is_signed && r.mode == kModeCw && report.length > 3) return std::string(default_report);
  return std::string(report.View().substr(0, width));
}

}  // namespace

int SdfLogFile::Open(const char* path, unsigned mode) {
  qso_count = 0;
  if (!LogStream::Open(path, mode | kOpenBinary)) return 0;
  section_table = std::make_unique<SectionTable>(kSectionFileName);
  return 1;
}

int SdfLogFile::WriteHeader(ContestHeader source) {
  header = source;
  return 1;
}

// The first two characters of the state of a section the table knows; otherwise the field
// keeps what it holds.
void SdfLogFile::PutStateCode(std::string_view key, char* record) const {
  const std::string* state = section_table ? section_table->FindState(key) : nullptr;
  if (state == nullptr || key.empty()) return;
  Put(record, at::kStateCode, 2, *state);
}

int SdfLogFile::WriteQso(const QsoRecord& r) {
  CivilTime time = UtcCalendar(r.time_on);
  if (r.band >= std::size(kBands) || time.year < 1950 || time.year > 2049) return 0;
  int contest = header.contest;
  char record[kRecordLength + 2];
  std::memset(record, ' ', kRecordLength);
  record[kRecordLength] = '\r';
  record[kRecordLength + 1] = '\n';
  Put(record, at::kCall, at::kCallWidth, r.Call());
  ShortText clock;  // "%02d%02d%02d%02d%02d": year, month, day, hour, minute
  clock.Add(time.year % 100, 2).Add(time.month, 2).Add(time.day, 2);
  clock.Add(time.hour, 2).Add(time.minute, 2);
  Put(record, at::kTime, 10, clock.View());
  record[at::kMode] = r.mode < std::size(kModes) ? kModes[r.mode] : ' ';
  Put(record, at::kBand, 2, kBands[r.band]);
  bool cw = r.mode == kModeCw;
  std::string_view sent = cw ? "599" : "59 ";
  record[20] = 'N';
  record[37] = 'N';
  record[at::kCwFlag] = cw ? 'Y' : 'N';
  record[69] = 'Y';
  Put(record, 72, 4, "NNNN");
  record[89] = 'B';
  record[90] = '1';
  Put(record, at::kReportSent, 3, sent);
  Put(record, at::kReportReceived, 3, ReceivedReport(contest, r, sent));

  std::string text = std::string(FieldText(options.comment)) + " " + ContestText(contest, r);
  Put(record, at::kText, at::kTextWidth, text);
  std::string exchange(ReceivedExchangeText(r));
  if ((contest == kContestCqww || contest == kContestYodx) && r.cqz < 100) {
    char zone[4] = {static_cast<char>('0' + r.cqz / 10), static_cast<char>('0' + r.cqz % 10)};
    Put(record, at::kZone, 2, zone);
  }
  switch (contest) {
    case kContestSs:
      PutStateCode(r.ArrlSect(), record);
      break;
    case kContestFd:  // every Field Day reader keeps the section in arrl_sect
      PutStateCode(r.ArrlSect().empty() ? std::string_view(exchange) : r.ArrlSect(), record);
      break;
    case kContestNaqp:
      if (exchange.size() == 2) Put(record, at::kStateCode, 2, exchange);
      PutStateCode(exchange, record);
      break;
    case kContestArrlDxFromDx:
    case kContestSprint:
    case kContestArci:
      PutStateCode(exchange, record);
      break;
    case kContestIota:
      // Only as wide as the reference: a shorter one leaves the 'B' at 89 standing.
      Put(record, at::kIota, std::min(exchange.size(), at::kIotaWidth), exchange);
      break;
    case kContestTenTen:
      if (r.ten_ten != 0) {
        std::string number = DecimalString(r.ten_ten);
        if (number.size() <= at::kTenTenWidth) Put(record, at::kTenTen, at::kTenTenWidth, number);
      }
      break;
    default:
      break;
  }
  if (CarriesGrid(contest)) Put(record, at::kGrid, 4, exchange);
  // Every byte of the record is text: a NUL in a field would end it for other programs. Mostly
  // there is none, which one library search finds.
  if (std::memchr(record, '\0', kRecordLength) != nullptr) {
    std::replace(record, record + kRecordLength, '\0', ' ');
  }
  ++qso_count;
  WriteBlock(record, sizeof record);
  return 1;
}

}  // namespace quorvel
