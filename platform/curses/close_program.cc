#include "platform/curses/close_program.h"

#include <cstdlib>

#include "platform/curses/terminal.h"
#include "platform/linux/interruption.h"
#include "platform/linux/linux_ui.h"
#include "platform/linux/program_exit.h"

void CloseProgramNow() {
  CloseMainWindow();
  CloseTerminal();
  const int status = CheckedExitStatus(QuitExitCode());
  // Asked to stop by a signal from another process: end as that signal does.
  if (!StopCameFromTerminal()) EndAsSignalled();
  std::exit(status);
}
