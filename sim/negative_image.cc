#include "sim/negative_image.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Transmission of the film base (the orange mask) and of the densest exposed film.
constexpr int kBase[3] = {232, 156, 94};
constexpr int kDensest[3] = {38, 24, 16};

constexpr int kFieldPhases = 3;
constexpr int kDepthLevels = 16;
constexpr int kRipplePhases = 7;

// Scene light 0..255 per channel becomes film: bright light makes dense film.
uint8_t Negative(int light, int channel) {
  const int base = kBase[channel];
  return static_cast<uint8_t>(base - (base - kDensest[channel]) * std::clamp(light, 0, 255) / 255);
}

}  // namespace

NegativeImage::NegativeImage(uint32_t bytesPerLine, uint32_t lines)
    : bytesPerLine_(bytesPerLine),
      lines_(lines),
      width_(static_cast<int>(bytesPerLine / 3)),
      landRows_(kFieldPhases * kDepthLevels),
      lakeRows_(kRipplePhases) {
  const int height = static_cast<int>(lines);
  marginX_ = width_ / 40;
  marginY_ = height / 40;
  sunX_ = static_cast<int>(int64_t{width_} * 68 / 100);
  sunY_ = static_cast<int>(int64_t{height} * 22 / 100);
  sunRadius_ = std::max(1, width_ / 10);
  fieldHeight_ = std::max(1, height / 40);
  rippleHeight_ = std::max(1, height / 300);
  lakeTop_ = static_cast<int>(int64_t{height} * 82 / 100);
  // Rolling hills: the horizon lies a little over half way down, rising and falling.
  horizon_.resize(width_);
  landTop_ = height;
  landBottom_ = 0;
  for (int x = 0; x < width_; ++x) {
    const double u = width_ > 1 ? static_cast<double>(x) / (width_ - 1) : 0.0;
    const double level = 0.56 + 0.06 * std::sin(u * 7.0) + 0.025 * std::sin(u * 23.0 + 1.0);
    horizon_[x] = static_cast<int>(level * height);
    landTop_ = std::min(landTop_, horizon_[x]);
    landBottom_ = std::max(landBottom_, horizon_[x]);
  }
}

void NegativeImage::FillRow(uint8_t* row, Rgb colour) const {
  Paint(row, 0, width_, colour);
  for (uint32_t i = 3 * static_cast<uint32_t>(width_); i < bytesPerLine_; ++i) row[i] = colour.r;
}

// Pixels first to last - 1, clipped to the picture inside the margins.
void NegativeImage::Paint(uint8_t* row, int first, int last, Rgb colour) const {
  for (int x = std::max(first, 0); x < std::min(last, width_); ++x) {
    row[3 * x] = colour.r;
    row[3 * x + 1] = colour.g;
    row[3 * x + 2] = colour.b;
  }
}

NegativeImage::Rgb NegativeImage::SkyColour(int line) const {
  // Deep blue at the top, paler toward the hills.
  const int toHills = static_cast<int>(int64_t{255} * line / std::max(1, landBottom_));
  return {Negative(70 + toHills / 3, 0), Negative(120 + toHills / 4, 1),
          Negative(220 - toHills / 8, 2)};
}

const uint8_t* NegativeImage::BaseRow() {
  if (baseRow_.empty()) {
    baseRow_.resize(bytesPerLine_);
    FillRow(baseRow_.data(), {Negative(0, 0), Negative(0, 1), Negative(0, 2)});
  }
  return baseRow_.data();
}

// Hills: fields in stripes of three shades, darker toward the foreground.
const uint8_t* NegativeImage::LandRow(int phase, int level) {
  std::vector<uint8_t>& row = landRows_[phase * kDepthLevels + level];
  if (row.empty()) {
    row.assign(BaseRow(), BaseRow() + bytesPerLine_);
    const int fieldWidth = std::max(1, width_ / 18);
    const int depth = 255 * level / (kDepthLevels - 1);
    for (int x = marginX_; x < width_ - marginX_; ++x) {
      const int field = ((x / fieldWidth + phase) % 3) * 18;
      Paint(row.data(), x, x + 1,
            {Negative(60 + field - depth / 6, 0), Negative(150 - depth / 3 + field, 1),
             Negative(50 - depth / 8, 2)});
    }
  }
  return row.data();
}

