#include "inspection/row_sums.h"

#include <algorithm>

namespace {

constexpr uint32_t kBlockSamples = 3 * kBlockPixels;

// Lane sums of a block's 48 lanes, folded into the three channels: lanes k and k + 3m hold the
// same channel.
template <typename Lane, typename Total>
void FoldIntoChannels(const Lane (&lanes)[kBlockSamples], Total (&channels)[3]) {
  uint32_t folded[24];
  for (int k = 0; k < 24; ++k) folded[k] = uint32_t{lanes[k]} + lanes[k + 24];
  for (int k = 0; k < 12; ++k) folded[k] += folded[k + 12];
  for (int k = 0; k < 6; ++k) folded[k] += folded[k + 6];
  for (int c = 0; c < 3; ++c) channels[c] += folded[c] + folded[c + 3];
}

}  // namespace

RowSegments CutIntoSegments(uint32_t width) {
  RowSegments segments;
  const uint32_t blocks = width / kBlockPixels;
  segments.count = std::clamp<uint32_t>(blocks, 1, kMostSegments);
  for (uint32_t j = 0; j <= segments.count; ++j) {
    segments.firstBlock[j] = static_cast<uint32_t>(uint64_t{blocks} * j / segments.count);
  }
  for (uint32_t j = 0; j < segments.count; ++j) {
    segments.pixels[j] = (segments.firstBlock[j + 1] - segments.firstBlock[j]) * kBlockPixels;
  }
  segments.pixels[segments.count - 1] += width - blocks * kBlockPixels;
  return segments;
}

void SummarizeRow(const uint8_t* __restrict row, uint32_t width, const RowSegments& segments,
                  bool withSquares, RowSummary& summary) {
  const uint32_t blocks = width / kBlockPixels;
  uint8_t low[kBlockSamples], high[kBlockSamples];
  for (uint32_t k = 0; k < kBlockSamples; ++k) {
    low[k] = 255;
    high[k] = 0;
  }
  for (uint32_t j = 0; j < segments.count; ++j) {
    // A segment holds at most 256 blocks of a row no wider than kLargestSide: 16-bit lanes hold.
    uint16_t lanes[kBlockSamples] = {};
    for (uint32_t b = segments.firstBlock[j]; b < segments.firstBlock[j + 1]; ++b) {
      const uint8_t* block = row + b * kBlockSamples;
      for (uint32_t k = 0; k < kBlockSamples; ++k) {
        const uint8_t value = block[k];
        lanes[k] += value;
        low[k] = value < low[k] ? value : low[k];
        high[k] = value > high[k] ? value : high[k];
      }
    }
    uint32_t sums[3] = {};
    FoldIntoChannels(lanes, sums);
    for (int c = 0; c < 3; ++c) summary.segmentSums[j][c] = sums[c];
  }
  // Squares of up to 4096 blocks fit 32-bit lanes.
  uint32_t squares[kBlockSamples] = {};
  for (uint32_t b = 0; b < (withSquares ? blocks : 0); ++b) {
    const uint8_t* block = row + b * kBlockSamples;
    for (uint32_t k = 0; k < kBlockSamples; ++k) squares[k] += uint32_t{block[k]} * block[k];
  }
  for (int c = 0; c < 3; ++c) {
    summary.minimum[c] = 255;
    summary.maximum[c] = 0;
    summary.squares[c] = 0;
  }
  FoldIntoChannels(squares, summary.squares);
  for (uint32_t k = 0; k < kBlockSamples && blocks > 0; ++k) {
    summary.minimum[k % 3] = std::min(summary.minimum[k % 3], low[k]);
    summary.maximum[k % 3] = std::max(summary.maximum[k % 3], high[k]);
  }
  // The pixels after the last whole block.
  for (uint32_t i = 3 * blocks * kBlockPixels; i < 3 * width; ++i) {
    const uint8_t value = row[i];
    summary.segmentSums[segments.count - 1][i % 3] += value;
    summary.minimum[i % 3] = std::min(summary.minimum[i % 3], value);
    summary.maximum[i % 3] = std::max(summary.maximum[i % 3], value);
    if (withSquares) summary.squares[i % 3] += uint32_t{value} * value;
  }
}

void AddSamples(const uint8_t* __restrict row, size_t samples, uint16_t* __restrict sums) {
  for (size_t i = 0; i < samples; ++i) sums[i] += row[i];
}

void CountSamplesAt(const uint8_t* __restrict row, size_t samples, uint8_t value,
                    uint32_t* __restrict counts) {
  for (size_t i = 0; i < samples; ++i) counts[i] += row[i] == value;
}
