// The main window's menu as the terminal shows it: the pop-ups of the menu resource, and how the
// selection moves over their items, skipping separators and grayed items.
#ifndef SCAN_FS_PLATFORM_CURSES_MENU_MODEL_H
#define SCAN_FS_PLATFORM_CURSES_MENU_MODEL_H

#include <functional>
#include <span>
#include <vector>

#include "platform/curses/access_key.h"
#include "resources/menu.h"

struct MenuItem {
  bool separator = false;
  unsigned commandId = 0;
  LabeledText text;
};

struct MenuPopup {
  LabeledText title;
  std::vector<MenuItem> items;
};

using CommandEnabled = std::function<bool(unsigned commandId)>;

std::vector<MenuPopup> BuildMenu(std::span<const MenuEntry> entries);

// Whether the item can be selected: not a separator and not grayed.
bool Selectable(const MenuPopup& popup, int item, const CommandEnabled& enabled);
// The next selectable item after `from` in direction `step` (+1 or -1), wrapping around; -1
// when the pop-up has none. `from` -1 starts before the first item (or after the last).
int StepSelection(const MenuPopup& popup, int from, int step, const CommandEnabled& enabled);
int FirstSelectable(const MenuPopup& popup, const CommandEnabled& enabled);
int LastSelectable(const MenuPopup& popup, const CommandEnabled& enabled);
// The item whose access key is `key`, grayed or not; -1 when none has it.
int ItemWithAccessKey(const MenuPopup& popup, int key);
// The pop-up whose title has the access key `key`; -1 when none has it.
int PopupWithAccessKey(const std::vector<MenuPopup>& menu, int key);

#endif
