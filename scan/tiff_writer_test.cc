// The header of every image composition, read back by libtiff over an image of zeros; the scan
// tests judge composition 5, the one a scan writes, on real images.
#include "scan/tiff_writer.h"

#include <gtest/gtest.h>

#include "shell/program_state.h"
#include "tests/support/temp_directory.h"
#include "tests/support/tiff_expectations.h"

namespace {

TEST(TiffWriterTest, EveryCompositionGivesATiffThatLibtiffReads) {
  const ScopedTempDirectory directory;
  const std::string oneBit = "800x7, 1x1 bits, photometric 1, unit 2, 680x680 dpi, strip at 210";
  for (const auto& [composition, fields] :
       {std::pair{0, oneBit},
        std::pair{2,
                  std::string("100x7, 1x8 bits, photometric 1, unit 2, 680x680 dpi, strip at 210")},
        std::pair{4, oneBit},
        std::pair{
            5, std::string("33x7, 3x8 bits, photometric 2, unit 2, 680x680 dpi, strip at 216")}}) {
    ResetProgramState();
    imageComposition = static_cast<uint8_t>(composition);
    bytesPerLine = 100, imageLines = 7, imageByteCount = 700, scanResolution = 680;
    std::FILE* file = std::fopen("img_fs.tif", "wb");
    ASSERT_TRUE(WriteTiffHeader(file));
    ASSERT_EQ(std::fwrite(std::string(700, '\0').data(), 700, 1, file), 1u);
    ASSERT_TRUE(ConfirmTiffHeader(file));
    ASSERT_EQ(std::fclose(file), 0);
    EXPECT_EQ(TiffFields(), fields) << composition;
  }
  imageComposition = 6;  // unknown: nothing is written
  std::FILE* file = std::tmpfile();
  EXPECT_FALSE(WriteTiffHeader(file));
  EXPECT_EQ(std::ftell(file), 0);
  std::fclose(file);
  ResetProgramState();
}

}  // namespace
