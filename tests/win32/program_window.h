// The program's real main window in the test process, started on the simulated WNASPI32.dll
// configured with a text (as --simulate takes it), in a fresh directory named after the test.
// The pixels of the display surface and of the window are read back for checks.
#ifndef SCAN_FS_TESTS_WIN32_PROGRAM_WINDOW_H
#define SCAN_FS_TESTS_WIN32_PROGRAM_WINDOW_H

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/win32/modal_recorder.h"

// The box of a search that found no scanner, as the recorder describes it.
inline constexpr char kScannerNotFoundBox[] =
    "Warning | stop | OK | main window | Scanner is not found.\nCheck if the cable is properly "
    "connected\nand the power is on.";

// The smallest rectangle holding every pixel that is not white; empty when there is none.
struct InkBox {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
  bool empty() const { return right <= left; }
};

// 32-bit pixels (0x00RRGGBB), top row first.
struct Pixels {
  int width = 0, height = 0;
  std::vector<uint32_t> data;
  InkBox Ink() const;
};

// A file in the folder of the test program.
std::string PathBesideThisProgram(const char* name);

// Copies a rectangle of a device context.
Pixels CopyPixels(HDC context, int x, int y, int width, int height);
Pixels SurfacePixels();

class ProgramWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Creates the main window (its creation runs the program's start-up) and shows it; a window
  // made before is destroyed first, and what the recorder saw is forgotten.
  void Start(const char* config);
  // A menu command, as the menu sends it.
  void Command(unsigned commandId);
  bool MenuEnabled(unsigned commandId) const;

  HWND window() const { return window_; }
  void DestroyProgramWindow();
  static ModalRecorder& recorder();

 private:
  HWND window_ = nullptr;
  char startDirectory_[MAX_PATH] = {};
};

#endif
