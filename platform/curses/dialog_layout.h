// A dialog template in character cells, and the stops the focus moves between.
//
// Dialog units become cells by dividing x by 3 and y by 8 (a dialog unit is a quarter of an
// average character's width, and the terminal's characters are narrower than they are tall).
// When the dialog would not fit the terminal, the divisors grow until it does. Control edges
// are rounded outwards, so a group box keeps the radio buttons it frames inside its border.
#ifndef SCAN_FS_PLATFORM_CURSES_DIALOG_LAYOUT_H
#define SCAN_FS_PLATFORM_CURSES_DIALOG_LAYOUT_H

#include <vector>

#include "resources/dialog_templates.h"

struct CellRect {
  int row;
  int column;
  int height;
  int width;
};

struct DialogLayout {
  int height;  // the whole dialog, its frame included
  int width;
  std::vector<CellRect> controls;  // inside the frame, in template order
};

// The frame takes one cell on every side; the caption sits in its top edge.
inline constexpr int kDialogFrame = 1;

DialogLayout LayoutDialog(const DialogTemplate& dialog, int maxHeight, int maxWidth);

// A place the focus stops at with Tab: a push button, or a radio group as one stop.
struct FocusStop {
  std::vector<int> controls;  // indices into the template's controls, in template order
  bool radioGroup = false;
};

// In template order. A radio group runs from a radio button up to the next control that starts a
// group (group style) or is a push button.
std::vector<FocusStop> FocusStops(const DialogTemplate& dialog);

#endif
