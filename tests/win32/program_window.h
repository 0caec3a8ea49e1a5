// The program's real main window in the test process, started on the simulated WNASPI32.dll
// configured with a text (as --simulate takes it), in a fresh folder named after the test. Every
// message box and dialog opening on the thread is described and worked as the test asked.
#ifndef SCAN_FS_TESTS_WIN32_PROGRAM_WINDOW_H
#define SCAN_FS_TESTS_WIN32_PROGRAM_WINDOW_H

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/main_window_win32.h"
#include "platform/win32/window_handles_win32.h"
#include "shell/main_window.h"
#include "shell/program_state.h"

using Texts = std::vector<std::string>;

inline constexpr char kScannerNotFoundBox[] =
    "Warning | stop | OK | main window | Scanner is not found.\nCheck if the cable is properly "
    "connected\nand the power is on.";

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

// A file or folder beside the test program, which is in the build folder.
inline std::string PathBesideThisProgram(const char* name) {
  char path[MAX_PATH];
  const std::string self(path, GetModuleFileNameA(nullptr, path, sizeof path));
  return self.substr(0, self.find_last_of('\\') + 1) + name;
}

class ProgramWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static const bool registered = RegisterMainWindowClass(ProgramInstance());
    ASSERT_TRUE(registered);
    GetCurrentDirectoryA(sizeof startDirectory_, startDirectory_);
    const char* name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    CreateDirectoryA(name, nullptr);
    SetCurrentDirectoryA(name);
    running = this;
    hook_ = SetWindowsHookExA(WH_CALLWNDPROCRET, Hook, nullptr, GetCurrentThreadId());
  }
  void TearDown() override {
    UnhookWindowsHookEx(hook_);
    running = nullptr;
    DestroyProgramWindow();
    SetCurrentDirectoryA(startDirectory_);
  }

  // Creates and shows the main window (its creation runs the start-up), the former one destroyed
  // and what was seen forgotten.
  void Start(const char* config) {
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
  void Command(unsigned commandId) {  // as the menu sends it
    SendMessageA(window_, WM_COMMAND, commandId, 0);
    HandleWaitingMessages();  // what the command left waiting, as the program's own loop would
    UpdateWindow(window_);
  }
  bool MenuEnabled(unsigned commandId) const {
    return (GetMenuState(GetMenu(window_), commandId, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) ==
           0;
  }
  HWND window() const { return window_; }

  // Writes the screen's pixels under the main window and `over` (when not null), frame and menu
  // included, as screenshots/NAME.bmp beside the test program (32 bits, top row first).
  static void Screenshot(HWND window, HWND over, const std::string& name) {
    HandleWaitingMessages();  // the windows reach the screen as their messages are handled
    RECT area, modal;
    GetWindowRect(window, &area);
    if (over != nullptr && GetWindowRect(over, &modal)) UnionRect(&area, &area, &modal);
    const std::string folder = PathBesideThisProgram("screenshots");
    CreateDirectoryA(folder.c_str(), nullptr);
    const HDC screen = GetDC(nullptr);
    const Pixels pixels(screen, area.left, area.top, area.right - area.left,
                        area.bottom - area.top);
    ReleaseDC(nullptr, screen);
    const DWORD imageBytes = pixels.data.size() * sizeof(uint32_t);
    const BITMAPINFOHEADER info{
        sizeof info, pixels.width, -pixels.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const BITMAPFILEHEADER file{0x4D42, DWORD{sizeof file + sizeof info} + imageBytes, 0, 0,
                                sizeof file + sizeof info};  // "BM"
    std::FILE* out = std::fopen((folder + "\\" + name + ".bmp").c_str(), "wb");
    ASSERT_NE(out, nullptr) << name;
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::fwrite(pixels.data.data(), imageBytes, 1, out);
    const bool written = std::ferror(out) == 0;
    EXPECT_TRUE(std::fclose(out) == 0 && written) << name;
  }
  // Handles the messages that wait, as the program's message loop would.
  static void HandleWaitingMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }

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
  // Wine's message box keeps its text in the static control 0xFFFF and its icon in control 0x440.
  static constexpr int kBoxTextId = 0xFFFF;
  static constexpr int kBoxIconId = 0x440;

  static std::string WindowText(HWND window) {
    char text[512];
    GetWindowTextA(window, text, sizeof text);
    return text;
  }

  // Seen once the box or dialog has handled WM_INITDIALOG, when its texts and checks are in place.
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && running != nullptr && message->message == WM_INITDIALOG) {
      running->Opened(message->hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  void Opened(HWND modal) {
    const bool box = GetDlgItem(modal, kBoxTextId) != nullptr;
    std::vector<int> click{box ? IDOK : IDCANCEL};
    if (!clicks.empty()) {
      click = clicks.front();
      clicks.pop_front();
    }
    const std::string caption = WindowText(modal);
    std::string seen = caption;
    if (box) {
      // A box without an owner is task-modal when it has disabled the main window. The owner is
      // told by its class: the main window is also seen while it is being created.
      const HWND owner = GetWindow(modal, GW_OWNER);
      char ownerClass[64] = {};
      GetClassNameA(owner, ownerClass, sizeof ownerClass);
      const auto icon =
          reinterpret_cast<HICON>(SendDlgItemMessageA(modal, kBoxIconId, STM_GETICON, 0, 0));
      seen.append(icon == nullptr                               ? " | no icon"
                  : icon == LoadIconA(nullptr, IDI_HAND)        ? " | stop"
                  : icon == LoadIconA(nullptr, IDI_INFORMATION) ? " | information"
                                                                : " | other icon");
      seen.append(GetDlgItem(modal, IDCANCEL) != nullptr ? " | OK Cancel | " : " | OK | ");
      seen.append(owner == nullptr ? (IsWindowEnabled(window_) ? "no owner" : "no owner task-modal")
                  : std::strcmp(ownerClass, kWindowClassName) == 0
                      ? "main window"
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
    if (shot == screenshots.end()) return Answer(modal, click);
    // Taken once the modal loop has painted the window and its controls.
    pending_ = PendingAnswer{modal, click, shot->second};
    screenshots.erase(shot);
    SetTimer(nullptr, 0, 200, AnswerAfterScreenshot);
  }

  static void CALLBACK AnswerAfterScreenshot(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (running == nullptr) return;
    const PendingAnswer pending = std::move(running->pending_);
    Screenshot(running->window_, pending.modal, pending.screenshot);
    running->Answer(pending.modal, pending.click);
  }

  static void Answer(HWND modal, const std::vector<int>& click) {
    if (GetDlgItem(modal, kBoxTextId) != nullptr) {
      PostMessageA(modal, WM_COMMAND, click.front(), 0);
      return;
    }
    for (int id : click) PostMessageA(GetDlgItem(modal, id), BM_CLICK, 0, 0);
  }

  void DestroyProgramWindow() {
    if (window_ != nullptr) DestroyWindow(window_);
    window_ = nullptr;
    // The destruction posted the quit message; a later modal loop would end on it.
    MSG quit;
    while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }

  static inline ProgramWindowTest* running = nullptr;  // the test whose hook is in place
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
