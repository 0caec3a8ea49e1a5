#include "scsi/transport.h"

#include <atomic>
#include <thread>

#include "scsi/aspi.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint32_t kSpinReads = 1000;
constexpr auto kYieldPeriod = std::chrono::milliseconds(2);
constexpr auto kSleepStep = std::chrono::milliseconds(1);

}  // namespace

PollPause PauseBetweenReads(uint32_t reads, Clock::duration pendingFor) {
  if (reads < kSpinReads) return PollPause::kNone;
  return pendingFor < kYieldPeriod ? PollPause::kYield : PollPause::kSleep;
}

uint8_t WaitForCompletion(uint8_t& statusByte) {
  const std::atomic_ref<uint8_t> status(statusByte);
  const Clock::time_point sent = Clock::now();
  uint32_t reads = 0;
  uint8_t value;
  while ((value = status.load(std::memory_order_acquire)) == SS_PENDING) {
    if (reads < kSpinReads) ++reads;  // the clock is read only once the spin is over
    switch (
        PauseBetweenReads(reads, reads < kSpinReads ? Clock::duration{} : Clock::now() - sent)) {
      case PollPause::kNone:
        break;
      case PollPause::kYield:
        std::this_thread::yield();
        break;
      case PollPause::kSleep:
        std::this_thread::sleep_for(kSleepStep);
        break;
    }
  }
  return value;
}

int RunRequest(SRB_ExecSCSICmd& request) {
  SendASPI32Command(&request);
  return WaitForCompletion(request.SRB_Status);
}

int RunRequest(SRB_BusDeviceReset& request) {
  SendASPI32Command(&request);
  return WaitForCompletion(request.SRB_Status);
}

SRB_ExecSCSICmd MakeScsiRequest(uint8_t hostAdapter, uint8_t target, uint8_t flags) {
  SRB_ExecSCSICmd request{};
  request.SRB_Cmd = SC_EXEC_SCSI_CMD;
  request.SRB_HaId = hostAdapter;
  request.SRB_Flags = flags;
  request.SRB_Target = target;
  request.SRB_Lun = 0;
  request.SRB_SenseLen = SENSE_LEN;
  return request;
}
