#include "platform/linux/surface_model.h"

#include "shell/platform_ui.h"

namespace {

bool Overlaps(const SurfaceLine& a, const SurfaceLine& b) {
  const int aRight = a.x + SurfaceModel::kCharWidth * static_cast<int>(a.text.size());
  const int bRight = b.x + SurfaceModel::kCharWidth * static_cast<int>(b.text.size());
  return a.x < bRight && b.x < aRight && a.y < b.y + SurfaceModel::kCharHeight &&
         b.y < a.y + SurfaceModel::kCharHeight;
}

}  // namespace

void SurfaceModel::Draw(int x, int y, std::string_view text) {
  if (x >= kSurfaceWidth || y >= kSurfaceHeight) return;
  SurfaceLine line{x, y, std::string(text)};
  for (size_t i = 0; i < lines_.size(); ++i) {
    SurfaceLine& earlier = lines_[i];
    if (earlier.x != x || earlier.y != y || earlier.text.size() > line.text.size()) continue;
    bool coveredLater = false;
    for (size_t j = i + 1; j < lines_.size() && !coveredLater; ++j) {
      coveredLater = Overlaps(lines_[j], line);
    }
    if (coveredLater) break;
    earlier = std::move(line);
    return;
  }
  lines_.push_back(std::move(line));
}
