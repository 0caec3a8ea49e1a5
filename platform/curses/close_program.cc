#include "platform/curses/close_program.h"

#include <cstdlib>

#include "platform/curses/terminal.h"
#include "platform/linux/linux_ui.h"
#include "platform/linux/program_exit.h"

void CloseProgramNow() {
  CloseMainWindow();
  CloseTerminal();
  std::exit(CheckedExitStatus(QuitExitCode()));
}
