// The main window under Wine: its class and the start-up for each scanner, pages as the screen
// shows them (with a screenshot for the README), scan_fs.exe as its own process, and the start-up
// on Wine's own wnaspi32 and without any.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <utility>

#include "platform/win32/display_surface_win32.h"
#include "resources/ids.h"
#include "tests/win32/program_window.h"

namespace {

using MainWindowTest = ProgramWindowTest;
using NoManagerTest = ProgramWindowTest;
using NoDllTest = ProgramWindowTest;

Pixels SurfacePixels(int width = kSurfaceWidth, int height = kSurfaceHeight) {
  return Pixels(DisplaySurfaceContext(), 0, 0, width, height);
}

Pixels ClientPixels(HWND window) {
  RECT area;
  GetClientRect(window, &area);
  const HDC client = GetDC(window);
  Pixels pixels(client, 0, 0, area.right, area.bottom);
  ReleaseDC(window, client);
  return pixels;
}

// A page whose first line starts at x, y and whose last line is drawn at lastY, in the 8 x 16
// fixed-pitch font.
void ExpectPage(const Pixels& page, int x, int y, int lastY) {
  const RECT ink = page.Ink();
  EXPECT_TRUE(ink.left >= x && ink.left < x + 8) << ink.left;
  EXPECT_TRUE(ink.top >= y && ink.top < y + 16) << ink.top;
  EXPECT_TRUE(ink.bottom > lastY && ink.bottom <= lastY + 16) << ink.bottom;
}

// The start-up's boxes, the gating in the window's own menu (the portable rule has its tests on
// Linux: here a T1 grays, a T2 enables, a failed search leaves it), the page.
TEST_F(MainWindowTest, StartUpGatesTheMenuByTheScannerFound) {
  WNDCLASSA registered{};
  ASSERT_TRUE(GetClassInfoA(ProgramInstance(), kWindowClassName, &registered));
  EXPECT_EQ(registered.hCursor, LoadCursorA(nullptr, IDC_ARROW));
  EXPECT_EQ(registered.hbrBackground, GetStockObject(WHITE_BRUSH));
  EXPECT_TRUE(registered.hIcon != nullptr &&
              registered.hIcon == LoadIconA(ProgramInstance(), "IDI_QUORVELICON"));
  for (const auto& [config, t2CommandsEnabled] :
       {std::pair{"model=t1", false}, {"model=t2", true}, {"model=none", true}}) {
    SCOPED_TRACE(config);
    Start(config);
    EXPECT_EQ(boxes, std::strcmp(config, "model=none") == 0 ? Texts{kScannerNotFoundBox} : Texts{});
    EXPECT_EQ(MenuEnabled(IDM_SAVE_SCANNER_DATA), t2CommandsEnabled);
    EXPECT_EQ(MenuEnabled(IDM_SELF_DIAGNOSTICS_2), t2CommandsEnabled);
    ExpectPage(SurfacePixels(), 20, 10, 120);  // the welcome page
  }
}

// The pages in a fixed-pitch font, shown exactly in the client area once repainted.
TEST_F(MainWindowTest, PagesOnTheScreen) {
  Start("model=t2");
  Command(IDM_BOARD_INFORMATION);
  Screenshot(window(), nullptr, "main_window");
  ExpectPage(SurfacePixels(), 10, 10, 75);  // title and the one adapter's three lines
  Command(IDM_SCANNER_INFORMATION);
  EXPECT_TRUE(boxes.empty());
  ExpectPage(SurfacePixels(), 10, 10, 95);  // title down to the firmware line, nothing else
  const Pixels shown = ClientPixels(window());
  EXPECT_TRUE(shown.data == SurfacePixels(shown.width, shown.height).data);
  SIZE narrow, wide;
  GetTextExtentPoint32A(DisplaySurfaceContext(), "iiii", 4, &narrow);
  GetTextExtentPoint32A(DisplaySurfaceContext(), "MMMM", 4, &wide);
  EXPECT_EQ(narrow.cx, wide.cx);
}

INT_PTR CALLBACK InertDialog(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG;
}

// The dialogs at the templates' sizes, in the Japanese Gothic font that the test prefix gives the
// templates' font name (as a Japanese Windows has one of that name): the texts cut, with the mark
// of a radio button counted in.
TEST(DialogFontTest, TextsThatDoNotFitTheirControls) {
  Texts cut;
  for (const char* name : {"AboutBox", "ScanFSBox"}) {
    const HWND dialog = CreateDialogParamA(ProgramInstance(), name, nullptr, InertDialog, 0);
    ASSERT_NE(dialog, nullptr);
    const HDC context = GetDC(dialog);
    SelectObject(context, reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
    wchar_t face[32] = {};
    GetTextFaceW(context, 32, face);
    EXPECT_STREQ(face, L"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF") << name;
    TEXTMETRICA metrics;
    GetTextMetricsA(context, &metrics);
    const HFONT gothic = CreateFontA(metrics.tmHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET,
                                     0, 0, 0, 0, "IPAPGothic");
    for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr;
         control = GetWindow(control, GW_HWNDNEXT)) {
      char text[128];
      const int length = GetWindowTextA(control, text, sizeof text);
      SIZE needed, inGothic;
      GetTextExtentPoint32A(context, text, length, &needed);
      const HGDIOBJ dialogFont = SelectObject(context, gothic);
      GetTextExtentPoint32A(context, text, length, &inGothic);
      SelectObject(context, dialogFont);
      EXPECT_EQ(needed.cx, inGothic.cx) << text;
      if ((GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON) {
        needed.cx += GetSystemMetrics(SM_CXMENUCHECK) + 4;
      }
      RECT area;
      GetClientRect(control, &area);
      if (needed.cx > area.right) cut.push_back(text);
    }
    DeleteObject(gothic);
    ReleaseDC(dialog, context);
    DestroyWindow(dialog);
  }
  EXPECT_EQ(cut, (Texts{"Quorvel Service Engineering", "for the Tessaline T1/T2 film scanners"}));
}

// scan_fs.exe started beside this program: centred, titled, without sizing border or maximize
// box; exit code 0 after Exit and after the close box.
TEST(ProgramProcessTest, StartsCentredAndEndsWithExitCodeZero) {
  for (const auto& [message, wParam] : {std::pair<UINT, WPARAM>{WM_COMMAND, IDM_EXIT},
                                        std::pair<UINT, WPARAM>{WM_SYSCOMMAND, SC_CLOSE}}) {
    SCOPED_TRACE(message);
    SetEnvironmentVariableA("SCAN_FS_SIMULATE", "");
    std::string commandLine = PathBesideThisProgram("scan_fs.exe");
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA(commandLine.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &startup, &process));
    HWND window = nullptr;  // the only one of its class: this program has none now
    for (int waits = 0; waits < 600 && !IsWindowVisible(window); ++waits) {  // 30 s at most
      Sleep(50);
      window = FindWindowA(kWindowClassName, nullptr);
    }
    ASSERT_TRUE(IsWindowVisible(window));
    RECT frame;
    GetWindowRect(window, &frame);
    // 430 x 320, centred on the 1024 x 768 desktop.
    EXPECT_EQ((std::vector<LONG>{frame.left, frame.top, frame.right, frame.bottom}),
              (std::vector<LONG>{297, 224, 297 + 430, 224 + 320}));
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) &
                  (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
              WS_SYSMENU | WS_MINIMIZEBOX);
    char title[64];
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, kMainWindowTitle);
    PostMessageA(window, message, wParam, 0);
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}

