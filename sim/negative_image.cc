#include "sim/negative_image.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

struct Rgb {
  int r, g, b;
};

// Transmission of the film base (the orange mask) and of the densest exposed film.
constexpr Rgb kFilmBase = {232, 156, 94};
constexpr Rgb kDensest = {38, 24, 16};

// A scene brightness 0..255 per channel becomes a negative: bright light makes dense film.
uint8_t Negative(int scene, int base, int densest) {
  return static_cast<uint8_t>(base - (base - densest) * std::clamp(scene, 0, 255) / 255);
}

}  // namespace

NegativeImage::NegativeImage(uint32_t bytesPerLine, uint32_t lines)
    : bytesPerLine_(bytesPerLine),
      lines_(lines),
      width_(bytesPerLine / 3),
      horizon_(width_),
      lineBytes_(bytesPerLine) {
  // Rolling hills: the horizon lies a little over half way down, rising and falling.
  for (uint32_t x = 0; x < width_; ++x) {
    const double u = width_ > 1 ? static_cast<double>(x) / (width_ - 1) : 0.0;
    const double height = 0.56 + 0.06 * std::sin(u * 7.0) + 0.025 * std::sin(u * 23.0 + 1.0);
    horizon_[x] = static_cast<int>(height * lines_);
  }
}

void NegativeImage::RenderLine(uint32_t line) {
  // The picture stops a few per cent short of the window's edges: unexposed film base there.
  const int marginX = static_cast<int>(width_ / 40);
  const int marginY = static_cast<int>(lines_ / 40);
  const int y = static_cast<int>(line);
  const int height = static_cast<int>(lines_);
  const int lake = height * 82 / 100;
  const int sunX = static_cast<int>(width_) * 68 / 100;
  const int sunY = height * 22 / 100;
  const int sunRadius = std::max(1, static_cast<int>(width_) / 10);
  // Fields and ripples scale with the image, so every resolution shows the same picture.
  const int fieldWidth = std::max(1, static_cast<int>(width_) / 18);
  const int fieldHeight = std::max(1, height / 40);
  const int rippleStep = std::max(1, height / 300);

  for (uint32_t column = 0; column < width_; ++column) {
    const int x = static_cast<int>(column);
    Rgb scene;
    if (x < marginX || x >= static_cast<int>(width_) - marginX || y < marginY ||
        y >= height - marginY) {
      scene = {0, 0, 0};  // unexposed
    } else if (y < horizon_[column]) {
      // Sky: deep blue at the top, paler toward the horizon; the sun a bright disc.
      const int dx = x - sunX;
      const int dy = y - sunY;
      if (dx * dx + dy * dy <= sunRadius * sunRadius) {
        scene = {255, 236, 170};
      } else {
        const int toHorizon = 255 * y / std::max(1, horizon_[column]);
        scene = {70 + toHorizon / 3, 120 + toHorizon / 4, 220 - toHorizon / 8};
      }
    } else if (y >= lake) {
      // The lake mirrors the sky, darker, with ripples.
      const int ripple = ((y / rippleStep + x / (4 * rippleStep)) % 7) * 4;
      scene = {50 + ripple, 80 + ripple, 150 + ripple};
    } else {
      // Hills: green, darker toward the foreground, with fields in stripes.
      const int depth = 255 * (y - horizon_[column]) / std::max(1, lake - horizon_[column]);
      const int field = ((x / fieldWidth + y / fieldHeight) % 3) * 18;
      scene = {60 + field - depth / 6, 150 - depth / 3 + field, 50 - depth / 8};
    }
    uint8_t* pixel = &lineBytes_[3 * column];
    pixel[0] = Negative(scene.r, kFilmBase.r, kDensest.r);
    pixel[1] = Negative(scene.g, kFilmBase.g, kDensest.g);
    pixel[2] = Negative(scene.b, kFilmBase.b, kDensest.b);
  }
  // Bytes of a line beyond its last whole pixel show film base.
  for (uint32_t i = 3 * width_; i < bytesPerLine_; ++i) {
    lineBytes_[i] = static_cast<uint8_t>(kFilmBase.r);
  }
  renderedLine_ = line;
}

void NegativeImage::Read(uint64_t offset, uint8_t* out, size_t length) {
  while (length > 0) {
    const auto line = static_cast<uint32_t>(offset / bytesPerLine_);
    const auto column = static_cast<uint32_t>(offset % bytesPerLine_);
    if (renderedLine_ != line) RenderLine(line);
    const size_t piece = std::min<size_t>(length, bytesPerLine_ - column);
    std::memcpy(out, &lineBytes_[column], piece);
    out += piece;
    offset += piece;
    length -= piece;
  }
}
