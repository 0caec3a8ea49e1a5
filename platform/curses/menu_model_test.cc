#include "platform/curses/menu_model.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::vector<MenuPopup> kMenu = BuildMenu(kMenuEntries);
const MenuPopup& kFunction = kMenu[0];

// The gating of a Tessaline T1: no scanner data dump, no second self-diagnostic.
bool EnabledOnT1(unsigned commandId) {
  return commandId != IDM_SAVE_SCANNER_DATA && commandId != IDM_SELF_DIAGNOSTICS_2;
}
bool AllEnabled(unsigned) {
  return true;
}

int IndexOf(unsigned commandId) {
  for (size_t i = 0; i < kFunction.items.size(); ++i) {
    if (!kFunction.items[i].separator && kFunction.items[i].commandId == commandId) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

TEST(MenuModelTest, AccessKeyMarksAreParsed) {
  EXPECT_EQ(ParseAccessKey("E&xit").label, "Exit");
  EXPECT_TRUE(ParseAccessKey("E&xit").HasAccessKey('X'));
  EXPECT_FALSE(ParseAccessKey("E&xit").HasAccessKey('e'));
  const LabeledText ampersand = ParseAccessKey("Save && &Quit");
  EXPECT_EQ(ampersand.label, "Save & Quit");
  EXPECT_EQ(ampersand.accessIndex, 7);
  EXPECT_EQ(ParseAccessKey("Plain").accessIndex, -1);
  EXPECT_FALSE(ParseAccessKey("Plain").HasAccessKey(0));
  EXPECT_EQ(ParseAccessKey("Bad \x1b&\x1b").label, "Bad ??");
}

TEST(MenuModelTest, ArrowsSkipSeparatorsAndGrayedItemsAndWrap) {
  const int board = IndexOf(IDM_BOARD_INFORMATION);
  const int info = IndexOf(IDM_SCANNER_INFORMATION);
  const int diag1 = IndexOf(IDM_SELF_DIAGNOSTICS_1);
  const int scan = IndexOf(IDM_SCAN_NEGATIVE_FILM);
  const int exit = IndexOf(IDM_EXIT);
  EXPECT_EQ(StepSelection(kFunction, info, +1, EnabledOnT1), diag1);
  EXPECT_EQ(StepSelection(kFunction, diag1, +1, EnabledOnT1), scan);
  EXPECT_EQ(StepSelection(kFunction, scan, -1, EnabledOnT1), diag1);
  EXPECT_EQ(StepSelection(kFunction, diag1, -1, EnabledOnT1), info);
  EXPECT_EQ(StepSelection(kFunction, exit, +1, EnabledOnT1), board);
  EXPECT_EQ(StepSelection(kFunction, board, -1, EnabledOnT1), exit);
  EXPECT_EQ(StepSelection(kFunction, info, +1, AllEnabled), IndexOf(IDM_SAVE_SCANNER_DATA));
  EXPECT_EQ(FirstSelectable(kFunction, EnabledOnT1), board);
  EXPECT_EQ(LastSelectable(kFunction, EnabledOnT1), exit);
}

TEST(MenuModelTest, APopupWithNothingToChooseHasNoSelection) {
  const auto noneEnabled = [](unsigned) { return false; };
  EXPECT_EQ(FirstSelectable(kFunction, noneEnabled), -1);
  EXPECT_EQ(StepSelection(kFunction, 0, +1, noneEnabled), -1);
  EXPECT_FALSE(Selectable(kFunction, -1, AllEnabled));
  EXPECT_EQ(FirstSelectable(MenuPopup{}, AllEnabled), -1);
}

}  // namespace
