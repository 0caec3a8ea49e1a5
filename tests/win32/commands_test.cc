// Menu commands of the real window under Wine: the boxes each shows (caption, icon, buttons,
// owner, modality, text), the dialogs it opens and how they are worked, and what a scan leaves.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "resources/ids.h"
#include "shell/program_state.h"
#include "tests/win32/program_window.h"

namespace {

using Texts = std::vector<std::string>;
using Clicks = std::vector<std::vector<int>>;

bool FileExists(const char* name) {
  return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES;
}

using CommandTest = ProgramWindowTest;

constexpr char kScanDialog[] = "Scan (Negative Film): 1015 1011";  // 340 dpi, into the file
constexpr char kImageScanned[] =
    "Information | information | OK | no owner task-modal | Image was scanned.";
constexpr char kNoImageScanned[] =
    "Warning | stop | OK | no owner task-modal | No image was scanned.";
constexpr char kScanError[] =
    "Warning | stop | OK | dialog Scan (Negative Film) | *** Error in Scan ***";
constexpr char kConfirmDiagnostics[] =
    "Scanner Self-diagnostics1 | no icon | OK Cancel | main window | Scanner Self-diagnostics1 is "
    "executed. \nPlease don't set a film. \nIt takes tens of seconds.";
constexpr char kSelectionTimeout[] =
    "Warning | stop | OK | main window | *** Timeout of selecting target ***";
constexpr char kDiagnosticsFailed[] =
    "Warning | stop | OK | main window | Scanner Self-diagnostics1 was failed.";
constexpr char kDataSaved[] =
    "Information | information | OK | main window | Scanner Data has saved.\n (Filename : "
    "test_dat.txt)";

TEST_F(CommandTest, BoxesAndDialogsOfEachCommand) {
  struct Case {
    const char* config;
    unsigned command;
    std::vector<int> answers;
    Clicks clicks;
    Texts dialogs;
    Texts boxes;
  };
  // clang-format off
  const Case cases[] = {
      {"", IDM_ABOUT, {}, {{IDOK}}, {"About:"}, {}},
      {"", IDM_SCAN_NEGATIVE_FILM, {}, {{IDCANCEL}}, {kScanDialog}, {}},
      {"", IDM_SCAN_NEGATIVE_FILM, {}, {{IDC_SCAN}}, {kScanDialog}, {kImageScanned}},
      {"fail=scan", IDM_SCAN_NEGATIVE_FILM, {}, {{IDC_SCAN}}, {kScanDialog}, {kScanError, kNoImageScanned}},
      {"model=none", IDM_SCAN_NEGATIVE_FILM, {}, {}, {}, {kScannerNotFoundBox}},
      {"", IDM_SELF_DIAGNOSTICS_1, {IDCANCEL}, {}, {}, {kConfirmDiagnostics}},
      {"fail=diag:04:11", IDM_SELF_DIAGNOSTICS_1, {}, {}, {}, {kConfirmDiagnostics, kSelectionTimeout, kDiagnosticsFailed}},
      {"", IDM_SAVE_SCANNER_DATA, {}, {}, {}, {kDataSaved}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.command << " on '" << c.config << "'");
    Start(c.config);
    recorder().Clear();  // start-up boxes are the start-up's tests
    recorder().AnswerBoxes(c.answers);
    recorder().ClickInDialogs(c.clicks);
    Command(c.command);
    EXPECT_EQ(recorder().dialogs(), c.dialogs);
    EXPECT_EQ(recorder().boxes(), c.boxes);
  }
}

// Every opening starts from 340 dpi into the file; the choices made reach the scan.
TEST_F(CommandTest, ScanDialogChoicesAndDefaults) {
  Start("");
  recorder().ClickInDialogs({{IDC_RESOLUTION_1360, IDC_READ_IN_MEMORY, IDC_SCAN}, {IDCANCEL}});
  Command(IDM_SCAN_NEGATIVE_FILM);
  EXPECT_EQ(scanResolution, 1360u);
  EXPECT_EQ(saveToFile, 0u);
  EXPECT_FALSE(FileExists("img_fs.tif"));
  Command(IDM_SCAN_NEGATIVE_FILM);
  EXPECT_EQ(recorder().dialogs(), (Texts{kScanDialog, kScanDialog}));
  EXPECT_EQ(recorder().boxes(), Texts{kImageScanned});
}

// A complete scan at the dialog's defaults; the Linux side reads the file back with libtiff.
TEST_F(CommandTest, ScanIntoFile) {
  Start("model=t2,late=1");
  recorder().ClickInDialogs({{IDC_SCAN}});
  Command(IDM_SCAN_NEGATIVE_FILM);
  EXPECT_EQ(recorder().boxes(), Texts{kImageScanned});
  WIN32_FILE_ATTRIBUTE_DATA file{};
  ASSERT_TRUE(GetFileAttributesExA("img_fs.tif", GetFileExInfoStandard, &file));
  EXPECT_EQ(file.nFileSizeLow, 216u + 972u * 486u);
}

}  // namespace
