// NA binary logs of both generations: hand-built headers and records, bytes placed at the
// offsets of the format's layout, read through the objects the format table makes.
#include "formats/na_log_file.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/civil_time.h"
#include "core/format_factory.h"
#include "ct8_bytes.h"
#include "test_support.h"

namespace quorvel {
namespace {

using testing::Bytes;

constexpr int kGenerations[] = {kFormatNaNew, kFormatNaOld};

Bytes NewerHeader(std::string_view contest_name, int category = 0) {
  Bytes header(800);
  return header.U8(0, 'Z').Text(394, contest_name).U16(160, category);
}
Bytes OlderHeader(int contest_number) {
  Bytes header(800);
  return header.U8(0, 'P').U16(158, contest_number);
}
// CQ WW, which both generations name: by name, or as the older contest number 15.
Bytes CqwwHeader(int format) {
  return format == kFormatNaNew ? NewerHeader("CQWW") : OlderHeader(15);
}
// A record: seconds since 1980, the frequency word and the worked call.
Bytes NaQso(std::int64_t time, std::int64_t frequency_word, std::string_view call = "K1ABC") {
  Bytes qso(40);
  return qso.U32(0, time).U32(4, frequency_word).Text(9, call);
}
std::int64_t Word(std::int64_t frequency, int mode_bits) {
  return frequency * 4 + mode_bits;
}

class NaReading : public ::testing::Test {
 protected:
  // The log's reader, opened; null when Open refuses the bytes.
  std::unique_ptr<LogFile> Open(int format, const std::string& bytes) {
    std::string path = dir.Path("log" + std::to_string(files++) + ".qdf");
    testing::WriteFile(path, bytes);
    std::unique_ptr<LogFile> reader = CreateLogFile(format, Direction::kInput);
    if (!reader || !reader->Open(path.c_str(), kModeReadText)) return nullptr;
    return reader;
  }
  ContestHeader HeaderOf(int format, const Bytes& header) {
    auto reader = Open(format, header.Str());
    EXPECT_TRUE(reader);
    return reader ? reader->Header() : ContestHeader{};
  }
  QsoRecord OnlyQso(int format, const Bytes& header, const Bytes& qso) {
    auto reader = Open(format, header.Str() + qso.Str());
    std::vector<QsoRecord> read;
    if (reader) read = testing::ReadAllQsos(*reader);
    EXPECT_EQ(read.size(), 1u);
    return read.empty() ? QsoRecord{} : read[0];
  }

