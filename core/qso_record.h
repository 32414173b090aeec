// The QSO record: the one in-memory form of a contact that every reader fills and every writer
// prints. A plain fixed-size value without pointers: copied whole and cleared whole.
#pragma once

#include <cstdint>
#include <string_view>

namespace quorvel {

/// Band codes 1..30; 0 = not given.
inline constexpr int kBandCount = 30;
/// The band names the ADIF format uses, indexed by band code (index 0 is empty). 4 m and 33 cm
/// are spelt as ADIF's band enumeration spells them.
inline constexpr std::string_view kAdifBandNames[kBandCount + 1] = {
    "",       "160M", "80M",   "40M",  "30M",  "20M",  "17M",  "15M", "12M",  "10M", "6M",
    "4m",     "2M",   "1.25M", "70cm", "33cm", "23cm", "13cm", "9cm", "6cm",  "3cm", "2cm",
    "1.25cm", "6mm",  "2.5mm", "2mm",  "1mm",  "SAT",  "PACK", "NOV", "LIGHT"};

/// Mode codes 1..9; 0 = not given. RTTY and FSK share code 3.
enum ModeCode : std::uint8_t {
  kModeNone = 0,
  kModeCw = 1,
  kModeSsb = 2,
  kModeRtty = 3,
  kModeAm = 4,
  kModeFm = 5,
  kModeTor = 6,
  kModePkt = 7,
  kModePactor = 8,
  kModeGtor = 9
};
inline constexpr int kModeCount = 9;
inline constexpr std::string_view kModeNames[kModeCount + 1] = {
    "", "CW", "SSB", "RTTY", "AM", "FM", "TOR", "PKT", "PACTOR", "GTOR"};

/// Bits of `QsoRecord::report_signs`: the report was given with a sign, as the decibel reports
/// of digital modes are ("-11", "+03"), and is written back in that form.
inline constexpr std::uint8_t kSignedRstSent = 1;
inline constexpr std::uint8_t kSignedRstRcvd = 2;

/// A report as the logs print it: "599", or with its sign and two digits ("-11", "+03").
struct ReportText {
  char text[8];
  std::uint8_t length;
  std::string_view View() const { return {text, length}; }
};
ReportText FormatReport(std::int16_t value, bool with_sign);

// The fields are placed for reading ahead, which fills a record on one core and writes it out
// on another: each cache line a writer looks at travels between them. The numbers and letters
// of a contact fill the first line; the small texts every writer looks at (mostly empty) the
// second; the long texts come last.
struct alignas(64) QsoRecord {
  // First cache line.
  char call[14];
  std::uint8_t reserved;
  std::int64_t time_on;   // seconds since 1970 UTC
  std::int64_t time_off;  // 0 = absent
  std::uint8_t band;
  std::uint32_t freq;  // units of 100 Hz
  std::uint8_t mode;
  std::uint8_t contest;
  std::uint16_t tx_pwr;
  std::int32_t stx;
  std::int32_t srx;
  std::uint8_t cqz;
  std::uint8_t ituz;
  std::int16_t rst_sent;  // 0 = absent, unless given with a sign ("+00")
  std::int16_t rst_rcvd;
  std::uint8_t report_signs;  // kSignedRstSent, kSignedRstRcvd
  char prec;   // Sweepstakes: precedence letter; Field Day: transmitter count as a number
  char check;  // Sweepstakes: check as a number; Field Day: category letter
  char qsl_sent;
  char qsl_rcvd;
  std::uint8_t aux_digit;
  // Second cache line.
  char submode[16];     // ADIF's submode (FT4, USB); kept in memory only, as are the next two
  char gridsquare[12];  // the worked station's grid locator
  char band_name[8];    // the log's own name of a band the band codes do not name (60m, submm)
  char arrl_sect[5];
  char state[3];  // not terminated when it holds three characters
  std::int32_t ten_ten;
  std::uint16_t arci_num;
  std::uint16_t exch_word;
  std::uint8_t age;
  std::uint8_t points;
  std::uint8_t mult_count;
  // The longer texts.
  char mode_name[16];  // the log's own name of a mode the mode table has no code for (FT8, MFSK)
  char name[16];
  char iota[8];
  char qth[30];
  char mults[16];
  char rcvd_exch[40];
  char comment[400];

