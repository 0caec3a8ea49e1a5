#include "platform/curses/page_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The surface keeps the lines that show: none at or beyond its right or bottom edge, and a line
// redrawn over one it hides takes that one's place, so that a redrawn title stays first, unless
// a line drawn since overlaps it. The page shows a character in the cell of its left edge's pixel
// (8 across, 20 down), cut at the surface's right edge; later lines cover earlier ones cell by
// cell, and device bytes become printable, one cell each.
TEST(PageTextTest, TheSurfaceKeepsTheLinesThatShowAndThePageShowsThemCellByCell) {
  SurfaceModel surface;
  surface.Draw(0, 0, std::string(60, 'x'));
  surface.Draw(422, 20, "ABC");  // B would start at 430, in the last column, but is cut
  surface.Draw(430, 20, "right of the edge");
  surface.Draw(20, 40, "a longer line");
  surface.Draw(20, 40, "short");  // leaves the tail of the longer line
  surface.Draw(52, 59, "X");      // another pixel row, but the same page row
  surface.Draw(20, 60,
               "Vendor : \x1b[2J\x07\x9b"
               "1m|");
  surface.Draw(100, 100, "AAAA");
  surface.Draw(108, 102, "B");
  surface.Draw(100, 100, "CCCC");
  surface.Draw(0, 0, std::string(60, 'x'));
  surface.Draw(7, 319, "last row");
  surface.Draw(7, 320, "below");
  std::vector<std::string> texts;
  for (const SurfaceLine& line : surface.lines()) texts.push_back(line.text.substr(0, 6));
  EXPECT_EQ(texts, (std::vector<std::string>{"xxxxxx", "ABC", "a long", "short", "X", "Vendor",
                                             "AAAA", "B", "CCCC", "last r"}));
  const PageRowsText page = RenderPage(surface);
  EXPECT_EQ(page[0], std::string(kPageColumns, 'x'));
  EXPECT_EQ(page[1].substr(kPageColumns - 3), " A ");
  EXPECT_EQ(page[2].substr(0, 16), "  shorXger line ");
  EXPECT_EQ(page[3].substr(0, 21), "  Vendor : ?[2J??1m| ");
  EXPECT_EQ(page[5].substr(12, 5), "CCCC ");
  EXPECT_EQ(page[15].substr(0, 9), "last row ");
  for (const std::string& row : page) EXPECT_EQ(row.size(), size_t{kPageColumns});
}

}  // namespace