  testing::ScratchDir dir;
  int files = 0;
};

TEST_F(NaReading, HeaderTextsOfBothGenerationsAreTrimmedAndCut) {
  std::string full = std::string(31, 'T') + "X";
  for (int format : kGenerations) {
    SCOPED_TRACE(format);
    Bytes header = CqwwHeader(format);
    header.Text(1, "N0QV        ").Text(25, std::string(30, ' ')).Text(61, "1 Main St");
    header.Text(123, "65801").Text(128, "Ozark CC  ").U8(186, 7).Text(191, full);
    header.Text(223, "line three").Text(255, "line two").Text(319, full);
    ContestHeader read = HeaderOf(format, header);
    EXPECT_STREQ(read.call, "N0QV");
    EXPECT_STREQ(read.name, " ");  // only blanks
    EXPECT_STREQ(read.city, "");   // only NULs
    EXPECT_STREQ(read.address, "1 Main St");
    EXPECT_STREQ(read.zip, "65801");
    EXPECT_STREQ(read.club, "Ozark CC");
    EXPECT_EQ(read.ct_option, 7);
    EXPECT_EQ(std::string(read.text1), std::string(31, 'T'));
    EXPECT_STREQ(read.text2, "line two");
    EXPECT_STREQ(read.text3, "line three");
    EXPECT_EQ(std::string(read.text4), std::string(31, 'T'));
    EXPECT_STREQ(OnlyQso(format, header, NaQso(0, 0, std::string(12, ' '))).call, " ");
  }
}

TEST_F(NaReading, HeadersShorterThan800BytesAreRefused) {
  for (int format : kGenerations) {
    for (std::size_t size : {0, 1, 160, 394, 799}) {
      EXPECT_FALSE(Open(format, CqwwHeader(format).Str().substr(0, size))) << size;
    }
  }
}

TEST_F(NaReading, ContestNumbersNamesAndCategoriesWithinTheirTables) {
  // Older contest numbers 0..15 (0: no contest, refused), then numbers outside the table.
  const int older_contests[] = {21, 16, 5, 1, 6, 7, 8, 9, 0, 2, 11, 0, 0, 13, 4, 3};
  for (int number = -2; number <= 17; ++number) {
    bool known = number >= 0 && number < 16 && older_contests[number] != 0;
    auto reader = Open(kFormatNaOld, OlderHeader(number).U16(160, 6).Str());
    ASSERT_EQ(reader != nullptr, known) << number;
    if (!reader) continue;
    EXPECT_EQ(reader->Header().contest, older_contests[number]) << number;
    EXPECT_EQ(reader->Header().category, 0) << number;
  }
  EXPECT_FALSE(Open(kFormatNaOld, OlderHeader(0x7FFF).Str()));
  EXPECT_FALSE(Open(kFormatNaOld, OlderHeader(-32768).Str()));
  // Newer category numbers 0..12, then numbers outside the table.
  const int newer_categories[] = {0, 1, 10, 0, 0, 0, 5, 8, 2, 2, 3, 9, 4};
  for (int number : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 0x7FFF, -1, -32768}) {
    auto reader = Open(kFormatNaNew, NewerHeader("CQWW", number).Str());
    ASSERT_EQ(reader != nullptr, number >= 0 && number <= 12) << number;
    if (!reader) continue;
    EXPECT_EQ(reader->Header().category, newer_categories[number]) << number;
  }
  // Newer contest names, by the text the name field begins with.
  const std::pair<const char*, int> names[] = {
      {"SS", 1},    {"ARRLDX1", 2}, {"ARRLDX", 0}, {"CQWW", 3},  {"WPX", 4}, {"IARU", 5},
      {"NAQP", 16}, {"NAQPCW", 16}, {"cqww", 0},   {"CQ WW", 0}, {"", 0},    {" NAQP", 0}};
  for (const auto& [name, contest] : names) {
    EXPECT_EQ(HeaderOf(kFormatNaNew, NewerHeader(name)).contest, contest) << name;
  }
  // The name may run to the last byte; the older contest number means nothing here.
  Bytes header = NewerHeader("NAQP").Text(398, std::string(402, 'X')).U16(158, 15);
  EXPECT_EQ(HeaderOf(kFormatNaNew, header).contest, kContestNaqp);
}

TEST_F(NaReading, RecordTimesCountFrom1980WithoutWrapping) {
  struct Case {
    std::int64_t stored, time_on;
  } const cases[] = {
      {0, 315532800}, {-1, 315532799}, {0x7FFFFFFF, 2463016447}, {-2147483648LL, -1831950848}};
  for (int format : kGenerations) {
    for (const Case& c : cases) {
      EXPECT_EQ(OnlyQso(format, CqwwHeader(format), NaQso(c.stored, 0)).time_on, c.time_on);
    }
  }
  CivilTime t = UtcCalendar(OnlyQso(kFormatNaNew, NewerHeader(""), NaQso(0, 0)).time_on);
  EXPECT_EQ(std::vector<int>({t.year, t.month, t.day, t.hour, t.minute, t.second}),
            std::vector<int>({1980, 1, 1, 0, 0, 0}));
}

TEST_F(NaReading, FrequencyWordGivesBandModeAndOlderFrequency) {
  struct Case {
    std::int64_t word;
    int band, mode;
    std::uint32_t older_freq;
  } const cases[] = {
      {Word(140250, 1), 5, kModeSsb, 140250},  {Word(300000, 0), 9, kModeCw, 300000},
      {Word(300001, 0), 9, kModeCw, 300001},   {Word(309999, 0), 9, kModeCw, 309999},
      {Word(310000, 1), 10, kModeSsb, 310000}, {Word(1440000, 2), 12, kModeNone, 1440000},
      {Word(18300, 3), 1, kModeNone, 18300},   {Word(-5, 1), 1, kModeSsb, 0},
      {0x7FFFFFFF, 23, kModeNone, 536870911},  {0x80000000, 1, kModeCw, 0}};
  for (int format : kGenerations) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::to_string(format) + " word " + std::to_string(c.word));
      QsoRecord qso = OnlyQso(format, CqwwHeader(format), NaQso(0, c.word));
      EXPECT_EQ(qso.band, c.band);
      EXPECT_EQ(qso.mode, c.mode);
      EXPECT_EQ(qso.freq, format == kFormatNaOld ? c.older_freq : 0u);
    }
  }
  // Up to and past the last band edge, which the file's 30 bits cannot reach.
  EXPECT_EQ(NaBandFromFrequency(2500000000), 26);
  EXPECT_EQ(NaBandFromFrequency(2500010000), 0);
}

