// Every message box and dialog that opens on the test's thread, seen by a hook once it has handled
// WM_INITDIALOG: described, then answered or worked as the test asked.
#ifndef SCAN_FS_TESTS_WIN32_MODAL_RECORDER_H
#define SCAN_FS_TESTS_WIN32_MODAL_RECORDER_H

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

class ModalRecorder {
 public:
  ModalRecorder();  // hooks the calling thread
  ~ModalRecorder();

  // Forgets what was seen and what was asked.
  void Clear();
  // The answers (IDOK, IDCANCEL) to the next boxes; a box beyond them is answered OK.
  void AnswerBoxes(std::vector<int> answers);
  // The controls clicked, in order, in each of the next dialogs; a dialog beyond them is
  // cancelled.
  void ClickInDialogs(std::vector<std::vector<int>> clicks);

  // "CAPTION | ICON | BUTTONS | OWNER | TEXT", ICON one of stop, information, no icon; OWNER one
  // of main window, dialog CAPTION, no owner, no owner task-modal.
  const std::vector<std::string>& boxes() const { return boxes_; }
  // "CAPTION: ID ID..." with the ids of the radio buttons checked when the dialog opened.
  const std::vector<std::string>& dialogs() const { return dialogs_; }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
  void BoxOpened(HWND box);
  void DialogOpened(HWND dialog);

  HHOOK hook_;
  std::deque<int> answers_;
  std::deque<std::vector<int>> clicks_;
  std::vector<std::string> boxes_;
  std::vector<std::string> dialogs_;
};

#endif
