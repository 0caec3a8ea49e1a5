// What the wait for a request costs: for requests that a manager's thread completes after 0.1 ms
// to 1 s, the processor time the waiting thread uses (as a share of the wait) and how late it
// sees the final status, for the program's WaitForCompletion and for a bare spin on the status
// byte. Every duration is waited for ten times (three times from 1 s on) and averaged.
//
//   wait_benchmark
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>

#include "scsi/srb.h"
#include "scsi/transport.h"

namespace {

using Clock = std::chrono::steady_clock;

double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

uint8_t BareSpin(uint8_t& statusByte) {
  const std::atomic_ref<uint8_t> status(statusByte);
  uint8_t value;
  while ((value = status.load(std::memory_order_acquire)) == SS_PENDING) {
  }
  return value;
}

struct WaitCost {
  double cpuShare;    // waiting thread's processor time / wall time of the wait
  double lateMicros;  // from the manager's store to the waiter's return
};

template <typename Wait>
WaitCost Measure(Wait wait, std::chrono::microseconds pending, int repetitions) {
  double cpu = 0, wall = 0, late = 0;
  for (int i = 0; i < repetitions; ++i) {
    uint8_t status = SS_PENDING;
    std::atomic<int64_t> storedAt{0};
    const Clock::time_point sent = Clock::now();
    std::thread manager([&] {
      std::this_thread::sleep_until(sent + pending);
      storedAt = (Clock::now() - sent).count();
      std::atomic_ref<uint8_t>(status).store(SS_COMP, std::memory_order_release);
    });
    const double cpuBefore = ThreadCpuSeconds();
    wait(status);
    const double cpuAfter = ThreadCpuSeconds();
    const auto returnedAt = (Clock::now() - sent).count();
    manager.join();
    cpu += cpuAfter - cpuBefore;
    wall += std::chrono::duration<double>(Clock::duration(returnedAt)).count();
    late +=
        std::chrono::duration<double, std::micro>(Clock::duration(returnedAt - storedAt)).count();
  }
  return WaitCost{cpu / wall, late / repetitions};
}

}  // namespace

int main() {
  std::printf("%-10s %16s %14s %16s %14s\n", "pending", "program cpu %", "program late",
              "bare spin cpu %", "bare late");
  for (const auto pending : {std::chrono::microseconds(100), std::chrono::microseconds(1000),
                             std::chrono::microseconds(10000), std::chrono::microseconds(100000),
                             std::chrono::microseconds(1000000)}) {
    const int repetitions = pending >= std::chrono::seconds(1) ? 3 : 10;
    const WaitCost program = Measure(WaitForCompletion, pending, repetitions);
    const WaitCost bare = Measure(BareSpin, pending, repetitions);
    std::printf("%7.1f ms %15.1f%% %11.0f us %15.1f%% %11.0f us\n", pending.count() / 1000.0,
                100 * program.cpuShare, program.lateMicros, 100 * bare.cpuShare, bare.lateMicros);
  }
  return 0;
}
