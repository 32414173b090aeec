#include "core/qso_record.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/civil_time.h"

namespace quorvel {
namespace {

QsoRecord Cleared() {
  QsoRecord record;
  std::memset(&record, 0x5A, sizeof record);
  record.Clear();
  return record;
}

TEST(QsoRecord, ClearLeavesPrecAndCheckBlankAndEverythingElseEmpty) {
  QsoRecord record = Cleared();
  EXPECT_EQ(record.prec, ' ');
  EXPECT_EQ(record.check, ' ');
  EXPECT_EQ(record.Call(), "");
  EXPECT_EQ(record.time_on, 0);
  EXPECT_EQ(record.freq, 0u);
  EXPECT_EQ(record.Comment(), "");
  EXPECT_EQ(record.State(), "");
  EXPECT_EQ(record.mult_count, 0);
  EXPECT_EQ(record.aux_digit, 0);
}

// A record is cleared line by line, leaving lines that are already zero alone: whichever
// byte a contact left set, the cleared record is the same as a new one.
TEST(QsoRecord, ClearEmptiesEveryByteWhereverTheLastContactLeftOne) {
  QsoRecord fresh{};
  fresh.Clear();
  for (std::size_t at = 0; at < sizeof(QsoRecord); ++at) {
    QsoRecord record;
    std::memcpy(&record, &fresh, sizeof record);
    reinterpret_cast<unsigned char*>(&record)[at] = 0x80;
    record.Clear();
    ASSERT_EQ(std::memcmp(&record, &fresh, sizeof record), 0) << "byte " << at;
  }
}

TEST(QsoRecord, CallGivenWithLengthIsCutAtFirstBlankOrAtThirteen) {
  QsoRecord record = Cleared();
  record.SetCall("K1ABC /P", 8);
  EXPECT_EQ(record.Call(), "K1ABC");
  record.SetCall("VERYLONG CALL/PORTABLE", 22);
  EXPECT_EQ(record.Call(), "VERYLONG CALL");
  record.SetCall("W1AWXYZ", 4);
  EXPECT_EQ(record.Call(), "W1AW");
  record.SetCallText("ABCDEFGHIJKLMNOPQ");
  EXPECT_EQ(record.Call(), "ABCDEFGHIJKLM");
  EXPECT_EQ(record.call[13], '\0');
  record.SetCallText("N0NI");
  EXPECT_EQ(record.Call(), "N0NI");
}

TEST(QsoRecord, NumericSettersReadLeadingDigitsAndNeverWrap) {
  QsoRecord record = Cleared();
  record.SetRstSent("  599 extra");
  EXPECT_EQ(record.rst_sent, 599);
  record.SetStx("-12");
  EXPECT_EQ(record.stx, -12);
  record.SetSrx("abc");
  EXPECT_EQ(record.srx, 0);
  record.SetCqz("300");  // beyond the byte: no zone rather than zone 44
  EXPECT_EQ(record.cqz, 0);
  record.SetTenTen("99999999999999999999999");
  EXPECT_EQ(record.ten_ten, 0);
  record.SetTxPwr("70000");
  EXPECT_EQ(record.tx_pwr, 0);
  record.SetPrec("2");
  EXPECT_EQ(record.prec, 2);
  record.SetCheck("97");
  EXPECT_EQ(record.check, 97);
}

TEST(QsoRecord, SignedReportsKeepTheirSignAndTheirForm) {
  struct Case {
    const char* text;
    int value;
    bool present;
    const char* written;
  };
  const Case cases[] = {
      {"-11", -11, true, "-11"}, {"+03", 3, true, "+03"},   {"-5", -5, true, "-05"},
      {"+00", 0, true, "+00"},   {"599", 599, true, "599"}, {"59", 59, true, "59"},
      {"", 0, false, ""},        {"-", 0, false, ""},       {"99999", 0, false, ""},
      {"-40000", 0, false, ""},
  };
  for (const Case& c : cases) {
    QsoRecord record = Cleared();
    record.SetRstRcvd(c.text);
    EXPECT_EQ(record.rst_rcvd, c.value) << c.text;
    EXPECT_EQ(record.HasRstRcvd(), c.present) << c.text;
    if (c.present) {
      EXPECT_EQ(record.RstRcvdText().View(), c.written) << c.text;
    }
    EXPECT_FALSE(record.HasRstSent()) << c.text;
  }
}

TEST(QsoRecord, TextSettersCutToCapacityAndNeverRunOn) {
  QsoRecord record = Cleared();
  record.SetName(std::string(40, 'N'));
  EXPECT_EQ(record.Name(), std::string(15, 'N'));
  record.SetQth(std::string(50, 'Q'));
  EXPECT_EQ(record.QthLength(), 29);
  record.SetArrlSect("ENYXX");
  EXPECT_EQ(record.ArrlSect(), "ENYX");
  record.SetRcvdExch("ABCDEFGH", 3);
  EXPECT_EQ(record.RcvdExch(), "ABC");
  record.SetComment(std::string(500, 'c'));
  EXPECT_EQ(record.Comment().size(), 399u);
  record.SetIota("EU-005XYZ");
  EXPECT_EQ(record.Iota(), "EU-005X");
}

TEST(QsoRecord, ThreeCharacterStateReadsBackAsExactlyThreeCharacters) {
  QsoRecord record = Cleared();
  record.rst_sent = 0x4141;  // 'AA' right after the state field
  record.SetState("ONTARIO", 3);
  EXPECT_EQ(record.State(), "ONT");
  record.SetState("TX", 2);
  EXPECT_EQ(record.State(), "TX");
}

// A short field's text is found eight bytes at a time, and a field's last bytes one by one:
// wherever its first NUL stands, and whatever bytes lie before it (top bit set, as in Latin-1
// names) and after it (low bytes that look like a NUL to a careless word search).
template <std::size_t N>
void ExpectTextEndsAtEveryNul(char (QsoRecord::*field)[N],
                              std::string_view (QsoRecord::*text)() const) {
  const unsigned char kBefore[] = {'A', 0x80, 0xFF, 0x81};
  const unsigned char kAfter[] = {0x01, 0x00, 0x80, 'Z'};
  for (unsigned char before : kBefore) {
    for (unsigned char after : kAfter) {
      for (std::size_t nul = 0; nul <= N; ++nul) {
        QsoRecord record = Cleared();
        char* bytes = record.*field;
        std::memset(bytes, before, N);
        if (nul < N) {
          std::memset(bytes + nul, after, N - nul);
          bytes[nul] = '\0';
        }
        EXPECT_EQ((record.*text)().size(), nul) << "field of " << N << ", byte " << int{before};
        EXPECT_EQ((record.*text)().data(), bytes);
      }
    }
  }
}

TEST(QsoRecord, TextEndsAtTheFirstNulWhateverTheBytesAround) {
  ExpectTextEndsAtEveryNul(&QsoRecord::call, &QsoRecord::Call);
  ExpectTextEndsAtEveryNul(&QsoRecord::name, &QsoRecord::Name);
  ExpectTextEndsAtEveryNul(&QsoRecord::iota, &QsoRecord::Iota);
  ExpectTextEndsAtEveryNul(&QsoRecord::qth, &QsoRecord::Qth);
  ExpectTextEndsAtEveryNul(&QsoRecord::arrl_sect, &QsoRecord::ArrlSect);
  ExpectTextEndsAtEveryNul(&QsoRecord::band_name, &QsoRecord::BandName);
  ExpectTextEndsAtEveryNul(&QsoRecord::gridsquare, &QsoRecord::Gridsquare);
  ExpectTextEndsAtEveryNul(&QsoRecord::rcvd_exch, &QsoRecord::RcvdExch);
}

TEST(QsoRecord, AddMultJoinsWithBlanksAndKeepsWithinTheField) {
  QsoRecord record = Cleared();
  record.AddMult("K");
  record.AddMult("S");
  record.AddMult("W1");
  EXPECT_EQ(record.Mults(), "K S W1");
  EXPECT_EQ(record.mult_count, 3);
  record.AddMult("VERYLONGNAME");
  EXPECT_EQ(record.Mults(), "K S W1");
  EXPECT_EQ(record.mult_count, 4);
  record.AddMult("ON");
  EXPECT_EQ(record.Mults(), "K S W1 ON");
}

TEST(QsoRecord, ExchangeQueries) {
  QsoRecord record = Cleared();
  EXPECT_FALSE(record.RcvdExchIsNumeric());
  record.SetRcvdExch("100");
  EXPECT_TRUE(record.RcvdExchIsNumeric());
  EXPECT_EQ(record.RcvdExchLength(), 3);
  record.SetRcvdExch("FN42");
  EXPECT_FALSE(record.RcvdExchIsNumeric());
}

TEST(QsoRecordTime, SetTimeIsUtcWhateverTheZone) {
  QsoRecord record = Cleared();
  record.SetTime(101, 1, 3, 22, 1);
  EXPECT_EQ(record.time_on, 981237660);
  record.SetTime(70, 0, 1, 0, 0);
  EXPECT_EQ(record.time_on, 0);
}

TEST(QsoRecordTime, OutOfRangeFieldsRollOverLikeTheCCalendar) {
  QsoRecord record = Cleared();
  record.SetTime(100, 12, 1, 0, 0);  // month 12 = January 2001
  EXPECT_EQ(record.time_on, UtcSeconds(2001, 1, 1, 0, 0, 0));
  record.SetTime(101, 0, 32, 0, 0);  // 32 January = 1 February
  EXPECT_EQ(record.time_on, UtcSeconds(2001, 2, 1, 0, 0, 0));
  record.SetTime(104, 1, 29, 24, 0);  // leap day, hour 24 = 1 March
  EXPECT_EQ(record.time_on, UtcSeconds(2004, 3, 1, 0, 0, 0));
}

TEST(CivilTime, CalendarAndSecondsAgreeOverTheWholeRange) {
  for (std::int64_t t = -86400LL * 365 * 2; t < 86400LL * 365 * 70; t += 86400 * 7 + 3661) {
    CivilTime civil = UtcCalendar(t);
    EXPECT_EQ(
        UtcSeconds(civil.year, civil.month, civil.day, civil.hour, civil.minute, civil.second), t);
  }
  CivilTime leap = UtcCalendar(UtcSeconds(2000, 2, 29, 23, 59, 59));
  EXPECT_EQ(leap.year, 2000);
  EXPECT_EQ(leap.month, 2);
  EXPECT_EQ(leap.day, 29);
  EXPECT_EQ(leap.hour, 23);
  EXPECT_EQ(leap.weekday, 2);  // a Tuesday
  EXPECT_EQ(leap.yday, 59);
}

TEST(QsoRecord, BandAndModeNameTables) {
  EXPECT_EQ(kAdifBandNames[1], "160M");
  EXPECT_EQ(kAdifBandNames[11], "4m");
  EXPECT_EQ(kAdifBandNames[15], "33cm");
  EXPECT_EQ(kAdifBandNames[30], "LIGHT");
  EXPECT_EQ(kModeNames[kModeRtty], "RTTY");
  QsoRecord record = Cleared();
  record.freq = 140250;
  EXPECT_EQ(record.freq / 10000, 14u);
  EXPECT_EQ(record.freq / 10, 14025u);
}

}  // namespace
}  // namespace quorvel
