// Process-wide state of the program: plain values living for the whole run, each with one writer
// (named beside it). Tests put everything back with ResetProgramState.
#ifndef SCAN_FS_SHELL_PROGRAM_STATE_H
#define SCAN_FS_SHELL_PROGRAM_STATE_H

#include <cstdint>

struct DeviceAddress {
  uint8_t hostAdapter;
  uint8_t target;
};

inline constexpr int kProductIdLength = 9;
inline constexpr int kCaptionSize = 80;

// Written at window creation (main_window).
extern uint16_t adapterCount;
extern char warningCaption[kCaptionSize];
extern char informationCaption[kCaptionSize];

// Written by the command dispatch: 1 while a menu command runs.
extern uint8_t commandRunning;

// Written by the scanner search.
extern DeviceAddress deviceAddress;
extern char productId[kProductIdLength + 1];
extern uint8_t scannerFound;

// Written by the scan dialog.
extern uint32_t scanResolution;
extern uint32_t saveToFile;
// Constant: passes of the scan sequence; must stay below 256.
extern const uint32_t scanRepeatCount;
// Written by the scan procedure.
extern uint8_t imageComposition;
// Written only by GetDataStatus: on success, and forgotten (0) when a scan starts.
extern uint32_t bytesPerLine;
extern uint32_t imageLines;
extern uint32_t remainingBytes;
extern uint32_t imageByteCount;

// Written by every scanner command routine (scsi/scanner_request), read by the procedures after
// each step: 1 when the last request ended without the scanner's answer (the host adapter gave
// it up, or the device is gone). The procedure then sends nothing more to the scanner.
extern uint8_t scannerLost;

// Puts every value back to how a new process starts.
void ResetProgramState();

#endif
