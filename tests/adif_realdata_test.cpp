// Real ADIF logs written by other programs convert to CT version 8 and to ADIF without losing
// a contact: the count is the number of <eor> tags in the file, counted here on its own.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "adif_test_support.h"
#include "core/numbers.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using testing::AdifWorkspace;
using testing::ReadFile;

constexpr std::size_t kCtHeaderSize = 1024;
constexpr std::size_t kCtRecordSize = 50;

int CountEorTags(const std::string& text) {
  int count = 0;
  for (std::size_t at = text.find('<'); at != std::string::npos; at = text.find('<', at + 1)) {
    if (at + 5 <= text.size() && EqualsNoCase(std::string_view(text).substr(at, 5), "<eor>")) {
      ++count;
    }
  }
  return count;
}

std::string ProcessedCount(int count) {
  return "Processed " + std::to_string(count) + " QSO's";
}

TEST(AdifRealLogs, EveryContactConvertsToCt8AndToAdif) {
  std::string folder = testing::RealDataDir();
  if (folder.empty() || !fs::is_directory(folder + "/adif")) {
    GTEST_SKIP() << "no real logs in " << QUORVEL_REALDATA_DIR;
  }
  AdifWorkspace workspace;
  int files = 0;
  for (const auto& entry : fs::directory_iterator(folder + "/adif")) {
    SCOPED_TRACE(entry.path().filename().string());
    int contacts = CountEorTags(ReadFile(entry.path().string()));
    std::string stem = entry.path().stem().string();
    std::string ct8 = workspace.Path(stem + ".bin");
    std::string adif = workspace.Path(stem + ".adi");
    testing::RunResult to_ct8 =
        testing::RunQuorvelcon({entry.path().string(), ct8}, workspace.Path(""));
    EXPECT_NE(to_ct8.output.find(ProcessedCount(contacts)), std::string::npos) << to_ct8.output;
    EXPECT_EQ(fs::file_size(ct8), kCtHeaderSize + kCtRecordSize * contacts);
    testing::RunResult to_adif =
        testing::RunQuorvelcon({entry.path().string(), adif}, workspace.Path(""));
    EXPECT_NE(to_adif.output.find(ProcessedCount(contacts)), std::string::npos) << to_adif.output;
    EXPECT_EQ(CountEorTags(ReadFile(adif)), contacts);
    ++files;
  }
  EXPECT_GT(files, 0);
}

TEST(AdifRealLogs, EmptyLogbookReportHasNoContacts) {
  std::string folder = testing::RealDataDir();
  std::string report = folder + "/adif/lotw_empty_report_g8jft.adi";
  if (folder.empty() || !fs::exists(report)) GTEST_SKIP() << "no real logs";
  AdifWorkspace workspace;
  testing::AdifLog log = testing::ReadAdifFile(report);
  EXPECT_EQ(log.opened, 1);
  EXPECT_TRUE(log.qsos.empty());
}

TEST(AdifRealLogs, ContestFieldsOfLoggersAreRead) {
  std::string folder = testing::RealDataDir();
  if (folder.empty()) GTEST_SKIP() << "no real logs";
  AdifWorkspace workspace;
  // A log without any header: its first contact is kept.
  testing::AdifLog pota = testing::ReadAdifFile(folder + "/adif/noheader_pota_ww4n.adi");
  ASSERT_EQ(pota.qsos.size(), 49u);
  EXPECT_EQ(pota.qsos[0].Call(), "K9DVP");
  // Sweepstakes fields of a contest logger, read as the Sweepstakes layout reads them.
  testing::AdifLog ss =
      testing::ReadAdifFile(folder + "/adif/tr4w_fixture_arrlss_cw_sections.adi", kContestSs);
  ASSERT_EQ(ss.qsos.size(), 3u);
  EXPECT_EQ(ss.qsos[0].Call(), "VA7DZ");
  EXPECT_EQ(ss.qsos[0].srx, 174);
  EXPECT_EQ(ss.qsos[0].prec, 'M');
  EXPECT_EQ(ss.qsos[0].contest, kContestSs);  // from its CONTEST_ID ARRL-SS-CW
  EXPECT_EQ(ss.qsos[0].check, 57);
  EXPECT_EQ(ss.qsos[0].ArrlSect(), "BC");
  EXPECT_EQ(ss.qsos[0].freq, 140440u);
  EXPECT_EQ(ss.qsos[0].time_on, 1699156734);  // 2023-11-05 03:58:54 UTC
}

}  // namespace
}  // namespace quorvel
