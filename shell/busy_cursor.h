// The wait cursor of long commands: the hourglass made current and the show count raised, both
// put back by EndBusyCursor on every way out.
#ifndef SCAN_FS_SHELL_BUSY_CURSOR_H
#define SCAN_FS_SHELL_BUSY_CURSOR_H

#include "shell/platform_ui.h"

struct BusyCursor {
  CursorHandle previous;
};

BusyCursor BeginBusyCursor();
void EndBusyCursor(BusyCursor busy);

#endif
