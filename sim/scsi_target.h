// A device on the simulated bus, at logical unit 0 of one target.
#ifndef SCAN_FS_SIM_SCSI_TARGET_H
#define SCAN_FS_SIM_SCSI_TARGET_H

#include <cstdint>
#include <span>

#include "sim/command_outcome.h"

class ScsiTarget {
 public:
  virtual ~ScsiTarget() = default;
  // `cdb` holds SRB_CDBLen bytes; `data` is the request's whole buffer (SRB_BufLen bytes): what
  // the initiator sends, or where the device puts what it returns.
  virtual CommandOutcome Execute(std::span<const uint8_t> cdb, std::span<uint8_t> data) = 0;
  virtual void BusDeviceReset() {}
};

#endif
