// The img_fs.tif that the Windows program wrote under Wine (a scan at the dialog's defaults on
// the simulated T2), read back by libtiff in the current directory.
#include <gtest/gtest.h>

#include "sim/negative_image.h"
#include "tests/support/tiff_expectations.h"

namespace {

TEST(Win32ScanImageTest, HoldsWhatTheSimulatedScannerSent) {
  ExpectTiffHolds(324, 486, 340, NegativeImage(972, 486));
}

}  // namespace
