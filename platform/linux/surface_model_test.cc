#include "platform/linux/surface_model.h"

#include <gtest/gtest.h>

namespace {

// Lines at or beyond the right or bottom edge are not drawn. A redrawn line takes the place of
// the one it hides, unless a line drawn since overlaps it; a shorter one leaves the tail shown.
TEST(SurfaceModelTest, KeepsTheLinesThatShowInTheOrderTheyShow) {
  SurfaceModel surface;
  surface.Draw(20, 319, "last row");
  surface.Draw(20, 320, "below");
  surface.Draw(430, 10, "right of the edge");
  surface.Draw(429, 10, "cut later");
  surface.Draw(10, 30, "title");
  surface.Draw(20, 55, "block one");
  surface.Draw(10, 30, "title");
  surface.Draw(20, 55, "short");
  surface.Draw(100, 100, "AAAA");
  surface.Draw(108, 102, "B");
  surface.Draw(100, 100, "CCCC");
  std::vector<std::string> texts;
  for (const SurfaceLine& line : surface.lines()) {
    texts.push_back(std::to_string(line.x) + "," + std::to_string(line.y) + " " + line.text);
  }
  EXPECT_EQ(texts, (std::vector<std::string>{"20,319 last row", "429,10 cut later", "10,30 title",
                                             "20,55 block one", "20,55 short", "100,100 AAAA",
                                             "108,102 B", "100,100 CCCC"}));
}

}  // namespace
