#include "inspection/preview.h"

#include <algorithm>
#include <cmath>

#include "inspection/row_sums.h"

namespace {

constexpr uint32_t kPictureSide = kPreviewSide - 2 * kPreviewBorder;
constexpr uint8_t kBorderGrey = 48;
// A mark is at least this wide, so that a single column's mark can be seen.
constexpr uint32_t kLeastMark = 3;

struct Rgb {
  uint8_t r, g, b;
};

Rgb ChannelColour(ImageChannel channel) {
  switch (channel) {
    case ImageChannel::kRed:
      return {255, 40, 40};
    case ImageChannel::kGreen:
      return {40, 255, 40};
    case ImageChannel::kBlue:
      return {64, 96, 255};
    case ImageChannel::kAll:
      break;
  }
  return {255, 255, 255};
}

bool IsColumnFinding(FindingKind kind) {
  return kind == FindingKind::kDeadColumns || kind == FindingKind::kStuckColumns ||
         kind == FindingKind::kWeakColumns || kind == FindingKind::kStrongColumns;
}

bool IsBandFinding(FindingKind kind) {
  return kind == FindingKind::kLowBand || kind == FindingKind::kHighBand;
}

class Canvas {
 public:
  explicit Canvas(PreviewPicture& picture) : picture_(picture) {}
  void Fill(uint32_t x0, uint32_t y0, uint32_t x1, uint32_t y1, Rgb colour) {
    for (uint32_t y = y0; y < std::min(y1, picture_.height); ++y) {
      for (uint32_t x = x0; x < std::min(x1, picture_.width); ++x) {
        uint8_t* pixel = &picture_.rgb[(size_t{y} * picture_.width + x) * 3];
        pixel[0] = colour.r;
        pixel[1] = colour.g;
        pixel[2] = colour.b;
      }
    }
  }

 private:
  PreviewPicture& picture_;
};

// The span of preview pixels that image pixels first to last stand on, widened to kLeastMark.
std::pair<uint32_t, uint32_t> MarkSpan(uint32_t first, uint32_t last, uint32_t factor,
                                       uint32_t reduced) {
  uint32_t begin = first / factor;
  uint32_t end = last / factor + 1;
  while (end - begin < kLeastMark) {
    if (begin > 0) --begin;
    if (end - begin < kLeastMark && end < reduced) ++end;
    if (begin == 0 && end == reduced) break;
  }
  return {begin + kPreviewBorder, end + kPreviewBorder};
}

}  // namespace

PreviewReduction::PreviewReduction(uint32_t width, uint32_t lines)
    : width_(width),
      lines_(lines),
      factor_(std::max<uint32_t>(1, (std::max(width, lines) + kPictureSide - 1) / kPictureSide)),
      reducedWidth_((width + factor_ - 1) / factor_),
      reducedHeight_((lines + factor_ - 1) / factor_),
      sums_(size_t{width} * 3),
      negative_(size_t{reducedWidth_} * reducedHeight_ * 3) {}

void PreviewReduction::AddRow(const uint8_t* row) {
  if (boxRow_ >= reducedHeight_) return;
  AddSamples(row, sums_.size(), sums_.data());
  if (++rowsInBox_ == factor_ || boxRow_ * factor_ + rowsInBox_ == lines_) EndBoxRow();
}

void PreviewReduction::EndBoxRow() {
  uint8_t* out = &negative_[size_t{boxRow_} * reducedWidth_ * 3];
  for (uint32_t box = 0; box < reducedWidth_; ++box) {
    const uint32_t first = box * factor_;
    const uint32_t last = std::min(width_, first + factor_);
    const uint32_t count = (last - first) * rowsInBox_;
    for (int c = 0; c < 3; ++c) {
      uint32_t sum = 0;
      for (uint32_t x = first; x < last; ++x) sum += sums_[size_t{x} * 3 + c];
      out[box * 3 + c] = static_cast<uint8_t>((sum + count / 2) / count);
    }
  }
  std::fill(sums_.begin(), sums_.end(), uint16_t{0});
  rowsInBox_ = 0;
  ++boxRow_;
}

PreviewPicture PreviewReduction::Positive(const InspectionReport& report) const {
  PreviewPicture picture;
  picture.width = reducedWidth_ + 2 * kPreviewBorder;
  picture.height = reducedHeight_ + 2 * kPreviewBorder;
  picture.rgb.assign(size_t{picture.width} * picture.height * 3, kBorderGrey);
  // Film base to white, the densest film to black, channel by channel.
  double base[3], scale[3];
  for (int c = 0; c < 3; ++c) {
    base[c] = report.channels[c].filmBase;
    scale[c] = 255.0 / std::max(1.0, base[c] - report.channels[c].densest);
  }
  for (uint32_t y = 0; y < reducedHeight_; ++y) {
    const uint8_t* in = &negative_[size_t{y} * reducedWidth_ * 3];
    uint8_t* out =
        &picture.rgb[((size_t{y} + kPreviewBorder) * picture.width + kPreviewBorder) * 3];
    for (uint32_t i = 0; i < reducedWidth_ * 3; ++i) {
      const double light = (base[i % 3] - in[i]) * scale[i % 3];
      out[i] = static_cast<uint8_t>(std::clamp(std::lround(light), 0L, 255L));
    }
  }
  Canvas canvas(picture);
  const uint32_t right = picture.width - kPreviewBorder;
  const uint32_t bottom = picture.height - kPreviewBorder;
  for (const Finding& finding : report.findings) {
    const Rgb colour = ChannelColour(finding.channel);
    if (IsColumnFinding(finding.kind)) {
      const auto [x0, x1] = MarkSpan(finding.first, finding.last, factor_, reducedWidth_);
      canvas.Fill(x0, 0, x1, kPreviewBorder, colour);
      canvas.Fill(x0, bottom, x1, picture.height, colour);
    } else if (IsBandFinding(finding.kind)) {
      const auto [y0, y1] = MarkSpan(finding.first, finding.last, factor_, reducedHeight_);
      canvas.Fill(0, y0, kPreviewBorder, y1, colour);
      canvas.Fill(right, y0, picture.width, y1, colour);
    } else {
      canvas.Fill(0, 0, kPreviewBorder, kPreviewBorder, colour);
      canvas.Fill(right, 0, picture.width, kPreviewBorder, colour);
      canvas.Fill(0, bottom, kPreviewBorder, picture.height, colour);
      canvas.Fill(right, bottom, picture.width, picture.height, colour);
    }
  }
  return picture;
}
