// The inner loops over each row's samples, the only work the inspection does per sample: they go
// over blocks of 16 pixels (48 samples, so that lane k always holds channel k % 3) in loops of
// fixed length that the compiler turns into vector instructions.
#ifndef SCAN_FS_INSPECTION_ROW_SUMS_H
#define SCAN_FS_INSPECTION_ROW_SUMS_H

#include <cstddef>
#include <cstdint>

inline constexpr uint32_t kBlockPixels = 16;
inline constexpr uint32_t kMostSegments = 16;

// The row cut into segments of whole blocks; the pixels after the last whole block belong to
// the last segment.
struct RowSegments {
  uint32_t count = 0;
  uint32_t firstBlock[kMostSegments + 1] = {};
  uint32_t pixels[kMostSegments] = {};
};
RowSegments CutIntoSegments(uint32_t width);

struct RowSummary {
  uint32_t segmentSums[kMostSegments][3];
  uint8_t minimum[3], maximum[3];
  uint64_t squares[3];
};

// Sums and extremes of one row of `width` pixels, and with `squares` its sums of squares
// (else 0).
void SummarizeRow(const uint8_t* row, uint32_t width, const RowSegments& segments, bool squares,
                  RowSummary& summary);

// sums[i] += row[i] for `samples` samples.
void AddSamples(const uint8_t* row, size_t samples, uint16_t* sums);
// counts[i] += 1 where row[i] == value.
void CountSamplesAt(const uint8_t* row, size_t samples, uint8_t value, uint32_t* counts);

#endif
