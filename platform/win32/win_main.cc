// The Windows program's entry point.
#include <windows.h>

#include "platform/win32/main_window_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showState) {
  if (!RegisterMainWindowClass(instance)) return 0;
  const HWND window = CreateMainWindow(instance);
  if (window == nullptr) return 0;  // without a window no message would ever end the program
  ShowWindow(window, showState);
  UpdateWindow(window);
  return RunMessageLoop();
}
