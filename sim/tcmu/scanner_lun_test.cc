#include "sim/tcmu/scanner_lun.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

SimConfig Config(const std::string& text) {
  std::string error;
  const std::optional<SimConfig> config = ParseSimConfig(text, error);
  EXPECT_TRUE(config.has_value()) << error;
  return config.value_or(SimConfig{});
}

TEST(ScannerLunTest, TheKernelsAttachLeavesTheScannerAsAfterPowerOn) {
  ScannerLun lun(Config("").scanner);
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
}

TEST(ScannerLunTest, ADataOverrunReachesTheKernelAsADataPhaseError) {
  const TargetReply overrun = ReplyFor(TransportFailure(SS_ERR, HASTAT_DO_DU));
  EXPECT_EQ(overrun.status, STATUS_CHKCOND);
  EXPECT_EQ(overrun.sense[2], 0x0B);
  EXPECT_EQ(overrun.sense[12], 0x4B);
  EXPECT_FALSE(overrun.returned.has_value());
}

TEST(ScannerLunTest, OnlyTheScannersOwnItemsAreServed) {
  const struct {
    const char* config;
    bool served;
  } cases[] = {
      {"model=t1,selftest=fail,fail=read@2,bufferfail=5,geometry=30:2", true},
      {"model=none", false},
      {"adapters=2", false},
      {"adapter=0:6", false},
      {"device=0:3:DISK", false},
      {"selfail=0:2", false},
      {"late", false},
      {"scanner=1:2", false},
      {"fail=diag:04:11", false},
      {"fail=status:02", false},
      {"bufferfail=5:81", false},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_EQ(CheckServedConfig(Config(c.config), error), c.served) << c.config;
    EXPECT_EQ(error.empty(), c.served) << c.config << ": " << error;
  }
}

}  // namespace
