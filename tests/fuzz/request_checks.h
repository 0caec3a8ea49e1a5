// What every SCSI request block of the program must be before a manager may carry it: a CDB
// length it can send, a sense length its sense area holds, a data buffer as long as the block
// declares and at least as long as the CDB asks for, and no direction bit against the command.
#ifndef SCAN_FS_TESTS_FUZZ_REQUEST_CHECKS_H
#define SCAN_FS_TESTS_FUZZ_REQUEST_CHECKS_H

#include "scsi/srb.h"

// Reports a violation for the first thing wrong with the block.
void CheckScsiRequest(const SRB_ExecSCSICmd& request);

#endif
