// The scanner's command set: one routine per SCSI command sent to the scanner at deviceAddress.
// Every routine takes the owner of its error box first and showError last, and returns the
// AspiStatus (SS_COMP on success). Only a showError of exactly 1 shows the error text.
#ifndef SCAN_FS_SCSI_SCANNER_COMMANDS_H
#define SCAN_FS_SCSI_SCANNER_COMMANDS_H

#include <cstdint>

#include "shell/platform_ui.h"

// Buffer ids of READ BUFFER.
inline constexpr uint8_t kScannerDataBufferId = 0xF9;
inline constexpr uint8_t kValuePairBufferId = 0x05;
inline constexpr uint8_t kDiagnosticResultBufferId = 0x04;

// Largest READ the data buffer of ReadImage may be asked for.
inline constexpr uint32_t kReadImageBufferLength = 30000;

int TestUnitReady(WindowHandle owner, uint8_t showError);
int ReserveUnit(WindowHandle owner, uint8_t showError);
int ReleaseUnit(WindowHandle owner, uint8_t showError);
int ScanCommand(WindowHandle owner, uint8_t showError);
// The window for the T1 (ZR-40113A) and for the T2 (ZR-40123B), at scanResolution.
int SetWindowT1(WindowHandle owner, uint8_t showError);
int SetWindowT2(WindowHandle owner, uint8_t showError);
// Reads `length` bytes of image data into `buffer`, which holds kReadImageBufferLength bytes.
int ReadImage(WindowHandle owner, uint32_t length, uint8_t* buffer, uint8_t showError);
// One gamma table; the qualifier picks the colour (0100h, 0200h, 0300h).
int SendGamma8Bit(WindowHandle owner, uint16_t dataTypeQualifier, uint8_t showError);
int SendGamma16Bit(WindowHandle owner, uint16_t dataTypeQualifier, uint8_t showError);
int MediumPosition(WindowHandle owner, uint8_t showError);
// On success stores bytesPerLine, imageLines, remainingBytes and imageByteCount.
int GetDataStatus(WindowHandle owner, uint8_t showError);
// Sets those four to 0: a scan has no size until its own first report.
void ForgetImageGeometry();
int DefineScanModePage02(WindowHandle owner, uint8_t showError);
int DefineScanModePage20(WindowHandle owner, uint8_t showError);
int ExecuteAutoFocus(WindowHandle owner, uint8_t showError);
// A bus device reset of the scanner's target; nothing in the program calls it.
int ResetScanner(WindowHandle owner, uint8_t showError);
int ReadBuffer(WindowHandle owner, uint8_t bufferId, uint32_t offset, uint8_t* buffer,
               uint32_t length, uint8_t showError);

#endif
