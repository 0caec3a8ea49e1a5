#include "discovery/scanner_search.h"

#include <cstdio>
#include <cstring>

#include "discovery/device_text.h"
#include "discovery/scanner_models.h"
#include "resources/strings.h"
#include "scsi/srb.h"
#include "scsi/transport.h"
#include "shell/message_boxes.h"
#include "shell/program_state.h"

namespace {

constexpr uint8_t kHighestTarget = 6;  // target 7 is the host adapter's own
constexpr int kInquiryLength = 36;
constexpr int kVendorOffset = 8, kVendorWidth = 8;
constexpr int kProductOffset = 16, kProductWidth = 16;
constexpr int kRevisionOffset = 32, kRevisionWidth = 4;
constexpr int kLineSize = 256;
constexpr int kFormatSize = 255;

int Inquire(uint8_t adapter, uint8_t target, uint8_t (&data)[kInquiryLength]) {
  // Cleared for every target, so that a device answering with less data never shows what an
  // earlier one sent.
  std::memset(data, 0, sizeof data);
  SRB_ExecSCSICmd request = MakeScsiRequest(adapter, target, SRB_DIR_IN | SRB_DIR_OUT);
  request.SRB_BufLen = kInquiryLength;
  request.SRB_BufPointer = data;
  request.SRB_CDBLen = 6;
  const uint8_t cdb[6] = {0x12, 0x00, 0x00, 0x00, kInquiryLength, 0x00};
  std::memcpy(request.CDBByte, cdb, sizeof cdb);
  return RunRequest(request);
}

void DrawLabelledField(int y, const char* label, const uint8_t* field, size_t width) {
  char line[kLineSize];
  std::snprintf(line, sizeof line, "%s", label);
  AppendDeviceText(line, sizeof line, field, width);
  DrawTextLine(20, y, line);
}

void DrawScannerInformation(WindowHandle window, unsigned adapter, unsigned target,
                            const uint8_t (&data)[kInquiryLength]) {
  char format[kFormatSize];
  char line[kLineSize];
  LoadStringText(IDS_SCANNER_TITLE, line, sizeof line);
  DrawTextLine(10, 10, line);
  LoadStringText(IDS_SCANNER_ADDRESS, format, sizeof format);
  std::snprintf(line, sizeof line, format, static_cast<int>(adapter), static_cast<int>(target));
  DrawTextLine(20, 35, line);
  DrawLabelledField(55, "Vendor  ID           : ", &data[kVendorOffset], kVendorWidth);

  const char* modelLabel = IsModel(productId, kProductIdT1)   ? "(Tessaline T1)"
                           : IsModel(productId, kProductIdT2) ? "(Tessaline T2)"
                                                              : nullptr;
  if (modelLabel != nullptr) {
    std::snprintf(line, sizeof line, "Product ID           : %s%s", productId, modelLabel);
    DrawTextLine(20, 75, line);
  } else {
    DrawLabelledField(75, "Product ID           : ", &data[kProductOffset], kProductWidth);
  }
  DrawLabelledField(95, "ROM Version          : ", &data[kRevisionOffset], kRevisionWidth);
  RefreshDisplay(window);
}

}  // namespace

uint8_t SearchScanner(WindowHandle window, uint8_t display) {
  ClearDisplay(window);
  scannerFound = 0;
  uint8_t data[kInquiryLength];
  for (unsigned adapter = 0; adapter < adapterCount; ++adapter) {
    for (uint8_t target = 0; target <= kHighestTarget; ++target) {
      const int status = Inquire(static_cast<uint8_t>(adapter), target, data);
      // A user who asked to stop, also while this INQUIRY ran, is on the way out: no box, and no
      // scanner found, so that the command that searched goes no further.
      if (!ReportProgress(0, 0)) return 0;
      if (status == SS_NO_DEVICE) continue;
      if (status == SS_ERR) {
        ShowWarningText(window, IDS_SCANNER_NOT_FOUND, false);
        return 0;
      }
      if (status != SS_COMP) {
        ShowWarningText(window, IDS_SCANNER_NOT_GAINED, false);
        return 0;
      }
      if (std::memcmp(&data[kProductOffset], "ZR-", 3) != 0) continue;

      CopyDeviceText(productId, sizeof productId, &data[kProductOffset], kProductIdLength);
      if (display == 1) DrawScannerInformation(window, adapter, target, data);
      deviceAddress = DeviceAddress{static_cast<uint8_t>(adapter), target};
      scannerFound = 1;
      return 1;
    }
  }
  // No device answered as the scanner. Taking that as a success would send every later command
  // to an address no search confirmed (adapter 0, target 2 at first), which may hold a disk.
  ShowWarningText(window, IDS_SCANNER_NOT_FOUND, false);
  return 0;
}
