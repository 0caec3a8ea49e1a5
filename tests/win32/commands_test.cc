// Menu commands of the real window under Wine, through the simulated WNASPI32.dll: the boxes each
// shows (caption, icon, buttons, owner, modality, wait cursor, text), the dialogs it opens and how
// they are worked, and what a scan leaves.
#include <gtest/gtest.h>
#include <windows.h>

#include "resources/ids.h"
#include "shell/program_state.h"
#include "tests/win32/program_window.h"

namespace {

using CommandTest = ProgramWindowTest;

constexpr char kScanDialog[] = "Scan (Negative Film): 1015 1011";  // 340 dpi, into the file
constexpr char kImageScanned[] =
    "Information | information | OK | no owner task-modal | Image was scanned.";

TEST_F(CommandTest, BoxesAndDialogsOfEachCommand) {
  struct Case {
    const char* config;
    unsigned command;
    std::deque<std::vector<int>> clicks;
    Texts dialogs, boxes;
  };
  // clang-format off
  const Case cases[] = {
      {"", IDM_BOARD_INFORMATION, {}, {}, {}},
      {"", IDM_ABOUT, {{IDOK}}, {"About:"}, {}},
      {"", IDM_SCAN_NEGATIVE_FILM, {{IDCANCEL}}, {kScanDialog}, {}},
      {"fail=scan", IDM_SCAN_NEGATIVE_FILM, {{IDC_SCAN}}, {kScanDialog},
       {"Warning | stop | OK | dialog Scan (Negative Film), hourglass | *** Error in Scan ***",
        "Warning | stop | OK | no owner task-modal | No image was scanned."}},
      {"model=none", IDM_SCAN_NEGATIVE_FILM, {}, {}, {kScannerNotFoundBox}},
      {"fail=diag:04:11", IDM_SELF_DIAGNOSTICS_1, {}, {},  // the host adapter's status
       {"Scanner Self-diagnostics1 | no icon | OK Cancel | main window | Scanner Self-diagnostics1 "
        "is executed. \nPlease don't set a film. \nIt takes tens of seconds.",
        "Warning | stop | OK | main window | *** Timeout of selecting target ***",
        "Warning | stop | OK | main window | Scanner Self-diagnostics1 was failed."}},
      {"", IDM_SELF_DIAGNOSTICS_2, {{IDCANCEL}}, {},
       {"Scanner Self-diagnostics2 | no icon | OK Cancel | main window | Scanner Self-diagnostics2 "
        "is executed. \nPlease don't set a film. "}},
      {"", IDM_SAVE_SCANNER_DATA, {}, {},
       {"Information | information | OK | main window | Scanner Data has saved.\n (Filename : "
        "test_dat.txt)"}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.command << " on '" << c.config << "'");
    Start(c.config);
    boxes.clear();  // the start-up's boxes are the start-up's test
    clicks = c.clicks;
    Command(c.command);
    EXPECT_EQ(dialogs, c.dialogs);
    EXPECT_EQ(boxes, c.boxes);
  }
}

// The choices made reach the scan; every opening starts again from 340 dpi into the file, which
// the Linux side reads back with libtiff.
TEST_F(CommandTest, ScanIntoFile) {
  Start("model=t2,late=1");
  clicks = {{IDC_RESOLUTION_1360, IDC_READ_IN_MEMORY, IDC_SCAN}, {IDOK}, {IDC_SCAN}};
  Command(IDM_SCAN_NEGATIVE_FILM);
  EXPECT_EQ(scanResolution, 1360u);
  EXPECT_EQ(GetFileAttributesA("img_fs.tif"), INVALID_FILE_ATTRIBUTES);
  Command(IDM_SCAN_NEGATIVE_FILM);
  EXPECT_EQ(dialogs, (Texts{kScanDialog, kScanDialog}));
  EXPECT_EQ(boxes, (Texts{kImageScanned, kImageScanned}));
  WIN32_FILE_ATTRIBUTE_DATA file{};
  ASSERT_TRUE(GetFileAttributesExA("img_fs.tif", GetFileExInfoStandard, &file));
  EXPECT_EQ(file.nFileSizeLow, 216u + 972u * 486u);
}

}  // namespace
