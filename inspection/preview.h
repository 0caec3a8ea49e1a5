// The picture of a test scan: the frame reduced to at most kPreviewSide pixels on its long side
// (border included), as a positive (the negative inverted and its film base taken out, channel
// by channel), every finding marked in the border in the colour of its channel (white: all):
// column defects above and below their columns, bands left and right of their rows, exposure
// findings in the corners.
#ifndef SCAN_FS_INSPECTION_PREVIEW_H
#define SCAN_FS_INSPECTION_PREVIEW_H

#include <cstdint>
#include <vector>

#include "inspection/inspection_report.h"

inline constexpr uint32_t kPreviewSide = 1024;
inline constexpr uint32_t kPreviewBorder = 8;

struct PreviewPicture {
  uint32_t width = 0, height = 0;
  std::vector<uint8_t> rgb;  // 8-bit RGB, row after row
};

// The reduced negative, made while the rows arrive: each of its pixels the mean of a square of
// factor x factor pixels of the image (smaller at the right and bottom ends).
class PreviewReduction {
 public:
  PreviewReduction(uint32_t width, uint32_t lines);
  void AddRow(const uint8_t* row);
  // The picture, once every row has been added.
  PreviewPicture Positive(const InspectionReport& report) const;

 private:
  void EndBoxRow();

  uint32_t width_, lines_, factor_;
  uint32_t reducedWidth_, reducedHeight_;
  uint32_t rowsInBox_ = 0, boxRow_ = 0;
  std::vector<uint16_t> sums_;     // of the rows of the current box row, per sample
  std::vector<uint8_t> negative_;  // reducedWidth_ x reducedHeight_ RGB
};

#endif
