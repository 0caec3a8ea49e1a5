#include "tests/fuzz/replies.h"

#include "scsi/srb.h"

namespace {

constexpr size_t kTextWidth = 16;  // HA_ManagerId, HA_Identifier

uint8_t ReadStatus(ReplyStream& stream) {
  const uint8_t status = stream.Byte();
  return status == SS_PENDING ? SS_COMP : status;
}

std::string ReadText(ReplyStream& stream) {
  uint8_t text[kTextWidth];
  const uint8_t wanted = stream.Byte();
  const size_t length = stream.Read(text, wanted < kTextWidth ? wanted : kTextWidth);
  return std::string(text, text + length);
}

std::vector<uint8_t> ReadCounted(ReplyStream& stream) {
  std::vector<uint8_t> bytes(stream.Byte());
  bytes.resize(stream.Read(bytes.data(), bytes.size()));
  return bytes;
}

}  // namespace

SupportReply ReadSupportReply(ReplyStream& stream) {
  const uint8_t status = ReadStatus(stream);
  return SupportReply{status, stream.Byte()};
}

AdapterReply ReadAdapterReply(ReplyStream& stream) {
  AdapterReply reply(ReadStatus(stream));
  if (reply.status != SS_COMP) return reply;
  reply.scsiId = stream.Byte();
  reply.managerId = ReadText(stream);
  reply.identifier = ReadText(stream);
  return reply;
}

ScsiReply ReadScsiReply(ReplyStream& stream) {
  ScsiReply reply(ReadStatus(stream));
  const uint8_t shape = stream.Byte();
  if (shape & kShapeHostAdapterStatus) reply.hostAdapterStatus = stream.Byte();
  if (shape & kShapeTargetStatus) reply.targetStatus = stream.Byte();
  if (shape & kShapeSense) reply.sense = ReadCounted(stream);
  if (shape & kShapeDeliveredLength) {
    const uint8_t low = stream.Byte();
    reply.deliveredLength = static_cast<uint16_t>(low | stream.Byte() << 8);
  }
  if (shape & kShapeData) reply.data = ReadCounted(stream);
  reply.late = (shape & kShapeLate) != 0;
  reply.stop = (shape & kShapeStop) != 0;
  return reply;
}

ScsiReply ReadResetReply(ReplyStream& stream) {
  ScsiReply reply(ReadStatus(stream));
  reply.hostAdapterStatus = stream.Byte();
  return reply;
}
