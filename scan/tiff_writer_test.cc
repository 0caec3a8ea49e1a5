#include "scan/tiff_writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "shell/program_state.h"

namespace {

// The header as written, or (`confirmed`) once the image behind it is whole.
std::vector<uint8_t> Header(uint8_t composition, uint32_t lineBytes, uint32_t lines,
                            uint32_t byteCount, uint32_t resolution, bool confirmed = true) {
  ResetProgramState();
  imageComposition = composition;
  bytesPerLine = lineBytes;
  imageLines = lines;
  imageByteCount = byteCount;
  scanResolution = resolution;
  std::FILE* file = std::tmpfile();
  const bool written = WriteTiffHeader(file);
  if (written && confirmed) {
    EXPECT_TRUE(ConfirmTiffHeader(file));
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(std::ftell(file)));
  std::rewind(file);
  EXPECT_EQ(std::fread(bytes.data(), 1, bytes.size(), file), bytes.size());
  std::fclose(file);
  EXPECT_EQ(written, composition <= 5);
  ResetProgramState();
  return bytes;
}

uint32_t Number(const std::vector<uint8_t>& bytes, size_t at, int size) {
  uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes.at(at + i);
  return value;
}

struct Entry {
  uint32_t tag, type, count, value;
};

Entry EntryAt(const std::vector<uint8_t>& bytes, int index) {
  const size_t at = 10 + 12 * index;
  return {Number(bytes, at, 2), Number(bytes, at + 2, 2), Number(bytes, at + 4, 4),
          Number(bytes, at + 8, 4)};
}

TEST(TiffWriterTest, RgbAt340Dpi) {
  const std::vector<uint8_t> bytes = Header(5, 972, 486, 472392, 340);
  ASSERT_EQ(bytes.size(), 216u);
  EXPECT_EQ(bytes[0], 'I');
  EXPECT_EQ(bytes[1], 'I');
  EXPECT_EQ(Number(bytes, 2, 2), 42u);
  // Until then the file is no TIFF, whatever stands behind the header.
  EXPECT_EQ(Number(Header(5, 972, 486, 472392, 340, false), 2, 2), 0u);
  EXPECT_EQ(Number(bytes, 4, 4), 8u);
  EXPECT_EQ(Number(bytes, 8, 2), 15u);
  const std::vector<std::vector<uint32_t>> expected = {
      {254, 4, 1, 0},   {256, 4, 1, 324}, {257, 4, 1, 486}, {258, 3, 3, 210}, {259, 3, 1, 1},
      {262, 3, 1, 2},   {273, 4, 1, 216}, {277, 3, 1, 3},   {278, 4, 1, 486}, {279, 4, 1, 472392},
      {282, 5, 1, 194}, {283, 5, 1, 202}, {284, 3, 1, 1},   {296, 3, 1, 2},   {317, 3, 1, 1}};
  for (int i = 0; i < 15; ++i) {
    const Entry entry = EntryAt(bytes, i);
    EXPECT_EQ((std::vector<uint32_t>{entry.tag, entry.type, entry.count, entry.value}), expected[i])
        << "entry " << i;
  }
  EXPECT_EQ(Number(bytes, 190, 4), 0u);  // no next directory
  for (const size_t at : {194u, 202u}) {
    EXPECT_EQ(Number(bytes, at, 4), 340u);
    EXPECT_EQ(Number(bytes, at + 4, 4), 1u);
  }
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 210, bytes.end()),
            (std::vector<uint8_t>{8, 0, 8, 0, 8, 0}));
}

TEST(TiffWriterTest, RgbWidthRoundsDownAndByteCountIsTakenAsItStands) {
  const std::vector<uint8_t> bytes = Header(5, 3889, 2, 12345, 2720);
  EXPECT_EQ(EntryAt(bytes, 1).value, 1296u);  // 3889 / 3
  EXPECT_EQ(EntryAt(bytes, 9).value, 12345u);
  EXPECT_EQ(Number(bytes, 194, 4), 2720u);
}

TEST(TiffWriterTest, GrayAndBilevelCompositions) {
  struct Case {
    uint8_t composition;
    uint32_t width;
    uint32_t bitsPerSample;
  };
  for (const Case& c :
       {Case{0, 800, 1}, Case{1, 800, 1}, Case{2, 100, 8}, Case{3, 800, 1}, Case{4, 800, 1}}) {
    const std::vector<uint8_t> bytes = Header(c.composition, 100, 7, 700, 680);
    ASSERT_EQ(bytes.size(), 210u) << int{c.composition};
    EXPECT_EQ(EntryAt(bytes, 1).value, c.width);
    EXPECT_EQ(EntryAt(bytes, 3).count, 1u);
    EXPECT_EQ(EntryAt(bytes, 3).value, c.bitsPerSample);
    EXPECT_EQ(EntryAt(bytes, 5).value, 1u);  // BlackIsZero
    EXPECT_EQ(EntryAt(bytes, 6).value, 210u);
    EXPECT_EQ(EntryAt(bytes, 7).value, 1u);
    EXPECT_EQ(Number(bytes, 206, 4), 1u);  // the YResolution denominator ends the file part
  }
}

TEST(TiffWriterTest, UnknownCompositionWritesNothing) {
  EXPECT_TRUE(Header(6, 100, 7, 700, 680).empty());
  EXPECT_TRUE(Header(255, 100, 7, 700, 680).empty());
}

}  // namespace
