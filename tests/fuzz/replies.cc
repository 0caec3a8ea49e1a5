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

void AppendCounted(std::vector<uint8_t>& out, const uint8_t* bytes, size_t length) {
  if (length > 0xFF) length = 0xFF;  // what one count byte can announce
  out.push_back(static_cast<uint8_t>(length));
  out.insert(out.end(), bytes, bytes + length);
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

void AppendSupportReply(std::vector<uint8_t>& out, const SupportReply& reply) {
  out.insert(out.end(), {reply.status, reply.adapterCount});
}

void AppendAdapterReply(std::vector<uint8_t>& out, const AdapterReply& reply) {
  out.push_back(reply.status);
  if (reply.status != SS_COMP) return;
  out.push_back(reply.scsiId);
  for (const std::string& text : {reply.managerId, reply.identifier}) {
    AppendCounted(out, reinterpret_cast<const uint8_t*>(text.data()),
                  text.size() < kTextWidth ? text.size() : kTextWidth);
  }
}

void AppendScsiReply(std::vector<uint8_t>& out, const ScsiReply& reply) {
  uint8_t shape = 0;
  if (reply.hostAdapterStatus != 0) shape |= kShapeHostAdapterStatus;
  if (reply.targetStatus != 0) shape |= kShapeTargetStatus;
  if (!reply.sense.empty()) shape |= kShapeSense;
  if (reply.deliveredLength) shape |= kShapeDeliveredLength;
  if (!reply.data.empty()) shape |= kShapeData;
  if (reply.late) shape |= kShapeLate;
  if (reply.stop) shape |= kShapeStop;
  out.insert(out.end(), {reply.status, shape});
  if (shape & kShapeHostAdapterStatus) out.push_back(reply.hostAdapterStatus);
  if (shape & kShapeTargetStatus) out.push_back(reply.targetStatus);
  if (shape & kShapeSense) AppendCounted(out, reply.sense.data(), reply.sense.size());
  if (shape & kShapeDeliveredLength) {
    out.push_back(static_cast<uint8_t>(*reply.deliveredLength & 0xFF));
    out.push_back(static_cast<uint8_t>(*reply.deliveredLength >> 8));
  }
  if (shape & kShapeData) AppendCounted(out, reply.data.data(), reply.data.size());
}
