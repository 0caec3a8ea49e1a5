// Running a request block to its end: send it, then read its status byte afresh until the
// manager has written a final value. There is no time limit and no pause between reads.
#ifndef SCAN_FS_SCSI_TRANSPORT_H
#define SCAN_FS_SCSI_TRANSPORT_H

#include <cstdint>

#include "scsi/srb.h"

// Reads the status byte that the manager may write from another thread until it is no longer
// SS_PENDING, and returns the final value.
uint8_t WaitForCompletion(uint8_t& statusByte);

// Sends the block and waits for it; returns its final SRB_Status.
int RunRequest(SRB_ExecSCSICmd& request);
int RunRequest(SRB_BusDeviceReset& request);

// A zero-filled SCSI request to the target at (hostAdapter, target), logical unit 0.
SRB_ExecSCSICmd MakeScsiRequest(uint8_t hostAdapter, uint8_t target, uint8_t flags);

#endif
