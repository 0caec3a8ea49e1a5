#include "scan/negative_film_scan.h"

#include <cstdio>
#include <cstring>

#include "discovery/scanner_models.h"
#include "resources/strings.h"
#include "scan/image_transfer.h"
#include "scan/tiff_writer.h"
#include "scsi/scanner_commands.h"
#include "scsi/srb.h"
#include "shell/busy_cursor.h"
#include "shell/message_boxes.h"
#include "shell/program_state.h"

namespace {

enum class PassResult {
  kComplete,    // the whole image arrived
  kIncomplete,  // the pass ran to its end, but part of the image is missing
  kEnded,       // a step ended the procedure; nothing more was sent
};

constexpr uint16_t kGammaQualifiers[] = {0x0100, 0x0200, 0x0300};

// Reserve, the model's window, gamma tables and pages, auto focus and SCAN. False when a command
// whose status decides has failed.
bool PrepareScan(WindowHandle owner) {
  TestUnitReady(owner, 0);  // clears what the scanner has to report since power-on or reset
  if (TestUnitReady(owner, 1) != SS_COMP) return false;
  if (ReserveUnit(owner, 1) != SS_COMP) return false;
  if (IsModel(productId, kProductIdT1)) {
    if (SetWindowT1(owner, 1) != SS_COMP) return false;
    for (const uint16_t qualifier : kGammaQualifiers) SendGamma8Bit(owner, qualifier, 1);
  } else if (IsModel(productId, kProductIdT2)) {
    if (DefineScanModePage20(owner, 1) != SS_COMP) return false;
    if (SetWindowT2(owner, 1) != SS_COMP) return false;
    for (const uint16_t qualifier : kGammaQualifiers) SendGamma16Bit(owner, qualifier, 1);
  }
  DefineScanModePage02(owner, 1);
  imageComposition = 5;
  ExecuteAutoFocus(owner, 1);
  return ScanCommand(owner, 1) == SS_COMP;
}

// Closes the image file; false, after telling the user, when anything written to it was lost.
bool CloseImageFile(std::FILE* file) {
  const bool writeFailed = std::ferror(file) != 0;
  const bool closeFailed = std::fclose(file) != 0;
  if (writeFailed || closeFailed) {
    ShowWarningText(nullptr, IDS_FILE_NOT_CLOSED, true);
    return false;
  }
  return true;
}

PassResult RunPass(WindowHandle owner, uint8_t* buffer) {
  if (!PrepareScan(owner)) return PassResult::kEnded;

  // The size of the whole image; without it neither the file header nor the transfer is sure.
  int statusFailures = 0;
  const bool sizeKnown = GetDataStatus(owner, 1) == SS_COMP;
  if (!sizeKnown) statusFailures = 1;

  std::FILE* file = nullptr;
  if (saveToFile != 0) {
    char fileName[16];
    std::strcpy(fileName, "img_fs.tif");
    file = std::fopen(fileName, "wb");
    if (file == nullptr) {
      ShowWarningText(nullptr, IDS_FILE_NOT_OPENED, true);
      return PassResult::kEnded;
    }
    WriteTiffHeader(file);
  }

  const TransferEnd transfer = TransferImage(owner, buffer, file, statusFailures);
  if (file != nullptr && !CloseImageFile(file)) return PassResult::kEnded;
  if (transfer == TransferEnd::kStatusLost) return PassResult::kEnded;

  MediumPosition(owner, 1);
  ReleaseUnit(owner, 1);
  return transfer == TransferEnd::kComplete && sizeKnown ? PassResult::kComplete
                                                         : PassResult::kIncomplete;
}

}  // namespace

bool ScanNegativeFilm(WindowHandle owner) {
  // Every READ lands here; cleared so that no chunk ever carries bytes of an earlier scan.
  uint8_t transferBuffer[kReadImageBufferLength];
  std::memset(transferBuffer, 0, sizeof transferBuffer);

  const BusyCursor busy = BeginBusyCursor();
  bool imageComplete = true;
  for (uint8_t pass = 0; pass < scanRepeatCount; ++pass) {
    const PassResult result = RunPass(owner, transferBuffer);
    if (result == PassResult::kEnded) {
      EndBusyCursor(busy);
      return false;
    }
    if (result == PassResult::kIncomplete) imageComplete = false;
  }
  EndBusyCursor(busy);
  return imageComplete;
}
