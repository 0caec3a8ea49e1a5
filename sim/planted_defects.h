// Defects of the scanner's imaging planted into the image data as the scanner delivers it: film
// grain, a dim channel, bands across the frame and faulty sensor elements along it, in that
// order (the film, the lamp, the transport, the sensor). Only image bytes change: every reply
// and every other byte the scanner sends stay the same.
#ifndef SCAN_FS_SIM_PLANTED_DEFECTS_H
#define SCAN_FS_SIM_PLANTED_DEFECTS_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/sim_config.h"

class DefectPlanter {
 public:
  // For an image of `bytesPerLine` by `lines` scanned at `resolution` dots per inch.
  DefectPlanter(const PlantedDefects& defects, uint32_t resolution, uint32_t bytesPerLine,
                uint32_t lines);
  // Plants the defects into `length` image bytes that start at `offset` of the image.
  void Apply(uint64_t offset, uint8_t* bytes, size_t length) const;

 private:
  // A stretch of pixels (columns or lines) of the image, first to last - 1.
  struct Span {
    uint32_t first, last;
  };
  struct Column {
    Span pixels;
    PlantedColumn defect;
  };
  struct Band {
    Span lines;
    PlantedBand defect;
  };
  Span ToPixels(uint32_t first, uint32_t count, uint32_t limit) const;
  void ApplyToLine(uint32_t line, uint32_t firstByte, uint8_t* bytes, size_t length) const;

  PlantedDefects defects_;
  uint32_t resolution_;
  uint32_t bytesPerLine_;
  uint32_t imageBytes_;  // bytes of a line that hold pixels: three per pixel
  std::vector<Column> columns_;
  std::vector<Band> bands_;
};

#endif
