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

enum class Preparation { kReady, kFailed, kStopped };

constexpr uint16_t kGammaQualifiers[] = {0x0100, 0x0200, 0x0300};

bool StopRequested() {
  return !ReportProgress(0, 0);
}

// Reserve, the model's window, gamma tables and pages, auto focus and SCAN. Failed when a
// command whose status decides has failed, or when any request got no answer from the scanner;
// stopped when the user asked to stop once the scanner was reserved, before one of the slow
// steps.
Preparation PrepareScan(WindowHandle owner) {
  TestUnitReady(owner, 0);  // clears what the scanner has to report since power-on or reset
  if (scannerLost != 0) return Preparation::kFailed;
  if (TestUnitReady(owner, 1) != SS_COMP) return Preparation::kFailed;
  if (ReserveUnit(owner, 1) != SS_COMP) return Preparation::kFailed;
  if (IsModel(productId, kProductIdT1)) {
    if (SetWindowT1(owner, 1) != SS_COMP) return Preparation::kFailed;
    for (const uint16_t qualifier : kGammaQualifiers) {
      SendGamma8Bit(owner, qualifier, 1);
      if (scannerLost != 0) return Preparation::kFailed;
    }
  } else if (IsModel(productId, kProductIdT2)) {
    if (DefineScanModePage20(owner, 1) != SS_COMP) return Preparation::kFailed;
    if (SetWindowT2(owner, 1) != SS_COMP) return Preparation::kFailed;
    for (const uint16_t qualifier : kGammaQualifiers) {
      SendGamma16Bit(owner, qualifier, 1);
      if (scannerLost != 0) return Preparation::kFailed;
    }
  }
  DefineScanModePage02(owner, 1);
  if (scannerLost != 0) return Preparation::kFailed;
  imageComposition = 5;
  if (StopRequested()) return Preparation::kStopped;
  ExecuteAutoFocus(owner, 1);
  if (scannerLost != 0) return Preparation::kFailed;
  if (StopRequested()) return Preparation::kStopped;
  return ScanCommand(owner, 1) == SS_COMP ? Preparation::kReady : Preparation::kFailed;
}

// Back to the home position and free for others. After the user asked to stop, quietly: the
// program is on its way out.
void ReleaseScanner(WindowHandle owner, uint8_t showError) {
  MediumPosition(owner, showError);
  if (scannerLost == 0) ReleaseUnit(owner, showError);
}

// Closes the image file; false, after telling the user, when anything written to it was lost.
bool CloseImageFile(const ImageFile& image) {
  const bool writeFailed = image.failed || std::ferror(image.stream) != 0;
  const bool closeFailed = std::fclose(image.stream) != 0;
  if (writeFailed || closeFailed) {
    ShowWarningText(nullptr, IDS_FILE_NOT_CLOSED, true);
    return false;
  }
  return true;
}

PassResult RunPass(WindowHandle owner, uint8_t* buffer) {
  // No size an earlier scan reported may stand for this one's: not in the header, not in a READ.
  ForgetImageGeometry();
  switch (PrepareScan(owner)) {
    case Preparation::kFailed:
      return PassResult::kEnded;
    case Preparation::kStopped:
      ReleaseScanner(owner, 0);
      return PassResult::kIncomplete;
    case Preparation::kReady:
      break;
  }

  // The size of the whole image; without it no READ is sent, and the file stays no TIFF.
  const bool sizeKnown = GetDataStatus(owner, 1) == SS_COMP;
  TransferEnd transfer = scannerLost != 0 ? TransferEnd::kScannerLost : TransferEnd::kIncomplete;

  ImageFile image{nullptr, imageByteCount, false};
  if (saveToFile != 0) {
    char fileName[16];
    std::strcpy(fileName, "img_fs.tif");
    image.stream = std::fopen(fileName, "wb");
    if (image.stream == nullptr) {
      ShowWarningText(nullptr, IDS_FILE_NOT_OPENED, true);
      return PassResult::kEnded;
    }
    WriteTiffHeader(image.stream);
    image.failed = std::ferror(image.stream) != 0;
  }

  if (sizeKnown) {
    transfer = TransferImage(owner, buffer, image.stream != nullptr ? &image : nullptr);
  }
  if (image.stream != nullptr) {
    // Only a file that holds every byte this scan's header declares becomes a TIFF.
    if (sizeKnown && image.whole() && !ConfirmTiffHeader(image.stream)) image.failed = true;
    if (!CloseImageFile(image)) return PassResult::kEnded;
  }
  if (transfer == TransferEnd::kStatusLost || transfer == TransferEnd::kScannerLost) {
    return PassResult::kEnded;
  }

  const bool stopped = transfer == TransferEnd::kStopped;
  ReleaseScanner(owner, stopped ? 0 : 1);
  return transfer == TransferEnd::kComplete ? PassResult::kComplete : PassResult::kIncomplete;
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
