// The header of every image composition, read back by libtiff over an image of zeros; the scan
// tests judge composition 5, the one a scan writes, on real images.
#include "scan/tiff_writer.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include <tuple>

#include "shell/program_state.h"
#include "tests/support/temp_directory.h"

namespace {

TEST(TiffWriterTest, EveryCompositionGivesATiffThatLibtiffReads) {
  const ScopedTempDirectory directory;
  // composition, then what libtiff reads: width, bits per sample, samples, photometric, strip
  const std::vector<std::tuple<int, uint32_t, int, int, int, uint64_t>> cases = {
      {0, 800, 1, 1, PHOTOMETRIC_MINISBLACK, 210},
      {2, 100, 8, 1, PHOTOMETRIC_MINISBLACK, 210},
      {4, 800, 1, 1, PHOTOMETRIC_MINISBLACK, 210},
      {5, 33, 8, 3, PHOTOMETRIC_RGB, 216}};
  for (const auto& [composition, width, bits, samples, photometric, strip] : cases) {
    ResetProgramState();
    imageComposition = static_cast<uint8_t>(composition);
    bytesPerLine = 100, imageLines = 7, imageByteCount = 700, scanResolution = 680;
    std::FILE* file = std::fopen("img_fs.tif", "wb");
    ASSERT_TRUE(WriteTiffHeader(file));
    ASSERT_EQ(std::fwrite(std::string(700, '\0').data(), 700, 1, file), 1u);
    ASSERT_TRUE(ConfirmTiffHeader(file));
    ASSERT_EQ(std::fclose(file), 0);
    TIFF* tiff = TIFFOpen("img_fs.tif", "r");
    ASSERT_NE(tiff, nullptr);
    uint32_t tiffWidth = 0, lines = 0;
    uint16_t tiffBits = 0, tiffSamples = 0, tiffPhotometric = 0;
    uint64_t* stripOffsets = nullptr;
    float resolution = 0;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &tiffWidth);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &lines);
    TIFFGetField(tiff, TIFFTAG_BITSPERSAMPLE, &tiffBits);
    TIFFGetField(tiff, TIFFTAG_SAMPLESPERPIXEL, &tiffSamples);
    TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &tiffPhotometric);
    TIFFGetField(tiff, TIFFTAG_STRIPOFFSETS, &stripOffsets);
    TIFFGetField(tiff, TIFFTAG_YRESOLUTION, &resolution);
    EXPECT_EQ((std::tuple{tiffWidth, lines, tiffBits, tiffSamples, tiffPhotometric, resolution}),
              (std::tuple{width, 7u, bits, samples, photometric, 680.0f}))
        << composition;
    EXPECT_EQ(stripOffsets == nullptr ? 0 : stripOffsets[0], strip);
    TIFFClose(tiff);
  }
  imageComposition = 6;  // unknown: nothing is written
  std::FILE* file = std::tmpfile();
  EXPECT_FALSE(WriteTiffHeader(file));
  EXPECT_EQ(std::ftell(file), 0);
  std::fclose(file);
  ResetProgramState();
}

}  // namespace
