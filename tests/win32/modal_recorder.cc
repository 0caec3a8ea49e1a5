#include "tests/win32/modal_recorder.h"

#include <cstring>

#include "shell/main_window.h"

namespace {

// Wine's message box keeps its text in the static control 0xFFFF and its icon in control 0x440.
constexpr int kBoxTextId = 0xFFFF;
constexpr int kBoxIconId = 0x440;

ModalRecorder* recorder = nullptr;

std::string WindowText(HWND window) {
  char text[512];
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string ClassName(HWND window) {
  char name[64];
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string IconOf(HWND box) {
  const auto icon =
      reinterpret_cast<HICON>(SendDlgItemMessageA(box, kBoxIconId, STM_GETICON, 0, 0));
  if (icon == nullptr) return "no icon";
  if (icon == LoadIconA(nullptr, IDI_HAND)) return "stop";
  if (icon == LoadIconA(nullptr, IDI_INFORMATION)) return "information";
  return "other icon";
}

// A box without an owner is task-modal when it has disabled the thread's main window.
std::string OwnerOf(HWND box) {
  const HWND owner = GetWindow(box, GW_OWNER);
  if (owner == nullptr) {
    const HWND main = FindWindowA(kWindowClassName, nullptr);  // the test's, the only one
    return main != nullptr && !IsWindowEnabled(main) ? "no owner task-modal" : "no owner";
  }
  if (ClassName(owner) == kWindowClassName) return "main window";
  std::string dialog = "dialog ";
  dialog.append(WindowText(owner));
  return dialog;
}

}  // namespace

ModalRecorder::ModalRecorder()
    : hook_(SetWindowsHookExA(WH_CALLWNDPROCRET, Hook, nullptr, GetCurrentThreadId())) {
  recorder = this;
}

ModalRecorder::~ModalRecorder() {
  UnhookWindowsHookEx(hook_);
  recorder = nullptr;
}

void ModalRecorder::Clear() {
  answers_.clear();
  clicks_.clear();
  boxes_.clear();
  dialogs_.clear();
}

void ModalRecorder::AnswerBoxes(std::vector<int> answers) {
  answers_.assign(answers.begin(), answers.end());
}

void ModalRecorder::ClickInDialogs(std::vector<std::vector<int>> clicks) {
  clicks_.assign(clicks.begin(), clicks.end());
}

LRESULT CALLBACK ModalRecorder::Hook(int code, WPARAM wParam, LPARAM lParam) {
  const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  if (code == HC_ACTION && recorder != nullptr && message->message == WM_INITDIALOG) {
    if (GetDlgItem(message->hwnd, kBoxTextId) != nullptr) {
      recorder->BoxOpened(message->hwnd);
    } else {
      recorder->DialogOpened(message->hwnd);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void ModalRecorder::BoxOpened(HWND box) {
  char text[512];
  GetDlgItemTextA(box, kBoxTextId, text, sizeof text);
  const char* buttons = GetDlgItem(box, IDCANCEL) != nullptr ? "OK Cancel" : "OK";
  std::string seen;
  for (const std::string& part :
       {WindowText(box), IconOf(box), std::string(buttons), OwnerOf(box)}) {
    seen.append(part).append(" | ");
  }
  boxes_.push_back(seen.append(text));
  int answer = IDOK;
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  }
  PostMessageA(box, WM_COMMAND, answer, 0);
}

void ModalRecorder::DialogOpened(HWND dialog) {
  std::string seen = WindowText(dialog) + ":";
  for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr;
       control = GetWindow(control, GW_HWNDNEXT)) {
    const bool radio = ClassName(control) == "Button" &&
                       (GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
    if (radio && SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED) {
      seen.append(" ").append(std::to_string(GetDlgCtrlID(control)));
    }
  }
  dialogs_.push_back(seen);
  std::vector<int> clicks{IDCANCEL};
  if (!clicks_.empty()) {
    clicks = clicks_.front();
    clicks_.pop_front();
  }
  // Posted, so that the dialog's own loop runs them as it would a user's clicks.
  for (int id : clicks) PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}
