// What carriers of a request (a manager, the trace) need to know of each command the program
// sends: which way its data travel and how many bytes the CDB asks for. The program's requests
// set SRB_Flags 00h (direction by the command) or 18h for most of them, so the direction comes
// from the operation code.
#ifndef SCAN_FS_SCSI_COMMAND_TABLE_H
#define SCAN_FS_SCSI_COMMAND_TABLE_H

#include <cstdint>

#include "scsi/byte_order.h"

enum class DataDirection { kNone, kIn, kOut, kUnknown };

constexpr DataDirection CommandDataDirection(uint8_t operationCode) {
  switch (operationCode) {
    case 0x00:  // TEST UNIT READY
    case 0x16:  // RESERVE UNIT
    case 0x17:  // RELEASE UNIT
    case 0x1D:  // SEND DIAGNOSTIC (no parameter list from this program)
    case 0x31:  // OBJECT POSITION
    case 0xE0:  // Execute Auto Focus
      return DataDirection::kNone;
    case 0x12:  // INQUIRY
    case 0x28:  // READ
    case 0x34:  // GET DATA BUFFER STATUS
    case 0x3C:  // READ BUFFER
      return DataDirection::kIn;
    case 0x1B:  // SCAN (window list)
    case 0x24:  // SET WINDOW
    case 0x2A:  // SEND
    case 0xD6:  // Define Scan Mode
      return DataDirection::kOut;
    default:
      return DataDirection::kUnknown;
  }
}

// Bytes the CDB asks to move (transfer or allocation length); 0 for a command without data or
// one this table does not know.
inline uint32_t CommandTransferLength(const uint8_t* cdb) {
  switch (cdb[0]) {
    case 0x12:  // INQUIRY
    case 0x1B:  // SCAN
    case 0xD6:  // Define Scan Mode
      return cdb[4];
    case 0x1D:  // SEND DIAGNOSTIC
      return LoadBigEndian16(&cdb[3]);
    case 0x24:  // SET WINDOW
    case 0x28:  // READ
    case 0x2A:  // SEND
    case 0x3C:  // READ BUFFER
      return LoadBigEndian24(&cdb[6]);
    case 0x34:  // GET DATA BUFFER STATUS
      return LoadBigEndian16(&cdb[7]);
    default:
      return 0;
  }
}

#endif
