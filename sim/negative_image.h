// A synthetic colour negative of a 35 mm frame: a landscape (sky, sun, hills with fields, a lake)
// seen through the orange mask of the film base, with unexposed film around the picture. Bytes
// are 8-bit RGB, line after line, produced in order from any offset without holding the image:
// lines are put together from a few rows, each made when first needed and kept, so that the
// simulated scanner delivers data about as fast as memory is copied and never works on rows
// that no line it delivers uses.
#ifndef SCAN_FS_SIM_NEGATIVE_IMAGE_H
#define SCAN_FS_SIM_NEGATIVE_IMAGE_H

#include <cstddef>
#include <cstdint>
#include <vector>

class NegativeImage {
 public:
  // An image of `bytesPerLine` bytes (three per pixel; a spare byte or two at the end of a line
  // hold film base) by `lines` lines.
  NegativeImage(uint32_t bytesPerLine, uint32_t lines);

  uint32_t bytesPerLine() const { return bytesPerLine_; }
  uint32_t lines() const { return lines_; }
  uint64_t byteCount() const { return static_cast<uint64_t>(bytesPerLine_) * lines_; }
  // Copies `length` bytes of the image starting at `offset` into `out`.
  void Read(uint64_t offset, uint8_t* out, size_t length);

 private:
  struct Rgb {
    uint8_t r, g, b;
  };

  // The bytes of one line: a kept row, or the line put together in lineBytes_.
  const uint8_t* Line(uint32_t line);
  void FillRow(uint8_t* row, Rgb colour) const;
  void Paint(uint8_t* row, int first, int last, Rgb colour) const;
  Rgb SkyColour(int line) const;
  const uint8_t* BaseRow();
  const uint8_t* SkyRow(int line);
  const uint8_t* SunRow();
  void CopyPixels(uint8_t* row, const uint8_t* from, int first, int last) const;
  const uint8_t* LandRow(int phase, int level);
  const uint8_t* LakeRow(int phase);

  uint32_t bytesPerLine_;
  uint32_t lines_;
  int width_;
  int marginX_, marginY_;  // unexposed film around the picture
  int landTop_, landBottom_, lakeTop_;
  int sunX_, sunY_, sunRadius_;
  int fieldHeight_, rippleHeight_;
  std::vector<int> horizon_;  // per column: the first line of land
  // Rows made when first needed (empty until then).
  std::vector<uint8_t> baseRow_;                // unexposed film
  std::vector<std::vector<uint8_t>> landRows_;  // per field phase and depth level
  std::vector<std::vector<uint8_t>> lakeRows_;  // per ripple phase
  std::vector<uint8_t> skyRow_;                 // the sky of the last colour asked for
  Rgb skyColour_{};
  std::vector<uint8_t> sunRow_;  // the sun's colour across the line
  std::vector<uint8_t> lineBytes_;
  int64_t builtLine_ = -1;
  const uint8_t* builtLineData_ = nullptr;
};

#endif
