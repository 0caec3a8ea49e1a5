#include "sim/tcmu/scanner_lun.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// Also how a data overrun, which only a host adapter could report, reaches the kernel: as the
// data phase error it is.
TEST(ScannerLunTest, TheKernelsAttachLeavesTheScannerAsAfterPowerOn) {
  std::string error;
  ScannerLun lun(ParseSimConfig("", error).value().scanner);
  const Bytes testUnitReady = {0x00, 0, 0, 0, 0, 0};
  Bytes data(255);
  EXPECT_EQ(lun.Execute(Bytes{0x12, 0, 0, 0, 36, 0}, data).returned, 36u);
  EXPECT_EQ(data[0], 0x06);  // a scanner
  EXPECT_EQ(std::string(data.begin() + 16, data.begin() + 25), "ZR-40123B");
  EXPECT_EQ(lun.Execute(Bytes{0x12, 0x01, 0x00, 0, 255, 0}, data).sense[12],
            sense::kAscInvalidFieldInCdb);  // no vital product data pages
  EXPECT_EQ(lun.Execute(testUnitReady, {}).status, STATUS_GOOD);
  EXPECT_EQ(lun.scanner().CommandCount(0x12) + lun.scanner().CommandCount(0x00), 0u);

  lun.EndAttach();
  EXPECT_EQ(lun.Execute(testUnitReady, {}).sense[2], sense::kUnitAttention);
  EXPECT_EQ(lun.Execute(testUnitReady, {}).status, STATUS_GOOD);
  const TargetReply overrun =
      lun.Execute(Bytes{0x3C, 0x02, 0x05, 0, 0, 0, 0, 0, 4, 0}, std::span(data).first(2));
  EXPECT_EQ(overrun.status, STATUS_CHKCOND);
  EXPECT_EQ(overrun.sense[2], 0x0B);
  EXPECT_EQ(overrun.sense[12], 0x4B);
  EXPECT_FALSE(overrun.returned.has_value());
}

TEST(ScannerLunTest, OnlyTheScannersOwnItemsAreServed) {
  std::string error;
  const char* served = "model=t1,selftest=fail,fail=read@2,bufferfail=5,geometry=30:2";
  EXPECT_TRUE(CheckServedConfig(ParseSimConfig(served, error).value(), error)) << error;
  for (const char* refused :
       {"model=none", "adapters=2", "adapter=0:6", "device=0:3:DISK", "selfail=0:2", "late",
        "scanner=1:2", "fail=diag:04:11", "fail=status:02", "bufferfail=5:81"}) {
    error.clear();
    EXPECT_FALSE(CheckServedConfig(ParseSimConfig(refused, error).value(), error)) << refused;
    EXPECT_NE(error, "") << refused;
  }
}

}  // namespace
