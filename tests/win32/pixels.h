// Pixels of the screen or of a device context, for checks of what the program drew and for the
// screenshots of the README.
#ifndef SCAN_FS_TESTS_WIN32_PIXELS_H
#define SCAN_FS_TESTS_WIN32_PIXELS_H

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// 32-bit pixels (0x00RRGGBB), top row first, copied from a rectangle of a device context.
struct Pixels {
  Pixels(HDC context, int x, int y, int width, int height);
  // The smallest rectangle holding every pixel that is not white; empty when there is none.
  RECT Ink() const;

  int width, height;
  std::vector<uint32_t> data;
};

// Writes the screen's pixels in `area` as a 32-bit BMP, top row first; false when it could not.
bool WriteScreenshot(const RECT& area, const std::string& path);

#endif
