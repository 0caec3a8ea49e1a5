// The main window under Wine: its class and the start-up for each scanner, a page as the screen
// shows it (with a screenshot for the README), scan_fs.exe as its own process, and the start-up
// on Wine's own wnaspi32.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <utility>

#include "platform/win32/display_surface_win32.h"
#include "platform/win32/window_handles_win32.h"
#include "resources/ids.h"
#include "shell/main_window.h"
#include "shell/program_state.h"
#include "tests/win32/program_window.h"

namespace {

using MainWindowTest = ProgramWindowTest;
using NoManagerTest = ProgramWindowTest;

// 32-bit pixels (0x00RRGGBB), top row first, copied from a rectangle of a device context.
struct Pixels {
  Pixels(HDC context, int x, int y, int width, int height)
      : width(width), height(height), data(static_cast<size_t>(width) * height) {
    BITMAPINFO info{{sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* bits = nullptr;
    const HBITMAP section = CreateDIBSection(context, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HDC copy = CreateCompatibleDC(context);
    const HGDIOBJ original = SelectObject(copy, section);
    BitBlt(copy, 0, 0, width, height, context, x, y, SRCCOPY);
    GdiFlush();
    std::copy_n(static_cast<const uint32_t*>(bits), data.size(), data.begin());
    SelectObject(copy, original);
    DeleteDC(copy);
    DeleteObject(section);
  }
  // The smallest rectangle holding every pixel that is not white; empty when there is none.
  RECT Ink() const {
    RECT ink{width, height, 0, 0};
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        if ((data[y * width + x] & 0xFFFFFF) == 0xFFFFFF) continue;
        ink = RECT{std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y),
                   std::max<LONG>(ink.right, x + 1), std::max<LONG>(ink.bottom, y + 1)};
      }
    }
    return ink;
  }
  int width, height;
  std::vector<uint32_t> data;
};

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

std::string PathBesideThisProgram(const char* name) {
  char path[MAX_PATH];
  const std::string self(path, GetModuleFileNameA(nullptr, path, sizeof path));
  return self.substr(0, self.find_last_of('\\') + 1) + name;
}

// A page whose first line starts at x, y and whose last line is drawn at lastY, in the 8 x 16
// fixed-pitch font.
void ExpectPage(const Pixels& page, int x, int y, int lastY) {
  const RECT ink = page.Ink();
  EXPECT_TRUE(ink.left >= x && ink.left < x + 8) << ink.left;
  EXPECT_TRUE(ink.top >= y && ink.top < y + 16) << ink.top;
  EXPECT_TRUE(ink.bottom > lastY && ink.bottom <= lastY + 16) << ink.bottom;
}

// Writes the screen's pixels under `window`, frame and menu included, as a 32-bit BMP.
void WriteScreenshot(HWND window, const std::string& path) {
  MSG message;  // the window reaches the screen as its messages are handled
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  RECT frame;
  GetWindowRect(window, &frame);
  const HDC screen = GetDC(nullptr);
  const Pixels pixels(screen, frame.left, frame.top, frame.right - frame.left,
                      frame.bottom - frame.top);
  ReleaseDC(nullptr, screen);
  const DWORD imageBytes = pixels.data.size() * sizeof(uint32_t);
  const BITMAPINFOHEADER info{
      sizeof info, pixels.width, -pixels.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};  // top row first
  const BITMAPFILEHEADER file{0x4D42, DWORD{sizeof file + sizeof info} + imageBytes, 0, 0,
                              sizeof file + sizeof info};  // "BM"
  std::FILE* out = std::fopen(path.c_str(), "wb");
  ASSERT_NE(out, nullptr);
  std::fwrite(&file, sizeof file, 1, out);
  std::fwrite(&info, sizeof info, 1, out);
  std::fwrite(pixels.data.data(), imageBytes, 1, out);
  EXPECT_EQ(std::fclose(out), 0);
}

// What each scanner on the bus leaves after start-up: boxes, the gated commands, the page.
TEST_F(MainWindowTest, StartUpGatesTheMenuByTheScannerFound) {
  WNDCLASSA registered{};
  ASSERT_TRUE(GetClassInfoA(ProgramInstance(), kWindowClassName, &registered));
  EXPECT_EQ(registered.hCursor, LoadCursorA(nullptr, IDC_ARROW));
  EXPECT_EQ(registered.hbrBackground, GetStockObject(WHITE_BRUSH));
  EXPECT_TRUE(registered.hIcon != nullptr &&
              registered.hIcon == LoadIconA(ProgramInstance(), "IDI_QUORVELICON"));
  struct Case {
    const char* config;
    Texts boxes;
    bool t2CommandsEnabled;
  };
  const Case cases[] = {
      {"model=t1", {}, false},
      {"model=t2", {}, true},
      {"model=none,device=0:3:ZR-40999X", {}, false},
      {"model=none", {kScannerNotFoundBox}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.config);
    Start(c.config);
    EXPECT_EQ(boxes, c.boxes);
    EXPECT_EQ(MenuEnabled(IDM_SAVE_SCANNER_DATA), c.t2CommandsEnabled);
    EXPECT_EQ(MenuEnabled(IDM_SELF_DIAGNOSTICS_2), c.t2CommandsEnabled);
    EXPECT_TRUE(MenuEnabled(IDM_SCAN_NEGATIVE_FILM));
    ExpectPage(SurfacePixels(), 20, 10, 120);  // the welcome page
  }
}

// The page in a fixed-pitch font, shown exactly in the client area once repainted.
TEST_F(MainWindowTest, ScannerInformationPageOnTheScreen) {
  Start("model=t2");
  Command(IDM_SCANNER_INFORMATION);
  EXPECT_TRUE(boxes.empty());
  WriteScreenshot(window(), PathBesideThisProgram("scanner_information.bmp"));  // the build folder
  ExpectPage(SurfacePixels(), 10, 10, 95);  // title down to the firmware line, nothing else
  const Pixels shown = ClientPixels(window());
  EXPECT_TRUE(shown.data == SurfacePixels(shown.width, shown.height).data);
  SIZE narrow, wide;
  GetTextExtentPoint32A(DisplaySurfaceContext(), "iiii", 4, &narrow);
  GetTextExtentPoint32A(DisplaySurfaceContext(), "MMMM", 4, &wide);
  EXPECT_EQ(narrow.cx, wide.cx);
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

// Wine's own wnaspi32 reports no host adapter and never completes a request: one warning, a white
// window with an ungated menu, and no search (a search would never end).
TEST_F(NoManagerTest, OneWarningAndAWhiteWindow) {
  // Only Wine's own manager exports its DLL version; the simulated one exports ordinals 1 and 2.
  ASSERT_NE(GetProcAddress(LoadLibraryA("WNASPI32.DLL"), "GetASPI32DLLVersion"), nullptr);
  Start("");
  EXPECT_EQ(boxes, Texts{"Warning | stop | OK | main window | ASPI driver for Windows is not "
                         "properly working."});
  EXPECT_EQ(scannerFound, 0);
  EXPECT_TRUE(MenuEnabled(IDM_SAVE_SCANNER_DATA));
  EXPECT_TRUE(MenuEnabled(IDM_SELF_DIAGNOSTICS_2));
  const RECT ink = ClientPixels(window()).Ink();
  EXPECT_TRUE(IsRectEmpty(&ink));
}

}  // namespace
