#include "tests/support/tiff_expectations.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {

TIFF* OpenImage() {
  TIFFSetWarningHandler([](const char*, const char* format, va_list arguments) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, arguments);
    EXPECT_NE(std::string(text).find("317"), std::string::npos) << text;
  });
  return TIFFOpen("img_fs.tif", "r");
}

}  // namespace

std::string TiffFields() {
  TIFF* tiff = OpenImage();
  if (tiff == nullptr) return "";
  uint32_t width = 0, lines = 0;
  uint16_t samples = 0, bits = 0, photometric = 0, unit = 0;
  float xResolution = 0, yResolution = 0;
  uint64_t* strips = nullptr;
  TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &lines);
  TIFFGetField(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
  TIFFGetField(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
  TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric);
  TIFFGetField(tiff, TIFFTAG_RESOLUTIONUNIT, &unit);
  TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &xResolution);
  TIFFGetField(tiff, TIFFTAG_YRESOLUTION, &yResolution);
  TIFFGetField(tiff, TIFFTAG_STRIPOFFSETS, &strips);
  char text[160];
  std::snprintf(text, sizeof text,
                "%ux%u, %ux%u bits, photometric %u, unit %u, %gx%g dpi, strip at %llu", width,
                lines, samples, bits, photometric, unit, xResolution, yResolution,
                strips == nullptr ? 0ull : static_cast<unsigned long long>(strips[0]));
  TIFFClose(tiff);
  TIFFSetWarningHandler(nullptr);
  return text;
}

void ExpectTiffHolds(uint32_t width, uint32_t lines, uint32_t resolution, NegativeImage image) {
  const std::string dpi = std::to_string(resolution);
  EXPECT_EQ(TiffFields(), std::to_string(width) + "x" + std::to_string(lines) +
                              ", 3x8 bits, photometric 2, unit 2, " + dpi + "x" + dpi +
                              " dpi, strip at 216");
  TIFF* tiff = OpenImage();
  ASSERT_NE(tiff, nullptr);
  ASSERT_EQ(TIFFScanlineSize(tiff), static_cast<tmsize_t>(3 * width));
  std::vector<uint8_t> line(3 * width), expected(3 * width);
  size_t differing = 0;
  for (uint32_t row = 0; row < lines; ++row) {
    ASSERT_EQ(TIFFReadScanline(tiff, line.data(), row), 1);
    image.Read(static_cast<uint64_t>(row) * 3 * width, expected.data(), expected.size());
    if (line != expected) ++differing;
  }
  EXPECT_EQ(differing, 0u);
  TIFFClose(tiff);
  TIFFSetWarningHandler(nullptr);
}
