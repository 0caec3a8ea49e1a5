#include "scsi/transport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "scsi/aspi.h"

#ifdef __linux__
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

// The waiting thread's yields and sleeps, counted where the C library's would be called.
thread_local int yields = 0, sleeps = 0;

extern "C" int sched_yield() noexcept {
  ++yields;
  return static_cast<int>(syscall(SYS_sched_yield));
}

extern "C" int nanosleep(const timespec* duration, timespec* left) {
  ++sleeps;
  return static_cast<int>(syscall(SYS_nanosleep, duration, left));
}
#endif

namespace {

#ifdef __linux__
// A request that has ended costs no pause; one that takes 30 ms gets the processor yielded once
// the wait has spun, then the waiting thread put to sleep, and its final status.
TEST(TransportTest, TheWaitGivesUpTheProcessorOnlyForARequestThatTakesTime) {
  uint8_t status = SS_COMP;
  EXPECT_EQ(WaitForCompletion(status), SS_COMP);
  EXPECT_EQ(yields + sleeps, 0);
  status = SS_PENDING;
  std::thread device([&status] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    __atomic_store_n(&status, uint8_t{SS_ERR}, __ATOMIC_RELEASE);
  });
  EXPECT_EQ(WaitForCompletion(status), SS_ERR);
  device.join();
  EXPECT_GT(yields, 0);
  EXPECT_GT(sleeps, 0);
}
#endif

}  // namespace
