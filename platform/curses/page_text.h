// The 430 x 320 pixel display surface as a page of character cells.
//
// A character that starts at pixel x is in column floor(x / 8), a line at pixel y is in row
// floor(y / 20). The surface's font is 8 pixels wide, so the columns of a page stay aligned; 20
// pixels is the pitch of the page lines, so every line keeps a row of its own. A character whose
// left edge is at or beyond the surface's right edge (430) is cut, which leaves 54 columns; the
// surface drops lines at y 320 or below, which leaves 16 rows.
#ifndef SCAN_FS_PLATFORM_CURSES_PAGE_TEXT_H
#define SCAN_FS_PLATFORM_CURSES_PAGE_TEXT_H

#include <array>
#include <string>

#include "platform/linux/surface_model.h"

inline constexpr int kPixelsPerColumn = SurfaceModel::kCharWidth;
inline constexpr int kPixelsPerRow = 20;
inline constexpr int kPageColumns = 54;
inline constexpr int kPageRows = 16;

struct PageCell {
  int row;
  int column;
};

// The cell of the character that starts at pixel (x, y); x and y are not negative.
PageCell CellOfPixel(int x, int y);

// Each row of the page as exactly kPageColumns printable characters: the surface's lines drawn in
// order, a later line over an earlier one, with an opaque background like the surface's font.
using PageRowsText = std::array<std::string, kPageRows>;
PageRowsText RenderPage(const SurfaceModel& surface);

#endif
