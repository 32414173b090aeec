// dBase tables and DXBase files: every table of a matrix of contests, options and hostile
// contacts is parsed here and opened by two independent readers from Debian's packages
// (python3-dbfread and shapelib's dbfdump), which must agree with every value; the values
// that do not fit their columns are checked; DXBase records keep their shape.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "core/civil_time.h"
#include "formats/dbase_log_file.h"
#include "formats/sdf_log_file.h"
#include "log_test_support.h"

namespace quorvel {
namespace {

using testing::Contact;
using testing::HeaderFor;
using testing::LogWorkspace;
using testing::ReadFile;

// ---- a table as its bytes say ----

struct DbfColumn {
  std::string name;
  char type;
  int length;
  int decimals;
};

struct DbfTable {
  std::uint32_t records = 0;
  int header_length = 0;
  int record_length = 0;
  std::vector<DbfColumn> columns;
  std::vector<std::vector<std::string>> values;  // raw bytes of each column
};

int U16(const std::string& bytes, std::size_t at) {
  return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

// Parses a table and checks its frame: the lengths agree with the descriptors, the descriptors
// end in CR, the records in the end-of-file byte, and the size is exact.
DbfTable ParseDbf(const std::string& bytes) {
  DbfTable table;
  EXPECT_GE(bytes.size(), 34u);
  if (bytes.size() < 34) return table;
  EXPECT_EQ(bytes[0], 3);
  table.records = static_cast<std::uint32_t>(U16(bytes, 4) | U16(bytes, 6) << 16);
  table.header_length = U16(bytes, 8);
  table.record_length = U16(bytes, 10);
  int sum = 1;
  for (std::size_t at = 32; at + 32 <= static_cast<std::size_t>(table.header_length); at += 32) {
    DbfColumn column;
    column.name = std::string(bytes.substr(at, 11).c_str());
    column.type = bytes[at + 11];
    column.length = static_cast<unsigned char>(bytes[at + 16]);
    column.decimals = static_cast<unsigned char>(bytes[at + 17]);
    sum += column.length;
    table.columns.push_back(column);
  }
  EXPECT_EQ(table.header_length, 32 + 32 * static_cast<int>(table.columns.size()) + 1);
  EXPECT_EQ(table.record_length, sum);
  EXPECT_EQ(bytes[table.header_length - 1], '\r');
  EXPECT_EQ(bytes.size(), static_cast<std::size_t>(table.header_length) +
                              table.records * static_cast<std::size_t>(table.record_length) + 1);
  EXPECT_EQ(bytes.back(), '\x1A');
  for (std::uint32_t r = 0; r < table.records; ++r) {
    std::size_t at = table.header_length + r * static_cast<std::size_t>(table.record_length);
    EXPECT_EQ(bytes[at], ' ');
    std::vector<std::string> row;
    ++at;
    for (const DbfColumn& column : table.columns) {
      row.push_back(bytes.substr(at, static_cast<std::size_t>(column.length)));
      at += static_cast<std::size_t>(column.length);
    }
    table.values.push_back(row);
  }
  return table;
}

std::string Trimmed(const std::string& text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// ---- the independent readers ----

const char* kPython = "/usr/bin/python3";
const char* kDbfdump = "/usr/bin/dbfdump";

bool ReadersPresent() {
  return std::filesystem::exists(kDbfdump) &&
         testing::RunProgram({kPython, "-c", "import dbfread"}).exit_code == 0;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> Split(const std::string& line, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t at; (at = line.find(separator, start)) != std::string::npos; start = at + 1) {
    parts.push_back(line.substr(start, at - start));
  }
  parts.push_back(line.substr(start));
  return parts;
}

// What dbfread makes of a value's bytes: text without trailing blanks, a number (None when
// empty or stars), a date (None when blank).
void ExpectSameAsDbfread(const DbfColumn& column, const std::string& raw, const std::string& read) {
  std::string trimmed = Trimmed(raw);
  if (column.type == 'C') {
    EXPECT_EQ(read, raw.substr(0, raw.find_last_not_of(' ') + 1)) << column.name;
  } else if (column.type == 'N') {
    std::string digits = trimmed.find_first_not_of('*') == std::string::npos ? "" : trimmed;
    if (digits.empty()) {
      EXPECT_EQ(read, "None") << column.name << " [" << raw << "]";
    } else {
      EXPECT_DOUBLE_EQ(std::strtod(read.c_str(), nullptr), std::strtod(digits.c_str(), nullptr))
          << column.name << " [" << raw << "]";
    }
  } else if (column.type == 'D') {
    std::string iso = raw.substr(0, 4) + "-" + raw.substr(4, 2) + "-" + raw.substr(6, 2);
    EXPECT_EQ(read, trimmed.empty() ? "None" : iso) << column.name;
  }
}

void CompareWithReaders(const std::string& path, const DbfTable& table) {
  auto dbfread =
      testing::RunProgram({kPython, std::string(QUORVEL_SOURCE_DIR) + "/tests/dbf_read.py", path});
  ASSERT_EQ(dbfread.exit_code, 0) << dbfread.output;
  std::vector<std::string> lines = Lines(dbfread.output);
  ASSERT_EQ(lines.size(), table.records + 1);
  EXPECT_EQ(lines[0], std::to_string(table.columns.size()) + " " + std::to_string(table.records) +
                          " " + std::to_string(table.header_length) + " " +
                          std::to_string(table.record_length));
  auto dump = testing::RunProgram({kDbfdump, "-r", path});
  ASSERT_EQ(dump.exit_code, 0) << dump.output;
  std::vector<std::string> dumped = Lines(dump.output);
  ASSERT_EQ(dumped.size(), table.records + 1);
  for (std::uint32_t r = 0; r < table.records; ++r) {
    std::vector<std::string> read = Split(lines[r + 1], '\t');
    ASSERT_EQ(read.size(), table.columns.size());
    std::size_t at = 0;
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
      const DbfColumn& column = table.columns[c];
      ExpectSameAsDbfread(column, table.values[r][c], read[c]);
      // dbfdump prints each raw value padded to the wider of its name and its length.
      std::size_t width = std::max(column.name.size(), static_cast<std::size_t>(column.length));
      EXPECT_EQ(Trimmed(dumped[r + 1].substr(at, width)), Trimmed(table.values[r][c]))
          << column.name;
      at += width + 1;
    }
  }
}

// ---- a matrix of contests, options and hostile contacts ----

std::vector<QsoRecord> HostileContacts() {
  std::vector<QsoRecord> records;
  QsoRecord serial = Contact("K1AB", 5, kModeCw, 2024, 11, 2, 21, 7);
  serial.srx = 10000;  // never 1000 with precedence "0"
  serial.prec = 'A';
  serial.check = 71;
  serial.SetArrlSect("STX");
  serial.cqz = 5;
  serial.SetRstSent("599");
  serial.SetRstRcvd("-11");
  serial.freq = 140255;
  records.push_back(serial);
  QsoRecord text = Contact("VE3ABCDEFGHIJ", 0, 200, 2024, 11, 2, 21, 8);  // no band, mode 200
  text.SetRcvdExch("ABC");  // text where a column is a number
  text.prec = '\0';
  text.check = '\0';
  text.time_off = 0;
  records.push_back(text);
  QsoRecord wide = Contact("DL1ABC", 31, kModeFm, 2024, 11, 2, 21, 9);
  wide.SetRcvdExch("12345678901");
  wide.SetName("MAXIMILIAN JOSEF");
  wide.ten_ten = 123456;
  wide.arci_num = 65535;
  wide.age = 44;
  wide.ituz = 28;
  wide.freq = 4294967295u;
  wide.time_off = wide.time_on + 300;
  records.push_back(wide);
  QsoRecord empty = Contact("", 12, kModeNone, 2024, 11, 2, 21, 10);
  empty.SetModeName("FT8");
  records.push_back(empty);
  return records;
}

struct OptionSet {
  const char* name;
  ConversionOptions options;
};

ConversionOptions Options(std::int32_t band_numeric, std::uint8_t approach, std::uint32_t extra) {
  ConversionOptions options{};
  options.band_numeric = band_numeric;
  options.approach = approach;
  options.extra_fields = extra;
  return options;
}

TEST(DbaseTables, EveryContestAndOptionSetIsReadAlikeByTwoIndependentReaders) {
  if (!ReadersPresent()) GTEST_SKIP() << "python3-dbfread or shapelib's dbfdump is not installed";
  const OptionSet sets[] = {
      {"none", Options(0, 0, 0)},
      {"all", Options(1, 1, kExtraQsoNumber | kExtraExactFrequency)},
      {"megahertz", Options(2, 0, kExtraExactFrequency)},
  };
  LogWorkspace workspace;
  for (int contest = 0; contest <= kContestCount; ++contest) {
    for (const OptionSet& set : sets) {
      std::string name = "c" + std::to_string(contest) + set.name + ".dbf";
      SCOPED_TRACE(name);
      DbaseLogFile writer;
      writer.SetOptions(&set.options);
      ASSERT_EQ(writer.Open(workspace.Path(name).c_str(), kModeWriteNew), 1);
      ASSERT_EQ(writer.WriteHeader(HeaderFor(contest)), 1);
      for (const QsoRecord& record : HostileContacts()) EXPECT_EQ(writer.WriteQso(record), 1);
      writer.Close();
      DbfTable table = ParseDbf(ReadFile(workspace.Path(name)));
      ASSERT_EQ(table.records, HostileContacts().size());
      CompareWithReaders(workspace.Path(name), table);
    }
  }
}

// The value of a column of a record of a table written with `options` for `contest`.
std::string ValueOf(const DbfTable& table, std::size_t record, const std::string& column) {
  for (std::size_t c = 0; c < table.columns.size(); ++c) {
    if (table.columns[c].name == column) return table.values[record][c];
  }
  return "<no column " + column + ">";
}

DbfTable Written(const LogWorkspace& workspace, const std::string& name, int contest,
                 const ConversionOptions& options, const std::vector<QsoRecord>& records) {
  DbaseLogFile writer;
  writer.SetOptions(&options);
  EXPECT_EQ(writer.Open(workspace.Path(name).c_str(), kModeWriteNew), 1);
  writer.WriteHeader(HeaderFor(contest));
  for (const QsoRecord& record : records) writer.WriteQso(record);
  writer.Close();
  return ParseDbf(ReadFile(workspace.Path(name)));
}

TEST(DbaseTables, ValuesThatDoNotFitFillTheirColumnWithStarsAndTextNeverEntersNumbers) {
  LogWorkspace workspace;
  std::vector<QsoRecord> records = HostileContacts();
  DbfTable ss = Written(workspace, "ss.dbf", kContestSs, Options(0, 0, 0), records);
  EXPECT_EQ(ValueOf(ss, 0, "SERIAL"), "****");
  EXPECT_EQ(ValueOf(ss, 0, "PREC"), "A");
  EXPECT_EQ(ValueOf(ss, 1, "PREC"), " ");  // a 0 precedence is a blank, never a NUL
  EXPECT_EQ(ValueOf(ss, 1, "CHECK"), " 0");
  DbfTable cqww =
      Written(workspace, "cqww.dbf", kContestCqww, Options(1, 0, kExtraExactFrequency), records);
  EXPECT_EQ(ValueOf(cqww, 0, "rst_rcvd"), "-11");
  EXPECT_EQ(ValueOf(cqww, 0, "freq"), "   14.025");
  EXPECT_EQ(ValueOf(cqww, 2, "freq"), "429496.72");  // 429,496.729 MHz: the last decimal gives way
  EXPECT_EQ(ValueOf(cqww, 1, "mode"), "     ");      // mode 200 has no text
  EXPECT_EQ(ValueOf(cqww, 3, "mode"), "FT8  ");
  EXPECT_EQ(ValueOf(cqww, 1, "band"), " 0.000");
  EXPECT_EQ(ValueOf(cqww, 2, "band"), "      ");  // band 31 is beyond the table
  DbfTable aa = Written(workspace, "aa.dbf", kContestAllAsian, Options(0, 0, 0), records);
  EXPECT_EQ(ValueOf(aa, 1, "AGE"), "   ");  // "ABC" is no age
  EXPECT_EQ(ValueOf(aa, 2, "AGE"), " 44");
  DbfTable dxped = Written(workspace, "dx.dbf", kContestDxped, Options(0, 0, 0), records);
  EXPECT_EQ(ValueOf(dxped, 1, "cqz"), "  ");
  EXPECT_EQ(ValueOf(dxped, 0, "cqz"), " 5");
  DbfTable general = Written(workspace, "qso.dbf", kContestGeneralQso, Options(2, 1, 0), records);
  EXPECT_EQ(general.columns[3].name, "TIME_OFFTM9");
  EXPECT_EQ(ValueOf(general, 1, "TIME_OFFTM9"), "        ");  // no end time: blank, not 00:00
  EXPECT_EQ(ValueOf(general, 2, "TIME_OFFTM9"), "21140000");
  EXPECT_EQ(ValueOf(general, 0, "band"), "20M  ");  // band display 2 is the band's name
}

TEST(DbaseTables, QsoNumberOfAMillionIsStarsNotAHundredThousand) {
  LogWorkspace workspace;
  QsoRecord record = Contact("K1AB", 5, kModeCw, 2024, 11, 2, 21, 7);
  DbaseLogFile writer;
  ConversionOptions options = Options(0, 0, kExtraQsoNumber);
  writer.SetOptions(&options);
  ASSERT_EQ(writer.Open(workspace.Path("big.dbf").c_str(), kModeWriteNew), 1);
  writer.WriteHeader(HeaderFor(kContestCqww));
  for (int i = 0; i < 1000000; ++i) writer.WriteQso(record);
  writer.Close();
  std::string bytes = ReadFile(workspace.Path("big.dbf"));
  int header_length = U16(bytes, 8);
  int record_length = U16(bytes, 10);
  ASSERT_EQ(bytes.size(), header_length + 1000000ull * record_length + 1);
  auto qso_number = [&](std::size_t index) {  // QSO_NUM follows the deletion flag and the call
    return bytes.substr(header_length + index * record_length + 1 + 16, 6);
  };
  EXPECT_EQ(qso_number(999998), "999999");
  EXPECT_EQ(qso_number(999999), "******");
}

TEST(DbaseTables, CloseAfterAFailedOpenLeavesTheExistingFileAlone) {
  LogWorkspace workspace;
  workspace.Write("old.dbf", "precious bytes");
  DbaseLogFile writer;
  EXPECT_EQ(writer.Open(workspace.Path("old.dbf").c_str(), kModeWriteNew), 0);
  writer.WriteHeader(HeaderFor(kContestCqww));
  writer.Close();
  EXPECT_EQ(ReadFile(workspace.Path("old.dbf")), "precious bytes");
}

// ---- DXBase records ----

// Every record of a DXBase file: 127 characters and CR LF, no NUL byte, the fixed bytes.
void ExpectDxbaseShape(const std::string& bytes) {
  ASSERT_EQ(bytes.size() % 129, 0u);
  for (std::size_t at = 0; at < bytes.size(); at += 129) {
    std::string record = bytes.substr(at, 129);
    EXPECT_EQ(record.substr(127), "\r\n") << record;
    EXPECT_EQ(record.find('\0'), std::string::npos) << record;
    EXPECT_EQ(record[20], 'N');
    EXPECT_EQ(record[37], 'N');
    EXPECT_EQ(record[69], 'Y');
    EXPECT_EQ(record.substr(72, 4), "NNNN");
    EXPECT_EQ(record[90], '1');
  }
}

TEST(DxbaseRecords, EveryContestGivesWholeRecordsOrLeavesTheQsoOut) {
  LogWorkspace workspace;
  std::vector<QsoRecord> records = HostileContacts();
  records.push_back(Contact("W1AW", 13, kModeCw, 2024, 11, 2, 21, 11));  // above 2 m: left out
  QsoRecord iota = Contact("G3XYZ", 5, kModeSsb, 2024, 7, 27, 12, 0);
  iota.SetRcvdExch("EU-005XYZ");
  records.push_back(iota);
  ConversionOptions options{};
  std::snprintf(options.comment, sizeof options.comment, "%s", std::string(40, 'C').c_str());
  for (int contest = 0; contest <= kContestCount; ++contest) {
    std::string path = workspace.Path("c" + std::to_string(contest) + ".sdf");
    SdfLogFile writer;
    writer.SetOptions(&options);
    ASSERT_EQ(writer.Open(path.c_str(), kModeWriteNew), 1);
    ASSERT_EQ(writer.WriteHeader(HeaderFor(contest)), 1);
    int written = 0;
    for (const QsoRecord& record : records) written += writer.WriteQso(record);
    writer.Close();
    EXPECT_EQ(written, static_cast<int>(records.size()) - 2) << contest;  // bands 31 and 13
    std::string bytes = ReadFile(path);
    ExpectDxbaseShape(bytes);
    std::string last = bytes.substr(bytes.size() - 129);
    EXPECT_EQ(last.substr(38, 30), std::string(30, 'C'));  // comment, blank and text: 30 at most
    if (contest == kContestIota) {
      EXPECT_EQ(last.substr(84, 7), "EU-0051");  // six characters over the B, the 1 kept
    }
  }
}

}  // namespace
}  // namespace quorvel
