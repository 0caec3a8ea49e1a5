#include "tests/win32/pixels.h"

#include <algorithm>
#include <cstdio>

Pixels::Pixels(HDC context, int x, int y, int width, int height)
    : width(width), height(height), data(static_cast<size_t>(width) * height) {
  BITMAPINFO info{{sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
  void* bits = nullptr;
  const HBITMAP section = CreateDIBSection(context, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HDC copy = CreateCompatibleDC(context);
  const HGDIOBJ original = SelectObject(copy, section);
  BitBlt(copy, 0, 0, width, height, context, x, y, SRCCOPY);
  GdiFlush();
  std::copy_n(static_cast<const uint32_t*>(bits), data.size(), data.begin());
  SelectObject(copy, original);
  DeleteDC(copy);
  DeleteObject(section);
}

RECT Pixels::Ink() const {
  RECT ink{width, height, 0, 0};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if ((data[y * width + x] & 0xFFFFFF) == 0xFFFFFF) continue;
      ink = RECT{std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y),
                 std::max<LONG>(ink.right, x + 1), std::max<LONG>(ink.bottom, y + 1)};
    }
  }
  return ink;
}

bool WriteScreenshot(const RECT& area, const std::string& path) {
  const HDC screen = GetDC(nullptr);
  const Pixels pixels(screen, area.left, area.top, area.right - area.left, area.bottom - area.top);
  ReleaseDC(nullptr, screen);
  const DWORD imageBytes = pixels.data.size() * sizeof(uint32_t);
  const BITMAPINFOHEADER info{
      sizeof info, pixels.width, -pixels.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};  // top row first
  const BITMAPFILEHEADER file{0x4D42, DWORD{sizeof file + sizeof info} + imageBytes, 0, 0,
                              sizeof file + sizeof info};  // "BM"
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  std::fwrite(&file, sizeof file, 1, out);
  std::fwrite(&info, sizeof info, 1, out);
  std::fwrite(pixels.data.data(), imageBytes, 1, out);
  const bool written = std::ferror(out) == 0;
  return std::fclose(out) == 0 && written;
}
