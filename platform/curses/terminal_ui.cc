#include "platform/curses/terminal_ui.h"

#include <cstdio>

int RunTerminalUi() {
  std::fprintf(stderr, "scan_fs: the terminal user interface is not built yet; use --batch\n");
  return 2;
}
