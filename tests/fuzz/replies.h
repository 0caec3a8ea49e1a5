// The device's answers as the fuzz input spells them, one reply per request in the order the
// program sends them; each reply takes at least one byte. A status byte of 00h (pending) stands
// for SS_COMP, since every request must end. The seeds in seeds/ are written in this form.
//
//   GetASPI32SupportInfo  [status] [adapter count]
//   SRB_HAInquiry         [status], and after SS_COMP: [HA_SCSI_ID] [n] n bytes of HA_ManagerId
//                         [n] n bytes of HA_Identifier (n at most 16; the rest of a text is zero)
//   SRB_ExecSCSICmd       [status] [shape], then what the shape's bits announce, in bit order
//   SRB_BusDeviceReset    [status] [SRB_HaStat]
#ifndef SCAN_FS_TESTS_FUZZ_REPLIES_H
#define SCAN_FS_TESTS_FUZZ_REPLIES_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/fuzz/reply_stream.h"

// Bits of a SCSI reply's shape byte.
inline constexpr uint8_t kShapeHostAdapterStatus = 0x01;  // [SRB_HaStat]
inline constexpr uint8_t kShapeTargetStatus = 0x02;       // [SRB_TargStat]
inline constexpr uint8_t kShapeSense = 0x04;              // [n] n sense bytes
inline constexpr uint8_t kShapeDeliveredLength = 0x08;    // [low] [high]
inline constexpr uint8_t kShapeData = 0x10;               // [n] n data bytes
inline constexpr uint8_t kShapeLate = 0x20;               // completes from another thread
inline constexpr uint8_t kShapeStop = 0x40;               // the user asks to stop meanwhile

struct SupportReply {
  uint8_t status;
  uint8_t adapterCount;
};

struct AdapterReply {
  explicit AdapterReply(uint8_t status, uint8_t scsiId = 7, std::string managerId = "",
                        std::string identifier = "")
      : status(status), scsiId(scsiId), managerId(managerId), identifier(identifier) {}

  uint8_t status;
  uint8_t scsiId;
  std::string managerId;  // at most 16 bytes
  std::string identifier;
};

struct ScsiReply {
  explicit ScsiReply(uint8_t status, uint8_t hostAdapterStatus = 0, uint8_t targetStatus = 0)
      : status(status), hostAdapterStatus(hostAdapterStatus), targetStatus(targetStatus) {}

  uint8_t status;
  uint8_t hostAdapterStatus;
  uint8_t targetStatus;
  std::vector<uint8_t> sense;  // at most SRB_SenseLen bytes of it reach the block
  // Bytes that reach a data-in buffer (at most SRB_BufLen); without it, what the CDB asks for.
  std::optional<uint16_t> deliveredLength;
  std::vector<uint8_t> data;  // the delivered bytes begin with these; the rest are zero
  bool late = false;
  bool stop = false;
};

SupportReply ReadSupportReply(ReplyStream& stream);
AdapterReply ReadAdapterReply(ReplyStream& stream);
ScsiReply ReadScsiReply(ReplyStream& stream);
// A bus device reset's reply: its status and host adapter status.
ScsiReply ReadResetReply(ReplyStream& stream);

#endif
