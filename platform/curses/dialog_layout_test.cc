#include "platform/curses/dialog_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace {

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
  if (control.kind == ControlKind::kGroupBox) return cells;
  const int label = static_cast<int>(std::string(control.text).size());
  const int width = control.kind == ControlKind::kCenteredText ? label : label + 4;
  const bool centred = control.kind != ControlKind::kAutoRadioButton;
  return {cells.row, cells.column + (centred ? (cells.width - width) / 2 : 0), 1, width};
}

// At the smallest terminal the program works on, and at a common one.
TEST(DialogLayoutTest, FitsTheTerminalAndGroupBoxesFrameTheirRadioButtonsWithoutCollisions) {
  for (const char* name : {"AboutBox", "ScanFSBox"}) {
    const DialogTemplate& dialog = *FindDialogTemplate(name);
    for (const auto& [rows, columns] : {std::pair{20, 56}, {24, 80}}) {
      SCOPED_TRACE(testing::Message() << name << " at " << columns << "x" << rows);
      const DialogLayout layout = LayoutDialog(dialog, rows, columns);
      EXPECT_LE(layout.height, rows);
      EXPECT_LE(layout.width, columns);
      int frame = -1;  // the group box of the radio buttons that follow it
      for (int i = 0; i < dialog.controlCount; ++i) {
        const DialogControl& control = dialog.controls[i];
        const CellRect shown = Shown(control, layout.controls[i]);
        EXPECT_TRUE(Inside(shown, CellRect{-1, -1, layout.height, layout.width})) << control.text;
        if (control.kind == ControlKind::kGroupBox) frame = i;
        const bool framed = control.kind == ControlKind::kAutoRadioButton && frame >= 0;
        EXPECT_TRUE(!framed || Inside(shown, layout.controls[frame])) << control.text;
        for (int j = 0; j < i; ++j) {
          if (framed && j == frame) continue;
          EXPECT_FALSE(Overlap(shown, Shown(dialog.controls[j], layout.controls[j])))
              << control.text << " / " << dialog.controls[j].text;
        }
      }
    }
  }
}

}  // namespace
