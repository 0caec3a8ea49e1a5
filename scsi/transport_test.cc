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

}  // namespace
