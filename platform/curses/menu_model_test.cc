#include "platform/curses/menu_model.h"

#include <gtest/gtest.h>

namespace {

// The Function menu of a Tessaline T1, whose scanner data dump and second self-diagnostic are
// grayed: the arrows skip them and the separators, and wrap around at either end.
TEST(MenuModelTest, ArrowsSkipSeparatorsAndGrayedItemsAndWrap) {
  const MenuPopup function = BuildMenu(kMenuEntries)[0];
  const auto at = [&](unsigned commandId) {
    for (int i = 0; i < static_cast<int>(function.items.size()); ++i) {
      if (!function.items[i].separator && function.items[i].commandId == commandId) return i;
    }
    return -1;
  };
  const auto enabledOnT1 = [](unsigned commandId) {
    return commandId != IDM_SAVE_SCANNER_DATA && commandId != IDM_SELF_DIAGNOSTICS_2;
  };
  const struct {
    unsigned from;
    int step;
    unsigned to;
  } steps[] = {{IDM_SCANNER_INFORMATION, +1, IDM_SELF_DIAGNOSTICS_1},
               {IDM_SELF_DIAGNOSTICS_1, +1, IDM_SCAN_NEGATIVE_FILM},
               {IDM_SCAN_NEGATIVE_FILM, -1, IDM_SELF_DIAGNOSTICS_1},
               {IDM_SELF_DIAGNOSTICS_1, -1, IDM_SCANNER_INFORMATION},
               {IDM_EXIT, +1, IDM_BOARD_INFORMATION},
               {IDM_BOARD_INFORMATION, -1, IDM_EXIT}};
  for (const auto& s : steps) {
    EXPECT_EQ(StepSelection(function, at(s.from), s.step, enabledOnT1), at(s.to)) << s.from;
  }
  EXPECT_EQ(FirstSelectable(function, enabledOnT1), at(IDM_BOARD_INFORMATION));
  EXPECT_EQ(LastSelectable(function, enabledOnT1), at(IDM_EXIT));
  EXPECT_EQ(FirstSelectable(function, [](unsigned) { return false; }), -1);
}

}  // namespace
