// What both self-diagnostics do before they report: the silent TEST UNIT READY, their title, the
// user's confirmation, and one SEND DIAGNOSTIC run to its end under the wait cursor.
#ifndef SCAN_FS_DIAGNOSTICS_CONFIRMED_DIAGNOSTIC_H
#define SCAN_FS_DIAGNOSTICS_CONFIRMED_DIAGNOSTIC_H

#include <cstdint>

#include "scsi/srb.h"
#include "shell/platform_ui.h"

// Byte 1 of the SEND DIAGNOSTIC CDB: which test the scanner runs.
inline constexpr uint8_t kBuiltInSelfTest = 0x04;     // SelfTest
inline constexpr uint8_t kMemoryAndLogicTest = 0x12;  // PF and DevOfL, no default self-test

struct SelfTestTexts {
  unsigned titleId;
  unsigned captionId;  // of the confirmation box
  unsigned confirmationId;
};

enum class SelfTestRun {
  kRan,          // `request` holds the test's outcome
  kNotRun,       // the user cancelled (the display is cleared), or asked the command to stop
  kScannerLost,  // the TEST UNIT READY before it got no answer: no box yet, nothing more sent
};

// Runs the test unless the user cancels or the scanner does not answer first.
// `request` is the caller's block: the manager writes the status, host adapter status and sense
// data into it, so it must stay where it is until the call has returned.
SelfTestRun RunConfirmedSelfTest(WindowHandle window, const SelfTestTexts& texts,
                                 uint8_t testSelection, SRB_ExecSCSICmd& request);

#endif
