#include "platform/curses/dialog_layout.h"

namespace {

constexpr int kUnitsPerColumn = 3;
constexpr int kUnitsPerRow = 8;
// Far past any dialog that could still be read: stop growing the divisors there.
constexpr int kLargestDivisor = 32;

int CeilDiv(int units, int divisor) {
  return (units + divisor - 1) / divisor;
}

}  // namespace

DialogLayout LayoutDialog(const DialogTemplate& dialog, int maxHeight, int maxWidth) {
  int perColumn = kUnitsPerColumn;
  while (perColumn < kLargestDivisor &&
         CeilDiv(dialog.width, perColumn) + 2 * kDialogFrame > maxWidth) {
    ++perColumn;
  }
  int perRow = kUnitsPerRow;
  while (perRow < kLargestDivisor &&
         CeilDiv(dialog.height, perRow) + 2 * kDialogFrame > maxHeight) {
    ++perRow;
  }

  DialogLayout layout;
  layout.height = CeilDiv(dialog.height, perRow) + 2 * kDialogFrame;
  layout.width = CeilDiv(dialog.width, perColumn) + 2 * kDialogFrame;
  for (int i = 0; i < dialog.controlCount; ++i) {
    const DialogControl& control = dialog.controls[i];
    const int row = control.y / perRow;
    const int column = control.x / perColumn;
    const int bottom = CeilDiv(control.y + control.height, perRow);
    const int right = CeilDiv(control.x + control.width, perColumn);
    layout.controls.push_back(CellRect{row, column, bottom > row ? bottom - row : 1,
                                       right > column ? right - column : 1});
  }
  return layout;
}

std::vector<FocusStop> FocusStops(const DialogTemplate& dialog) {
  std::vector<FocusStop> stops;
  bool inRadioGroup = false;
  for (int i = 0; i < dialog.controlCount; ++i) {
    const DialogControl& control = dialog.controls[i];
    const bool startsGroup = (control.style & kControlStyleGroup) != 0;
    switch (control.kind) {
      case ControlKind::kPushButton:
        stops.push_back(FocusStop{{i}, false});
        inRadioGroup = false;
        break;
      case ControlKind::kAutoRadioButton:
        if (inRadioGroup && !startsGroup) {
          stops.back().controls.push_back(i);
        } else {
          stops.push_back(FocusStop{{i}, true});
          inRadioGroup = true;
        }
        break;
      case ControlKind::kGroupBox:
      case ControlKind::kCenteredText:
        if (startsGroup) inRadioGroup = false;
        break;
    }
  }
  return stops;
}
