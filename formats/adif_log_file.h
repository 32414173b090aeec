// ADIF logs (.adi), read and written. Every field is a tag "<name:length>" followed by exactly
// that many characters of value; a record ends with "<eor>", the optional header with "<eoh>".
//
// Reading scans the file's bytes straight from the stream's buffer, so lines of any length are
// read and memory does not grow with the log. Writing spells each contact's exchange with the
// tags that suit the log's contest, decided through the country table (cqww.cty) and, for the
// "state" line of US stations, the section table (stsec.dat).
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "core/civil_time.h"
#include "core/log_file.h"
#include "refdata/country_table.h"
#include "refdata/section_table.h"

namespace quorvel {

class AdifRecordText;

/// The tag names the format knows; a name's position is its tag number.
enum AdifTag : int {
  kAdifUnknown = -1,
  kAdifEor = 0,
  kAdifCall,
  kAdifQsoDate,
  kAdifTimeOn,
  kAdifTimeOff,
  kAdifFreq,
  kAdifBand,
  kAdifMode,
  kAdifTxPwr,
  kAdifRstSent,
  kAdifRstRcvd,
  kAdifQslSent,
  kAdifQslRcvd,
  kAdifName,
  kAdifQth,
  kAdifState,
  kAdifComment,
  kAdifContestId,
  kAdifStx,
  kAdifSrx,
  kAdifPrec,
  kAdifCheck,
  kAdifArrlSect,
  kAdifRxPwr,
  kAdifCqz,
  kAdifItuz,
  kAdifGridsquare,
  kAdifIota,
  kAdifTxCount,
  kAdifCategory,
  kAdifAge,
  kAdifTenTen,
  kAdifArciNum,
  kAdifPrefecture,
  kAdifRcv,
  kAdifAddress,
  kAdifClub,
  kAdifPowerCat,
  kAdifEoh,
  // Tags of the ADIF standard that contest loggers and this writer use beside the format's own.
  kAdifPrecedence,       // the Sweepstakes precedence, which contest loggers write for "prec"
  kAdifClass,            // the Field Day class, as in 2A
  kAdifSrxString,        // the received exchange as the operator logged it
  kAdifStxString,        // the sent exchange as the operator logged it
  kAdifSubmode,          // FT4 of MFSK, USB of SSB
  kAdifStationCallsign,  // the own call, on every record
  kAdifOperator,         // the operator's call, on every record
  kAdifYear,             // header: the contest year
  kAdifZone,             // header: the own zone
  kAdifContestName,      // header: the contest name as the input log spelt it
  kAdifAdifVer,          // header: ADIF version, program and time of writing
  kAdifProgramId,
  kAdifProgramVersion,
  kAdifCreatedTimestamp,
};
inline constexpr int kAdifTagCount = kAdifCreatedTimestamp + 1;

/// Tag spellings, indexed by tag number.
inline constexpr std::string_view kAdifTagNames[kAdifTagCount] = {"eor",
                                                                  "call",
                                                                  "qso_date",
                                                                  "time_on",
                                                                  "time_off",
                                                                  "freq",
                                                                  "band",
                                                                  "mode",
                                                                  "tx_pwr",
                                                                  "rst_sent",
                                                                  "rst_rcvd",
                                                                  "qsl_sent",
                                                                  "qsl_rcvd",
                                                                  "name",
                                                                  "qth",
                                                                  "state",
                                                                  "comment",
                                                                  "contest_id",
                                                                  "stx",
                                                                  "srx",
                                                                  "prec",
                                                                  "check",
                                                                  "arrl_sect",
                                                                  "rx_pwr",
                                                                  "cqz",
                                                                  "ituz",
                                                                  "gridsquare",
                                                                  "iota",
                                                                  "tx_count",
                                                                  "category",
                                                                  "age",
                                                                  "ten_ten",
                                                                  "arci_num",
                                                                  "prefecture",
                                                                  "rcv",
                                                                  "address",
                                                                  "club",
                                                                  "power_cat",
                                                                  "eoh",
                                                                  "precedence",
                                                                  "class",
                                                                  "srx_string",
                                                                  "stx_string",
                                                                  "submode",
                                                                  "station_callsign",
                                                                  "operator",
                                                                  "year",
                                                                  "zone",
                                                                  "app_quorvel_contest_name",
                                                                  "adif_ver",
                                                                  "programid",
                                                                  "programversion",
                                                                  "created_timestamp"};

/// Longest tag name the format knows.
inline constexpr std::size_t kAdifLongestTagName = 24;

/// The tag number of a name compared without regard to case; kAdifUnknown for other names.
/// One hash and, mostly, one comparison: the scanner calls it for every tag of a log.
int AdifTagNumber(std::string_view name);

/// The same for a name of `length` characters (1..kAdifLongestTagName) already in lower case,
/// NUL-padded in `lower`.
int AdifLowerTagNumber(const char (&lower)[kAdifLongestTagName], std::size_t length);

/// The first contest code 1..33 whose ADIF spelling begins with `value` (case-sensitive); 0
/// when none does or the value is empty. The contest identifiers of the ADIF standard
/// ("ARRL-SS-CW", "CQ-WW-RTTY") are known too.
int AdifContestFromId(std::string_view value);

/// The mode a standard contest identifier names ("CQ-WW-RTTY" names RTTY); 0 for none.
int AdifContestModeFromId(std::string_view value);

/// Station category names by the header's category code; empty where a code has none.
inline constexpr std::string_view kAdifCategoryNames[] = {"Single Op",
                                                          "Single Op Unlimited",
                                                          "Multi Single",
                                                          "Multi Two",
                                                          "Multi Multi",
                                                          "",
                                                          "",
                                                          "",
                                                          "Rover",
                                                          "Limited Multi",
                                                          "Single Op Single Band"};
/// Power category names by the header's `power_cat` (0: none).
inline constexpr std::string_view kAdifPowerNames[] = {"", "QRP", "Low", "High"};

/// The characters "%d" prints for `n`: its decimal digits and a leading minus sign.
int DigitCount(std::int64_t n);

/// The tag scanner: reads one tag at a time from a stream opened in binary mode, looking at the
/// stream's buffer without copying unless a value runs across a buffer refill.
class AdifTagScanner {
 public:
  enum class Result { kTag, kEndOfRecord, kEndOfHeader, kEndOfFile };
  struct Tag {
    int number = kAdifUnknown;
    std::string_view value;   // valid until the next call
    std::size_t room = 0;     // bytes that may be read from the value's first, at least its size
    std::int64_t offset = 0;  // byte offset of the tag's '<' in the file
  };
  /// Longest value kept; the rest of a longer value is passed over.
  static constexpr std::size_t kValueRoom = 4095;
  static constexpr std::int64_t kValueRoomLength = kValueRoom;

