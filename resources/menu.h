// The menu SCAN_TEST_MENU as data, built from menu.def (which also feeds the resource script).
#ifndef SCAN_FS_RESOURCES_MENU_H
#define SCAN_FS_RESOURCES_MENU_H

#include "resources/ids.h"

enum class MenuEntryKind { kPopup, kItem, kSeparator, kPopupEnd };

struct MenuEntry {
  MenuEntryKind kind;
  unsigned commandId;  // 0 unless kind is kItem
  const char* text;    // nullptr for a separator or a popup end
};

inline constexpr MenuEntry kMenuEntries[] = {
#define MENU_POPUP(text) {MenuEntryKind::kPopup, 0, text},
#define MENU_ITEM(id, text) {MenuEntryKind::kItem, id, text},
#define MENU_SEPARATOR() {MenuEntryKind::kSeparator, 0, nullptr},
#define MENU_POPUP_END() {MenuEntryKind::kPopupEnd, 0, nullptr},
#include "resources/menu.def"
#undef MENU_POPUP
#undef MENU_ITEM
#undef MENU_SEPARATOR
#undef MENU_POPUP_END
};

#endif
