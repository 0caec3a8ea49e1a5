#include "platform/curses/menu_model.h"

std::vector<MenuPopup> BuildMenu(std::span<const MenuEntry> entries) {
  std::vector<MenuPopup> menu;
  for (const MenuEntry& entry : entries) {
    switch (entry.kind) {
      case MenuEntryKind::kPopup:
        menu.push_back(MenuPopup{ParseAccessKey(entry.text), {}});
        break;
      case MenuEntryKind::kItem:
        if (!menu.empty()) {
          menu.back().items.push_back(MenuItem{false, entry.commandId, ParseAccessKey(entry.text)});
        }
        break;
      case MenuEntryKind::kSeparator:
        if (!menu.empty()) menu.back().items.push_back(MenuItem{true, 0, {}});
        break;
      case MenuEntryKind::kPopupEnd:
        break;
    }
  }
  return menu;
}

bool Selectable(const MenuPopup& popup, int item, const CommandEnabled& enabled) {
  if (item < 0 || item >= static_cast<int>(popup.items.size())) return false;
  const MenuItem& entry = popup.items[item];
  return !entry.separator && enabled(entry.commandId);
}

int StepSelection(const MenuPopup& popup, int from, int step, const CommandEnabled& enabled) {
  const int count = static_cast<int>(popup.items.size());
  if (count == 0) return -1;
  int item = from < 0 ? (step > 0 ? -1 : count) : from;
  for (int tried = 0; tried < count; ++tried) {
    item = ((item + step) % count + count) % count;
    if (Selectable(popup, item, enabled)) return item;
  }
  return -1;
}

int FirstSelectable(const MenuPopup& popup, const CommandEnabled& enabled) {
  return StepSelection(popup, -1, +1, enabled);
}

int LastSelectable(const MenuPopup& popup, const CommandEnabled& enabled) {
  return StepSelection(popup, -1, -1, enabled);
}

int ItemWithAccessKey(const MenuPopup& popup, int key) {
  for (size_t i = 0; i < popup.items.size(); ++i) {
    if (!popup.items[i].separator && popup.items[i].text.HasAccessKey(key)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

int PopupWithAccessKey(const std::vector<MenuPopup>& menu, int key) {
  for (size_t i = 0; i < menu.size(); ++i) {
    if (menu[i].title.HasAccessKey(key)) return static_cast<int>(i);
  }
  return -1;
}
