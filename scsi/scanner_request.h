// The path every scanner command routine takes: one request to the scanner at deviceAddress,
// waited for, and the routine's own error text shown when asked.
#ifndef SCAN_FS_SCSI_SCANNER_REQUEST_H
#define SCAN_FS_SCSI_SCANNER_REQUEST_H

#include <cstdint>

#include "shell/platform_ui.h"

struct ScannerCommand {
  const uint8_t* cdb;
  uint8_t cdbLength;  // 6 or 10
  uint8_t flags;      // SRB_Flags
  uint8_t* buffer;    // nullptr without data
  uint32_t bufferLength;
  unsigned errorTextId;
};

// Runs the command and returns its AspiStatus. When that is not SS_COMP and `showError` is
// exactly 1, shows the command's error text in a warning box owned by `owner`. Sets scannerLost
// when the request got no answer from the scanner: the host adapter gave it up (a time-out, an
// abort, a selection that went unanswered), the device is gone or is not the one the search
// found, or the target reports that it lost the device behind it. A scanner in that state
// answers no further command either, and each may cost another time-out.
int SendScannerCommand(WindowHandle owner, const ScannerCommand& command, uint8_t showError);

// The error report alone, for routines that build a block of another kind.
void ReportCommandFailure(WindowHandle owner, int status, unsigned errorTextId, uint8_t showError);

#endif
