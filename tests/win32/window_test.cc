// The main window under Wine: the start-up (menu gating, boxes, welcome page) for each scanner,
// the display surface's pixels, and a screenshot of a page.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/display_surface_win32.h"
#include "platform/win32/window_handles_win32.h"
#include "resources/ids.h"
#include "tests/win32/program_window.h"

namespace {

using Texts = std::vector<std::string>;

// Writes the screen's pixels under `window`, frame and menu included, as a 32-bit BMP.
void WriteScreenshot(HWND window, const std::string& path) {
  // The window reaches the screen as its messages are handled.
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  RECT frame;
  GetWindowRect(window, &frame);
  const HDC screen = GetDC(nullptr);
  const Pixels pixels =
      CopyPixels(screen, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top);
  ReleaseDC(nullptr, screen);
  const DWORD imageBytes = pixels.data.size() * sizeof(uint32_t);
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + imageBytes;
  info.biSize = sizeof info;
  info.biWidth = pixels.width;
  info.biHeight = -pixels.height;  // top row first, as the pixels are
  info.biPlanes = 1;
  info.biBitCount = 32;
  std::FILE* out = std::fopen(path.c_str(), "wb");
  ASSERT_NE(out, nullptr);
  std::fwrite(&file, sizeof file, 1, out);
  std::fwrite(&info, sizeof info, 1, out);
  std::fwrite(pixels.data.data(), imageBytes, 1, out);
  EXPECT_EQ(std::fclose(out), 0);
}

using MainWindowTest = ProgramWindowTest;

// What each scanner on the bus leaves after start-up: boxes, the gated commands, the page.
TEST_F(MainWindowTest, StartUpGatesTheMenuByTheScannerFound) {
  struct Case {
    const char* config;
    Texts boxes;
    bool saveDataEnabled, diagnostics2Enabled;
  };
  const Case cases[] = {
      {"model=t1", {}, false, false},
      {"model=t2", {}, true, true},
      {"model=none,device=0:3:ZR-40999X", {}, false, false},
      {"model=none", {kScannerNotFoundBox}, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.config);
    Start(c.config);
    EXPECT_EQ(recorder().boxes(), c.boxes);
    EXPECT_EQ(MenuEnabled(IDM_SAVE_SCANNER_DATA), c.saveDataEnabled);
    EXPECT_EQ(MenuEnabled(IDM_SELF_DIAGNOSTICS_2), c.diagnostics2Enabled);
    for (unsigned always : {IDM_BOARD_INFORMATION, IDM_SCANNER_INFORMATION, IDM_SELF_DIAGNOSTICS_1,
                            IDM_SCAN_NEGATIVE_FILM, IDM_EXIT, IDM_ABOUT}) {
      EXPECT_TRUE(MenuEnabled(always)) << always;
    }
    // The welcome page: from its banner at y 10 to its last line at y 120.
    const InkBox ink = SurfacePixels().Ink();
    EXPECT_GE(ink.top, 10);
    EXPECT_LE(ink.bottom, 120 + 16);
    EXPECT_GT(ink.bottom, 120);
  }
}

// Lines land where they are drawn and nowhere else; the surface cuts what does not fit.
TEST_F(MainWindowTest, SurfaceDrawsLinesInTheirPlaceAndCutsAtItsEdges) {
  Start("");
  struct Case {
    const char* what;
    int x, y;
    const char* text;
    InkBox within;  // empty: nothing drawn
  };
  const Case cases[] = {
      {"a line", 20, 35, "Vendor", {20, 35, 20 + 6 * 8, 35 + 16}},
      {"a line past the right edge", 400, 100, "Product identification", {400, 100, 430, 116}},
      {"a line partly below the bottom", 10, 310, "Scanner", {10, 310, 10 + 7 * 8, 320}},
      {"a line at y 320", 10, 320, "Scanner", {}},
      {"a line left of the surface", -200, 50, "Scanner", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ClearDisplay(ToWindowHandle(window()));
    EXPECT_TRUE(SurfacePixels().Ink().empty());
    DrawTextLine(c.x, c.y, c.text);
    const InkBox ink = SurfacePixels().Ink();
    EXPECT_EQ(ink.empty(), c.within.empty());
    if (ink.empty() || c.within.empty()) continue;
    EXPECT_GE(ink.left, c.within.left);
    EXPECT_GE(ink.top, c.within.top);
    EXPECT_LE(ink.right, c.within.right);
    EXPECT_LE(ink.bottom, c.within.bottom);
  }
  // The cut line reaches the last column; the font is fixed-pitch.
  ClearDisplay(ToWindowHandle(window()));
  DrawTextLine(400, 100, "MMMMMMMMMMMM");
  EXPECT_EQ(SurfacePixels().Ink().right, 430);
  SIZE narrow, wide;
  GetTextExtentPoint32A(DisplaySurfaceContext(), "iiii", 4, &narrow);
  GetTextExtentPoint32A(DisplaySurfaceContext(), "MMMM", 4, &wide);
  EXPECT_EQ(narrow.cx, wide.cx);
}

// The window shows the surface only after a repaint, and then exactly its top-left part.
TEST_F(MainWindowTest, PaintCopiesTheSurfaceToTheClientArea) {
  Start("");
  ClearDisplay(ToWindowHandle(window()));
  UpdateWindow(window());
  DrawTextLine(20, 35, "Vendor");
  RECT area;
  GetClientRect(window(), &area);
  const HDC client = GetDC(window());
  EXPECT_TRUE(CopyPixels(client, 0, 0, area.right, area.bottom).Ink().empty());
  RefreshDisplay(ToWindowHandle(window()));
  UpdateWindow(window());
  const Pixels shown = CopyPixels(client, 0, 0, area.right, area.bottom);
  ReleaseDC(window(), client);
  const Pixels surface = SurfacePixels();
  EXPECT_FALSE(shown.Ink().empty());
  for (int y = 0; y < area.bottom; ++y) {
    for (int x = 0; x < area.right; ++x) {
      ASSERT_EQ(shown.data[y * area.right + x] & 0xFFFFFF, surface.data[y * 430 + x] & 0xFFFFFF)
          << x << "," << y;
    }
  }
}

TEST_F(MainWindowTest, ScreenshotOfTheScannerInformationPage) {
  Start("model=t2");
  Command(IDM_SCANNER_INFORMATION);
  EXPECT_TRUE(recorder().boxes().empty());
  WriteScreenshot(window(), PathBesideThisProgram("scanner_information.bmp"));  // the build folder
  EXPECT_GT(SurfacePixels().Ink().bottom, 95);  // title down to the firmware line
}

}  // namespace
