// Define Scan Mode (D6h), the scanner's own command, with page 02h (both models) and page 20h
// (T2 only). Each list stands in a buffer three bytes longer, declared whole.
#include "resources/strings.h"
#include "scsi/scanner_commands.h"
#include "scsi/scanner_request.h"

namespace {

int DefineScanMode(WindowHandle owner, uint8_t* list, uint8_t listLength, uint32_t bufferLength,
                   uint8_t showError) {
  const uint8_t cdb[6] = {0xD6, 0x10, 0, 0, listLength, 0};
  // Both pages report the page 02h text.
  return SendScannerCommand(
      owner, {cdb, sizeof cdb, 0x00, list, bufferLength, IDS_ERROR_DEFINE_SCAN_MODE}, showError);
}

}  // namespace

int DefineScanModePage02(WindowHandle owner, uint8_t showError) {
  uint8_t list[15] = {0x00, 0x00, 0x00, 0x08, 0x02, 0x06, 0x80, 0x05, 0x27, 0x10, 0x03, 0x00};
  return DefineScanMode(owner, list, 12, sizeof list, showError);
}

int DefineScanModePage20(WindowHandle owner, uint8_t showError) {
  uint8_t list[25] = {0x00, 0x00, 0x00, 0x11, 0x20, 0x10};
  list[20] = 0x02;
  list[21] = 0x0C;
  return DefineScanMode(owner, list, 22, sizeof list, showError);
}
