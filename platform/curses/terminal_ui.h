// The terminal user interface: the program's window, menus, boxes and dialogs in a terminal.
#ifndef SCAN_FS_PLATFORM_CURSES_TERMINAL_UI_H
#define SCAN_FS_PLATFORM_CURSES_TERMINAL_UI_H

// Takes over the terminal, creates the main window and serves the user until Exit or close;
// returns the exit status (1, with one line on standard error, when there is no usable
// terminal).
int RunTerminalUi();

#endif
