#include "scsi/transport.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

// The wait spins at first, yields while a request is young, and sleeps between reads only once
// the device has been working for a while.
TEST(TransportTest, PausesBetweenReadsGrowWithTheWait) {
  using std::chrono::microseconds;
  struct Case {
    const char* what;
    uint32_t reads;
    microseconds pendingFor;
    PollPause pause;
  };
  const Case cases[] = {
      {"the first read", 1, microseconds(0), PollPause::kNone},
      {"still spinning", 999, microseconds(0), PollPause::kNone},
      {"spin over, young request", 1000, microseconds(1), PollPause::kYield},
      {"just before the long wait", 1000, microseconds(1999), PollPause::kYield},
      {"a device at work", 1000, microseconds(2000), PollPause::kSleep},
      {"a two-minute scan", 1000, microseconds(120'000'000), PollPause::kSleep},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PauseBetweenReads(c.reads, c.pendingFor), c.pause) << c.what;
  }
}

}  // namespace
