// How a request block becomes a SCSI generic transfer: which way the data go, how many bytes,
// and how long the kernel waits for the device.
#ifndef SCAN_FS_PLATFORM_SG_SG_REQUEST_H
#define SCAN_FS_PLATFORM_SG_SG_REQUEST_H

#include <cstdint>

#include "scsi/command_table.h"
#include "scsi/srb.h"

// The direction of the data: from SRB_Flags when exactly one direction bit is set, from the
// operation code when the flags leave it open (neither or both bits). kUnknown when neither
// tells.
DataDirection RequestDirection(uint8_t flags, uint8_t operationCode);

// Bytes to move in `direction`: the whole buffer for data in; for data out, the buffer clamped to
// the length the CDB states (a device takes exactly its parameter list), or the whole buffer for
// a command whose CDB we cannot read; 0 without data or without a buffer.
uint32_t RequestTransferLength(const SRB_ExecSCSICmd& request, DataDirection direction);

// Milliseconds the kernel lets the device work on a command before it gives the command up:
// what the scanner needs for it, with room to spare (the table in sg_request.cc says why).
uint32_t CommandTimeoutMs(uint8_t operationCode);

// Milliseconds the kernel's error handling gets after a time-out to report it, before the
// program gives up on the command by itself.
inline constexpr uint32_t kKernelRecoveryMs = 5000;

// The longest the program waits for the kernel's answer to a command.
inline uint32_t CommandWaitLimitMs(uint8_t operationCode) {
  return CommandTimeoutMs(operationCode) + kKernelRecoveryMs;
}

#endif
