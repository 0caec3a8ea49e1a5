// The simulated scanner's scanning side behaves like a strict device.
#include "sim/scan_engine.h"

#include <gtest/gtest.h>

#include <cstring>

#include "scsi/byte_order.h"
#include "sim/negative_image.h"
#include "sim/simulated_bus.h"

namespace {

struct Reply {
  uint8_t status;
  uint8_t hostAdapterStatus;
  uint8_t senseKey;
  uint8_t asc;
};

class ScanEngineTest : public testing::Test {
 protected:
  ScanEngineTest() { UseModel("attention=off"); }

  void UseModel(const std::string& config) {
    std::string error;
    bus_ = std::make_unique<SimulatedBus>(ParseSimConfig(config, error).value());
  }

  // Sends one command to the scanner at 0:2; `data` is the whole request buffer.
  Reply Send(std::vector<uint8_t> cdb, std::vector<uint8_t>& data, uint8_t flags = 0) {
    SRB_ExecSCSICmd request{};
    request.SRB_Cmd = SC_EXEC_SCSI_CMD;
    request.SRB_Target = 2;
    request.SRB_Flags = flags;
    request.SRB_SenseLen = SENSE_LEN;
    request.SRB_CDBLen = static_cast<uint8_t>(cdb.size());
    std::memcpy(request.CDBByte, cdb.data(), cdb.size());
    request.SRB_BufLen = static_cast<uint32_t>(data.size());
    request.SRB_BufPointer = data.empty() ? nullptr : data.data();
    bus_->SendCommand(&request);
    return {request.SRB_Status, request.SRB_HaStat, static_cast<uint8_t>(request.SenseArea[2]),
            request.SenseArea[12]};
  }
  Reply Send(std::vector<uint8_t> cdb) {
    std::vector<uint8_t> none;
    return Send(std::move(cdb), none);
  }

  std::vector<uint8_t> WindowList(bool t1, uint32_t dpi) {
    std::vector<uint8_t> list(75, 0);
    list[7] = 64;
    StoreBigEndian16(&list[10], dpi);
    StoreBigEndian16(&list[12], dpi);
    StoreBigEndian32(&list[22], 2592);
    StoreBigEndian32(&list[26], 3888);
    list[30] = list[31] = list[32] = t1 ? 0x80 : 0;
    list[33] = 5;
    list[34] = 8;
    list[36] = t1 ? 0 : 1;
    list[37] = 0x83;
    const uint8_t vendor[24] = {0, 0, 9, 0, 0, 0, 2, 0, 0, 1, 1, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0, 1};
    std::memcpy(&list[48], vendor, sizeof vendor);
    if (!t1) list[59] = list[70] = 0xFF;
    return list;
  }

  // Reserve, window at `dpi`, SCAN: the scanner then holds an image.
  void StartScan(bool t1, uint32_t dpi) {
    ASSERT_EQ(Send({0x16, 0, 0, 0, 0, 0}).status, SS_COMP);
    std::vector<uint8_t> list = WindowList(t1, dpi);
    ASSERT_EQ(Send({0x24, 0, 0, 0, 0, 0, 0, 0, 0x48, 0}, list).status, SS_COMP);
    std::vector<uint8_t> window(5, 0);
    ASSERT_EQ(Send({0x1B, 0, 0, 0, 1, 0}, window).status, SS_COMP);
  }

