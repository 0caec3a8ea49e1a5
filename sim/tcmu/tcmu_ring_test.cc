#include "sim/tcmu/tcmu_ring.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <vector>

#include "sim/tcmu/tcmu_layout.h"

namespace {

const TcmuLayout& layout = kTcmuLayout;
using Bytes = std::vector<uint8_t>;

// A shared area laid out as the kernel lays it: the mailbox, a ring of 1 KiB, then data. The ring
// starts with padding up to its end, so that the commands after it go round.
struct FakeArea {
  static constexpr uint32_t kRingOffset = 256, kRingSize = 1024;
  static constexpr size_t kDataOffset = kRingOffset + kRingSize;

  FakeArea() : bytes(8192) {
    Put<uint16_t>(layout.versionOffset, layout.mailboxVersion);
    Put<uint16_t>(layout.flagsOffset, layout.canReturnLength);
    Put<uint32_t>(layout.ringOffsetOffset, kRingOffset);
    Put<uint32_t>(layout.ringSizeOffset, kRingSize);
    Put<uint32_t>(layout.tailOffset, kRingSize - 64);
    Put<uint32_t>(kRingOffset + kRingSize - 64, 64);  // padding: its operation is 0
  }

  // Puts a command entry at the head: the CDB, and one segment for each piece of data.
  size_t AddCommand(const Bytes& cdb, const std::vector<Bytes>& data) {
    const size_t entry = kRingOffset + head_;
    const size_t cdbAt = entry + layout.entrySize + data.size() * layout.segmentSize;
    std::memcpy(&bytes[cdbAt], cdb.data(), cdb.size());
    Put<uint32_t>(entry + layout.segmentCountOffset, static_cast<uint32_t>(data.size()));
    Put<uint64_t>(entry + layout.cdbOffsetOffset, cdbAt);
    for (size_t i = 0; i < data.size(); ++i) {
      const size_t segment = entry + layout.segmentListOffset + i * layout.segmentSize;
      Put<uint64_t>(segment + layout.segmentBaseOffset, dataUsed_);
      Put<uint64_t>(segment + layout.segmentLengthOffset, data[i].size());
      std::memcpy(&bytes[dataUsed_], data[i].data(), data[i].size());
      dataUsed_ += data[i].size();
    }
    const auto length = static_cast<uint32_t>(cdbAt + cdb.size() - entry + layout.alignment - 1) /
                        layout.alignment * layout.alignment;
    Put<uint32_t>(entry, length | layout.commandOperation);
    Put<uint32_t>(layout.headOffset, head_ += length);
    return entry;
  }

  template <typename Value>
  Value Get(size_t offset) const {
    Value value;
    std::memcpy(&value, &bytes[offset], sizeof value);
    return value;
  }
  template <typename Value>
  void Put(size_t offset, Value value) {
    std::memcpy(&bytes[offset], &value, sizeof value);
  }
  Bytes bytes;
  uint32_t head_ = 0;
  size_t dataUsed_ = kDataOffset;
};

TEST(TcmuRingTest, CommandsAreAnsweredInOrderPastPaddingAndTheRingsEnd) {
  FakeArea area;
  const size_t entry = area.AddCommand({0x3C, 0x02, 0xF9}, {{1, 2, 3}, {4, 5, 6}});
  area.AddCommand({0x00, 0, 0, 0, 0, 0}, {});
  Bytes operationCodes;
  const auto answered =
      TcmuRing(area.bytes).ServePending([&](std::span<const uint8_t> cdb, std::span<uint8_t> data) {
        operationCodes.push_back(cdb[0]);
        if (cdb[0] != 0x3C) return TargetReply{};
        EXPECT_EQ(Bytes(data.begin(), data.end()), (Bytes{1, 2, 3, 4, 5, 6}));
        std::fill(data.begin(), data.end(), 9);
        return TargetReply{0x02, {0, 0, 0x20}, 4};  // CHECK CONDITION, 4 bytes returned
      });
  EXPECT_EQ(answered, 2u);
  EXPECT_EQ(operationCodes, (Bytes{0x3C, 0x00}));
  // Only what the device returned goes back, with its status and sense data.
  EXPECT_EQ(Bytes(&area.bytes[FakeArea::kDataOffset], &area.bytes[FakeArea::kDataOffset + 6]),
            (Bytes{9, 9, 9, 9, 5, 6}));
  EXPECT_EQ(area.bytes[entry + layout.statusOffset], 0x02);
  EXPECT_EQ(area.bytes[entry + layout.senseOffset + 2], 0x20);
  EXPECT_EQ(area.Get<uint32_t>(entry + layout.returnLengthOffset), 4u);
  EXPECT_NE(area.bytes[entry + layout.userFlagsOffset] & layout.returnLengthFlag, 0);
  EXPECT_EQ(area.Get<uint32_t>(layout.tailOffset), area.Get<uint32_t>(layout.headOffset));
}

TEST(TcmuRingTest, ADamagedEntryReachesNoDevice) {
  for (const auto& [damage, offset, value] :
       {std::tuple<const char*, size_t, uint64_t>{"zero length", 0, layout.commandOperation},
        {"data outside the area", layout.segmentListOffset + layout.segmentBaseOffset, 1u << 20},
        {"CDB outside the entry", layout.cdbOffsetOffset, 4},
        {"more segments than the entry holds", layout.segmentCountOffset, 1000}}) {
    FakeArea area;
    // What follows a 32-bit field is 0 anyway.
    area.Put<uint64_t>(area.AddCommand({0x28, 0}, {{1, 2}}) + offset, value);
    bool reached = false;
    const auto answered = TcmuRing(area.bytes).ServePending([&](auto, auto) {
      reached = true;
      return TargetReply{};
    });
    EXPECT_FALSE(answered.has_value()) << damage;
    EXPECT_FALSE(reached) << damage;
  }
}

}  // namespace
