// The search for lines (columns or rows) of the image that differ from the lines beside them
// consistently along their whole length: the same rule finds a sensor element's streak along
// the frame and a transport fault's band across it.
#ifndef SCAN_FS_INSPECTION_STREAK_SEARCH_H
#define SCAN_FS_INSPECTION_STREAK_SEARCH_H

#include <cstddef>
#include <cstdint>
#include <vector>

// One channel's mean levels of every line in stretches along it, in 1/256 level:
// means[line * lineStride + stretch * stretchStride]. `weights` are the stretches' shares of a
// line (sum 1). A line's neighbours are every `step`-th line, kNeighbourLines on either side.
struct LineStretches {
  const uint16_t* means;
  uint32_t lines, stretches;
  size_t lineStride, stretchStride;
  const std::vector<double>& weights;
  uint32_t step;
};

// The step between neighbours for an image: the neighbours reach as far across the frame at
// every resolution (a 35 mm frame's short side holds kShortSideLines lines at the lowest).
uint32_t NeighbourStep(uint32_t width, uint32_t lines);

// Adjacent lines that differ in the same direction.
struct Streak {
  uint32_t first, last;
  double offset;    // mean offset of the lines from their neighbours, in levels
  double level;     // their mean level
  double coverage;  // least share of their length in which each of them differs
};

struct StreakSearch {
  std::vector<Streak> streaks;
  double limit;  // the least offset that counted in this channel
};

// A line counts when its mean differs from the median of its neighbours by at least the limit
// (kLeastOffset, or kScatterFactor times the typical offset of the channel's lines, whichever is
// more), and when it differs in the same direction by half as much in stretches that make up
// kLeastCoverage of its length.
StreakSearch FindStreaks(const LineStretches& grid);

#endif
