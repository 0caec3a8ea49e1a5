// A synthetic colour negative of a 35 mm frame: a landscape (sky, sun, hills, a lake) seen
// through the orange mask of the film base, with unexposed film around the picture. Bytes are
// 8-bit RGB, line after line, produced in order from any offset without holding the image.
#ifndef SCAN_FS_SIM_NEGATIVE_IMAGE_H
#define SCAN_FS_SIM_NEGATIVE_IMAGE_H

#include <cstddef>
#include <cstdint>
#include <vector>

class NegativeImage {
 public:
  // An image of `bytesPerLine` bytes (three per pixel; a spare byte or two at the end of a line
  // holds film base) by `lines` lines.
  NegativeImage(uint32_t bytesPerLine, uint32_t lines);

  uint32_t bytesPerLine() const { return bytesPerLine_; }
  uint32_t lines() const { return lines_; }
  uint64_t byteCount() const { return static_cast<uint64_t>(bytesPerLine_) * lines_; }
  // Copies `length` bytes of the image starting at `offset` into `out`.
  void Read(uint64_t offset, uint8_t* out, size_t length);

 private:
  void RenderLine(uint32_t line);

  uint32_t bytesPerLine_;
  uint32_t lines_;
  uint32_t width_;
  std::vector<int> horizon_;  // per column: the first line of land
  std::vector<uint8_t> lineBytes_;
  int64_t renderedLine_ = -1;
};

#endif
