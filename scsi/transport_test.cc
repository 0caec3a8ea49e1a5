#include "scsi/transport.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

// The wait spins through its first thousand reads, then yields while a request is younger than
// 2 ms, and sleeps between reads only once the device has been working longer.
TEST(TransportTest, PausesBetweenReadsGrowWithTheWait) {
  using std::chrono::microseconds;
  EXPECT_EQ(PauseBetweenReads(999, microseconds(0)), PollPause::kNone);
  EXPECT_EQ(PauseBetweenReads(1000, microseconds(1999)), PollPause::kYield);
  EXPECT_EQ(PauseBetweenReads(1000, microseconds(2000)), PollPause::kSleep);
}

}  // namespace
