#include "tests/support/tiff_expectations.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

void ExpectTiffHolds(uint32_t width, uint32_t lines, float resolution, NegativeImage image) {
  TIFFSetWarningHandler([](const char*, const char* format, va_list arguments) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, arguments);
    EXPECT_NE(std::string(text).find("317"), std::string::npos) << text;
  });
  TIFF* tiff = TIFFOpen("img_fs.tif", "r");
  ASSERT_NE(tiff, nullptr);
  uint32_t tiffWidth = 0, tiffLength = 0;
  uint16_t samples = 0, bits = 0, photometric = 0, unit = 0;
  float xResolution = 0, yResolution = 0;
  TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &tiffWidth);
  TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &tiffLength);
  TIFFGetField(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
  TIFFGetField(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
  TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric);
  TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &xResolution);
  TIFFGetField(tiff, TIFFTAG_YRESOLUTION, &yResolution);
  TIFFGetField(tiff, TIFFTAG_RESOLUTIONUNIT, &unit);
  EXPECT_EQ(tiffWidth, width);
  EXPECT_EQ(tiffLength, lines);
  EXPECT_EQ(samples, 3);
  EXPECT_EQ(bits, 8);
  EXPECT_EQ(photometric, PHOTOMETRIC_RGB);
  EXPECT_EQ(xResolution, resolution);
  EXPECT_EQ(yResolution, resolution);
  EXPECT_EQ(unit, RESUNIT_INCH);
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
