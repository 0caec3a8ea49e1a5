// Running a request block to its end: send it, then read its status byte afresh until the
// manager has written a final value. There is no time limit. Between reads the wait first spins,
// then gives the processor away, so that a long request (a scan, a self-test) on a manager that
// completes it from its own thread does not hold a processor busy all along.
#ifndef SCAN_FS_SCSI_TRANSPORT_H
#define SCAN_FS_SCSI_TRANSPORT_H

#include <chrono>
#include <cstdint>

#include "scsi/srb.h"

// What the wait does after a read that found the status still pending.
enum class PollPause {
  kNone,   // read again at once: most requests end within microseconds
  kYield,  // let any other ready thread (the manager's among them) run first
  kSleep,  // the device is working for a while: read again a millisecond later
};
// The pause after `reads` reads of a pending status, `pendingFor` after the request was sent.
PollPause PauseBetweenReads(uint32_t reads, std::chrono::steady_clock::duration pendingFor);

// Reads the status byte that the manager may write from another thread until it is no longer
// SS_PENDING, and returns the final value.
uint8_t WaitForCompletion(uint8_t& statusByte);

// Sends the block and waits for it; returns its final SRB_Status.
int RunRequest(SRB_ExecSCSICmd& request);
int RunRequest(SRB_BusDeviceReset& request);

// A zero-filled SCSI request to the target at (hostAdapter, target), logical unit 0.
SRB_ExecSCSICmd MakeScsiRequest(uint8_t hostAdapter, uint8_t target, uint8_t flags);

#endif
