// The program's real main window in the test process, started on the simulated WNASPI32.dll
// configured with a text (as --simulate takes it), in a fresh folder named after the test. Every
// message box and dialog opening on the thread is described and worked as the test asked.
#ifndef SCAN_FS_TESTS_WIN32_PROGRAM_WINDOW_H
#define SCAN_FS_TESTS_WIN32_PROGRAM_WINDOW_H

#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <string>
#include <utility>
#include <vector>

using Texts = std::vector<std::string>;

inline constexpr char kScannerNotFoundBox[] =
    "Warning | stop | OK | main window | Scanner is not found.\nCheck if the cable is properly "
    "connected\nand the power is on.";

// A file or folder beside the test program, which is in the build folder.
std::string PathBesideThisProgram(const char* name);

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
  // Writes the screen's pixels under the main window and `over` (when not null), frame and menu
  // included, as screenshots/NAME.bmp beside the test program, once painted.
  static void Screenshot(HWND window, HWND over, const std::string& name);
  // Handles the messages that wait, as the program's message loop would.
  static void HandleWaitingMessages();

  // The controls clicked in each of the next boxes and dialogs, in the order they open; beyond
  // them a box is answered OK and a dialog cancelled.
  std::deque<std::vector<int>> clicks;
  // Menu commands that reach the main window while each of the next boxes and dialogs is up, as
  // a user's choice in its menu, before the box or dialog is answered.
  std::deque<unsigned> commandsWhileUp;
  // (CAPTION, NAME): the next box or dialog of that caption is answered only once its screenshot,
  // over the main window, is taken as NAME (see Screenshot).
  std::vector<std::pair<std::string, std::string>> screenshots;
  // "CAPTION | ICON | BUTTONS | OWNER | TEXT", ICON one of stop, information, no icon; OWNER one
  // of main window, dialog CAPTION, no owner, no owner task-modal, followed by ", hourglass" when
  // the wait cursor was current.
  Texts boxes;
  // "CAPTION: ID ID..." with the radio buttons checked when the dialog opened.
  Texts dialogs;

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
  static void CALLBACK AnswerAfterScreenshot(HWND, UINT, UINT_PTR timer, DWORD);
  void Opened(HWND modal);
  void Answer(HWND modal, const std::vector<int>& click);
  void DestroyProgramWindow();

  HWND window_ = nullptr;
  HHOOK hook_ = nullptr;
  char startDirectory_[MAX_PATH] = {};
  struct PendingAnswer {
    HWND modal;
    std::vector<int> click;
    std::string screenshot;
  } pending_{};
};

#endif
