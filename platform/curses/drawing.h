// Drawing on the terminal screen, clipped to it: a text never wraps onto the next line.
#ifndef SCAN_FS_PLATFORM_CURSES_DRAWING_H
#define SCAN_FS_PLATFORM_CURSES_DRAWING_H

#include <curses.h>

#include <string_view>

#include "platform/curses/access_key.h"
#include "platform/curses/dialog_layout.h"

// Draws at most `maxWidth` characters of `text` from (row, column), printable only.
void PutText(int row, int column, std::string_view text, int maxWidth, attr_t attributes = 0);
// A label with its access letter underlined.
void PutLabel(int row, int column, const LabeledText& text, int maxWidth, attr_t attributes = 0);
// Blanks the rectangle.
void FillRect(const CellRect& rect, attr_t attributes = 0);
// A blank rectangle with a line frame and `caption` centred in its top edge.
void DrawFrame(const CellRect& rect, std::string_view caption, attr_t attributes = 0);
// A frame around `rect` that leaves the inside as it is, with `label` at the left of its top edge.
void DrawGroupFrame(const CellRect& rect, std::string_view label);

#endif