TEST_F(NaReading, ExchangeAreaIsLaidOutByContest) {
  struct Case {
    int number;  // older generation
    std::vector<std::pair<std::size_t, const char*>> pieces;
    int srx, rst_rcvd, cqz, ituz;
    char prec, check;
    const char *arrl_sect, *name, *rcvd_exch;
  } const cases[] = {
      {3, {{21, "123 "}, {25, "B"}, {30, "99"}, {32, "CT  "}}, 123, 0, 0, 0, 'B', 99, "CT", "", ""},
      {3, {{21, "7"}, {32, "ENY"}}, 7, 0, 0, 0, ' ', 0, "ENY", "", ""},
      {15, {{21, "599"}, {32, "5   "}}, 0, 599, 5, 0, ' ', ' ', "", "", ""},
      {14, {{21, "579"}, {24, "1234"}}, 1234, 579, 0, 0, ' ', ' ', "", "", ""},
      {2, {{21, "599"}, {32, "8"}}, 0, 599, 0, 8, ' ', ' ', "", "", ""},
      {2, {{21, "59"}, {32, "HQ"}}, 0, 59, 0, 0, ' ', ' ', "", "", "HQ"},
      {7, {{21, "12A     "}, {32, "EMA "}}, 0, 0, 0, 0, 12, 'A', "EMA", "", ""},
      {1, {{21, "BOB        "}, {32, "MA"}}, 0, 0, 0, 0, ' ', ' ', "", "BOB", "MA"},
      {0, {{21, "42 "}, {24, "ANN"}, {32, "TX"}}, 42, 0, 0, 0, ' ', ' ', "", "ANN", "TX"},
      {13, {{21, "59 "}, {32, "FN42"}}, 0, 59, 0, 0, ' ', ' ', "", "", "FN42"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    Bytes qso = NaQso(0, Word(140250, 0));
    for (const auto& [at, text] : c.pieces) qso.Text(at, text);
    QsoRecord read = OnlyQso(kFormatNaOld, OlderHeader(c.number), qso);
    EXPECT_EQ(std::vector<int>({read.srx, read.rst_rcvd, read.cqz, read.ituz, read.rst_sent}),
              std::vector<int>({c.srx, c.rst_rcvd, c.cqz, c.ituz, 0}));
    EXPECT_EQ(read.prec, c.prec);
    EXPECT_EQ(read.check, c.check);
    EXPECT_STREQ(read.arrl_sect, c.arrl_sect);
    EXPECT_STREQ(read.name, c.name);
    EXPECT_STREQ(read.rcvd_exch, c.rcvd_exch);
  }
}

TEST_F(NaReading, NewerGenerationSendsTheReportOfTheMode) {
  struct Case {
    const char* contest;
    int mode_bits, rst_sent;
  } const cases[] = {{"CQWW", 1, 59},  {"CQWW", 0, 599}, {"CQWW", 2, 599}, {"WPX", 1, 59},
                     {"IARU", 0, 599}, {"", 1, 59},      {"SS", 1, 0},     {"NAQP", 0, 0}};
  for (const Case& c : cases) {
    QsoRecord read =
        OnlyQso(kFormatNaNew, NewerHeader(c.contest), NaQso(0, Word(140250, c.mode_bits)));
    EXPECT_EQ(read.rst_sent, c.rst_sent) << c.contest << " " << c.mode_bits;
  }
  EXPECT_EQ(OnlyQso(kFormatNaOld, OlderHeader(15), NaQso(0, Word(140250, 1))).rst_sent, 0);
}

TEST_F(NaReading, FieldDayClassesOfRecordsAndHeader) {
  struct Case {
    const char* text;  // "": all NUL
    int transmitters;
    char record_check;
    int header_check;  // letter index
  } const cases[] = {{"12A", 12, 'A', 0}, {"2F      ", 2, 'F', 5}, {"1b", 1, 'B', 1},
                     {"", 0, ' ', 0},     {"        ", 0, ' ', 0}, {"3", 3, ' ', 0},
                     {"300A", 0, 'A', 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Bytes header = OlderHeader(7).Text(13, c.text);
    QsoRecord qso = OnlyQso(kFormatNaOld, header, NaQso(0, 0).Text(21, c.text));
    EXPECT_EQ(qso.prec, static_cast<char>(c.transmitters));
    EXPECT_EQ(qso.check, c.record_check);
    ContestHeader own = HeaderOf(kFormatNaOld, header);
    EXPECT_EQ(own.prec, c.transmitters);
    EXPECT_EQ(own.check, c.header_check);
  }
}

TEST_F(NaReading, OwnExchangeOfSweepstakesAndCqww) {
  ContestHeader ss =
      HeaderOf(kFormatNaNew, NewerHeader("SS").Text(13, "A").Text(19, "97").Text(21, "WWA "));
  EXPECT_EQ(ss.prec, 'A');
  EXPECT_EQ(ss.check, 97);
  EXPECT_STREQ(ss.arrl_sect, "WWA");
  EXPECT_EQ(ss.zone, 0);
  for (auto [text, zone] : {std::pair{"14", 14}, {"255", 255}, {"999", 0}, {"", 0}}) {
    EXPECT_EQ(HeaderOf(kFormatNaOld, OlderHeader(15).Text(21, text)).zone, zone) << text;
  }
  ContestHeader naqp = HeaderOf(kFormatNaOld, OlderHeader(1).Text(13, "2A").Text(21, "5"));
  EXPECT_EQ(naqp.prec + naqp.check + naqp.zone, 0);
}

TEST_F(NaReading, PartialTrailingRecordEndsTheLog) {
  for (int format : kGenerations) {
    std::string bytes = CqwwHeader(format).Str() + NaQso(60, Word(140250, 0), "W1AW").Str() +
                        NaQso(120, Word(70250, 0), "K2XX").Str() +
                        NaQso(180, 0).Str().substr(0, 39);
    auto reader = Open(format, bytes);
    ASSERT_TRUE(reader);
    std::vector<QsoRecord> qsos = testing::ReadAllQsos(*reader);
    ASSERT_EQ(qsos.size(), 2u);
    EXPECT_STREQ(qsos[1].call, "K2XX");
    EXPECT_EQ(reader->QsoCount(), 2);
  }
}

}  // namespace
}  // namespace quorvel
