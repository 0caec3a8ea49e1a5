#include "scan/scan_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/linux/linux_ui.h"
#include "resources/ids.h"
#include "shell/program_state.h"
#include "tests/support/program_bench.h"
#include "tests/support/temp_directory.h"

namespace {

// The command clears the page first. Cancel sends nothing and keeps the settings; every opening
// starts from 340 dpi into a file, whatever was chosen before.
TEST(ScanDialogTest, CancelKeepsTheSettingsAndEveryOpeningStartsFromTheDefaults) {
  const ScopedTempDirectory directory;
  ProgramBench bench("geometry=300:2");
  bench.Start();
  bench.ClearRequests();
  const auto scan = [&](std::vector<int> clicks) {
    bench.frontEnd().ClickInNextDialog(std::move(clicks));
    bench.Command(IDM_SCAN_NEGATIVE_FILM);
  };
  scan({IDC_RESOLUTION_2720, IDC_READ_IN_MEMORY, IDCANCEL});
  EXPECT_TRUE(bench.Requests().empty());
  EXPECT_TRUE(bench.SurfaceLines().empty());
  EXPECT_EQ(scanResolution, 75u);
  EXPECT_EQ(saveToFile, 0u);
  scan({IDC_RESOLUTION_2720, IDC_READ_IN_MEMORY, IDC_SCAN});
  EXPECT_EQ(scanResolution, 2720u);
  EXPECT_EQ(saveToFile, 0u);
  EXPECT_FALSE(std::filesystem::exists("img_fs.tif"));
  scan({IDC_SCAN});
  EXPECT_EQ(scanResolution, 340u);
  EXPECT_EQ(saveToFile, 1u);
  EXPECT_TRUE(std::filesystem::exists("img_fs.tif"));
  const RecordedBox& box = bench.frontEnd().boxes().back();
  EXPECT_EQ(box.owner, nullptr);  // no owner, task-modal, information icon
  EXPECT_EQ(box.type, 0x2040u);
  EXPECT_EQ(bench.frontEnd().BoxTexts(),
            (std::vector<std::string>{"Image was scanned.", "Image was scanned."}));
}

}  // namespace
