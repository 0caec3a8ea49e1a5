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

namespace {

struct CommandTimeout {
  uint8_t operationCode;
  uint32_t seconds;
};

// Each command of the program with what the scanner needs for it, and room to spare. Only the
// commands that move the scanner's mechanics take long; the others are answered from its memory.
constexpr CommandTimeout kCommandTimeouts[] = {
    {0x1B, 120},  // SCAN: the lamp warms up and the carriage reaches the frame first
    {0x1D, 120},  // SEND DIAGNOSTIC: each self-test takes tens of seconds
    {0x31, 60},   // OBJECT POSITION: the film holder travels back through the scanner
    {0xE0, 60},   // Execute Auto Focus: the lens is driven through its range
    {0x28, 30},   // READ: at most 29000 bytes, under four lines at 2720 dpi
    {0x00, 10},   // TEST UNIT READY: the scanner's state
    {0x12, 10},   // INQUIRY: fixed identification data
    {0x16, 10},   // RESERVE UNIT: the scanner's state
    {0x17, 10},   // RELEASE UNIT: the scanner's state
    {0x24, 10},   // SET WINDOW: 72 bytes of parameters, stored
    {0x2A, 10},   // SEND: a gamma table of at most 8 KiB, stored
    {0xD6, 10},   // Define Scan Mode: at most 22 bytes, stored
    {0x34, 10},   // GET DATA BUFFER STATUS: counters, without waiting for data
    {0x3C, 10},   // READ BUFFER: at most 512 bytes from the scanner's memory
};
// Any other operation code: the program sends none.
constexpr uint32_t kOtherCommandSeconds = 10;

}  // namespace

uint32_t CommandTimeoutMs(uint8_t operationCode) {
  for (const CommandTimeout& command : kCommandTimeouts) {
    if (command.operationCode == operationCode) return command.seconds * 1000;
  }
  return kOtherCommandSeconds * 1000;
}
