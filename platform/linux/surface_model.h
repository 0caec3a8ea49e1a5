// The Linux display surface: the text lines drawn since the last clear, in drawing order, with
// their pixel positions. Front ends render it (the terminal UI through its pixel-to-cell rule,
// batch mode as "line X Y TEXT").
#ifndef SCAN_FS_PLATFORM_LINUX_SURFACE_MODEL_H
#define SCAN_FS_PLATFORM_LINUX_SURFACE_MODEL_H

#include <string>
#include <string_view>
#include <vector>

struct SurfaceLine {
  int x;
  int y;
  std::string text;
};

class SurfaceModel {
 public:
  // Pixel size of a character of the surface's fixed-pitch font.
  static constexpr int kCharWidth = 8;
  static constexpr int kCharHeight = 16;

  void Clear() { lines_.clear(); }
  // A line starting at or beyond the right or bottom edge is not drawn at all. A line drawn over
  // an earlier one at the same place that it hides completely takes that line's place in the
  // order, so a page that redraws its title keeps it first.
  void Draw(int x, int y, std::string_view text);
  const std::vector<SurfaceLine>& lines() const { return lines_; }

 private:
  std::vector<SurfaceLine> lines_;
};

#endif
