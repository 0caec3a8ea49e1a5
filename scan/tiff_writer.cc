#include "scan/tiff_writer.h"

#include <cstdint>

#include "shell/program_state.h"

namespace {

// TIFF field types
constexpr uint16_t kShort = 3;
constexpr uint16_t kLong = 4;
constexpr uint16_t kRational = 5;

// The version field: 42 makes the file a TIFF; 0 until the image behind the header is whole.
constexpr uint16_t kTiffVersion = 42;
constexpr uint16_t kUnconfirmedVersion = 0;
constexpr long kVersionOffset = 2;

constexpr uint32_t kDirectoryOffset = 8;
constexpr uint16_t kEntryCount = 15;
constexpr uint32_t kXResolutionOffset = 194;
constexpr uint32_t kYResolutionOffset = 202;
constexpr uint32_t kBitsPerSampleOffset = 210;

void PutLittleEndian16(uint8_t* at, uint32_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}

void PutLittleEndian32(uint8_t* at, uint32_t value) {
  PutLittleEndian16(at, value);
  PutLittleEndian16(at + 2, value >> 16);
}

// Each piece goes to the stream as one item of its size.
void WritePiece(std::FILE* file, const uint8_t* piece, size_t size) {
  std::fwrite(piece, size, 1, file);
}

// A value of count 1 that fits the value field: a SHORT takes its first two bytes, the other two
// stay 0, which is the same as the value as a 32-bit number.
void WriteEntry(std::FILE* file, uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
  uint8_t entry[12];
  PutLittleEndian16(&entry[0], tag);
  PutLittleEndian16(&entry[2], type);
  PutLittleEndian32(&entry[4], count);
  PutLittleEndian32(&entry[8], value);
  WritePiece(file, entry, sizeof entry);
}

void WriteRational(std::FILE* file, uint32_t numerator, uint32_t denominator) {
  uint8_t rational[8];
  PutLittleEndian32(&rational[0], numerator);
  PutLittleEndian32(&rational[4], denominator);
  WritePiece(file, rational, sizeof rational);
}

}  // namespace

bool WriteTiffHeader(std::FILE* file) {
  if (imageComposition > 5) return false;
  const bool rgb = imageComposition == 5;
  // Compositions 0, 1, 3 and 4 are one bit per pixel, 2 is eight-bit gray, 5 is eight-bit RGB.
  const uint32_t imageWidth = rgb                     ? bytesPerLine / 3
                              : imageComposition == 2 ? bytesPerLine
                                                      : bytesPerLine * 8;
  const uint32_t bitsPerSample = imageComposition == 2 ? 8 : 1;
  const uint32_t stripOffset = rgb ? kTiffHeaderLengthRgb : kTiffHeaderLengthGray;

  uint8_t header[10];
  header[0] = 'I';
  header[1] = 'I';
  PutLittleEndian16(&header[2], kUnconfirmedVersion);
  PutLittleEndian32(&header[4], kDirectoryOffset);
  PutLittleEndian16(&header[8], kEntryCount);
  WritePiece(file, header, sizeof header);

  WriteEntry(file, 254, kLong, 1, 0);  // NewSubfileType
  WriteEntry(file, 256, kLong, 1, imageWidth);
  WriteEntry(file, 257, kLong, 1, imageLines);  // ImageLength
  if (rgb) {
    WriteEntry(file, 258, kShort, 3, kBitsPerSampleOffset);
  } else {
    WriteEntry(file, 258, kShort, 1, bitsPerSample);
  }
  WriteEntry(file, 259, kShort, 1, 1);              // Compression: none
  WriteEntry(file, 262, kShort, 1, rgb ? 2 : 1);    // PhotometricInterpretation: RGB, BlackIsZero
  WriteEntry(file, 273, kLong, 1, stripOffset);     // StripOffsets
  WriteEntry(file, 277, kShort, 1, rgb ? 3 : 1);    // SamplesPerPixel
  WriteEntry(file, 278, kLong, 1, imageLines);      // RowsPerStrip: one strip
  WriteEntry(file, 279, kLong, 1, imageByteCount);  // StripByteCounts
  WriteEntry(file, 282, kRational, 1, kXResolutionOffset);
  WriteEntry(file, 283, kRational, 1, kYResolutionOffset);
  WriteEntry(file, 284, kShort, 1, 1);  // PlanarConfiguration: chunky
  WriteEntry(file, 296, kShort, 1, 2);  // ResolutionUnit: inch
  WriteEntry(file, 317, kShort, 1, 1);  // Predictor: none

  const uint8_t noNextDirectory[4] = {0, 0, 0, 0};
  WritePiece(file, noNextDirectory, sizeof noNextDirectory);
  WriteRational(file, scanResolution, 1);
  WriteRational(file, scanResolution, 1);
  if (rgb) {
    uint8_t bitsPerSampleValues[6];
    for (int i = 0; i < 3; ++i) PutLittleEndian16(&bitsPerSampleValues[2 * i], 8);
    WritePiece(file, bitsPerSampleValues, sizeof bitsPerSampleValues);
  }
  return true;
}

bool ConfirmTiffHeader(std::FILE* file) {
  uint8_t version[2];
  PutLittleEndian16(version, kTiffVersion);
  return std::fflush(file) == 0 && std::fseek(file, kVersionOffset, SEEK_SET) == 0 &&
         std::fwrite(version, sizeof version, 1, file) == 1 && std::fseek(file, 0, SEEK_END) == 0;
}
