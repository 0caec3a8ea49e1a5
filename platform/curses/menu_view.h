// The menu bar at work: pop-ups opened from the keyboard until the user chooses a command,
// leaves the menu, or closes the program.
#ifndef SCAN_FS_PLATFORM_CURSES_MENU_VIEW_H
#define SCAN_FS_PLATFORM_CURSES_MENU_VIEW_H

#include "platform/curses/screen.h"

struct MenuChoice {
  enum class Kind { kNothing, kCommand, kClose };
  Kind kind = Kind::kNothing;
  unsigned commandId = 0;
};

// Runs the menu: with the pop-up `openPopup` dropped down, or with only the menu bar selected
// when it is -1 (F10). Grayed commands (MenuCommandEnabled) cannot be chosen. The menu is gone
// from the screen when this returns.
MenuChoice RunMenu(Screen& screen, int openPopup);

#endif
