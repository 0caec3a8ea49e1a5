#include "platform/curses/close_program.h"

#include <cstdlib>

#include "platform/curses/terminal.h"
#include "platform/linux/linux_ui.h"

void CloseProgramNow() {
  CloseMainWindow();
  CloseTerminal();
  std::exit(QuitExitCode());
}
