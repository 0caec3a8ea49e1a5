#include "platform/curses/close_program.h"

#include <cstdio>
#include <cstdlib>

#include "platform/curses/terminal.h"
#include "platform/linux/linux_ui.h"

void CloseProgramNow() {
  CloseMainWindow();
  CloseTerminal();
  std::fflush(nullptr);
  std::exit(QuitExitCode());
}
