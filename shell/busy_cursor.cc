#include "shell/busy_cursor.h"

BusyCursor BeginBusyCursor() {
  BusyCursor busy{SetCurrentCursor(LoadWaitCursor())};
  ShowCursorCount(true);
  return busy;
}

void EndBusyCursor(BusyCursor busy) {
  ShowCursorCount(false);
  SetCurrentCursor(busy.previous);
}
