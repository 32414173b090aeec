// The dialog's choosers: their file types come from the format table in the dialog's order,
// and the save chooser's extension rule.
#include "core/file_types.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvel {
namespace {

std::vector<std::string> Filters(const std::vector<FileType>& types) {
  std::vector<std::string> filters;
  for (const FileType& type : types) filters.push_back(type.Filter());
  return filters;
}

TEST(FileTypes, OpenChooserListsEveryReadableExtensionThenAllOfThem) {
  EXPECT_EQ(Filters(InputFileTypes()),
            (std::vector<std::string>{
                "ADIF Log Files (*.adi)", "CT Log files (*.bin)",
                "TR Log, DX Cluster and DX Info files (*.dat)", "NA Log files(*.qdf)",
                "ARRL, WRTC and Cabrillo Log files (*.log)", "Cabrillo Log files (*.cbr)",
                "All Log file types (*.adi *.bin *.cbr *.dat *.log *.qdf)"}));
}

TEST(FileTypes, SaveChooserListsEveryWrittenExtensionInOrder) {
  std::vector<FileType> types = OutputFileTypes();
  EXPECT_EQ(Filters(types),
            (std::vector<std::string>{"ADIF Log Files (*.adi)", "CT v8 Log Files (*.bin)",
                                      "Cabrillo Log Files (*.cbr)", "TR Log Files (*.dat)",
                                      "dBase Files (*.dbf)", "ARRL File (*.log)",
                                      "DXBase Files (*.sdf)"}));
  ASSERT_EQ(types.size(), 7u);
  EXPECT_EQ(types[2].extensions, std::vector<std::string>{"cbr"});
}

TEST(FileTypes, SaveChooserAppendsTheTypesExtensionOnlyToNamesWithoutOne) {
  const struct {
    const char* chosen;
    const char* extension;
    const char* result;
  } cases[] = {
      {"/logs/W1AW", "cbr", "/logs/W1AW.cbr"},
      {"/logs/W1AW.", "adi", "/logs/W1AW..adi"},
      {"/logs/W1AW.log", "adi", "/logs/W1AW.log"},
      {"/logs.d/W1AW", "bin", "/logs.d/W1AW.bin"},
      {"W1AW", "sdf", "W1AW.sdf"},
      {"/logs/a.b.c", "dbf", "/logs/a.b.c"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WithChosenExtension(c.chosen, c.extension), c.result) << c.chosen;
  }
}

}  // namespace
}  // namespace quorvel
