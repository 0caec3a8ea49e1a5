// The wait cursor of the platform seam: the stock hourglass, SetCursor and ShowCursor.
#include "platform/win32/window_handles_win32.h"

CursorHandle LoadWaitCursor() {
  return ToCursorHandle(LoadCursorA(nullptr, IDC_WAIT));
}

CursorHandle SetCurrentCursor(CursorHandle cursor) {
  return ToCursorHandle(SetCursor(ToHcursor(cursor)));
}

int ShowCursorCount(bool show) {
  return ShowCursor(show ? TRUE : FALSE);
}
