// The opaque handles of the platform seam are the Win32 handles themselves.
#ifndef SCAN_FS_PLATFORM_WIN32_WINDOW_HANDLES_WIN32_H
#define SCAN_FS_PLATFORM_WIN32_WINDOW_HANDLES_WIN32_H

#include <windows.h>

#include "shell/platform_ui.h"

inline HWND ToHwnd(WindowHandle window) {
  return reinterpret_cast<HWND>(window);
}
inline WindowHandle ToWindowHandle(HWND window) {
  return reinterpret_cast<WindowHandle>(window);
}
inline HCURSOR ToHcursor(CursorHandle cursor) {
  return reinterpret_cast<HCURSOR>(cursor);
}
inline CursorHandle ToCursorHandle(HCURSOR cursor) {
  return reinterpret_cast<CursorHandle>(cursor);
}

// The program's module: its resources hold the menu, dialogs, strings and icon.
inline HINSTANCE ProgramInstance() {
  return GetModuleHandleA(nullptr);
}

#endif
