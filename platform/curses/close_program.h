// Ctrl+C while a box or dialog is up. The program is then deep inside a command, with no way
// back to the main loop that would not answer the box or run more of the command, so it ends at
// once: through the main window's destruction as with the close box, with the terminal given
// back, and with the exit status of a normal close.
#ifndef SCAN_FS_PLATFORM_CURSES_CLOSE_PROGRAM_H
#define SCAN_FS_PLATFORM_CURSES_CLOSE_PROGRAM_H

[[noreturn]] void CloseProgramNow();

#endif