// The lake mirrors the sky, darker, with ripples.
const uint8_t* NegativeImage::LakeRow(int phase) {
  std::vector<uint8_t>& row = lakeRows_[phase];
  if (row.empty()) {
    row.assign(BaseRow(), BaseRow() + bytesPerLine_);
    for (int x = marginX_; x < width_ - marginX_; ++x) {
      const int ripple = ((phase + x / (4 * rippleHeight_)) % kRipplePhases) * 4;
      Paint(row.data(), x, x + 1,
            {Negative(50 + ripple, 0), Negative(80 + ripple, 1), Negative(150 + ripple, 2)});
    }
  }
  return row.data();
}

// The sky of one line over unexposed film at the margins; kept while lines share its colour,
// which changes only every few lines.
const uint8_t* NegativeImage::SkyRow(int line) {
  const Rgb sky = SkyColour(line);
  if (skyRow_.empty() || sky.r != skyColour_.r || sky.g != skyColour_.g || sky.b != skyColour_.b) {
    skyRow_.assign(BaseRow(), BaseRow() + bytesPerLine_);
    Paint(skyRow_.data(), marginX_, width_ - marginX_, sky);
    skyColour_ = sky;
  }
  return skyRow_.data();
}

const uint8_t* NegativeImage::SunRow() {
  if (sunRow_.empty()) {
    sunRow_.resize(bytesPerLine_);
    Paint(sunRow_.data(), 0, width_, {Negative(255, 0), Negative(236, 1), Negative(170, 2)});
  }
  return sunRow_.data();
}

// Copies pixels first to last - 1 of `from` into `row`.
void NegativeImage::CopyPixels(uint8_t* row, const uint8_t* from, int first, int last) const {
  if (last > first)
    std::memcpy(row + 3 * first, from + 3 * first, 3 * static_cast<size_t>(last - first));
}

const uint8_t* NegativeImage::Line(uint32_t line) {
  const int y = static_cast<int>(line);
  if (y < marginY_ || y >= static_cast<int>(lines_) - marginY_) return BaseRow();
  if (y >= lakeTop_) return LakeRow((y / rippleHeight_) % kRipplePhases);

  const int level = static_cast<int>(std::clamp<int64_t>(
      int64_t{y - landTop_} * (kDepthLevels - 1) / std::max(1, lakeTop_ - landTop_), 0,
      kDepthLevels - 1));
  const uint8_t* land = LandRow((y / fieldHeight_) % kFieldPhases, level);
  if (y >= landBottom_) return land;
  const int64_t dy = y - sunY_;
  const int64_t radiusSquared = int64_t{sunRadius_} * sunRadius_;
  const bool sunLine = dy * dy <= radiusSquared;
  if (y < landTop_ && !sunLine) return SkyRow(y);

  // Sky, with the hills rising into it where the horizon lies above this line, and the sun.
  if (lineBytes_.size() != bytesPerLine_) lineBytes_.resize(bytesPerLine_);
  uint8_t* built = lineBytes_.data();
  if (y < landTop_) {
    std::memcpy(built, SkyRow(y), bytesPerLine_);
  } else {
    std::memcpy(built, land, bytesPerLine_);
    const uint8_t* sky = SkyRow(y);
    for (int x = marginX_; x < width_ - marginX_;) {
      if (y >= horizon_[x]) {
        ++x;
        continue;
      }
      const int first = x;
      while (x < width_ - marginX_ && y < horizon_[x]) ++x;
      CopyPixels(built, sky, first, x);
    }
  }
  if (sunLine) {
    const int halfChord = static_cast<int>(std::sqrt(static_cast<double>(radiusSquared - dy * dy)));
    CopyPixels(built, SunRow(), std::max(marginX_, sunX_ - halfChord),
               std::min(width_ - marginX_, sunX_ + halfChord + 1));
  }
  return built;
}

void NegativeImage::Read(uint64_t offset, uint8_t* out, size_t length) {
  while (length > 0) {
    const auto line = static_cast<uint32_t>(offset / bytesPerLine_);
    const auto column = static_cast<uint32_t>(offset % bytesPerLine_);
    if (builtLine_ != line) {
      builtLineData_ = Line(line);
      builtLine_ = line;
    }
    const size_t piece = std::min<size_t>(length, bytesPerLine_ - column);
    std::memcpy(out, builtLineData_ + column, piece);
    out += piece;
    offset += piece;
    length -= piece;
  }
}