  std::unique_ptr<SimulatedBus> bus_;
};

void ExpectIllegal(const Reply& reply, uint8_t asc) {
  EXPECT_EQ(reply.status, SS_ERR);
  EXPECT_EQ(reply.hostAdapterStatus, HASTAT_OK);
  EXPECT_EQ(reply.senseKey, 0x05);
  EXPECT_EQ(reply.asc, asc);
}

TEST_F(ScanEngineTest, CommandsOutOfOrderAreRefused) {
  std::vector<uint8_t> list = WindowList(false, 340);
  ExpectIllegal(Send({0x24, 0, 0, 0, 0, 0, 0, 0, 0x48, 0}, list), 0x2C);  // before RESERVE
  std::vector<uint8_t> buffer(30000);
  ExpectIllegal(Send({0x28, 0, 0, 0, 0, 0, 0, 0, 0x10, 0}, buffer), 0x2C);  // before SCAN
  ASSERT_EQ(Send({0x16, 0, 0, 0, 0, 0}).status, SS_COMP);
  std::vector<uint8_t> window(5, 0);
  ExpectIllegal(Send({0x1B, 0, 0, 0, 1, 0}, window), 0x2C);  // SCAN before a window
  // After the last byte, READ is out of order again.
  UseModel("attention=off,geometry=10:1");
  StartScan(false, 340);
  ASSERT_EQ(Send({0x28, 0, 0, 0, 0, 0, 0, 0, 10, 0}, buffer).status, SS_COMP);
  ExpectIllegal(Send({0x28, 0, 0, 0, 0, 0, 0, 0, 1, 0}, buffer), 0x2C);
}

TEST_F(ScanEngineTest, WrongCdbBytesAndLengthsAreRefused) {
  StartScan(false, 340);
  std::vector<uint8_t> buffer(30000);
  ExpectIllegal(Send({0x28, 0, 1, 0, 0, 0, 0, 0, 0x10, 0}, buffer), 0x24);  // not image data
  ExpectIllegal(Send({0x28, 0, 0, 0, 0, 0, 0x0F, 0, 0, 0}, buffer), 0x24);  // more than remains
  ExpectIllegal(Send({0xE0, 1, 0, 0, 0, 0, 0, 0, 0, 0}), 0x24);
  ExpectIllegal(Send({0x34, 1, 0, 0, 0, 0, 0, 0, 0x1C, 0}, buffer), 0x24);  // Wait bit
  ExpectIllegal(Send({0x31, 0, 0, 0, 0, 0}), 0x24);                         // six bytes
  std::vector<uint8_t> list = WindowList(false, 340);
  ExpectIllegal(Send({0x24, 0, 0, 0, 0, 0, 0, 0, 0x40, 0}, list), 0x1A);
  std::vector<uint8_t> table(8192);
  ExpectIllegal(Send({0x2A, 0, 3, 0, 1, 0, 0, 1, 0, 0}, table), 0x1A);     // the T1's length
  ExpectIllegal(Send({0x2A, 0, 3, 0, 4, 0, 0, 0x20, 0, 0}, table), 0x24);  // no fourth colour
  ExpectIllegal(Send({0xD6, 0, 0, 0, 12, 0}, buffer), 0x24);               // PF bit missing
}

TEST_F(ScanEngineTest, MalformedParameterListsAreRefused) {
  ASSERT_EQ(Send({0x16, 0, 0, 0, 0, 0}).status, SS_COMP);
  const std::vector<uint8_t> cdb = {0x24, 0, 0, 0, 0, 0, 0, 0, 0x48, 0};
  std::vector<uint8_t> t1Window = WindowList(true, 340);
  ExpectIllegal(Send(cdb, t1Window), 0x26);  // this is a T2
  std::vector<uint8_t> odd = WindowList(false, 300);
  ExpectIllegal(Send(cdb, odd), 0x26);
  std::vector<uint8_t> unequal = WindowList(false, 340);
  StoreBigEndian16(&unequal[12], 680);
  ExpectIllegal(Send(cdb, unequal), 0x26);

  // The 16-bit gamma table sent most significant byte first rises beyond 10 bits.
  std::vector<uint8_t> table(8192);
  for (int k = 0; k < 4096; ++k) StoreBigEndian16(&table[2 * k], k / 4);
  ExpectIllegal(Send({0x2A, 0, 3, 0, 1, 0, 0, 0x20, 0, 0}, table), 0x26);
  for (int k = 0; k < 4096; ++k) {
    table[2 * k] = static_cast<uint8_t>(k / 4);
    table[2 * k + 1] = static_cast<uint8_t>(k / 4 >> 8);
  }
  EXPECT_EQ(Send({0x2A, 0, 3, 0, 1, 0, 0, 0x20, 0, 0}, table).status, SS_COMP);

  std::vector<uint8_t> page02 = {0, 0, 0, 8, 2, 6, 0x80, 5, 0x27, 0x10, 3, 0, 0, 0, 0};
  EXPECT_EQ(Send({0xD6, 0x10, 0, 0, 12, 0}, page02).status, SS_COMP);
  page02[9] = 0x11;
  ExpectIllegal(Send({0xD6, 0x10, 0, 0, 12, 0}, page02), 0x26);
  ExpectIllegal(Send({0xD6, 0x10, 0, 0, 11, 0}, page02), 0x1A);
}

TEST_F(ScanEngineTest, TheT1KnowsNoPage20AndTakesOnlyItsOwnWindowAndTables) {
  UseModel("model=t1,attention=off");
  ASSERT_EQ(Send({0x16, 0, 0, 0, 0, 0}).status, SS_COMP);
  std::vector<uint8_t> page20(25, 0);
  page20[3] = 0x11;
  page20[4] = 0x20;
  page20[5] = 0x10;
  page20[20] = 0x02;
  page20[21] = 0x0C;
  ExpectIllegal(Send({0xD6, 0x10, 0, 0, 22, 0}, page20), 0x26);
  std::vector<uint8_t> t2Window = WindowList(false, 340);
  ExpectIllegal(Send({0x24, 0, 0, 0, 0, 0, 0, 0, 0x48, 0}, t2Window), 0x26);
  std::vector<uint8_t> falling(300, 0);
  falling[0] = 9;
  ExpectIllegal(Send({0x2A, 0, 3, 0, 2, 0, 0, 1, 0, 0}, falling), 0x26);
}

TEST_F(ScanEngineTest, TransportChecksOfBufferAndDirection) {
  StartScan(false, 340);
  std::vector<uint8_t> small(100);
  const Reply overrun = Send({0x28, 0, 0, 0, 0, 0, 0, 0, 200, 0}, small);
  EXPECT_EQ(overrun.status, SS_ERR);
  EXPECT_EQ(overrun.hostAdapterStatus, HASTAT_DO_DU);
  std::vector<uint8_t> buffer(300);
  const Reply wrongWay = Send({0x28, 0, 0, 0, 0, 0, 0, 0, 200, 0}, buffer, SRB_DIR_OUT);
  EXPECT_EQ(wrongWay.status, SS_ERR);
  EXPECT_EQ(wrongWay.hostAdapterStatus, HASTAT_DO_DU);
}

}  // namespace

