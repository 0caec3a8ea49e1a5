#include "sim/tcmu/tcmu_ring.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "sim/tcmu/tcmu_layout.h"

namespace {

const TcmuLayout& layout = kTcmuLayout;

// A shared area laid out as the kernel lays it: the mailbox, a ring of 1 KiB, then data.
class FakeArea {
 public:
  static constexpr uint32_t kRingOffset = 256;
  static constexpr uint32_t kRingSize = 1024;
  static constexpr size_t kDataOffset = kRingOffset + kRingSize;

  FakeArea() : bytes_(8192) {
    Put<uint16_t>(layout.versionOffset, layout.mailboxVersion);
    Put<uint16_t>(layout.flagsOffset, layout.canReturnLength);
    Put<uint32_t>(layout.ringOffsetOffset, kRingOffset);
    Put<uint32_t>(layout.ringSizeOffset, kRingSize);
  }

  // Puts a command entry at the head: the CDB, and one segment for each piece of data.
  size_t AddCommand(const std::vector<uint8_t>& cdb,
                    const std::vector<std::vector<uint8_t>>& data) {
    const size_t entry = kRingOffset + head_;
    const size_t cdbAt = entry + layout.entrySize + data.size() * layout.segmentSize;
    const uint32_t length = Aligned(cdbAt + cdb.size() - entry);
    Put<uint32_t>(entry, length | layout.commandOperation);
    Put<uint32_t>(entry + layout.segmentCountOffset, static_cast<uint32_t>(data.size()));
    Put<uint64_t>(entry + layout.cdbOffsetOffset, cdbAt);
    std::memcpy(&bytes_[cdbAt], cdb.data(), cdb.size());
    for (size_t i = 0; i < data.size(); ++i) {
      const size_t segment = entry + layout.segmentListOffset + i * layout.segmentSize;
      Put<uint64_t>(segment + layout.segmentBaseOffset, dataUsed_);
      Put<uint64_t>(segment + layout.segmentLengthOffset, data[i].size());
      std::memcpy(&bytes_[dataUsed_], data[i].data(), data[i].size());
      dataUsed_ += data[i].size();
    }
    Advance(length);
    return entry;
  }
  void AddPadding(uint32_t length) {
    Put<uint32_t>(kRingOffset + head_, length);
    Advance(length);
  }
  void MoveTo(uint32_t offset) {
    head_ = offset;
    Put<uint32_t>(layout.headOffset, head_);
    Put<uint32_t>(layout.tailOffset, head_);
  }

  template <typename Value>
  Value Get(size_t offset) const {
    Value value;
    std::memcpy(&value, &bytes_[offset], sizeof value);
    return value;
  }
  template <typename Value>
  void Put(size_t offset, Value value) {
    std::memcpy(&bytes_[offset], &value, sizeof value);
  }
  std::vector<uint8_t>& bytes() { return bytes_; }

 private:
  static uint32_t Aligned(size_t length) {
    return static_cast<uint32_t>((length + layout.alignment - 1) / layout.alignment *
                                 layout.alignment);
  }
  void Advance(uint32_t length) {
    head_ = (head_ + length) % kRingSize;
    Put<uint32_t>(layout.headOffset, head_);
  }

  std::vector<uint8_t> bytes_;
  uint32_t head_ = 0;
  size_t dataUsed_ = kDataOffset;
};

TEST(TcmuRingTest, DataReachesTheDeviceAndOnlyWhatItReturnedGoesBack) {
  FakeArea area;
  const size_t entry = area.AddCommand({0x3C, 0x02, 0xF9}, {{1, 2, 3}, {4, 5, 6}});
  TcmuRing ring(area.bytes());
  const std::optional<size_t> answered =
      ring.ServePending([](std::span<const uint8_t> cdb, std::span<uint8_t> data) {
        EXPECT_EQ(std::vector<uint8_t>(cdb.begin(), cdb.begin() + 3),
                  (std::vector<uint8_t>{0x3C, 0x02, 0xF9}));
        EXPECT_EQ(std::vector<uint8_t>(data.begin(), data.end()),
                  (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
        std::fill(data.begin(), data.end(), 9);
        TargetReply reply;
        reply.status = 0x02;
        reply.sense[2] = 0x20;
        reply.returned = 4;
        return reply;
      });
  EXPECT_EQ(answered, 1u);
  const std::vector<uint8_t> data(area.bytes().begin() + FakeArea::kDataOffset,
                                  area.bytes().begin() + FakeArea::kDataOffset + 6);
  EXPECT_EQ(data, (std::vector<uint8_t>{9, 9, 9, 9, 5, 6}));
  EXPECT_EQ(area.Get<uint8_t>(entry + layout.statusOffset), 0x02);
  EXPECT_EQ(area.Get<uint8_t>(entry + layout.senseOffset + 2), 0x20);
  EXPECT_EQ(area.Get<uint32_t>(entry + layout.returnLengthOffset), 4u);
  EXPECT_NE(area.Get<uint8_t>(entry + layout.userFlagsOffset) & layout.returnLengthFlag, 0);
  EXPECT_EQ(area.Get<uint32_t>(layout.tailOffset), area.Get<uint32_t>(layout.headOffset));
}

TEST(TcmuRingTest, PaddingIsPassedAndTheRingWrapsToItsStart) {
  FakeArea area;
  area.MoveTo(FakeArea::kRingSize - 64);
  area.AddPadding(64);
  area.AddCommand({0x00, 0, 0, 0, 0, 0}, {});
  area.AddCommand({0x12, 0, 0, 0, 36, 0}, {std::vector<uint8_t>(36)});
  TcmuRing ring(area.bytes());
  std::vector<uint8_t> operationCodes;
  const auto answered = ring.ServePending([&](std::span<const uint8_t> cdb, std::span<uint8_t>) {
    operationCodes.push_back(cdb[0]);
    return TargetReply{};
  });
  EXPECT_EQ(answered, 2u);
  EXPECT_EQ(operationCodes, (std::vector<uint8_t>{0x00, 0x12}));
  EXPECT_EQ(area.Get<uint32_t>(layout.tailOffset), area.Get<uint32_t>(layout.headOffset));
}

TEST(TcmuRingTest, ADamagedEntryReachesNoDevice) {
  const struct {
    const char* damage;
    size_t offset;  // from the entry
    uint64_t value;
  } cases[] = {
      {"zero length", 0, layout.commandOperation},
      {"data outside the area", layout.segmentListOffset + layout.segmentBaseOffset, 1u << 20},
      {"CDB outside the entry", layout.cdbOffsetOffset, 4},
      {"more segments than the entry holds", layout.segmentCountOffset, 1000},
  };
  for (const auto& c : cases) {
    FakeArea area;
    const size_t entry = area.AddCommand({0x28, 0}, {{1, 2}});
    if (c.offset == layout.segmentCountOffset || c.offset == 0) {
      area.Put<uint32_t>(entry + c.offset, static_cast<uint32_t>(c.value));
    } else {
      area.Put<uint64_t>(entry + c.offset, c.value);
    }
    bool reached = false;
    const auto answered =
        TcmuRing(area.bytes()).ServePending([&](std::span<const uint8_t>, std::span<uint8_t>) {
          reached = true;
          return TargetReply{};
        });
    EXPECT_FALSE(answered.has_value()) << c.damage;
    EXPECT_FALSE(reached) << c.damage;
  }
}

}  // namespace
