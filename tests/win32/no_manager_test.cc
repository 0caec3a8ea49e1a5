// Start-up on Wine's own wnaspi32, which reports no host adapter and never completes a request:
// one warning, a white window with an ungated menu, and no search (a search would never end).
#include <gtest/gtest.h>
#include <windows.h>

#include "resources/ids.h"
#include "shell/program_state.h"
#include "tests/win32/program_window.h"

namespace {

using NoManagerTest = ProgramWindowTest;

TEST_F(NoManagerTest, OneWarningAndAWhiteWindow) {
  // Only Wine's own manager exports its DLL version; the simulated one exports ordinals 1 and 2.
  const HMODULE manager = LoadLibraryA("WNASPI32.DLL");
  ASSERT_NE(manager, nullptr);
  ASSERT_NE(GetProcAddress(manager, "GetASPI32DLLVersion"), nullptr) << "not Wine's own wnaspi32";

  Start("");
  EXPECT_EQ(recorder().boxes(),
            std::vector<std::string>{"Warning | stop | OK | main window | ASPI driver for Windows "
                                     "is not properly working."});
  EXPECT_EQ(adapterCount, 0);
  EXPECT_EQ(scannerFound, 0);
  EXPECT_TRUE(MenuEnabled(IDM_SAVE_SCANNER_DATA));
  EXPECT_TRUE(MenuEnabled(IDM_SELF_DIAGNOSTICS_2));
  EXPECT_TRUE(SurfacePixels().Ink().empty());
  RECT area;
  GetClientRect(window(), &area);
  const HDC client = GetDC(window());
  EXPECT_TRUE(CopyPixels(client, 0, 0, area.right, area.bottom).Ink().empty());
  ReleaseDC(window(), client);
}

}  // namespace