namespace {

// Any geometry the configuration accepts gives an image that reads the same bytes at an offset
// whatever was read before: no arithmetic of the picture overflows (the sanitizer build checks),
// and rows made as lines first need them are kept intact.
TEST(NegativeImageTest, EveryAcceptedGeometryIsReadableInAnyOrder) {
  for (const auto& [bytesPerLine, lines] :
       {std::pair{1400000u, 2u}, std::pair{16777215u, 1u}, std::pair{3u, 16777215u},
        std::pair{255u, 16777215u}, std::pair{1u, 1u}, std::pair{972u, 486u}}) {
    SCOPED_TRACE(std::to_string(bytesPerLine) + ":" + std::to_string(lines));
    NegativeImage image(bytesPerLine, lines);
    const size_t length = std::min<uint64_t>(29000, image.byteCount());
    const uint64_t offsets[] = {image.byteCount() - length, 0, image.byteCount() / 2};
    std::vector<std::vector<uint8_t>> first;
    for (const uint64_t offset : offsets) {
      first.emplace_back(length);
      image.Read(offset, first.back().data(), length);
    }
    for (size_t i = std::size(offsets); i-- > 0;) {
      std::vector<uint8_t> again(length);
      image.Read(offsets[i], again.data(), length);
      EXPECT_EQ(again, first[i]) << offsets[i];
    }
  }
}

}  // namespace
