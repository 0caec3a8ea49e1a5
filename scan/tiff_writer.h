#ifndef SCAN_FS_SCAN_TIFF_WRITER_H
#define SCAN_FS_SCAN_TIFF_WRITER_H

#include <cstdio>

// Size of what WriteTiffHeader writes: header, one directory of 15 entries, resolutions and, for
// RGB, the three bits-per-sample values. The image data follow at this offset.
inline constexpr long kTiffHeaderLengthGray = 210;
inline constexpr long kTiffHeaderLengthRgb = 216;

// Writes everything of img_fs.tif before the pixel data: a little-endian TIFF with one
// uncompressed strip, described by imageComposition, bytesPerLine, imageLines, imageByteCount
// and scanResolution as they stand now. `file` is open ("wb") at the start of an empty file;
// the writer neither positions, flushes nor closes it, and leaves write errors in the stream's
// error state. Returns false, writing nothing, for an image composition above 5.
bool WriteTiffHeader(std::FILE* file);

#endif
