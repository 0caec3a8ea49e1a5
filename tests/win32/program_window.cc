#include "tests/win32/program_window.h"

#include <algorithm>
#include <cstring>

#include "platform/win32/main_window_win32.h"
#include "platform/win32/window_handles_win32.h"
#include "shell/main_window.h"
#include "shell/program_state.h"
#include "tests/win32/pixels.h"

namespace {

// Wine's message box keeps its text in the static control 0xFFFF and its icon in control 0x440.
constexpr int kBoxTextId = 0xFFFF;
constexpr int kBoxIconId = 0x440;

ProgramWindowTest* running = nullptr;  // the test whose hook is in place

std::string WindowText(HWND window) {
  char text[512];
  GetWindowTextA(window, text, sizeof text);
  return text;
}

bool IsMainWindow(HWND window) {  // also while it is being created, before window_ is known
  char name[64];
  return GetClassNameA(window, name, sizeof name) > 0 && std::strcmp(name, kWindowClassName) == 0;
}

}  // namespace

void ProgramWindowTest::SetUp() {
  static const bool registered = RegisterMainWindowClass(ProgramInstance());
  ASSERT_TRUE(registered);
  GetCurrentDirectoryA(sizeof startDirectory_, startDirectory_);
  const char* name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  CreateDirectoryA(name, nullptr);
  SetCurrentDirectoryA(name);
  running = this;
  hook_ = SetWindowsHookExA(WH_CALLWNDPROCRET, Hook, nullptr, GetCurrentThreadId());
}

void ProgramWindowTest::TearDown() {
  UnhookWindowsHookEx(hook_);
  running = nullptr;
  DestroyProgramWindow();
  SetCurrentDirectoryA(startDirectory_);
}

void ProgramWindowTest::DestroyProgramWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
  window_ = nullptr;
  // The destruction posted the quit message; a later modal loop would end on it.
  MSG quit;
  while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

void ProgramWindowTest::Start(const char* config) {
  DestroyProgramWindow();
  boxes.clear();
  dialogs.clear();
  SetEnvironmentVariableA("SCAN_FS_SIMULATE", config);
  ResetProgramState();
  window_ = CreateMainWindow(ProgramInstance());
  ASSERT_NE(window_, nullptr);
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
}

void ProgramWindowTest::Command(unsigned commandId) {
  SendMessageA(window_, WM_COMMAND, commandId, 0);
  HandleWaitingMessages();  // what the command left waiting, as the program's own loop would
  UpdateWindow(window_);
}

bool ProgramWindowTest::MenuEnabled(unsigned commandId) const {
  return (GetMenuState(GetMenu(window_), commandId, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) == 0;
}

// Seen once the box or dialog has handled WM_INITDIALOG, when its texts and checks are in place.
LRESULT CALLBACK ProgramWindowTest::Hook(int code, WPARAM wParam, LPARAM lParam) {
  const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  if (code == HC_ACTION && running != nullptr && message->message == WM_INITDIALOG) {
    running->Opened(message->hwnd);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void ProgramWindowTest::Opened(HWND modal) {
  const bool box = GetDlgItem(modal, kBoxTextId) != nullptr;
  std::vector<int> click{box ? IDOK : IDCANCEL};
  if (!clicks.empty()) {
    click = clicks.front();
    clicks.pop_front();
  }
  const std::string caption = WindowText(modal);
  std::string seen = caption;
  if (box) {
    // A box without an owner is task-modal when it has disabled the main window.
    const HWND owner = GetWindow(modal, GW_OWNER);
    const auto icon =
        reinterpret_cast<HICON>(SendDlgItemMessageA(modal, kBoxIconId, STM_GETICON, 0, 0));
    seen.append(icon == nullptr                               ? " | no icon"
                : icon == LoadIconA(nullptr, IDI_HAND)        ? " | stop"
                : icon == LoadIconA(nullptr, IDI_INFORMATION) ? " | information"
                                                              : " | other icon");
    seen.append(GetDlgItem(modal, IDCANCEL) != nullptr ? " | OK Cancel | " : " | OK | ");
    seen.append(owner == nullptr ? (IsWindowEnabled(window_) ? "no owner" : "no owner task-modal")
                : IsMainWindow(owner) ? "main window"
                                      : std::string("dialog ").append(WindowText(owner)));
    if (GetCursor() == LoadCursorA(nullptr, IDC_WAIT)) seen.append(", hourglass");
    boxes.push_back(seen.append(" | ").append(WindowText(GetDlgItem(modal, kBoxTextId))));
  } else {
    seen.append(":");
    for (HWND control = GetWindow(modal, GW_CHILD); control != nullptr;
         control = GetWindow(control, GW_HWNDNEXT)) {
      const bool radio = (GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
      if (radio && IsDlgButtonChecked(modal, GetDlgCtrlID(control)) == BST_CHECKED) {
        seen.append(" ").append(std::to_string(GetDlgCtrlID(control)));
      }
    }
    dialogs.push_back(seen);
  }
  // Posted, so that the modal loop handles them as it would a user's choice and clicks.
  if (!commandsWhileUp.empty()) {
    PostMessageA(window_, WM_COMMAND, commandsWhileUp.front(), 0);
    commandsWhileUp.pop_front();
  }
  const auto shot =
      std::find_if(screenshots.begin(), screenshots.end(),
                   [&caption](const auto& wanted) { return wanted.first == caption; });
  if (shot == screenshots.end()) {
    Answer(modal, click);
    return;
  }
  // Taken once the modal loop has painted the window and its controls.
  pending_ = PendingAnswer{modal, click, shot->second};
  screenshots.erase(shot);
  SetTimer(nullptr, 0, 200, AnswerAfterScreenshot);
}

void CALLBACK ProgramWindowTest::AnswerAfterScreenshot(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  if (running == nullptr) return;
  const PendingAnswer pending = std::move(running->pending_);
  Screenshot(running->window_, pending.modal, pending.screenshot);
  running->Answer(pending.modal, pending.click);
}

void ProgramWindowTest::Answer(HWND modal, const std::vector<int>& click) {
  if (GetDlgItem(modal, kBoxTextId) != nullptr) {
    PostMessageA(modal, WM_COMMAND, click.front(), 0);
    return;
  }
  for (int id : click) PostMessageA(GetDlgItem(modal, id), BM_CLICK, 0, 0);
}

void ProgramWindowTest::HandleWaitingMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

void ProgramWindowTest::Screenshot(HWND window, HWND over, const std::string& name) {
  HandleWaitingMessages();  // the windows reach the screen as their messages are handled
  RECT area, modal;
  GetWindowRect(window, &area);
  if (over != nullptr && GetWindowRect(over, &modal)) UnionRect(&area, &area, &modal);
  const std::string folder = PathBesideThisProgram("screenshots");
  CreateDirectoryA(folder.c_str(), nullptr);
  EXPECT_TRUE(WriteScreenshot(area, folder + "\\" + name + ".bmp")) << name;
}

std::string PathBesideThisProgram(const char* name) {
  char path[MAX_PATH];
  const std::string self(path, GetModuleFileNameA(nullptr, path, sizeof path));
  return self.substr(0, self.find_last_of('\\') + 1) + name;
}