constexpr char kManagerNotWorking[] =
    "Warning | stop | OK | main window | ASPI driver for Windows is not properly working.";

// Wine's own wnaspi32 reports no host adapter and never completes a request: one warning, a white
// window with an ungated menu, and no search (a search would never end).
TEST_F(NoManagerTest, OneWarningAndAWhiteWindow) {
  // Only Wine's own manager exports its DLL version; the simulated one exports ordinals 1 and 2.
  ASSERT_NE(GetProcAddress(LoadLibraryA("WNASPI32.DLL"), "GetASPI32DLLVersion"), nullptr);
  Start("");
  EXPECT_EQ(boxes, Texts{kManagerNotWorking});
  EXPECT_EQ(scannerFound, 0);
  EXPECT_TRUE(MenuEnabled(IDM_SAVE_SCANNER_DATA));
  EXPECT_TRUE(MenuEnabled(IDM_SELF_DIAGNOSTICS_2));
  const RECT ink = ClientPixels(window()).Ink();
  EXPECT_TRUE(IsRectEmpty(&ink));
}

// With no WNASPI32.DLL at all (run with it disabled), the same one warning and nothing sent.
TEST_F(NoDllTest, OneWarning) {
  ASSERT_EQ(LoadLibraryA("WNASPI32.DLL"), nullptr);
  Start("");
  EXPECT_EQ(boxes, Texts{kManagerNotWorking});
  EXPECT_EQ(scannerFound, 0);
}

}  // namespace
