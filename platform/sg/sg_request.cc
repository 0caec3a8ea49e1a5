#include "platform/sg/sg_request.h"

#include <algorithm>

DataDirection RequestDirection(uint8_t flags, uint8_t operationCode) {
  switch (flags & (SRB_DIR_IN | SRB_DIR_OUT)) {
    case SRB_DIR_IN:
      return DataDirection::kIn;
    case SRB_DIR_OUT:
      return DataDirection::kOut;
    default:
      return CommandDataDirection(operationCode);
  }
}

uint32_t RequestTransferLength(const SRB_ExecSCSICmd& request, DataDirection direction) {
  if (request.SRB_BufPointer == nullptr) return 0;
  switch (direction) {
    case DataDirection::kIn:
      return request.SRB_BufLen;
    case DataDirection::kOut:
      if (CommandDataDirection(request.CDBByte[0]) == DataDirection::kUnknown) {
        return request.SRB_BufLen;
      }
      return std::min(request.SRB_BufLen, CommandTransferLength(request.CDBByte));
    default:
      return 0;
  }
}

uint32_t CommandTimeoutMs(uint8_t operationCode) {
  constexpr uint32_t kLongCommandMs = 10 * 60 * 1000;
  constexpr uint32_t kCommandMs = 60 * 1000;
  switch (operationCode) {
    case 0x1B:  // SCAN
    case 0x1D:  // SEND DIAGNOSTIC
    case 0x28:  // READ
    case 0x31:  // OBJECT POSITION
    case 0xE0:  // Execute Auto Focus
      return kLongCommandMs;
    default:
      return kCommandMs;
  }
}
