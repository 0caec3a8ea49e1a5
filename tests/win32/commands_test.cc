// Menu commands of the real window under Wine, through the simulated WNASPI32.dll: the boxes each
// shows (caption, icon, buttons, owner, modality, wait cursor, text), the dialogs it opens and how
// they are worked, and what a scan leaves.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>

#include "resources/ids.h"
#include "shell/program_state.h"
#include "tests/win32/program_window.h"

namespace {

using CommandTest = ProgramWindowTest;

constexpr char kScanDialog[] = "Scan (Negative Film): 1015 1011";  // 340 dpi, into the file
constexpr char kImageScanned[] =
    "Information | information | OK | no owner task-modal | Image was scanned.";

// What only the Windows layer decides (the boxes of each command have their tables on Linux): a
// confirmation has no icon and two buttons, Cancel ends the command, a failure's warnings are
// owned by the main window.
TEST_F(CommandTest, ConfirmationsAndWarningsOfSelfDiagnostics) {
  Start("fail=diag:04:11");  // the host adapter's status
  clicks = {{IDOK}, {IDOK}, {IDOK}, {IDCANCEL}};
  Command(IDM_SELF_DIAGNOSTICS_1);
  Command(IDM_SELF_DIAGNOSTICS_2);
  EXPECT_EQ(boxes,
            (Texts{"Scanner Self-diagnostics1 | no icon | OK Cancel | main window | Scanner "
                   "Self-diagnostics1 is executed. \nPlease don't set a film. \nIt takes "
                   "tens of seconds.",
                   "Warning | stop | OK | main window | *** Timeout of selecting target ***",
                   "Warning | stop | OK | main window | Scanner Self-diagnostics1 was failed.",
                   "Scanner Self-diagnostics2 | no icon | OK Cancel | main window | Scanner "
                   "Self-diagnostics2 is executed. \nPlease don't set a film. "}));
}

// The choices made reach the scan; every opening starts again from 340 dpi into the file, which
// the Linux side reads back with libtiff. The About box is shot over the welcome page.
TEST_F(CommandTest, ScanIntoFile) {
  Start("model=t2,late=1");
  clicks = {{IDOK}, {IDC_RESOLUTION_1360, IDC_READ_IN_MEMORY, IDC_SCAN}, {IDOK}, {IDC_SCAN}};
  screenshots = {
      {"About", "about_box"}, {"Scan (Negative Film)", "scan_dialog"}, {"Information", "box"}};
  Command(IDM_ABOUT);
  Command(IDM_SCAN_NEGATIVE_FILM);
  EXPECT_EQ(scanResolution, 1360u);
  EXPECT_EQ(GetFileAttributesA("img_fs.tif"), INVALID_FILE_ATTRIBUTES);
  Command(IDM_SCAN_NEGATIVE_FILM);
  EXPECT_EQ(dialogs, (Texts{"About:", kScanDialog, kScanDialog}));
  EXPECT_EQ(boxes, (Texts{kImageScanned, kImageScanned}));
  WIN32_FILE_ATTRIBUTE_DATA file{};
  ASSERT_TRUE(GetFileAttributesExA("img_fs.tif", GetFileExInfoStandard, &file));
  EXPECT_EQ(file.nFileSizeLow, 216u + 972u * 486u);
}

// A box or dialog runs a message loop of its own, and some leave the main window enabled (the
// scan's error box is owned by the dialog that has ended, "File was not closed." by none): a menu
// command chosen meanwhile is not started, and the next one after the command is.
TEST_F(CommandTest, NoCommandStartsInsideAnother) {
  struct Case {
    const char* config;
    unsigned command;
    const char* folder;  // beside this program, or none: the test's own
    std::deque<std::vector<int>> clicks;
    Texts dialogs, boxes;
  };
  // clang-format off
  const Case cases[] = {
      {"fail=scan@1", IDM_SCAN_NEGATIVE_FILM, nullptr, {{IDC_SCAN}}, {kScanDialog},
       {"Warning | stop | OK | dialog Scan (Negative Film), hourglass | *** Error in Scan ***",
        "Warning | stop | OK | no owner task-modal | No image was scanned."}},
      {"", IDM_SAVE_SCANNER_DATA, "full-disk", {}, {},  // its test_dat.txt is /dev/full
       {"Warning | stop | OK | no owner, hourglass | File was not closed."}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    Start(c.config);
    if (c.folder != nullptr) {
      ASSERT_TRUE(SetCurrentDirectoryA(PathBesideThisProgram(c.folder).c_str()));
    }
    clicks = c.clicks;
    commandsWhileUp = {IDM_SCAN_NEGATIVE_FILM, IDM_SCAN_NEGATIVE_FILM, IDM_SCAN_NEGATIVE_FILM};
    Command(c.command);
    EXPECT_EQ(dialogs, c.dialogs);
    EXPECT_EQ(boxes, c.boxes);
    EXPECT_EQ(commandsWhileUp.size(), 3 - c.dialogs.size() - c.boxes.size());
    clicks = {{IDOK}};
    Command(IDM_ABOUT);
    EXPECT_EQ(dialogs.back(), "About:");
  }
}

// The files of every resolution of both models, and the data dump, kept for the Linux side to
// compare byte for byte with what the Linux program writes.
TEST_F(CommandTest, FilesOfEachResolutionAndModel) {
  const std::pair<int, std::string> resolutions[] = {{IDC_RESOLUTION_340, "340"},
                                                     {IDC_RESOLUTION_680, "680"},
                                                     {IDC_RESOLUTION_1360, "1360"},
                                                     {IDC_RESOLUTION_2720, "2720"}};
  for (const std::string model : {"t1", "t2"}) {
    Start(("model=" + model).c_str());
    for (const auto& [button, dpi] : resolutions) {
      clicks = {{button, IDC_SCAN}};
      Command(IDM_SCAN_NEGATIVE_FILM);
      const std::string kept = model + "_" + dpi + ".tif";
      EXPECT_TRUE(MoveFileExA("img_fs.tif", kept.c_str(), MOVEFILE_REPLACE_EXISTING)) << kept;
    }
    EXPECT_EQ(boxes, Texts(4, kImageScanned));
  }
  Command(IDM_SAVE_SCANNER_DATA);  // the T2's
  EXPECT_EQ(boxes.back(),
            "Information | information | OK | main window | Scanner Data has saved.\n (Filename : "
            "test_dat.txt)");
}

}  // namespace
