// The log-level facts (contest header), the user's conversion options and the contest codes.
#pragma once

#include <cstdint>
#include <string_view>

namespace quorvel {

/// Contest codes 1..33 as every format numbers them; 0 = none.
enum ContestCode : std::uint8_t {
  kContestNone = 0,
  kContestSs = 1,
  kContestArrlDx = 2,
  kContestCqww = 3,
  kContestWpx = 4,
  kContestIaru = 5,
  kContestArrl10 = 6,
  kContestArrl160 = 7,
  kContestCq160 = 8,
  kContestFd = 9,
  kContestCqp = 10,
  kContestArrlDxFromDx = 11,
  kContestWae = 12,
  kContestVhfQso = 13,
  kContestDxped = 14,
  kContestAllAsian = 15,
  kContestNaqp = 16,
  kContestGridloc = 17,
  kContestYodx = 18,
  kContestKcj = 19,
  kContestTenTen = 20,
  kContestSprint = 21,
  kContestSac = 22,
  kContestToec = 23,
  kContestJadx = 24,
  kContestArci = 25,
  kContestIota = 26,
  kContestInternetSprint = 27,
  kContestGeneralQso = 28,
  kContestStewPerry = 29,
  kContestHelvetia = 30,
  kContestWag = 31,
  kContestAri = 32,
  kContestRac = 33
};
inline constexpr int kContestCount = 33;

/// What `-c` accepts, indexed by contest code (index 0 unused).
inline constexpr std::string_view kContestKeywords[kContestCount + 1] = {
    "",       "SS",  "ARRLDX", "CQWW",   "WPX",    "IARU",  "ARRL10", "ARRL160", "CQ160",
    "FD",     "CQP", "ARDXDX", "WAE",    "VHFQSO", "DXPED", "AA",     "NAQP",    "GRIDLOC",
    "YODX",   "KCJ", "1010",   "SPRINT", "SAC",    "TOEC",  "JADX",   "ARCI",    "IOTA",
    "INTSPR", "QSO", "STEWP",  "HELV",   "WAG",    "ARI",   "RAC"};

/// What ADIF reads and writes as `contest_id`, indexed by contest code. Code 11 shares "ARRLDX"
/// with code 2, so a read "ARRLDX" is always code 2.
inline constexpr std::string_view kAdifContestNames[kContestCount + 1] = {
    "",       "SS",     "ARRLDX", "CQWW",   "WPX",    "IARU",  "ARRL10", "ARRL160", "CQ160",
    "FD",     "CQP",    "ARRLDX", "WAE",    "VHFQSO", "DXPED", "AA",     "NAQP",    "GRIDLOC",
    "YODX",   "KCJ",    "1010",   "SPRINT", "SAC",    "TOEC",  "JADX",   "ARCI",    "IOTA",
    "SprINT", "GENQSO", "STEWP",  "HELV",   "WAG",    "ARI",   "RAC"};

/// The contest each code stands for, indexed by contest code (index 0 unused).
inline constexpr std::string_view kContestTitles[kContestCount + 1] = {
    "",
    "ARRL Sweepstakes",
    "ARRL International DX, worked from the USA or Canada",
    "CQ World Wide DX",
    "CQ WPX",
    "IARU HF Championship",
    "ARRL 10-metre",
    "ARRL 160-metre",
    "CQ 160-metre",
    "ARRL Field Day",
    "California QSO Party",
    "ARRL International DX, worked from outside the USA and Canada",
    "Worked All Europe",
    "VHF QSO Party",
    "DXpedition or general QSOs",
    "All Asian",
    "North American QSO Party",
    "Grid locator contest",
    "YO DX",
    "KCJ",
    "Ten-Ten QSO Party",
    "North American Sprint",
    "Scandinavian Activity Contest",
    "TOEC world-wide grid",
    "Japan International DX",
    "ARCI QSO Party",
    "RSGB IOTA",
    "Internet Sprint",
    "ordinary log without a contest",
    "Stew Perry Topband",
    "Helvetia",
    "Worked All Germany",
    "ARI International DX",
    "RAC Winter"};

/// Operator category codes, as CT logs store them.
enum CategoryCode : std::uint8_t {
  kCategorySingleOp = 0,
  kCategorySingleOpAssisted = 1,
  kCategoryMultiSingle = 2,
  kCategoryMultiTwo = 3,
  kCategoryMultiMulti = 4,
  kCategoryQrpPortable = 5,
  kCategoryRover = 8,
  kCategoryLimitedMulti = 9,
  kCategorySingleBand = 10
};

/// Facts about the whole log. Plain value, copied whole; all zero means nothing is known.
struct ContestHeader {
  char call[32];
  std::uint8_t contest;
  std::uint8_t category;
  std::uint8_t power_cat;  // 0 not given, 1 QRP, 2 low, 3 high
  std::uint8_t mode;       // mode code
  char contest_name[32];
  char year[5];
  char name[32];
  char address[64];
  char city[32];
  char state[8];
  char zip[16];
  char club[64];
  std::uint8_t ct_option;
  char ct_text[16];
  char radio[12];
  std::uint8_t ct_settings[3];
  std::uint8_t zone;
  char gridsquare[8];
  std::uint8_t prec;   // Sweepstakes: precedence letter; Field Day: transmitter count
  std::uint8_t check;  // Sweepstakes: check number; Field Day: category letter index (0 = 'A')
  char arrl_sect[8];
  std::uint8_t fd_extra[10];
  std::uint8_t fd_flag;
  char text1[64];
  char text2[64];
  char text3[64];
  char text4[32];
  char text5[64];
  char text6[64];
  std::uint8_t ct_block1[8];
  std::uint8_t ct_block2[8];
  std::uint16_t ct_word1;
  std::uint16_t ct_word2;
  std::uint32_t ct_long;
  std::uint8_t ct_pair[2];
  std::uint8_t ct_block3[14];
  // Kept in memory only; no binary layout holds it.
  char operators[64];  // the operators' calls, separated by blanks (Cabrillo logs)
};

/// Longest comment the options keep.
inline constexpr int kCommentLimit = 40;

/// Bits of `ConversionOptions::extra_fields`.
inline constexpr std::uint32_t kExtraQsoNumber = 1;
inline constexpr std::uint32_t kExtraExactFrequency = 2;

/// The user's choices for one conversion; all zero means none chosen.
struct ConversionOptions {
  std::int32_t band_numeric;
  char comment[256];
  std::uint8_t approach;
  std::uint32_t extra_fields;
  std::uint8_t contest;
};

/// The contest code whose keyword the text begins with, testing codes 1..33 in order; 0 if none.
int ContestFromKeywordPrefix(std::string_view text);

/// The Converter's option parser: upper-cases `text` in place, then fills `options` from it.
/// Always returns 1.
int ParseConverterOptions(char* text, ConversionOptions& options);

/// A format object's own option parser: options written exactly as "-tApproach", "-bNumeric",
/// "-freq", "-qsonum", "-c" and "-n"; the contest goes into `header`. Returns 0 when no contest
/// is known afterwards (and then leaves the comment alone), else 1.
int ParseFormatOptions(const char* text, ConversionOptions& options, ContestHeader& header);

}  // namespace quorvel
