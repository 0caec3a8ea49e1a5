#include "sim/tcmu/tcmu_ring.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "sim/tcmu/tcmu_layout.h"

namespace {

constexpr uint8_t kCheckCondition = 0x02;
// No command of the scanner moves more than this; a larger total is a damaged entry.
constexpr uint64_t kLargestTransfer = 64 << 20;

const TcmuLayout& layout = kTcmuLayout;

struct Segment {
  uint64_t offset;
  uint64_t length;
};

template <typename Value>
Value LoadAt(const uint8_t* base, size_t offset) {
  Value value;
  std::memcpy(&value, base + offset, sizeof value);
  return value;
}

template <typename Value>
void StoreAt(uint8_t* base, size_t offset, Value value) {
  std::memcpy(base + offset, &value, sizeof value);
}

// The kernel writes the head and reads the tail from its own context.
uint32_t* MailboxWord(std::span<uint8_t> mapping, size_t offset) {
  return reinterpret_cast<uint32_t*>(mapping.data() + offset);
}

}  // namespace

bool TcmuRing::Valid() const {
  if (mapping_.size() < layout.mailboxSize) return false;
  const uint8_t* base = mapping_.data();
  const auto version = LoadAt<uint16_t>(base, layout.versionOffset);
  const auto ringOffset = LoadAt<uint32_t>(base, layout.ringOffsetOffset);
  const auto ringSize = LoadAt<uint32_t>(base, layout.ringSizeOffset);
  return version == layout.mailboxVersion && ringSize > 0 && ringSize % layout.alignment == 0 &&
         ringOffset >= layout.mailboxSize && Inside(ringOffset, ringSize);
}

bool TcmuRing::Inside(uint64_t offset, uint64_t length) const {
  return offset <= mapping_.size() && length <= mapping_.size() - offset;
}

std::optional<size_t> TcmuRing::ServePending(const TargetCommandHandler& handler) {
  if (!Valid()) return std::nullopt;
  const uint8_t* base = mapping_.data();
  const auto ringOffset = LoadAt<uint32_t>(base, layout.ringOffsetOffset);
  const auto ringSize = LoadAt<uint32_t>(base, layout.ringSizeOffset);
  uint32_t* tailWord = MailboxWord(mapping_, layout.tailOffset);
  const uint32_t head = __atomic_load_n(MailboxWord(mapping_, layout.headOffset), __ATOMIC_ACQUIRE);
  uint32_t tail = __atomic_load_n(tailWord, __ATOMIC_RELAXED);

  size_t answered = 0;
  // Each entry takes at least one aligned unit, so a sound ring has no more entries than that.
  for (size_t step = 0; tail != head; ++step) {
    if (step > ringSize / layout.alignment || tail >= ringSize || head >= ringSize ||
        tail % layout.alignment != 0) {
      return std::nullopt;
    }
    const auto lengthAndOperation = LoadAt<uint32_t>(base, ringOffset + tail);
    const uint32_t length = lengthAndOperation & ~layout.operationMask;
    if (length == 0 || length % layout.alignment != 0 || length > ringSize - tail) {
      return std::nullopt;
    }
    // Padding fills the ring up to its end; notices of task management need no answer.
    if ((lengthAndOperation & layout.operationMask) == layout.commandOperation) {
      if (!Answer(ringOffset + tail, length, handler)) return std::nullopt;
      ++answered;
    }
    tail = (tail + length) % ringSize;
    __atomic_store_n(tailWord, tail, __ATOMIC_RELEASE);
  }
  return answered;
}

bool TcmuRing::Answer(size_t entryOffset, size_t entryLength, const TargetCommandHandler& handler) {
  uint8_t* base = mapping_.data();
  if (entryLength < layout.entrySize) return false;
  // The answer overlays the request's fields: everything is taken out of the entry first.
  const auto segmentCount = LoadAt<uint32_t>(base, entryOffset + layout.segmentCountOffset);
  const auto cdbOffset = LoadAt<uint64_t>(base, entryOffset + layout.cdbOffsetOffset);
  const size_t listOffset = entryOffset + layout.segmentListOffset;
  const size_t entryEnd = entryOffset + entryLength;
  if (segmentCount > (entryLength - layout.segmentListOffset) / layout.segmentSize) return false;
  if (cdbOffset < listOffset || cdbOffset >= entryEnd) return false;

  std::vector<Segment> segments;
  uint64_t total = 0;
  for (uint32_t i = 0; i < segmentCount; ++i) {
    const size_t at = listOffset + i * layout.segmentSize;
    const Segment segment{LoadAt<uint64_t>(base, at + layout.segmentBaseOffset),
                          LoadAt<uint64_t>(base, at + layout.segmentLengthOffset)};
    if (!Inside(segment.offset, segment.length)) return false;
    total += segment.length;
    if (total > kLargestTransfer) return false;
    segments.push_back(segment);
  }
  const std::vector<uint8_t> cdb(base + cdbOffset, base + entryEnd);
  std::vector<uint8_t> data;
  data.reserve(total);
  for (const Segment& segment : segments) {
    data.insert(data.end(), base + segment.offset, base + segment.offset + segment.length);
  }

  const TargetReply reply = handler(cdb, data);

  // Only what the device returned goes back; the kernel copies no more than it is told.
  const uint64_t returned = std::min<uint64_t>(reply.returned.value_or(total), total);
  uint64_t copied = 0;
  for (const Segment& segment : segments) {
    const uint64_t length = std::min(returned - copied, segment.length);
    std::memcpy(base + segment.offset, data.data() + copied, length);
    copied += length;
  }

  const auto mailboxFlags = LoadAt<uint16_t>(base, layout.flagsOffset);
  std::memset(base + entryOffset + layout.statusOffset, 0, layout.entrySize - layout.statusOffset);
  StoreAt<uint8_t>(base, entryOffset + layout.statusOffset, reply.status);
  if (reply.status == kCheckCondition) {
    std::memcpy(base + entryOffset + layout.senseOffset, reply.sense.data(),
                std::min(reply.sense.size(), layout.senseSize));
  }
  if (reply.returned && (mailboxFlags & layout.canReturnLength) != 0) {
    StoreAt<uint32_t>(base, entryOffset + layout.returnLengthOffset,
                      static_cast<uint32_t>(returned));
    const size_t userFlags = entryOffset + layout.userFlagsOffset;
    StoreAt<uint8_t>(base, userFlags, LoadAt<uint8_t>(base, userFlags) | layout.returnLengthFlag);
  }
  return true;
}
