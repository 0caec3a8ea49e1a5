// The layout of the kernel's user backstore ring, taken from the kernel's own header by a C
// unit (the header is C only). Offsets are in bytes from the start of the mailbox or of an
// entry.
#ifndef SCAN_FS_SIM_TCMU_TCMU_LAYOUT_H
#define SCAN_FS_SIM_TCMU_TCMU_LAYOUT_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

struct TcmuLayout {
  size_t mailboxSize;
  uint16_t mailboxVersion;
  size_t versionOffset, flagsOffset, ringOffsetOffset, ringSizeOffset, headOffset, tailOffset;
  uint16_t canReturnLength;  // mailbox flag: the kernel takes read_len

  uint32_t alignment;  // of entries and their lengths
  uint32_t operationMask;
  uint32_t commandOperation;
  size_t entrySize;  // the smallest command entry: room for the answer
  size_t userFlagsOffset;
  uint8_t returnLengthFlag;  // user flag: read_len holds the bytes returned
  size_t segmentCountOffset, cdbOffsetOffset, segmentListOffset;
  size_t segmentSize, segmentBaseOffset, segmentLengthOffset;
  size_t statusOffset, returnLengthOffset, senseOffset, senseSize;
};

extern const struct TcmuLayout kTcmuLayout;

#ifdef __cplusplus
}
#endif

#endif
