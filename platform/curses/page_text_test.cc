#include "platform/curses/page_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A character is in the cell of its left edge's pixel (8 across, 20 down); one whose left edge is
// at or past the surface's right edge is cut. Later lines cover earlier ones cell by cell, and
// device bytes become printable, one cell each.
TEST(PageTextTest, LinesLandInTheCellsOfTheirPixels) {
  SurfaceModel surface;
  surface.Draw(0, 0, std::string(60, 'x'));
  surface.Draw(422, 20, "ABC");  // B would start at 430, in the last column, but is cut
  surface.Draw(20, 40, "a longer line");
  surface.Draw(20, 40, "short");
  surface.Draw(52, 59, "X");  // another pixel row, but the same page row
  surface.Draw(20, 60,
               "Vendor : \x1b[2J\x07\x9b"
               "1m|");
  surface.Draw(7, 319, "last row");
  const PageRowsText page = RenderPage(surface);
  EXPECT_EQ(page[0], std::string(kPageColumns, 'x'));
  EXPECT_EQ(page[1].substr(kPageColumns - 3), " A ");
  EXPECT_EQ(page[2].substr(0, 16), "  shorXger line ");
  EXPECT_EQ(page[3].substr(0, 21), "  Vendor : ?[2J??1m| ");
  EXPECT_EQ(page[15].substr(0, 9), "last row ");
  for (const std::string& row : page) EXPECT_EQ(row.size(), size_t{kPageColumns});
}

}  // namespace
