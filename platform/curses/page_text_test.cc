#include "platform/curses/page_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The page row without its trailing blanks.
std::string Row(const PageRowsText& page, int row) {
  const std::string& text = page[row];
  return text.substr(0, text.find_last_not_of(' ') + 1);
}

TEST(PageTextTest, PixelsMapToCellsByFlooredDivision) {
  EXPECT_EQ(CellOfPixel(0, 0).column, 0);
  EXPECT_EQ(CellOfPixel(7, 19).column, 0);
  EXPECT_EQ(CellOfPixel(7, 19).row, 0);
  EXPECT_EQ(CellOfPixel(8, 20).column, 1);
  EXPECT_EQ(CellOfPixel(8, 20).row, 1);
  EXPECT_EQ(CellOfPixel(429, 319).column, kPageColumns - 1);
  EXPECT_EQ(CellOfPixel(429, 319).row, kPageRows - 1);
}

TEST(PageTextTest, CharactersFromTheRightEdgeOnAreCut) {
  SurfaceModel surface;
  surface.Draw(0, 0, std::string(60, 'x'));
  surface.Draw(420, 20, "ABCD");  // B starts at 428, still on the surface; C at 436 is not
  surface.Draw(422, 40, "EF");    // F would start at 430, in the last column, but is cut
  surface.Draw(3, 300, "last row");
  surface.Draw(3, 320, "below the surface");
  const PageRowsText page = RenderPage(surface);
  EXPECT_EQ(page[0], std::string(kPageColumns, 'x'));
  EXPECT_EQ(page[1].substr(kPageColumns - 3), " AB");
  EXPECT_EQ(page[2].substr(kPageColumns - 3), " E ");
  EXPECT_EQ(Row(page, 15), "last row");
  for (const std::string& row : page) EXPECT_EQ(row.size(), size_t{kPageColumns});
}

TEST(PageTextTest, LaterLinesCoverEarlierOnesCellByCell) {
  SurfaceModel surface;
  surface.Draw(20, 35, "a longer line");
  surface.Draw(20, 35, "short");
  surface.Draw(52, 39, "X");  // another pixel row, but the same page row
  const PageRowsText page = RenderPage(surface);
  EXPECT_EQ(Row(page, 1), "  shorXger line");
}

TEST(PageTextTest, DeviceBytesBecomePrintableOneCellEach) {
  SurfaceModel surface;
  surface.Draw(20, 55,
               "Vendor : \x1b[2J\x07\x9b"
               "1m|");
  const PageRowsText page = RenderPage(surface);
  EXPECT_EQ(Row(page, 2), "  Vendor : ?[2J??1m|");
}

}  // namespace
