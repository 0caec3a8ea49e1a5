// The main window on Win32: the class SCAN_FS, the centred 430 x 320 window whose creation runs
// the program's start-up, and the message loop. WinMain is these three steps.
#ifndef SCAN_FS_PLATFORM_WIN32_MAIN_WINDOW_WIN32_H
#define SCAN_FS_PLATFORM_WIN32_MAIN_WINDOW_WIN32_H

#include <windows.h>

// Registers SCAN_FS with the program's procedure, icon, arrow cursor, white brush and menu.
bool RegisterMainWindowClass(HINSTANCE instance);
// Creates the main window centred on the screen; its creation has run when this returns.
HWND CreateMainWindow(HINSTANCE instance);
// Gets and dispatches messages until the quit message; returns its exit code.
int RunMessageLoop();

#endif
