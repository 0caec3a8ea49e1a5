#include "shell/program_state.h"

namespace {

constexpr DeviceAddress kInitialDeviceAddress{0, 2};
constexpr uint32_t kInitialScanResolution = 75;

}  // namespace

uint16_t adapterCount;
char warningCaption[kCaptionSize];
char informationCaption[kCaptionSize];
uint8_t commandRunning;
DeviceAddress deviceAddress = kInitialDeviceAddress;
char productId[kProductIdLength + 1];
uint8_t scannerFound;
uint32_t scanResolution = kInitialScanResolution;
uint32_t saveToFile;
const uint32_t scanRepeatCount = 1;
uint8_t imageComposition;
uint32_t bytesPerLine;
uint32_t imageLines;
uint32_t remainingBytes;
uint32_t imageByteCount;
uint8_t scannerLost;

void ResetProgramState() {
  adapterCount = 0;
  warningCaption[0] = '\0';
  informationCaption[0] = '\0';
  commandRunning = 0;
  deviceAddress = kInitialDeviceAddress;
  productId[0] = '\0';
  scannerFound = 0;
  scanResolution = kInitialScanResolution;
  saveToFile = 0;
  imageComposition = 0;
  bytesPerLine = 0;
  imageLines = 0;
  remainingBytes = 0;
  imageByteCount = 0;
  scannerLost = 0;
}
