#include "platform/linux/progress.h"

#include <gtest/gtest.h>

namespace {

// The percent is of the announced bytes, rounded down, and stays right for a 4 GiB image.
TEST(ProgressTextTest, PercentAndBytesOfTheAnnouncedImage) {
  EXPECT_EQ(ProgressText(0, 0), "0%  0 of 0 bytes");
  EXPECT_EQ(ProgressText(212992, 472392), "45%  212992 of 472392 bytes");
  EXPECT_EQ(ProgressText(4294967295u, 4294967295u), "100%  4294967295 of 4294967295 bytes");
}

}  // namespace
