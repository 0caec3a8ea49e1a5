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
//
// The version field stays 0 ("II", 0) until ConfirmTiffHeader: whatever ends a scan early (a
// broken scanner, the user, a killed process), a file whose image is not whole is plainly no
// TIFF, never a header that claims bytes the file does not hold.
bool WriteTiffHeader(std::FILE* file);
// Makes the file a TIFF once every byte its header declares is written (version 42), and goes
// back to its end. False when that could not be written.
bool ConfirmTiffHeader(std::FILE* file);

#endif
