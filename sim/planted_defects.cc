#include "sim/planted_defects.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr uint32_t kOpticalResolution = 2720;

uint8_t Clamped(int value) {
  return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

bool InChannel(PlantedChannel channel, uint32_t sample) {
  return channel == PlantedChannel::kAll || static_cast<uint32_t>(channel) == sample;
}

// The same noise for the same sample in every scan: a hash of its place, two 16-bit uniform
// numbers whose sum is triangular, scaled to the standard deviation asked for.
int Grain(uint32_t seed, uint32_t line, uint32_t sampleInLine, int sigma) {
  uint64_t x = (uint64_t{seed} << 32 | line) * 0x9E3779B97F4A7C15ull ^ sampleInLine;
  x ^= x >> 31;
  x *= 0xBF58476D1CE4E5B9ull;
  x ^= x >> 27;
  x *= 0x94D049BB133111EBull;
  x ^= x >> 31;
  const int sum = static_cast<int>(x & 0xFFFF) + static_cast<int>(x >> 16 & 0xFFFF) - 0xFFFF;
  // A triangular variable on [-1, 1] has a standard deviation of 1 / sqrt(6).
  return static_cast<int>(std::lround(sum * sigma * 2.449489742783178 / 0xFFFF));
}

}  // namespace

DefectPlanter::DefectPlanter(const PlantedDefects& defects, uint32_t resolution,
                             uint32_t bytesPerLine, uint32_t lines)
    : defects_(defects),
      resolution_(resolution),
      bytesPerLine_(bytesPerLine),
      imageBytes_(bytesPerLine / 3 * 3) {
  for (const PlantedColumn& column : defects.columns) {
    columns_.push_back({ToPixels(column.first, column.width, bytesPerLine / 3), column});
  }
  for (const PlantedBand& band : defects.bands) {
    bands_.push_back({ToPixels(band.first, band.lines, lines), band});
  }
}

// The pixels that sensor elements (or lines) first to first + count - 1 make up at this
// resolution: at least one, within the image.
DefectPlanter::Span DefectPlanter::ToPixels(uint32_t first, uint32_t count, uint32_t limit) const {
  const uint64_t begin = uint64_t{first} * resolution_ / kOpticalResolution;
  const uint64_t end =
      (uint64_t{first + count} * resolution_ + kOpticalResolution - 1) / kOpticalResolution;
  return {static_cast<uint32_t>(std::min<uint64_t>(begin, limit)),
          static_cast<uint32_t>(std::min<uint64_t>(std::max(end, begin + 1), limit))};
}

void DefectPlanter::Apply(uint64_t offset, uint8_t* bytes, size_t length) const {
  while (length > 0) {
    const auto line = static_cast<uint32_t>(offset / bytesPerLine_);
    const auto column = static_cast<uint32_t>(offset % bytesPerLine_);
    const size_t piece = std::min<size_t>(length, bytesPerLine_ - column);
    ApplyToLine(line, column, bytes, piece);
    bytes += piece;
    offset += piece;
    length -= piece;
  }
}

// `bytes` hold bytes firstByte to firstByte + length - 1 of one line.
void DefectPlanter::ApplyToLine(uint32_t line, uint32_t firstByte, uint8_t* bytes,
                                size_t length) const {
  const uint32_t end = std::min<uint32_t>(firstByte + static_cast<uint32_t>(length), imageBytes_);
  const auto each = [&](uint32_t from, uint32_t to, auto&& change) {
    for (uint32_t i = std::max(from, firstByte); i < std::min(to, end); ++i) {
      bytes[i - firstByte] = change(bytes[i - firstByte], i % 3, i);
    }
  };
  if (defects_.grainSigma > 0) {
    each(0, end, [&](uint8_t value, uint32_t, uint32_t i) {
      return Clamped(value + Grain(defects_.grainSeed, line, i, defects_.grainSigma));
    });
  }
  const int* percent = defects_.channelPercent;
  if (percent[0] != 100 || percent[1] != 100 || percent[2] != 100) {
    each(0, end, [&](uint8_t value, uint32_t sample, uint32_t) {
      return static_cast<uint8_t>((value * percent[sample] + 50) / 100);
    });
  }
  for (const Band& band : bands_) {
    if (line < band.lines.first || line >= band.lines.last) continue;
    each(0, end, [&](uint8_t value, uint32_t sample, uint32_t) {
      return InChannel(band.defect.channel, sample) ? Clamped(value + band.defect.offset) : value;
    });
  }
  for (const Column& column : columns_) {
    const PlantedColumn& defect = column.defect;
    each(3 * column.pixels.first, 3 * column.pixels.last,
         [&](uint8_t value, uint32_t sample, uint32_t) {
           if (!InChannel(defect.channel, sample)) return value;
           switch (defect.kind) {
             case PlantedColumn::Kind::kDead:
             case PlantedColumn::Kind::kStuck:
               return Clamped(defect.level);
             case PlantedColumn::Kind::kWeak:
               return Clamped(value - defect.level);
             case PlantedColumn::Kind::kStrong:
               return Clamped(value + defect.level);
           }
           return value;
         });
  }
}
