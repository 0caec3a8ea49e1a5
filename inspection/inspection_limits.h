// The limits from which the inspection counts something as a defect. The README and the manual
// page give each with its reason; keep them in step.
#ifndef SCAN_FS_INSPECTION_INSPECTION_LIMITS_H
#define SCAN_FS_INSPECTION_INSPECTION_LIMITS_H

#include <cstdint>

#include "inspection/inspection_report.h"

// A column (row) is compared with the medians of the columns (rows) on either side of it: this
// many on each side, every step-th one, where a step is the frame's short side over
// kShortSideLines (one at 340 dpi, eight at 2720 dpi), so that they reach 1/13 of the short side
// (1.8 mm of a 35 mm frame) at every resolution. It differs only where it differs from both
// sides in the same direction: an edge of the picture beside it or a slope across it is not a
// defect. A defect narrower than half the reach leaves the medians to the picture around it.
inline constexpr uint32_t kNeighbourLines = 24;
inline constexpr uint32_t kShortSideLines = 324;
// The frame's length (for columns) and width (for rows) is cut into this many stretches, in each
// of which a defect must show.
inline constexpr uint32_t kStretches = 16;
// Least mean offset from the neighbours, in levels; it rises to kScatterFactor times the typical
// offset of the frame's own lines, so that grain and a busy picture do not count.
inline constexpr double kLeastOffset = 4.0;
inline constexpr double kScatterFactor = 5.0;
// Least share of the stretches in which the line differs in the same direction by at least half
// its mean offset.
inline constexpr double kLeastCoverage = 0.75;
// Mean levels of a column at or below which it is dead, at or above which it is stuck.
inline constexpr double kDeadLevel = 8.0;
inline constexpr double kStuckLevel = 247.0;
// Share of a channel's samples at 0 (or at full scale) above which it is clipped.
inline constexpr double kClippedShare = 0.01;
// A film base below this level is dim whatever the others show: the lamp gives almost no light.
inline constexpr double kLeastFilmBase = 32.0;

// A channel is dim when its film base is below `leastShare` of `compared`'s. The orange mask of a
// colour negative passes red most and blue least (the simulator's film: green 67 %, blue 41 % of
// red); these shares leave room for masks that pass half as much green and blue, and for film
// without a mask.
struct DimLimit {
  ImageChannel channel, compared;
  double leastShare;
};
inline constexpr DimLimit kDimLimits[] = {
    {ImageChannel::kRed, ImageChannel::kGreen, 0.80},
    {ImageChannel::kRed, ImageChannel::kBlue, 0.80},
    {ImageChannel::kGreen, ImageChannel::kRed, 0.35},
    {ImageChannel::kGreen, ImageChannel::kBlue, 0.70},
    {ImageChannel::kBlue, ImageChannel::kRed, 0.20},
    {ImageChannel::kBlue, ImageChannel::kGreen, 0.30},
};
// The film base is this share of the way up the channel's levels (and the densest film this
// share from the bottom), measured over the column stretches outside column defects.
inline constexpr double kFilmBaseQuantile = 0.98;
inline constexpr double kDensestQuantile = 0.02;

// The standard deviation of each channel is measured on every fourth row: as exact as a
// technician reads it (2.5 million samples at 2720 dpi), for a quarter of its cost.
inline constexpr uint32_t kDeviationRowStep = 4;

// Largest width and height the inspection takes (its accumulators grow with both).
inline constexpr uint32_t kLargestSide = 65535;

#endif
