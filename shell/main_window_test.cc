#include "shell/main_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/linux/linux_ui.h"
#include "resources/ids.h"
#include "resources/menu.h"
#include "shell/program_state.h"
#include "tests/support/program_bench.h"
#include "tests/support/temp_directory.h"

namespace {

using Texts = std::vector<std::string>;

const Texts kWelcomePage = {
    "20 10 **** Quorvel Scanner Testing Program ****", "40 55   Select the item to be tested",
    "40 75   from the Function menu.", "40 120    (Scanner : Tessaline T1/T2)"};

constexpr char kNotFound[] =
    "Scanner is not found.\nCheck if the cable is properly connected\nand the power is on.";

// What start-up finds decides the boxes, the menu gating and the product remembered.
TEST(StartUpTest, ShowsBoxesDrawsWelcomeAndGatesTheMenu) {
  struct Case {
    const char* config;
    bool scannerMissing;  // then a box says so
    bool gatedCommandsEnabled;
    const char* productId;
  };
  const Case cases[] = {
      {"model=t2", false, true, "ZR-40123B"},
      {"model=t1", false, false, "ZR-40113A"},
      {"model=none,device=0:4:ZR-40999X", false, false, "ZR-40999X"},
      // No device is the scanner: a failed search, like one that ends in an error.
      {"model=none,device=0:1:DISK", true, true, ""},
      {"selfail=0:0", true, true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.config);
    ProgramBench bench(c.config);
    bench.Start();
    EXPECT_EQ(bench.frontEnd().BoxTexts(), c.scannerMissing ? Texts{kNotFound} : Texts{});
    EXPECT_EQ(bench.SurfaceLines(), kWelcomePage);
    EXPECT_EQ(MenuCommandEnabled(IDM_SAVE_SCANNER_DATA), c.gatedCommandsEnabled);
    EXPECT_EQ(MenuCommandEnabled(IDM_SELF_DIAGNOSTICS_2), c.gatedCommandsEnabled);
    EXPECT_EQ(scannerFound, c.scannerMissing ? 0 : 1);
    EXPECT_STREQ(productId, c.productId);
    for (const RecordedBox& box : bench.frontEnd().boxes()) {
      EXPECT_EQ(box.owner, MainWindow());  // owned by the window, stop icon, not task-modal
      EXPECT_EQ(box.type, 0x10u);
    }
  }
}

// Which menu commands run the silent search first, counted by the INQUIRYs they send when no
// search has found the scanner yet: one that failed on an error, or one that found no scanner.
// A notification code in the high 16 bits does not change the command; an unknown one does
// nothing.
TEST(DispatchTest, CommandsSearchFirstOnlyWhileNoSearchHasSucceeded) {
  const std::pair<unsigned, bool> commands[] = {{IDM_BOARD_INFORMATION, false},
                                                {IDM_SAVE_SCANNER_DATA, true},
                                                {IDM_SELF_DIAGNOSTICS_1, true},
                                                {IDM_SELF_DIAGNOSTICS_2, true},
                                                {IDM_SCAN_NEGATIVE_FILM, true},
                                                {IDM_ABOUT, false},
                                                {999, false}};
  for (const auto& [commandId, searchesFirst] : commands) {
    for (const char* config : {"selfail=0:0", "model=none,device=0:2:DISK"}) {
      SCOPED_TRACE(std::string(config) + " command " + std::to_string(commandId));
      ProgramBench bench(config);  // the start-up search fails, scannerFound stays 0
      bench.Start();
      bench.frontEnd().Clear();
      bench.ClearRequests();
      MainWndProc(MainWindow(), kWmCommand, (1u << 16) | commandId, 0);
      const std::vector<uint8_t> codes = bench.OperationCodes();
      // A search that failed again sends only INQUIRYs, shows only its own box, and the command
      // goes no further.
      EXPECT_EQ(codes, std::vector<uint8_t>(searchesFirst ? codes.size() : 0, 0x12));
      if (searchesFirst) {
        EXPECT_FALSE(codes.empty());
        EXPECT_EQ(bench.frontEnd().BoxTexts(), Texts{kNotFound});
        EXPECT_TRUE(bench.frontEnd().dialogs().empty());
      }
    }
  }
}

TEST(DispatchTest, ExitAndCloseReleaseTheSurfaceAndQuitWithZero) {
  for (const bool viaClose : {false, true}) {
    ProgramBench bench;
    bench.Start();
    if (viaClose) CloseMainWindow();
    if (!viaClose) bench.Command(IDM_EXIT);
    EXPECT_TRUE(QuitPosted());
    EXPECT_EQ(QuitExitCode(), 0);
    DrawTextLine(10, 10, "late");  // after the release nothing is drawn any more
    EXPECT_EQ(bench.SurfaceLines(), kWelcomePage);
  }
}

// Boxes and dialogs run message loops of their own, where a menu choice still reaches the main
// window (the scan's error box is owned by the ended dialog, "File was not closed." by none):
// every menu command tried meanwhile is dropped without a trace, and the next one runs.
TEST(DispatchTest, NoCommandStartsInsideAnother) {
  constexpr char kNoImage[] = "No image was scanned.";
  struct Case {
    const char* config;
    unsigned command;
    std::vector<int> clicks;
    Texts boxes;
  };
  const Texts confirmation = {
      "Scanner Self-diagnostics1 is executed. \nPlease don't set a film. \nIt takes tens of "
      "seconds."};
  const Case cases[] = {
      {"fail=scan@1", IDM_SCAN_NEGATIVE_FILM, {IDC_SCAN}, {"*** Error in Scan ***", kNoImage}},
      {"", IDM_SAVE_SCANNER_DATA, {}, {"File was not closed."}},  // test_dat.txt on a full disk
      {"", IDM_SELF_DIAGNOSTICS_1, {}, confirmation},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    std::vector<uint8_t> alone;
    for (const bool tried : {false, true}) {
      const ScopedTempDirectory directory;
      std::filesystem::create_symlink("/dev/full", "test_dat.txt");
      ProgramBench bench(c.config);
      bench.Start();
      bench.frontEnd().Clear();
      bench.ClearRequests();
      if (tried) {
        bench.frontEnd().WhileEachIsUp([] {
          for (const MenuEntry& entry : kMenuEntries) {
            if (entry.kind == MenuEntryKind::kItem) SendMenuCommand(entry.commandId);
          }
        });
      }
      bench.frontEnd().ClickInNextDialog(c.clicks);
      bench.Command(c.command);
      EXPECT_EQ(bench.frontEnd().BoxTexts(), c.boxes);
      EXPECT_EQ(bench.frontEnd().dialogs().size(), c.clicks.empty() ? 0u : 1u);
      if (!tried) alone = bench.OperationCodes();
      EXPECT_EQ(bench.OperationCodes(), alone);
      EXPECT_FALSE(QuitPosted());
      bench.Command(IDM_ABOUT);
      EXPECT_EQ(bench.frontEnd().dialogs().back(), "AboutBox");
    }
  }
}

// The window is centred; on a smaller screen its origin is negative, rounded toward zero.
TEST(WindowPlacementTest, CentresAndGoesNegativeOnASmallScreen) {
  EXPECT_EQ(CenteredWindowOrigin(427, 317).left, -1);
  EXPECT_EQ(CenteredWindowOrigin(427, 317).top, -1);
}

}  // namespace
