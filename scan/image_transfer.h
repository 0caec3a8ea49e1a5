// Moving the scanned image from the scanner: READs of at most 29000 bytes, each followed by
// GET DATA BUFFER STATUS, until the scanner reports nothing left, or until it plainly never
// will, or the user asks to stop. A scanner under test is often broken, so every way out of the
// loop is bounded.
#ifndef SCAN_FS_SCAN_IMAGE_TRANSFER_H
#define SCAN_FS_SCAN_IMAGE_TRANSFER_H

#include <cstdint>
#include <cstdio>

#include "shell/platform_ui.h"

// Largest chunk of image data asked for by one READ.
inline constexpr uint32_t kLargestChunk = 29000;
// Consecutive failed GET DATA BUFFER STATUS requests after which a transfer is given up.
inline constexpr int kStatusFailureLimit = 3;
// Consecutive rounds without progress (the READ failed, or the remaining count did not fall)
// after which a transfer is given up. A READ that fails once and then recovers stays below it.
inline constexpr int kStalledRoundLimit = 3;

enum class TransferEnd {
  kComplete,     // every chunk arrived and the scanner reports nothing left
  kIncomplete,   // the scanner was drained or gave up, but part of the image is missing
  kStatusLost,   // the scanner stopped reporting what remains
  kScannerLost,  // a request got no answer from the scanner: nothing more is sent to it
  kStopped,      // the user asked to stop
};

// Where the chunks go in file mode: never more than the bytes the header declares, and nothing
// more after a write has failed.
struct ImageFile {
  std::FILE* stream;
  uint32_t room;  // bytes the header declares that are not written yet
  bool failed;

  // Everything the header declares is written.
  bool whole() const { return room == 0 && !failed; }
};

// Transfers the image whose size this scan's first GET DATA BUFFER STATUS announced
// (remainingBytes). `buffer` holds kReadImageBufferLength bytes. With a `file`, each chunk is
// appended to it; a chunk whose READ failed is written as zeros. Before each READ it reports the
// bytes received to the user and ends when asked to.
TransferEnd TransferImage(WindowHandle owner, uint8_t* buffer, ImageFile* file);

#endif
