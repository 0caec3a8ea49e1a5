#include "scsi/transport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "resources/ids.h"
#include "scsi/scanner_commands.h"
#include "shell/program_state.h"
#include "tests/support/program_bench.h"

namespace {

TEST(TransportTest, WaitsForAStatusWrittenLaterByAnotherThread) {
  uint8_t status = SS_PENDING;
  std::atomic<bool> waiting{false};
  std::thread manager([&] {
    while (!waiting.load()) std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::atomic_ref<uint8_t>(status).store(SS_ERR, std::memory_order_release);
  });
  waiting = true;
  EXPECT_EQ(WaitForCompletion(status), SS_ERR);
  manager.join();
}

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
