// Checks of img_fs.tif in the current directory, with libtiff as the judge.
#ifndef SCAN_FS_TESTS_SUPPORT_TIFF_EXPECTATIONS_H
#define SCAN_FS_TESTS_SUPPORT_TIFF_EXPECTATIONS_H

#include <cstdint>

#include "sim/negative_image.h"

// img_fs.tif is an 8-bit RGB image of `width` x `lines` pixels at `resolution` dots per inch
// whose rows are those of `image`; every libtiff warning but the one about tag 317 fails.
void ExpectTiffHolds(uint32_t width, uint32_t lines, float resolution, NegativeImage image);

#endif
