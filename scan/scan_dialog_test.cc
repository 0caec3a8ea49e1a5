#include "scan/scan_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/linux/linux_ui.h"
#include "resources/ids.h"
#include "shell/program_state.h"
#include "tests/support/program_bench.h"
#include "tests/support/temp_directory.h"

namespace {

using Texts = std::vector<std::string>;

class ScanDialogTest : public testing::Test {
 protected:
  void Open(std::vector<int> clicks) {
    bench_.frontEnd().ClickInNextDialog(std::move(clicks));
    bench_.Command(IDM_SCAN_NEGATIVE_FILM);
  }

  ScopedTempDirectory directory_;
  ProgramBench bench_{"geometry=300:2"};
};

TEST_F(ScanDialogTest, EveryOpeningStartsFromTheDefaults) {
  bench_.Start();
  Open({IDC_RESOLUTION_2720, IDC_READ_IN_MEMORY, IDC_SCAN});
  ASSERT_EQ(scanResolution, 2720u);
  EXPECT_EQ(saveToFile, 0u);
  EXPECT_FALSE(std::filesystem::exists("img_fs.tif"));
  Open({IDC_SCAN});
  EXPECT_EQ(scanResolution, 340u);
  EXPECT_EQ(saveToFile, 1u);
  EXPECT_TRUE(std::filesystem::exists("img_fs.tif"));
  const RecordedBox& box = bench_.frontEnd().boxes().back();
  EXPECT_EQ(box.text, "Image was scanned.");
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(box.type, 0x2040u);
}

TEST_F(ScanDialogTest, CancelSendsNothingAndKeepsTheSettings) {
  bench_.Start();
  bench_.ClearRequests();
  Open({IDC_RESOLUTION_2720, IDC_READ_IN_MEMORY, IDCANCEL});
  EXPECT_TRUE(bench_.Requests().empty());
  EXPECT_TRUE(bench_.frontEnd().boxes().empty());
  EXPECT_EQ(scanResolution, 75u);
  EXPECT_EQ(saveToFile, 0u);
}

}  // namespace
