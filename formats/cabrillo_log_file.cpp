#include "formats/cabrillo_log_file.h"

#include <cstdio>
#include <string_view>

#include "core/bands.h"
#include "core/civil_time.h"
#include "core/data_files.h"
#include "core/decimal_text.h"
#include "core/text_field.h"
#include "formats/cabrillo_layouts.h"
#include "formats/received_exchange.h"
#include "formats/report_column.h"
#include "formats/text_line.h"

namespace quorvel {
namespace {

using cabrillo::Layout;
using cabrillo::ReceivedExchange;
using cabrillo::SentExchange;
using cabrillo::WrittenContest;

constexpr const char* kCategoryUnknown = "?CATEGORY?";
constexpr const char* kCallUnknown = "?CALL?";

template <std::size_t N>
std::string_view WordOr(const std::string_view (&words)[N], int code, std::string_view unknown) {
  return (code >= 0 && static_cast<std::size_t>(code) < N && !words[code].empty()) ? words[code]
                                                                                   : unknown;
}

std::string_view ModeWord(const QsoRecord& record) {
  if (record.mode == kModeNone && !record.ModeName().empty()) return cabrillo::kDigitalWord;
  return WordOr(cabrillo::kModeWords, record.mode, cabrillo::kModeUnknown);
}

// The years the date column's four digits hold.
constexpr int kFirstYear = 1000;
constexpr int kLastYear = 9999;

// The mode part of a contest name: the sponsors name their phone and RTTY weekends with SSB and
// RTTY (CQ-WW-SSB, CQ-WPX-RTTY), not with the PH and RY of the mode column.
constexpr std::string_view kContestModeWords[kModeCount + 1] = {cabrillo::kModeUnknown,
                                                                "CW",
                                                                "SSB",
                                                                "RTTY",
                                                                "SSB",
                                                                "SSB",
                                                                cabrillo::kModeUnknown,
                                                                cabrillo::kModeUnknown,
                                                                cabrillo::kModeUnknown,
                                                                cabrillo::kModeUnknown};

constexpr std::size_t kReportWidth = 3;

// A header text ready for a keyword line: terminated, control characters as blanks.
template <std::size_t N>
void CleanHeaderText(char (&field)[N]) {
  field[N - 1] = '\0';
  for (char& c : field) {
    if (c != '\0' && static_cast<unsigned char>(c) < ' ') c = ' ';
  }
}

void CleanHeaderTexts(ContestHeader& header) {
  CleanHeaderText(header.call);
  CleanHeaderText(header.arrl_sect);
  CleanHeaderText(header.club);
  CleanHeaderText(header.name);
  CleanHeaderText(header.address);
  CleanHeaderText(header.city);
  CleanHeaderText(header.state);
  CleanHeaderText(header.zip);
  CleanHeaderText(header.gridsquare);
  CleanHeaderText(header.operators);
}

// Decimal digits of `value` into `out`.
void FormatUnsigned(unsigned value, char (&out)[16]) {
  char digits[16];
  std::size_t count = 0;
  do {
    digits[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  for (std::size_t i = 0; i < count; ++i) out[i] = digits[count - 1 - i];
  out[count] = '\0';
}

// The frequency in whole kHz for HF contacts, the band's designator from 50 MHz up (with or
// without a frequency). A contact without a band code is placed by its frequency.
void FrequencyColumn(const QsoRecord& record, char (&column)[16]) {
  int band = record.band;
  if (WordOr(cabrillo::kBandWords, band, {}).empty() && record.freq != 0) {
    const BandEdges* edges = BandOfFrequency(record.freq);
    if (edges != nullptr && edges->code != 0) band = edges->code;
  }
  std::string_view band_word = WordOr(cabrillo::kBandWords, band, {});
  bool designated = band >= cabrillo::kFirstBandAboveHf && !band_word.empty();
  if (record.freq != 0 && !designated) {
    FormatUnsigned(record.freq / 10, column);
  } else {
    CopyCut(column, !band_word.empty() ? band_word : cabrillo::kBandUnknown);
  }
}

// A character column of the record (Sweepstakes precedence): '?' when it holds nothing
// printable, which is what a cleared record's blank means.
char RecordChar(char c) {
  unsigned char value = static_cast<unsigned char>(c);
  return (value > ' ' && value < 0x7F) ? c : '?';
}

struct Exchange {
  char sent[24];
  char received[48];
};

// A received text as one word of the line (see LineWord).
void CopyText(char (&out)[48], std::string_view text) {
  CopyCut(out, LineWord(text).c_str());
}

// The sent and received exchange of layout R, by the contest's kinds of exchange.
Exchange ReportsExchange(const cabrillo::Contest& contest, const ContestHeader& own,
                         const QsoRecord& record, bool north_american, int serial) {
  Exchange exchange{};
  CopyCut(exchange.sent, "???");
  switch (contest.sent) {
    case SentExchange::kUnknown:
      break;
    case SentExchange::kPower:
      CopyCut(exchange.sent, "????");
      break;
    case SentExchange::kSerial:
      if (record.stx != 0) CopyCut(exchange.sent, Decimal(record.stx).View());
      break;
    case SentExchange::kZone:
      CopyCut(exchange.sent, own.zone != 0 ? Decimal(own.zone, 2).View() : "??");
      break;
    case SentExchange::kSerialOutsideNa:
      if (!north_american) CopyCut(exchange.sent, PaddedDecimal(serial, -6).View());
      break;
  }
  switch (contest.received) {
    case ReceivedExchange::kText:
      CopyText(exchange.received, ReceivedExchangeText(record));
      break;
    case ReceivedExchange::kCqZone:
      CopyCut(exchange.received, Decimal(record.cqz, 2).View());
      break;
    case ReceivedExchange::kSerial:
      CopyCut(exchange.received, PaddedDecimal(record.srx, 5).View());
      break;
    case ReceivedExchange::kItuZone:
      if (record.ituz != 0) {
        CopyCut(exchange.received, Decimal(record.ituz, 2).View());
      } else {
        CopyText(exchange.received, record.RcvdExch());
      }
      break;
    case ReceivedExchange::kSerialState:
      if (record.srx != 0) {
        CopyCut(exchange.received, PaddedDecimal(record.srx, -6).View());
      } else {
        CopyText(exchange.received, !record.State().empty() ? record.State() : record.RcvdExch());
      }
      break;
  }
  return exchange;
}

}  // namespace

int CabrilloLogFile::Close() {
  if (IsOpen()) WriteText("END-OF-LOG:\r\n");
  return LogStream::Close();
}

void CabrilloLogFile::WriteKeywordLine(const char* keyword, const char* value) {
  TextLine line;
  line.Append("%s %s\r\n", keyword, value);
  line.WriteTo(*this);
}

int CabrilloLogFile::WriteHeader(ContestHeader source) {
  const cabrillo::Contest* contest = WrittenContest(source.contest);
  if (contest == nullptr) return 0;
  CleanHeaderTexts(source);

  char contest_name[48];
  std::string_view name = contest->name;
  std::string_view completion;
  if (name.back() == '-') {
    completion = source.contest == kContestVhfQso
                     ? cabrillo::kMonthUnknown
                     : WordOr(kContestModeWords, source.mode, cabrillo::kModeUnknown);
  }
  std::snprintf(contest_name, sizeof contest_name, "%.*s%.*s", static_cast<int>(name.size()),
                name.data(), static_cast<int>(completion.size()), completion.data());

  const char* band = source.contest == kContestArrl10    ? "10M"
                     : source.contest == kContestArrl160 ? "160M"
                                                         : "ALL";
  WriteKeywordLine("START-OF-LOG:", "2.0");
  WriteKeywordLine("ARRL-SECTION:",
                   source.contest == kContestArrlDxFromDx ? "DX" : source.arrl_sect);
  WriteKeywordLine("CONTEST:", contest_name);
  WriteKeywordLine("CALLSIGN:", source.call);
  TextLine category;
  std::string_view category_word =
      WordOr(cabrillo::kCategoryWords, source.category, kCategoryUnknown);
  std::string_view power_word =
      WordOr(cabrillo::kPowerWords, source.power_cat, cabrillo::kPowerUnknown);
  category.Append("%s %.*s %s %.*s\r\n", "CATEGORY:", static_cast<int>(category_word.size()),
                  category_word.data(), band, static_cast<int>(power_word.size()),
                  power_word.data());
  category.WriteTo(*this);
  WriteKeywordLine("CLAIMED-SCORE:", "");
  WriteKeywordLine("OPERATORS:", source.operators);
  WriteKeywordLine("CLUB:", source.club);
  WriteKeywordLine("NAME:", source.name);
  WriteKeywordLine("ADDRESS:", source.address);
  TextLine address;
  address.Append("%s %s, %s %s\r\n", "ADDRESS:", source.city, source.state, source.zip);
  address.WriteTo(*this);
  TextLine soapbox;
  soapbox.Append("%s\r\n", "SOAPBOX:");
  soapbox.WriteTo(*this);

  header = source;
  ownCall = LineWord(FieldText(header.call), kCallUnknown);
  DecideNorthAmerican();
  return 1;
}

void CabrilloLogFile::DecideNorthAmerican() {
  countryTable.Open(FindDataFile(kCountryFileName).c_str(), kModeReadBinary);
  std::string_view call = FieldText(header.call);
  if (call.empty()) {
    northAmerican = true;
    return;
  }
  const Country* country = countryTable.LookupCall(call);
  if (country == nullptr) {
    northAmerican = false;
    return;
  }
  const std::string& prefix = country->prefix;
  northAmerican = prefix == "W" || prefix == "KH6" || prefix == "KL7" || prefix == "VE";
}

int CabrilloLogFile::WriteQso(const QsoRecord& record) {
  QsoStart start;
  start.time = UtcCalendar(record.time_on);
  if (start.time.year < kFirstYear || start.time.year > kLastYear) return 0;
  ++qso_count;
  const cabrillo::Contest* contest = WrittenContest(header.contest);
  if (contest == nullptr) return 0;
  FrequencyColumn(record, start.frequency);
  start.mode = ModeWord(record);
  TextLine line;
  switch (contest->layout) {
    case Layout::kReports:
      AppendReports(line, start, *contest, record);
      break;
    case Layout::kSweepstakes:
      AppendSweepstakes(line, start, record);
      break;
    case Layout::kVhf:
      AppendVhf(line, start, record);
      break;
    case Layout::kQsoParty:
      AppendQsoParty(line, start, record);
      break;
    case Layout::kNaqp:
      AppendNaqp(line, start, record);
      break;
    case Layout::kFieldDay:
    case Layout::kGeneral:
      return 0;  // read only
  }
  return line.WriteTo(*this);
}

// Each line is one format: the columns every QSO line begins with, "QSO: %5s %2s
// %4d-%02d-%02d %02d%02d " (frequency, mode, date and time), then the layout's own columns and
// the line end. The reports layout, which most contests use, builds the same columns without
// printf.

void CabrilloLogFile::AppendQsoStart(TextLine& line, const QsoStart& start) {
  const CivilTime& t = start.time;
  line.AppendText("QSO: ");
  line.AppendColumn(start.frequency, 5);
  line.AppendChar(' ');
  line.AppendColumn(start.mode, 2);
  line.AppendChar(' ');
  line.AppendPaddedDecimal(t.year, 4);
  line.AppendChar('-');
  line.AppendDecimal(t.month, 2);
  line.AppendChar('-');
  line.AppendDecimal(t.day, 2);
  line.AppendChar(' ');
  line.AppendDecimal(t.hour, 2);
  line.AppendDecimal(t.minute, 2);
  line.AppendChar(' ');
}

// "%-13s %-3s %-6s %-13s %-3s %-6s  \r\n" after the start: own call, report and exchange
// sent, then call, report and exchange received.
void CabrilloLogFile::AppendReports(TextLine& line, const QsoStart& start,
                                    const cabrillo::Contest& contest,
                                    const QsoRecord& record) const {
  Exchange exchange = ReportsExchange(contest, header, record, northAmerican, SentSerial(record));
  AppendQsoStart(line, start);
  line.AppendColumn(ownCall.c_str(), -13);
  line.AppendChar(' ');
  line.AppendColumn(ReportColumn::Sent(record, kReportWidth, "0").c_str(), -3);
  line.AppendChar(' ');
  line.AppendColumn(exchange.sent, -6);
  line.AppendChar(' ');
  line.AppendColumn(LineWord(record.call).c_str(), -13);
  line.AppendChar(' ');
  line.AppendColumn(ReportColumn::Received(record, kReportWidth, "0").c_str(), -3);
  line.AppendChar(' ');
  line.AppendColumn(exchange.received, -6);
  line.AppendText("  \r\n");
}

void CabrilloLogFile::AppendSweepstakes(TextLine& line, const QsoStart& start,
                                        const QsoRecord& record) const {
  char own_check[8] = "??";
  char check[8] = "??";
  if (header.check != 0) std::snprintf(own_check, sizeof own_check, "%02d", header.check);
  // A cleared record's check is a blank; printed as a number it would be the check 32.
  if (record.check != ' ') {
    std::snprintf(check, sizeof check, "%d", static_cast<unsigned char>(record.check));
  }
  char own_precedence = header.prec != 0 ? RecordChar(static_cast<char>(header.prec)) : '?';
  AppendQsoStart(line, start);
  line.Append("%-10s %4d %c %2s %3s %-10s %4d %c %2s %-3s\r\n", ownCall.c_str(), SentSerial(record),
              own_precedence, own_check, LineWord(header.arrl_sect, "???").c_str(),
              LineWord(record.call).c_str(), record.srx, RecordChar(record.prec), check,
              LineWord(record.arrl_sect).c_str());
}

void CabrilloLogFile::AppendVhf(TextLine& line, const QsoStart& start,
                                const QsoRecord& record) const {
  ReportColumn sent_report = ReportColumn::Sent(record, kReportWidth, "");
  ReportColumn report = ReportColumn::Received(record, kReportWidth, "");
  AppendQsoStart(line, start);
  line.Append("%-13s %-3s %-6s %-13s %-3s %-6s  \r\n", ownCall.c_str(), sent_report.c_str(),
              LineWord(header.gridsquare).c_str(), LineWord(record.call).c_str(), report.c_str(),
              LineWord(record.rcvd_exch).c_str());
}

void CabrilloLogFile::AppendQsoParty(TextLine& line, const QsoStart& start,
                                     const QsoRecord& record) const {
  AppendQsoStart(line, start);
  line.Append("%-10s %-4d %-10s %-3s %-10s %-4d %-10s %-3s  \r\n", ownCall.c_str(),
              SentSerial(record), "????", "????", LineWord(record.call).c_str(), record.srx,
              LineWord(record.name).c_str(), LineWord(ReceivedExchangeText(record)).c_str());
}

void CabrilloLogFile::AppendNaqp(TextLine& line, const QsoStart& start,
                                 const QsoRecord& record) const {
  AppendQsoStart(line, start);
  line.Append("%-10s %-4s %-10s %-3s %-10s %-4s %-10s %-3s  \r\n", ownCall.c_str(), "", "????",
              "????", LineWord(record.call).c_str(), "", LineWord(record.name).c_str(),
              LineWord(ReceivedExchangeText(record)).c_str());
}

}  // namespace quorvel
