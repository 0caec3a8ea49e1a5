#include "scan/image_transfer.h"

#include <cstring>

#include "scsi/scanner_commands.h"
#include "scsi/srb.h"
#include "shell/program_state.h"

namespace {

void Append(ImageFile* file, const uint8_t* chunk, uint32_t length) {
  if (file == nullptr || file->failed) return;
  const uint32_t writable = length < file->room ? length : file->room;
  if (writable == 0) return;
  if (std::fwrite(chunk, writable, 1, file->stream) != 1) {
    file->failed = true;
    return;
  }
  file->room -= writable;
}

}  // namespace

TransferEnd TransferImage(WindowHandle owner, uint8_t* buffer, ImageFile* file) {
  const uint32_t announced = remainingBytes;
  uint32_t received = 0;  // bytes of READs that succeeded
  int statusFailures = 0;
  int stalledRounds = 0;
  bool chunkLost = false;

  while (remainingBytes != 0) {
    // A READ repeated after a failed status may count bytes twice; the scanner is held to the
    // announced size at its next report, and the user never sees more than all of it.
    if (!ReportProgress(received < announced ? received : announced, announced)) {
      return TransferEnd::kStopped;
    }
    const uint32_t before = remainingBytes;
    const uint32_t chunk = before < kLargestChunk ? before : kLargestChunk;
    const bool readSucceeded = ReadImage(owner, chunk, buffer, 1) == SS_COMP;
    if (scannerLost != 0) return TransferEnd::kScannerLost;
    if (readSucceeded) {
      received += chunk;
    } else {
      chunkLost = true;
      std::memset(buffer, 0, chunk);
    }
    Append(file, buffer, chunk);

    bool progressed = false;
    const bool reported = GetDataStatus(owner, 1) == SS_COMP;
    if (scannerLost != 0) return TransferEnd::kScannerLost;
    if (reported) {
      statusFailures = 0;
      // What is left and what has arrived can never exceed the image announced at the start.
      if (received > announced || remainingBytes > announced - received) {
        return TransferEnd::kIncomplete;
      }
      progressed = readSucceeded && remainingBytes < before;
    } else if (++statusFailures >= kStatusFailureLimit) {
      return TransferEnd::kStatusLost;
    }
    stalledRounds = progressed ? 0 : stalledRounds + 1;
    if (stalledRounds >= kStalledRoundLimit) return TransferEnd::kIncomplete;
  }
  // A scanner that reports nothing left before the announced bytes arrived lost some of them.
  return chunkLost || received != announced ? TransferEnd::kIncomplete : TransferEnd::kComplete;
}
