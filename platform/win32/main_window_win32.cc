#include "platform/win32/main_window_win32.h"

#include "platform/win32/window_handles_win32.h"
#include "shell/main_window.h"

namespace {

constexpr DWORD kMainWindowStyle = WS_SYSMENU | WS_MINIMIZEBOX;  // A0000h: no sizing, no maximize
constexpr char kIconName[] = "IDI_QUORVELICON";

// The Win32 calling convention around the portable window procedure.
LRESULT CALLBACK MainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return MainWndProc(ToWindowHandle(window), message, wParam, lParam);
}

}  // namespace

bool RegisterMainWindowClass(HINSTANCE instance) {
  WNDCLASSA windowClass{};
  windowClass.style = 0;
  windowClass.lpfnWndProc = MainWindowProcedure;
  windowClass.cbClsExtra = 0;
  windowClass.cbWndExtra = 0;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, kIconName);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszMenuName = kMenuName;
  windowClass.lpszClassName = kWindowClassName;
  return RegisterClassA(&windowClass) != 0;
}

HWND CreateMainWindow(HINSTANCE instance) {
  const WindowOrigin origin =
      CenteredWindowOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  // No menu handle: the class menu is used.
  return CreateWindowExA(0, kWindowClassName, kMainWindowTitle, kMainWindowStyle, origin.left,
                         origin.top, kSurfaceWidth, kSurfaceHeight, nullptr, nullptr, instance,
                         nullptr);
}

int RunMessageLoop() {
  MSG message{};
  BOOL got;
  while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return got == 0 ? static_cast<int>(message.wParam) : 0;
}

// The rest of the window's side of the platform seam.

void EnableMenuCommand(WindowHandle window, unsigned commandId, bool enabled) {
  EnableMenuItem(GetMenu(ToHwnd(window)), commandId,
                 MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED | MF_DISABLED));
}

void PostQuit(int exitCode) {
  PostQuitMessage(exitCode);
}

intptr_t DefaultWindowProc(WindowHandle window, unsigned message, uintptr_t wParam,
                           intptr_t lParam) {
  return DefWindowProcA(ToHwnd(window), message, wParam, lParam);
}
