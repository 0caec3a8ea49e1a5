// The terminal user interface: the program's window, menus, boxes and dialogs in a terminal.
#ifndef SCAN_FS_PLATFORM_CURSES_TERMINAL_UI_H
#define SCAN_FS_PLATFORM_CURSES_TERMINAL_UI_H

// Creates the main window and serves the user until Exit or close; returns the exit status.
int RunTerminalUi();

#endif
