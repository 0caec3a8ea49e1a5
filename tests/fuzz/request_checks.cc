#include "tests/fuzz/request_checks.h"

#include <cstdio>
#include <string>

#include "scsi/command_table.h"
#include "tests/fuzz/violation.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/asan_interface.h>
#define SCAN_FS_FUZZ_ASAN 1
#endif
#endif

namespace {

std::string Describe(const SRB_ExecSCSICmd& request) {
  char text[64];
  std::snprintf(text, sizeof text, "request with operation code %02Xh, SRB_BufLen %u",
                request.CDBByte[0], static_cast<unsigned>(request.SRB_BufLen));
  return text;
}

// A manager writes up to SRB_BufLen bytes: every one of them must belong to the program's buffer.
void CheckBufferOwned(const SRB_ExecSCSICmd& request) {
#ifdef SCAN_FS_FUZZ_ASAN
  const void* outside = __asan_region_is_poisoned(request.SRB_BufPointer, request.SRB_BufLen);
  if (outside != nullptr) {
    Violation(Describe(request) + ": the buffer ends " +
              std::to_string(static_cast<const uint8_t*>(outside) - request.SRB_BufPointer) +
              " bytes in");
  }
#else
  (void)request;
#endif
}

bool DirectionConflicts(uint8_t flags, DataDirection direction) {
  const uint8_t bits = flags & (SRB_DIR_IN | SRB_DIR_OUT);
  return (bits == SRB_DIR_IN && direction == DataDirection::kOut) ||
         (bits == SRB_DIR_OUT && direction == DataDirection::kIn);
}

}  // namespace

void CheckScsiRequest(const SRB_ExecSCSICmd& request) {
  if (request.SRB_CDBLen != 6 && request.SRB_CDBLen != 10) {
    Violation(Describe(request) + ": SRB_CDBLen " + std::to_string(request.SRB_CDBLen));
  }
  if (request.SRB_SenseLen > sizeof request.SenseArea) {
    Violation(Describe(request) + ": SRB_SenseLen " + std::to_string(request.SRB_SenseLen) +
              " is more than the sense area holds");
  }
  if (request.SRB_Lun != 0) Violation(Describe(request) + ": a logical unit other than 0");
  const DataDirection direction = CommandDataDirection(request.CDBByte[0]);
  if (DirectionConflicts(request.SRB_Flags, direction)) {
    Violation(Describe(request) + ": SRB_Flags against the command's direction");
  }
  if (request.SRB_BufLen != 0 && request.SRB_BufPointer == nullptr) {
    Violation(Describe(request) + ": no buffer");
  }
  if (CommandTransferLength(request.CDBByte) > request.SRB_BufLen) {
    Violation(Describe(request) + ": the CDB asks for " +
              std::to_string(CommandTransferLength(request.CDBByte)) + " bytes");
  }
  if (request.SRB_BufLen != 0) CheckBufferOwned(request);
}
