#include "platform/curses/dialog_layout.h"

#include <gtest/gtest.h>

#include <string>

#include "resources/ids.h"

namespace {

struct TerminalSize {
  int rows;
  int columns;
};

// The smallest terminal the program works on, and a common one.
constexpr TerminalSize kSizes[] = {{20, 56}, {24, 80}};

bool Inside(const CellRect& inner, const CellRect& outer) {
  return inner.row > outer.row && inner.row + inner.height < outer.row + outer.height &&
         inner.column > outer.column && inner.column + inner.width < outer.column + outer.width;
}

bool Overlap(const CellRect& a, const CellRect& b) {
  return a.row < b.row + b.height && b.row < a.row + a.height && a.column < b.column + b.width &&
         b.column < a.column + a.width;
}

// Where a control's text shows in the terminal: "(*) " before a radio button's label, push
// buttons as "[ label ]" and static texts centred on the control.
CellRect Shown(const DialogControl& control, const CellRect& cells) {
  const int label = static_cast<int>(std::string(control.text).size());
  switch (control.kind) {
    case ControlKind::kAutoRadioButton:
      return CellRect{cells.row, cells.column, 1, label + 4};
    case ControlKind::kPushButton:
      return CellRect{cells.row, cells.column + (cells.width - label - 4) / 2, 1, label + 4};
    case ControlKind::kCenteredText:
      return CellRect{cells.row, cells.column + (cells.width - label) / 2, 1, label};
    case ControlKind::kGroupBox:
      break;
  }
  return cells;
}

class DialogLayoutTest : public testing::TestWithParam<const char*> {
 protected:
  const DialogTemplate& dialog() const { return *FindDialogTemplate(GetParam()); }
};

TEST_P(DialogLayoutTest, FitsTheTerminalAndGroupBoxesFrameTheirRadioButtonsWithoutCollisions) {
  for (const TerminalSize size : kSizes) {
    const DialogLayout layout = LayoutDialog(dialog(), size.rows, size.columns);
    EXPECT_LE(layout.height, size.rows);
    EXPECT_LE(layout.width, size.columns);
    const CellRect interior{-1, -1, layout.height, layout.width};
    int frame = -1;  // the group box of the radio buttons that follow it
    for (int i = 0; i < dialog().controlCount; ++i) {
      const DialogControl& control = dialog().controls[i];
      const CellRect shown = Shown(control, layout.controls[i]);
      EXPECT_TRUE(Inside(shown, interior)) << control.text << " at " << size.rows << " rows";
      if (control.kind == ControlKind::kGroupBox) {
        frame = i;
        continue;
      }
      const bool framed = control.kind == ControlKind::kAutoRadioButton && frame >= 0;
      if (framed) {
        EXPECT_TRUE(Inside(shown, layout.controls[frame])) << control.text;
      }
      for (int j = 0; j < dialog().controlCount; ++j) {
        const DialogControl& other = dialog().controls[j];
        if (j == i || (framed && j == frame)) continue;
        EXPECT_FALSE(Overlap(shown, Shown(other, layout.controls[j])))
            << control.text << " / " << other.text << " at " << size.rows << " rows";
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Templates, DialogLayoutTest, testing::Values("AboutBox", "ScanFSBox"));

TEST(DialogFocusTest, EachRadioGroupIsOneStopAfterTheButtons) {
  const std::vector<FocusStop> stops = FocusStops(*FindDialogTemplate("ScanFSBox"));
  const DialogTemplate& scan = *FindDialogTemplate("ScanFSBox");
  std::vector<std::vector<int>> ids;
  for (const FocusStop& stop : stops) {
    ids.emplace_back();
    for (const int i : stop.controls) ids.back().push_back(scan.controls[i].id);
  }
  EXPECT_EQ(ids, (std::vector<std::vector<int>>{{IDC_SCAN},
                                                {IDCANCEL},
                                                {IDC_RESOLUTION_340, IDC_RESOLUTION_680,
                                                 IDC_RESOLUTION_1360, IDC_RESOLUTION_2720},
                                                {IDC_READ_IN_MEMORY, IDC_SAVE_TO_TIFF}}));
  EXPECT_FALSE(stops[1].radioGroup);
  EXPECT_TRUE(stops[2].radioGroup);
  EXPECT_EQ(FocusStops(*FindDialogTemplate("AboutBox")).size(), 1u);
}

TEST(DialogFocusTest, AGroupStyleOrAButtonEndsARadioGroup) {
  const DialogControl controls[] = {
      {ControlKind::kAutoRadioButton, 10, "a", 0, 0, 10, 10, kControlStyleGroup},
      {ControlKind::kCenteredText, 11, "note", 0, 10, 10, 10, kControlStyleNone},
      {ControlKind::kAutoRadioButton, 12, "b", 0, 20, 10, 10, kControlStyleNone},
      {ControlKind::kAutoRadioButton, 13, "c", 0, 30, 10, 10, kControlStyleGroup},
      {ControlKind::kPushButton, 14, "OK", 0, 40, 10, 10, kControlStyleTabStop},
      {ControlKind::kAutoRadioButton, 15, "d", 0, 50, 10, 10, kControlStyleNone},
  };
  const DialogTemplate dialog{"Test", "Test", 0, 0, 100, 100, controls, 6};
  const std::vector<FocusStop> stops = FocusStops(dialog);
  ASSERT_EQ(stops.size(), 4u);
  EXPECT_EQ(stops[0].controls, (std::vector<int>{0, 2}));
  EXPECT_EQ(stops[1].controls, (std::vector<int>{3}));
  EXPECT_EQ(stops[2].controls, (std::vector<int>{4}));
  EXPECT_EQ(stops[3].controls, (std::vector<int>{5}));
}

}  // namespace
