// How the image is exposed, channel by channel: its film base and densest film, a dim channel
// and a clipped one.
#ifndef SCAN_FS_INSPECTION_EXPOSURE_H
#define SCAN_FS_INSPECTION_EXPOSURE_H

#include <cstdint>
#include <vector>

#include "inspection/inspection_report.h"

struct FilmLevels {
  double base = 0, densest = 0;
};

// The film base and densest level of one channel from its column means along the frame
// (means[stretch * columns + column], 1/256 level), leaving out columns marked in `excluded`.
FilmLevels MeasureFilmLevels(const uint16_t* means, uint32_t columns, uint32_t stretches,
                             const std::vector<bool>& excluded);

// Adds the dim and clipped channels to `findings`. `clippedAtZero` and `clippedAtFullScale` are
// each channel's shares of samples at 0 and at full scale outside column defects.
void AddExposureFindings(const ChannelStatistics (&channels)[3], const double (&clippedAtZero)[3],
                         const double (&clippedAtFullScale)[3], std::vector<Finding>& findings);

#endif