  /// All zeros, with `prec` and `check` blank.
  void Clear();

  /// Call given with a length: cut to 13 characters when `length` >= 14, else copied up to
  /// `length` characters and cut at the first blank.
  void SetCall(const char* text, int length);
  /// Whole call text, cut to 13 characters.
  void SetCallText(std::string_view text);
  /// UTC calendar moment to `time_on`; year counts from 1900, month 0..11; out-of-range values
  /// roll over into the next unit.
  void SetTime(int year, int month, int day, int hour, int minute);

  /// The number setters read the leading decimal digits; a value beyond the field's range is
  /// not a value of the field and leaves it 0.
  void SetTxPwr(std::string_view text);
  void SetStx(std::string_view text);
  void SetSrx(std::string_view text);
  void SetCqz(std::string_view text);
  void SetItuz(std::string_view text);
  /// Reports: a sign before the digits ("-11", "+03") is kept as the report's form.
  void SetRstSent(std::string_view text);
  void SetRstRcvd(std::string_view text);
  void SetTenTen(std::string_view text);
  void SetArciNum(std::string_view text);
  void SetAge(std::string_view text);
  /// Field Day transmitter count (the number meaning of `prec`).
  void SetPrec(std::string_view text);
  /// Sweepstakes check (the number meaning of `check`).
  void SetCheck(std::string_view text);
  void SetPoints(std::string_view text);

  void SetName(std::string_view text);
  void SetIota(std::string_view text);
  void SetQth(std::string_view text);
  void SetQth(const char* text, int count);
  void SetArrlSect(std::string_view text);
  void SetArrlSect(const char* text, int count);
  void SetState(const char* text, int count);
  void SetRcvdExch(std::string_view text);
  void SetRcvdExch(const char* text, int count);
  void SetComment(std::string_view text);
  void SetComment(const char* text, int count);
  void SetBandName(std::string_view text);
  void SetModeName(std::string_view text);
  void SetSubmode(std::string_view text);
  void SetGridsquare(std::string_view text);

  void SetContest(std::uint8_t code) { contest = code; }
  void SetQslSent(char letter) { qsl_sent = letter; }
  void SetQslRcvd(char letter) { qsl_rcvd = letter; }

  /// Adds a multiplier name. Names that would not fit the 15 characters of `mults` are left
  /// out whole; `mult_count` still counts every multiplier.
  void AddMult(std::string_view text);

  int RcvdExchLength() const;
  int NameLength() const;
  int QthLength() const;
  /// True when `rcvd_exch` starts with a decimal digit.
  bool RcvdExchIsNumeric() const;

  std::string_view Call() const;
  std::string_view Name() const;
  std::string_view Iota() const;
  std::string_view Qth() const;
  std::string_view ArrlSect() const;
  /// The state, at most its three characters.
  std::string_view State() const;
  std::string_view RcvdExch() const;
  std::string_view Comment() const;
  std::string_view Mults() const;
  std::string_view BandName() const;
  std::string_view ModeName() const;
  std::string_view Submode() const;
  std::string_view Gridsquare() const;

  /// A report is present when it is not 0 or was given with a sign ("+00" is a report).
  bool HasRstSent() const { return rst_sent != 0 || (report_signs & kSignedRstSent) != 0; }
  bool HasRstRcvd() const { return rst_rcvd != 0 || (report_signs & kSignedRstRcvd) != 0; }
  ReportText RstSentText() const {
    return FormatReport(rst_sent, (report_signs & kSignedRstSent) != 0);
  }
  ReportText RstRcvdText() const {
    return FormatReport(rst_rcvd, (report_signs & kSignedRstRcvd) != 0);
  }
};

}  // namespace quorvel