  explicit AdifTagScanner(LogStream& stream) : stream(stream) {}
  AdifTagScanner(const AdifTagScanner&) = delete;
  AdifTagScanner& operator=(const AdifTagScanner&) = delete;

  /// The next tag, or the end of a record, of the header or of the file.
  Result Next(Tag& tag);
  /// Gives the bytes scanned so far back to the stream, so that its position is exact.
  void Sync();
  /// Forgets the view of the buffer; to be called after the stream was moved.
  void Reset();
  /// Byte offset of the next byte to scan.
  std::int64_t Offset() const { return window_offset + (pos - begin); }

 private:
  enum class Stop { kColon, kClose, kBroken, kEndOfFile };
  bool Refill();
  int Get() {
    if (pos == end && !Refill()) return -1;
    return static_cast<unsigned char>(*pos++);
  }
  void Unget() { --pos; }  // only right after a Get that returned a byte
  // Moves past the '<' of the next tag; false at the end of the file. The next tag mostly
  // follows the last value at once or after its line end.
  bool FindTagStart() {
    if (end - pos >= 3) {
      std::size_t skip = pos[0] == '<' ? 1 : pos[0] == '\n' && pos[1] == '<' ? 2 : 0;
      if (skip == 0 && pos[0] == '\r' && pos[1] == '\n' && pos[2] == '<') skip = 3;
      pos += skip;
      if (skip != 0) return true;
    }
    return SearchTagStart();
  }
  bool SearchTagStart();
  bool ReadGuessedTag(Tag& tag);
  Result ReadTag(Tag& tag);
  bool ReadPlainTag(int& number, std::int64_t& length);
  Stop ReadNameAndLength(int& number, std::int64_t& length);
  Stop ReadName(int& number);
  Stop ReadLength(std::int64_t& length);
  std::string_view ReadCountedValue(std::int64_t length);
  std::string_view ReadOpenValue();

  LogStream& stream;
  const char* begin = nullptr;  // start of the bytes not yet given back to the stream
  const char* pos = nullptr;
  const char* end = nullptr;
  std::int64_t window_offset = 0;  // file offset of `begin`
  char value_copy[kValueRoom];

