#include "scan/scan_dialog.h"

#include <gtest/gtest.h>

#include "platform/linux/linux_ui.h"
#include "resources/ids.h"
#include "shell/program_state.h"
#include "tests/support/program_bench.h"
#include "tests/support/temp_directory.h"

namespace {

// The command clears the page first; Cancel sends nothing and keeps the settings.
TEST(ScanDialogTest, CancelSendsNothingAndKeepsTheSettings) {
  const ScopedTempDirectory directory;
  ProgramBench bench("geometry=300:2");
  bench.Start();
  bench.ClearRequests();
  bench.frontEnd().ClickInNextDialog({IDC_RESOLUTION_2720, IDC_READ_IN_MEMORY, IDCANCEL});
  bench.Command(IDM_SCAN_NEGATIVE_FILM);
  EXPECT_TRUE(bench.Requests().empty());
  EXPECT_TRUE(bench.SurfaceLines().empty());
  EXPECT_EQ(scanResolution, 75u);
  EXPECT_EQ(saveToFile, 0u);
}

}  // namespace
