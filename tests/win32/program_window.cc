#include "tests/win32/program_window.h"

#include <algorithm>
#include <cstring>

#include "platform/win32/display_surface_win32.h"
#include "platform/win32/main_window_win32.h"
#include "platform/win32/window_handles_win32.h"
#include "shell/main_window.h"
#include "shell/program_state.h"

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

bool IsMainWindow(HWND window) {
  char name[64];
  GetClassNameA(window, name, sizeof name);
  return std::strcmp(name, kWindowClassName) == 0;
}

std::string IconOf(HWND box) {
  const auto icon =
      reinterpret_cast<HICON>(SendDlgItemMessageA(box, kBoxIconId, STM_GETICON, 0, 0));
  if (icon == nullptr) return "no icon";
  if (icon == LoadIconA(nullptr, IDI_HAND)) return "stop";
  return icon == LoadIconA(nullptr, IDI_INFORMATION) ? "information" : "other icon";
}

// A box without an owner is task-modal when it has disabled the thread's main window.
std::string OwnerOf(HWND box) {
  const HWND owner = GetWindow(box, GW_OWNER);
  if (owner != nullptr)
    return IsMainWindow(owner) ? "main window" : std::string("dialog ").append(WindowText(owner));
  const HWND main = FindWindowA(kWindowClassName, nullptr);  // the test's, the only one
  return main != nullptr && !IsWindowEnabled(main) ? "no owner task-modal" : "no owner";
}

}  // namespace

RECT Pixels::Ink() const {
  RECT ink{width, height, 0, 0};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if ((data[y * width + x] & 0xFFFFFF) == 0xFFFFFF) continue;
      ink = RECT{std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y),
                 std::max<LONG>(ink.right, x + 1), std::max<LONG>(ink.bottom, y + 1)};
    }
  }
  return IsRectEmpty(&ink) ? RECT{} : ink;
}

Pixels CopyPixels(HDC context, int x, int y, int width, int height) {
  Pixels pixels{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height)};
  BITMAPINFO info{};
  info.bmiHeader = {
      sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};  // top row first
  void* bits = nullptr;
  const HBITMAP section = CreateDIBSection(context, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HDC copy = CreateCompatibleDC(context);
  const HGDIOBJ original = SelectObject(copy, section);
  BitBlt(copy, 0, 0, width, height, context, x, y, SRCCOPY);
  GdiFlush();
  std::memcpy(pixels.data.data(), bits, pixels.data.size() * sizeof(uint32_t));
  SelectObject(copy, original);
  DeleteDC(copy);
  DeleteObject(section);
  return pixels;
}

Pixels SurfacePixels() {
  return CopyPixels(DisplaySurfaceContext(), 0, 0, kSurfaceWidth, kSurfaceHeight);
}

Pixels ClientPixels(HWND window) {
  RECT area;
  GetClientRect(window, &area);
  const HDC client = GetDC(window);
  Pixels pixels = CopyPixels(client, 0, 0, area.right, area.bottom);
  ReleaseDC(window, client);
  return pixels;
}

std::string PathBesideThisProgram(const char* name) {
  char path[MAX_PATH];
  const std::string self(path, GetModuleFileNameA(nullptr, path, sizeof path));
  return self.substr(0, self.find_last_of('\\') + 1) + name;
}

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
  if (box) {
    const char* buttons = GetDlgItem(modal, IDCANCEL) != nullptr ? "OK Cancel" : "OK";
    const char* cursor = GetCursor() == LoadCursorA(nullptr, IDC_WAIT) ? ", hourglass" : "";
    boxes.push_back(WindowText(modal) + " | " + IconOf(modal) + " | " + buttons + " | " +
                    OwnerOf(modal) + cursor + " | " + WindowText(GetDlgItem(modal, kBoxTextId)));
    PostMessageA(modal, WM_COMMAND, click.front(), 0);
    return;
  }
  std::string seen = WindowText(modal) + ":";
  for (HWND control = GetWindow(modal, GW_CHILD); control != nullptr;
       control = GetWindow(control, GW_HWNDNEXT)) {
    const bool radio = (GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
    if (radio && IsDlgButtonChecked(modal, GetDlgCtrlID(control)) == BST_CHECKED) {
      seen.append(" ").append(std::to_string(GetDlgCtrlID(control)));
    }
  }
  dialogs.push_back(seen);
  // Posted, so that the dialog's own loop runs them as it would a user's clicks.
  for (int id : click) PostMessageA(GetDlgItem(modal, id), BM_CLICK, 0, 0);
}
