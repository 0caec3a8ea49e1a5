// The main window's procedure: window creation (captions, surface, ASPI check, start-up search,
// menu gating, welcome page), paint, destruction and the dispatch of every menu command.
#ifndef SCAN_FS_SHELL_MAIN_WINDOW_H
#define SCAN_FS_SHELL_MAIN_WINDOW_H

#include <cstdint>

#include "shell/platform_ui.h"

inline constexpr char kWindowClassName[] = "SCAN_FS";
inline constexpr char kMainWindowTitle[] = "Quorvel Scanner Test";
inline constexpr char kMenuName[] = "SCAN_TEST_MENU";

intptr_t MainWndProc(WindowHandle window, unsigned message, uintptr_t wParam, intptr_t lParam);

// Where the 430 x 320 window sits to be centred on a screen of the given size; negative on a
// smaller screen.
struct WindowOrigin {
  int left;
  int top;
};
WindowOrigin CenteredWindowOrigin(int screenWidth, int screenHeight);

#endif