  // Contest loggers write the same names in the same order in every record: after each tag
  // name, the name that followed it last time, as its bytes stood in the file with the ':' or
  // '>' after it (at most 16 bytes), so that the next name is mostly known by two compares.
  struct NameGuess {
    std::uint64_t bytes[2] = {};
    std::uint64_t masks[2] = {};
    int number = kAdifUnknown;
    std::size_t size = 0;  // of the name; 0 while nothing is known
  };
  bool GuessName(const char* name, int& number, std::size_t& size) const;
  void RememberName(int number, std::size_t size);
  NameGuess next_names[kAdifTagCount + 1];  // by the number before, the last for unknown names
  int previous_name = kAdifEor;
};

class AdifLogFile : public LogFile {
 public:
  AdifLogFile();
  ~AdifLogFile() override;

  int Open(const char* path, unsigned mode) override;
  int WriteHeader(ContestHeader source) override;
  int ReadQso(QsoRecord& record) override;
  int WriteQso(const QsoRecord& record) override;
  std::unique_ptr<QsoMaker> NewQsoMaker() const override;
  int ReadRawQso(RawQso& raw) override;

 private:
  // What the tags of one contact gave besides the record's own fields: the calendar fields
  // (a contact without a readable date is dated 1970-01-01, without a readable time 00:00)
  // and how good a source the exchange came from.
  struct ContactState {
    bool date_seen = false;
    bool date_valid = false;
    bool start_valid = false;
    bool end_seen = false;
    int date[3] = {1970, 1, 1};  // year, month, day
    int start[3] = {0, 0, 0};    // hour, minute, second
    int end[3] = {0, 0, 0};
    int exchange_rank = kNoExchange;
    char logged_class[2] = {};  // a Field Day class the logger wrote in its exchange text
    static constexpr int kNoExchange = 255;
  };
  // The tags of the first record that stand for the whole log in contest loggers' files.
  struct FirstRecord {
    std::string contest_id;
    std::string station_call;
    std::string operator_call;
    std::string sent_exchange;
    int mode = 0;
    void Take(const AdifTagScanner::Tag& tag);
  };

  bool ProbeFirstLine(std::int64_t& first_line_end);
  void ReadHeaderTags(std::int64_t first_line_end);
  void ApplyHeaderTag(const AdifTagScanner::Tag& tag);
  void ApplyHeaderCategory(std::string_view value);
  void FillHeaderFromFirstRecord();
  void FillOwnExchange(std::string_view sent);

  void WriteProgramLines(AdifRecordText& text) const;
  void WriteAddress(AdifRecordText& text) const;
  void WriteOwnExchange(AdifRecordText& text) const;
  void WriteTimes(const QsoRecord& record, const CivilTime& on, AdifRecordText& text) const;
  void WriteBandModeAndReports(const QsoRecord& record, AdifRecordText& text) const;
  void WriteExchange(const QsoRecord& record, AdifRecordText& line) const;
  void WriteGeneralQsoTags(const QsoRecord& record, AdifRecordText& text,
                           AdifRecordText& line) const;
  void WriteStateLine(const QsoRecord& record, AdifRecordText& line) const;

  AdifTagScanner scanner{*this};
  // The country file, loaded at the first question about a call: most logs never ask one,
  // and the two threads of reading ahead may ask at once.
  const CountryTable& Countries() const {
    if (!countries_loaded.load(std::memory_order_acquire)) LoadCountries();
    return country_table;
  }
  void LoadCountries() const;
  mutable std::once_flag countries_loading;
  mutable std::atomic<bool> countries_loaded{false};  // asked first: call_once costs more
  mutable CountryTable country_table;
  // The country of the last call looked up, which the next question mostly asks about again.
  struct CountryLookup {
    std::array<char, sizeof QsoRecord::call> call{};  // a record's call always fits
    std::size_t call_size = 0;
    const Country* country = nullptr;
    bool valid = false;
    bool PrefixIs(const CountryTable& table, std::string_view call,
                  std::initializer_list<std::string_view> prefixes);
  };
  mutable CountryLookup last_lookup;  // the writer's
  bool CountryPrefixIs(const QsoRecord& record,
                       std::initializer_list<std::string_view> prefixes) const;
  CalendarDays calendar;  // the dates of the contacts written
  // Contacts are read in two steps: the tags of a contact from the file, then its record of
  // them (ContactMaker, in adif_reader.cpp), which reading ahead may make on another thread.
  class ContactMaker;
  RawQso raw_contact;
  std::unique_ptr<QsoMaker> own_maker;  // the maker of ReadQso
  std::unique_ptr<SectionTable> section_table;
  bool from_dx4win = false;
};

}  // namespace quorvel
