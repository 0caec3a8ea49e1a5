// What the inspection of an image found: the image, each channel's statistics and the defects,
// each with where it is, how strong it is and the limit it passed.
#ifndef SCAN_FS_INSPECTION_INSPECTION_REPORT_H
#define SCAN_FS_INSPECTION_INSPECTION_REPORT_H

#include <cstdint>
#include <vector>

enum class ImageChannel : uint8_t { kRed, kGreen, kBlue, kAll };

enum class FindingKind : uint8_t {
  kDeadColumns,    // columns near 0 while their neighbours are not
  kStuckColumns,   // columns near full scale while their neighbours are not
  kWeakColumns,    // columns below their neighbours along the frame
  kStrongColumns,  // columns above their neighbours along the frame
  kLowBand,        // rows below the rows around them across the frame
  kHighBand,       // rows above the rows around them across the frame
  kDimChannel,     // a channel whose film base is far below the others'
  kClippedAtZero,  // a channel at 0 over more than a small share of the frame
  kClippedAtFullScale,
};

struct Finding {
  FindingKind kind;
  ImageChannel channel;
  uint32_t first = 0, last = 0;  // columns or rows, from 0; not used by exposure findings
  // Columns and bands: the mean offset in levels from the neighbours, and the limit it passed.
  double offset = 0;
  double limit = 0;
  // Columns: their own mean level. A dim channel: its film base.
  double level = 0;
  // Columns: the share of the frame's length where they differ; bands: of its width;
  // clipping: the share of the channel's samples at 0 or at full scale.
  double extent = 0;
  // A dim channel: the channel whose film base it falls short of, that base, and the least
  // share of it a sound channel reaches.
  ImageChannel comparedWith = ImageChannel::kAll;
  double comparedLevel = 0;
  double leastShare = 0;
};

struct ChannelStatistics {
  uint8_t minimum = 0, maximum = 0;
  double mean = 0, standardDeviation = 0;
  double shareAtZero = 0, shareAtFullScale = 0;  // of the channel's samples
  // The level of unexposed film (or of the negative's brightest parts) and of its densest.
  double filmBase = 0, densest = 0;
};

struct InspectionReport {
  uint32_t width = 0, lines = 0;
  uint32_t resolution = 0;  // dots per inch; 0 when not known
  uint32_t linesReceived = 0;
  bool dataLost = false;  // part of the image never arrived (a failed READ)
  // Judged: every line arrived and the image was not too large to inspect.
  bool judged = false;
  ChannelStatistics channels[3];
  // The least offset, in levels, from which a column or a band counted, per channel: it rises
  // above kLeastOffset where the picture itself is busy.
  double columnLimits[3] = {}, bandLimits[3] = {};
  std::vector<Finding> findings;
};

#endif
