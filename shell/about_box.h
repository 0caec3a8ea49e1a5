#ifndef SCAN_FS_SHELL_ABOUT_BOX_H
#define SCAN_FS_SHELL_ABOUT_BOX_H

#include "shell/platform_ui.h"

inline constexpr char kAboutDialogName[] = "AboutBox";

// The About box: OK, and Cancel (Escape, the close box), end it with result 0.
intptr_t AboutBoxProc(WindowHandle dialog, unsigned message, uintptr_t wParam, intptr_t lParam);

#endif
