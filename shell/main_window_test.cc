#include "shell/main_window.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/linux/linux_ui.h"
#include "resources/ids.h"
#include "shell/program_state.h"
#include "tests/support/program_bench.h"

namespace {

const std::vector<std::string> kWelcomePage = {
    "20 10 **** Quorvel Scanner Testing Program ****", "40 55   Select the item to be tested",
    "40 75   from the Function menu.", "40 120    (Scanner : Tessaline T1/T2)"};

constexpr char kNotFound[] =
    "Scanner is not found.\nCheck if the cable is properly connected\nand the power is on.";

struct StartCase {
  const char* name;
  const char* config;
  std::vector<std::string> boxes;
  bool welcome;
  bool gatedCommandsEnabled;
  uint8_t scannerFound;
  const char* productId;
};

class StartUp : public testing::TestWithParam<StartCase> {};

TEST_P(StartUp, ShowsBoxesDrawsWelcomeAndGatesTheMenu) {
  const StartCase& expected = GetParam();
  ProgramBench bench(expected.config);
  bench.Start();
  EXPECT_EQ(bench.frontEnd().BoxTexts(), expected.boxes);
  EXPECT_EQ(bench.SurfaceLines(), expected.welcome ? kWelcomePage : std::vector<std::string>{});
  EXPECT_EQ(MenuCommandEnabled(IDM_SAVE_SCANNER_DATA), expected.gatedCommandsEnabled);
  EXPECT_EQ(MenuCommandEnabled(IDM_SELF_DIAGNOSTICS_2), expected.gatedCommandsEnabled);
  EXPECT_EQ(scannerFound, expected.scannerFound);
  EXPECT_STREQ(productId, expected.productId);
  EXPECT_STREQ(warningCaption, "Warning");
  EXPECT_STREQ(informationCaption, "Information");
  for (const RecordedBox& box : bench.frontEnd().boxes()) {
    EXPECT_EQ(box.owner, MainWindow());
    EXPECT_EQ(box.caption, "Warning");
    EXPECT_EQ(box.type, 0x10u);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, StartUp,
    testing::Values(
        StartCase{"T2", "model=t2", {}, true, true, 1, "ZR-40123B"},
        StartCase{"T1", "model=t1", {}, true, false, 1, "ZR-40113A"},
        StartCase{
            "OtherZrModel", "model=none,device=0:4:ZR-40999X", {}, true, false, 1, "ZR-40999X"},
        // No device is the scanner: a failed search, like one that ends in an error.
        StartCase{"NoScanner", "model=none,device=0:1:DISK", {kNotFound}, true, true, 0, ""},
        StartCase{"SearchEndsWithSsErr", "selfail=0:0", {kNotFound}, true, true, 0, ""},
        StartCase{"SearchEndsWithOtherStatus",
                  "status=0:1:02",
                  {"Scanner Information was not gained."},
                  true,
                  true,
                  0,
                  ""},
        StartCase{"ManagerDoesNotAnswer",
                  "aspi=E8",
                  {"ASPI driver for Windows is not properly working."},
                  false,
                  true,
                  0,
                  ""}),
    [](const testing::TestParamInfo<StartCase>& info) { return info.param.name; });

TEST(StartUpTest, ManagerFailureLeavesAdapterCountZeroAndSendsNothing) {
  ProgramBench bench("aspi=E8,adapters=3");
  bench.Start();
  EXPECT_EQ(adapterCount, 0);
  EXPECT_TRUE(bench.Requests().empty());
  // Commands are still offered: a search has nothing to try and finds no scanner.
  bench.Command(IDM_SCANNER_INFORMATION);
  EXPECT_TRUE(bench.Requests().empty());
  EXPECT_EQ(scannerFound, 0);
  EXPECT_EQ(bench.frontEnd().BoxTexts().back(), kNotFound);
}

// Which menu commands run the silent search first, counted by the INQUIRYs they send when no
// search has found the scanner yet: one that failed on an error, or one that found no scanner.
struct SearchCase {
  unsigned commandId;
  bool searchesFirst;
};

class SearchBeforeCommand : public testing::TestWithParam<SearchCase> {};

TEST_P(SearchBeforeCommand, OnlyWhileNoSearchHasSucceeded) {
  for (const char* config : {"selfail=0:0", "model=none,device=0:2:DISK"}) {
    SCOPED_TRACE(config);
    ProgramBench bench(config);  // the start-up search fails, scannerFound stays 0
    bench.Start();
    bench.frontEnd().Clear();
    bench.ClearRequests();
    bench.Command(GetParam().commandId);
    const std::vector<uint8_t> codes = bench.OperationCodes();
    const bool searched = !codes.empty() && codes.front() == 0x12;
    EXPECT_EQ(searched, GetParam().searchesFirst);
    if (GetParam().searchesFirst) {
      // The search failed again: it sent only INQUIRYs and showed only its own box.
      EXPECT_EQ(std::count(codes.begin(), codes.end(), 0x12), static_cast<long>(codes.size()));
      EXPECT_EQ(bench.frontEnd().BoxTexts(), std::vector<std::string>{kNotFound});
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Commands, SearchBeforeCommand,
                         testing::Values(SearchCase{IDM_BOARD_INFORMATION, false},
                                         SearchCase{IDM_SAVE_SCANNER_DATA, true},
                                         SearchCase{IDM_SELF_DIAGNOSTICS_1, true},
                                         SearchCase{IDM_SELF_DIAGNOSTICS_2, true},
                                         SearchCase{IDM_SCAN_NEGATIVE_FILM, true},
                                         SearchCase{IDM_ABOUT, false}));

TEST(DispatchTest, ScannerInformationSearchesAgainAfterASuccessfulSearch) {
  ProgramBench bench;
  bench.Start();
  bench.ClearRequests();
  bench.Command(IDM_SCANNER_INFORMATION);
  EXPECT_EQ(bench.OperationCodes(), (std::vector<uint8_t>{0x12, 0x12, 0x12}));
  bench.ClearRequests();
  bench.Command(IDM_SCANNER_INFORMATION);
  EXPECT_EQ(bench.OperationCodes().size(), 3u);
}

TEST(DispatchTest, CommandsAfterASuccessfulSearchDoNotSearch) {
  ProgramBench bench;
  bench.Start();
  bench.ClearRequests();
  bench.Command(IDM_SCAN_NEGATIVE_FILM);  // the dialog is cancelled
  EXPECT_TRUE(bench.OperationCodes().empty());
  EXPECT_EQ(bench.frontEnd().dialogs(), std::vector<std::string>{"ScanFSBox"});
}

TEST(DispatchTest, ScanClearsTheDisplayEvenWhenTheSearchFails) {
  ProgramBench bench("selfail=0:0");
  bench.Start();
  ASSERT_FALSE(bench.SurfaceLines().empty());
  bench.Command(IDM_SCAN_NEGATIVE_FILM);
  EXPECT_TRUE(bench.SurfaceLines().empty());
  EXPECT_TRUE(bench.frontEnd().dialogs().empty());
}

TEST(DispatchTest, ExitAndCloseReleaseTheSurfaceAndQuitWithZero) {
  for (const bool viaClose : {false, true}) {
    ProgramBench bench;
    bench.Start();
    if (viaClose) {
      CloseMainWindow();
    } else {
      bench.Command(IDM_EXIT);
    }
    EXPECT_TRUE(QuitPosted());
    EXPECT_EQ(QuitExitCode(), 0);
    // After the release nothing is drawn any more.
    DrawTextLine(10, 10, "late");
    EXPECT_EQ(bench.SurfaceLines(), kWelcomePage);
  }
}

TEST(DispatchTest, UnknownCommandIdsAndTheNotificationCodeAreIgnored) {
  ProgramBench bench;
  bench.Start();
  bench.ClearRequests();
  MainWndProc(MainWindow(), kWmCommand, 999, 0);
  EXPECT_TRUE(bench.Requests().empty());
  // A notification code in the high 16 bits does not change the command.
  MainWndProc(MainWindow(), kWmCommand, (1u << 16) | IDM_SCANNER_INFORMATION, 0);
  EXPECT_EQ(bench.OperationCodes().size(), 3u);
}

TEST(WindowPlacementTest, CentresAndGoesNegativeOnASmallScreen) {
  EXPECT_EQ(CenteredWindowOrigin(1024, 768).left, 297);
  EXPECT_EQ(CenteredWindowOrigin(1024, 768).top, 224);
  EXPECT_EQ(CenteredWindowOrigin(400, 300).left, -15);
  EXPECT_EQ(CenteredWindowOrigin(400, 300).top, -10);
  EXPECT_EQ(CenteredWindowOrigin(427, 317).left, -1);  // rounds toward zero
}

}  // namespace
