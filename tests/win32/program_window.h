// The program's real main window in the test process, started on the simulated WNASPI32.dll
// configured with a text (as --simulate takes it), in a fresh folder named after the test. Every
// message box and dialog opening on the thread is described and worked as the test asked.
#ifndef SCAN_FS_TESTS_WIN32_PROGRAM_WINDOW_H
#define SCAN_FS_TESTS_WIN32_PROGRAM_WINDOW_H

#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <string>
#include <vector>

using Texts = std::vector<std::string>;

inline constexpr char kScannerNotFoundBox[] =
    "Warning | stop | OK | main window | Scanner is not found.\nCheck if the cable is properly "
    "connected\nand the power is on.";

class ProgramWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Creates and shows the main window (its creation runs the start-up), the former one destroyed
  // and what was seen forgotten.
  void Start(const char* config);
  void Command(unsigned commandId);  // as the menu sends it
  bool MenuEnabled(unsigned commandId) const;
  HWND window() const { return window_; }

  // The controls clicked in each of the next boxes and dialogs, in the order they open; beyond
  // them a box is answered OK and a dialog cancelled.
  std::deque<std::vector<int>> clicks;
  // "CAPTION | ICON | BUTTONS | OWNER | TEXT", ICON one of stop, information, no icon; OWNER one
  // of main window, dialog CAPTION, no owner, no owner task-modal, followed by ", hourglass" when
  // the wait cursor was current.
  Texts boxes;
  // "CAPTION: ID ID..." with the radio buttons checked when the dialog opened.
  Texts dialogs;

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
  void Opened(HWND modal);
  void DestroyProgramWindow();

  HWND window_ = nullptr;
  HHOOK hook_ = nullptr;
  char startDirectory_[MAX_PATH] = {};
};

#endif
