// Checks of img_fs.tif in the current directory, with libtiff as the judge: every libtiff warning
// but the one about tag 317 fails the test.
#ifndef SCAN_FS_TESTS_SUPPORT_TIFF_EXPECTATIONS_H
#define SCAN_FS_TESTS_SUPPORT_TIFF_EXPECTATIONS_H

#include <cstdint>
#include <string>

#include "sim/negative_image.h"

// What libtiff reads of the image's directory, as "WIDTHxLINES, SAMPLESxBITS bits, photometric P,
// unit U, XxY dpi, strip at OFFSET"; "" when libtiff cannot open the file.
std::string TiffFields();

// img_fs.tif is an 8-bit RGB image of `width` x `lines` pixels at `resolution` dots per inch
// whose rows are those of `image`.
void ExpectTiffHolds(uint32_t width, uint32_t lines, uint32_t resolution, NegativeImage image);

#endif
