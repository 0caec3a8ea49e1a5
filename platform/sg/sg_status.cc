#include "platform/sg/sg_status.h"

#include <algorithm>
#include <cerrno>

#include "scsi/srb.h"

namespace {

// The kernel's host byte.
enum : uint16_t {
  kDidOk = 0x00,
  kDidNoConnect = 0x01,
  kDidBusBusy = 0x02,
  kDidTimeOut = 0x03,
  kDidBadTarget = 0x04,
  kDidAbort = 0x05,
  kDidParity = 0x06,
  kDidReset = 0x08,
  kDidRequeue = 0x0D,
  kDidTransportDisrupted = 0x0E,
  kDidTransportFailfast = 0x0F,
};

// The kernel's driver byte (low nibble).
constexpr uint16_t kDriverTimeout = 0x06;
constexpr uint16_t kDriverSense = 0x08;

// The host adapter status nearest to the kernel's account of a failed transfer.
uint8_t NearestHostAdapterStatus(uint16_t hostStatus) {
  switch (hostStatus) {
    case kDidNoConnect:
    case kDidBadTarget:
    case kDidTransportDisrupted:
    case kDidTransportFailfast:
      return HASTAT_SEL_TO;
    case kDidTimeOut:
    case kDidAbort:
      return HASTAT_COMMAND_TIMEOUT;
    case kDidBusBusy:
    case kDidRequeue:
      return HASTAT_TIMEOUT;
    case kDidParity:
      return HASTAT_PARITY_ERROR;
    case kDidReset:
      return HASTAT_BUS_RESET;
    default:
      return HASTAT_PHASE_ERR;
  }
}

AspiOutcome Failure(uint8_t status, uint8_t hostStatus = HASTAT_OK) {
  return AspiOutcome{status, hostStatus, STATUS_GOOD, 0};
}

}  // namespace

AspiOutcome MapSgOutcome(const SgOutcome& outcome, size_t senseRoom) {
  switch (outcome.error) {
    case 0:
      break;
    case ENODEV:
    case ENXIO:
      return Failure(SS_ERR, HASTAT_SEL_TO);  // the device went away
    case ETIMEDOUT:
      return Failure(SS_ERR, HASTAT_COMMAND_TIMEOUT);  // the program stopped waiting
    case ENOMEM:
      return Failure(SS_BUFFER_TOO_BIG);
    case EINVAL:
      return Failure(SS_INVALID_SRB);
    default:
      return Failure(SS_ERR);
  }
  if (outcome.hostStatus != kDidOk) {
    return Failure(SS_ERR, NearestHostAdapterStatus(outcome.hostStatus));
  }
  const uint16_t driverCode = outcome.driverStatus & 0x0F;
  if (driverCode == kDriverTimeout) return Failure(SS_ERR, HASTAT_COMMAND_TIMEOUT);
  if (outcome.scsiStatus == STATUS_CHKCOND) {
    const size_t sense = std::min<size_t>(outcome.senseWritten, senseRoom);
    return AspiOutcome{SS_ERR, HASTAT_OK, STATUS_CHKCOND, sense};
  }
  if (outcome.scsiStatus != STATUS_GOOD) {
    return AspiOutcome{SS_ERR, HASTAT_OK, outcome.scsiStatus, 0};
  }
  // Good status with a driver fault the kernel still reports: not a success.
  if (driverCode != 0 && driverCode != kDriverSense) return Failure(SS_ERR);
  return AspiOutcome{SS_COMP, HASTAT_OK, STATUS_GOOD, 0};
}
