// PlatformMessageBox of the platform seam: MessageBoxA with the flags the program chose.
#include "platform/win32/window_handles_win32.h"

int PlatformMessageBox(WindowHandle owner, const char* text, const char* caption, unsigned type) {
  // A box that could not be shown answers Cancel: no confirmation is taken for granted.
  return MessageBoxA(ToHwnd(owner), text, caption, type) == IDOK ? kIdOk : kIdCancel;
}
