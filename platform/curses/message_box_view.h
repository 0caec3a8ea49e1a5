// A message box in the terminal: modal, centred over the page, with its caption, a mark for its
// icon, its text and its buttons.
#ifndef SCAN_FS_PLATFORM_CURSES_MESSAGE_BOX_VIEW_H
#define SCAN_FS_PLATFORM_CURSES_MESSAGE_BOX_VIEW_H

#include "platform/curses/screen.h"
#include "platform/linux/front_end.h"

// Shows the box until the user answers; returns kIdOk or kIdCancel.
int RunMessageBox(Screen& screen, const MessageBoxRequest& box);

#endif
