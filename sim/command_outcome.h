// What a simulated device makes of one command: the SCSI status, sense data for a CHECK
// CONDITION, how long it keeps the bus, and, for transport faults, the ASPI and host adapter
// statuses the manager reports instead.
#ifndef SCAN_FS_SIM_COMMAND_OUTCOME_H
#define SCAN_FS_SIM_COMMAND_OUTCOME_H

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "scsi/srb.h"

// Sense keys and the additional sense codes the simulator uses.
namespace sense {
inline constexpr uint8_t kNoSense = 0x0;
inline constexpr uint8_t kNotReady = 0x2;
inline constexpr uint8_t kHardwareError = 0x4;
inline constexpr uint8_t kIllegalRequest = 0x5;
inline constexpr uint8_t kUnitAttention = 0x6;

inline constexpr uint8_t kAscParameterListLengthError = 0x1A;
inline constexpr uint8_t kAscInvalidOperationCode = 0x20;
inline constexpr uint8_t kAscInvalidFieldInCdb = 0x24;
inline constexpr uint8_t kAscLogicalUnitNotSupported = 0x25;
inline constexpr uint8_t kAscInvalidFieldInParameterList = 0x26;
inline constexpr uint8_t kAscPowerOnOrReset = 0x29;
inline constexpr uint8_t kAscCommandSequenceError = 0x2C;
inline constexpr uint8_t kAscInternalTargetFailure = 0x44;
}  // namespace sense

struct CommandOutcome {
  uint8_t targetStatus = STATUS_GOOD;
  std::array<uint8_t, 18> sense{};  // fixed-format sense data, valid with a CHECK CONDITION
  // Transport faults: when aspiStatus is not 0 it replaces the status derived from targetStatus.
  uint8_t aspiStatus = 0;
  uint8_t hostAdapterStatus = HASTAT_OK;
  // How long the device works on the command before the request completes.
  std::chrono::milliseconds busyTime{0};
  // Bytes the device returned in its data-in phase; a carrier that moves the data through a
  // buffer of its own (the kernel's target) hands back only these.
  std::optional<uint32_t> returnedBytes;

  uint8_t FinalAspiStatus() const {
    if (aspiStatus != 0) return aspiStatus;
    return targetStatus == STATUS_GOOD && hostAdapterStatus == HASTAT_OK ? SS_COMP : SS_ERR;
  }
};

inline CommandOutcome Good() {
  return CommandOutcome{};
}

// Good status with `length` bytes returned to the initiator.
inline CommandOutcome Returned(size_t length) {
  CommandOutcome outcome;
  outcome.returnedBytes = static_cast<uint32_t>(length);
  return outcome;
}

inline CommandOutcome CheckCondition(uint8_t key, uint8_t asc, uint8_t ascq = 0,
                                     bool incorrectLength = false) {
  CommandOutcome outcome;
  outcome.targetStatus = STATUS_CHKCOND;
  outcome.sense[0] = 0x70;  // current error, fixed format
  outcome.sense[2] = static_cast<uint8_t>(key | (incorrectLength ? 0x20 : 0x00));
  outcome.sense[7] = 10;  // additional sense length
  outcome.sense[12] = asc;
  outcome.sense[13] = ascq;
  return outcome;
}

inline CommandOutcome IllegalRequest(uint8_t asc) {
  return CheckCondition(sense::kIllegalRequest, asc);
}

// A failure of the host adapter or the manager rather than of the device.
inline CommandOutcome TransportFailure(uint8_t aspiStatus, uint8_t hostAdapterStatus) {
  CommandOutcome outcome;
  outcome.aspiStatus = aspiStatus;
  outcome.hostAdapterStatus = hostAdapterStatus;
  return outcome;
}

#endif
