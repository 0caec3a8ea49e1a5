#include "platform/linux/surface_model.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Texts(const SurfaceModel& surface) {
  std::vector<std::string> texts;
  for (const SurfaceLine& line : surface.lines()) {
    texts.push_back(std::to_string(line.x) + "," + std::to_string(line.y) + " " + line.text);
  }
  return texts;
}

TEST(SurfaceModelTest, LinesAtOrBeyondTheRightOrBottomEdgeAreNotDrawn) {
  SurfaceModel surface;
  surface.Draw(20, 319, "last row");
  surface.Draw(20, 320, "below");
  surface.Draw(430, 10, "right of the edge");
  surface.Draw(429, 10, "cut later");
  EXPECT_EQ(Texts(surface), (std::vector<std::string>{"20,319 last row", "429,10 cut later"}));
}

TEST(SurfaceModelTest, RedrawnTitleKeepsItsPlaceAndShorterTextLeavesTheTail) {
  SurfaceModel surface;
  surface.Draw(10, 10, "title");
  surface.Draw(20, 35, "block one");
  surface.Draw(10, 10, "title");
  surface.Draw(20, 35, "short");  // the longer line's tail stays visible: both kept
  EXPECT_EQ(Texts(surface),
            (std::vector<std::string>{"10,10 title", "20,35 block one", "20,35 short"}));
}

TEST(SurfaceModelTest, ARedrawnLineOverlappedSinceMovesOnTop) {
  SurfaceModel surface;
  surface.Draw(10, 10, "AAAA");
  surface.Draw(18, 12, "B");  // overlaps the first line
  surface.Draw(10, 10, "CCCC");
  EXPECT_EQ(Texts(surface), (std::vector<std::string>{"10,10 AAAA", "18,12 B", "10,10 CCCC"}));
  surface.Clear();
  EXPECT_TRUE(surface.lines().empty());
}

}  // namespace
