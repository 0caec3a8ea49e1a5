// What a SCSI generic transfer's outcome means to the program: the ASPI status, host adapter
// status and target status of the request block, and how many sense bytes it gets.
#ifndef SCAN_FS_PLATFORM_SG_SG_STATUS_H
#define SCAN_FS_PLATFORM_SG_SG_STATUS_H

#include <cstddef>
#include <cstdint>

// The outcome of one command through the node.
struct SgOutcome {
  int error = 0;              // errno of the exchange; 0 when the kernel carried the command
  uint8_t scsiStatus = 0;     // the target's status byte
  uint16_t hostStatus = 0;    // the kernel's host byte (DID_ codes)
  uint16_t driverStatus = 0;  // the kernel's driver byte (DRIVER_ codes)
  uint8_t senseWritten = 0;   // sense bytes the kernel delivered
};

struct AspiOutcome {
  uint8_t status;      // SRB_Status
  uint8_t hostStatus;  // SRB_HaStat
  uint8_t targetStatus;
  size_t senseBytes;  // sense bytes to copy into SenseArea
};

// `senseRoom` is what the request block takes: the smaller of its SRB_SenseLen and its sense
// area. Never answers SS_PENDING.
AspiOutcome MapSgOutcome(const SgOutcome& outcome, size_t senseRoom);

#endif
