// SET WINDOW for the two models: an 8-byte header and one 64-byte window descriptor.
#include "resources/strings.h"
#include "scsi/byte_order.h"
#include "scsi/scanner_commands.h"
#include "scsi/scanner_request.h"
#include "shell/program_state.h"

namespace {

constexpr uint32_t kWindowListLength = 72;
constexpr uint32_t kWindowBufferLength = 75;  // three bytes more than the list, declared whole

struct WindowModel {
  uint8_t brightnessThresholdContrast;
  uint16_t halftonePattern;
  uint8_t vendorUnique[24];
};

constexpr WindowModel kWindowT1 = {
    0x80, 0x0000, {0x00, 0x00, 0x09, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x01, 0x01, 0x00,
                   0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00}};

constexpr WindowModel kWindowT2 = {
    0x00, 0x0001, {0x00, 0x00, 0x09, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x01, 0x01, 0xFF,
                   0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0xFF, 0x00}};

int SendWindow(WindowHandle owner, const WindowModel& model, uint8_t showError) {
  uint8_t list[kWindowBufferLength] = {};
  StoreBigEndian16(&list[6], 64);                // window descriptor length
  list[8] = 0;                                   // window identifier
  StoreBigEndian16(&list[10], scanResolution);   // X resolution, low 16 bits
  StoreBigEndian16(&list[12], scanResolution);   // Y resolution
  StoreBigEndian32(&list[14], 0);                // upper left X
  StoreBigEndian32(&list[18], 0);                // upper left Y
  StoreBigEndian32(&list[22], 2592);             // width, 1/2720 inch
  StoreBigEndian32(&list[26], 3888);             // length
  list[30] = model.brightnessThresholdContrast;  // brightness
  list[31] = model.brightnessThresholdContrast;  // threshold
  list[32] = model.brightnessThresholdContrast;  // contrast
  list[33] = 0x05;                               // image composition: multi-level RGB
  list[34] = 8;                                  // bits per pixel
  StoreBigEndian16(&list[35], model.halftonePattern);
  list[37] = 0x83;  // RIF 1, padding type 3
  for (int i = 0; i < 24; ++i) list[48 + i] = model.vendorUnique[i];

  uint8_t cdb[10] = {0x24, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  StoreBigEndian24(&cdb[6], kWindowListLength);
  return SendScannerCommand(owner, {cdb, sizeof cdb, 0x00, list, sizeof list, IDS_ERROR_SET_WINDOW},
                            showError);
}

}  // namespace

int SetWindowT1(WindowHandle owner, uint8_t showError) {
  return SendWindow(owner, kWindowT1, showError);
}

int SetWindowT2(WindowHandle owner, uint8_t showError) {
  return SendWindow(owner, kWindowT2, showError);
}
