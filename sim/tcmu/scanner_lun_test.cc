#include "sim/tcmu/scanner_lun.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

SimConfig Config(const std::string& text) {
  std::string error;
  const std::optional<SimConfig> config = ParseSimConfig(text, error);
  EXPECT_TRUE(config.has_value()) << error;
  return config.value_or(SimConfig{});
}

struct Answer {
  TargetReply reply;
  std::vector<uint8_t> data;
};

Answer Send(ScannerLun& lun, std::vector<uint8_t> cdb, std::vector<uint8_t> data = {}) {
  Answer answer{{}, std::move(data)};
  answer.reply = lun.Execute(cdb, answer.data);
  return answer;
}

TEST(ScannerLunTest, TheKernelsAttachLeavesTheScannerAsAfterPowerOn) {
  ScannerLun lun(Config("").scanner);
  const Answer inquiry = Send(lun, {0x12, 0, 0, 0, 36, 0}, std::vector<uint8_t>(36));
  EXPECT_EQ(inquiry.reply.status, STATUS_GOOD);
  EXPECT_EQ(inquiry.reply.returned, 36u);
  EXPECT_EQ(inquiry.data[0], 0x06);  // a scanner
  EXPECT_EQ(std::string(inquiry.data.begin() + 16, inquiry.data.begin() + 25), "ZR-40123B");
  const Answer pages = Send(lun, {0x12, 0x01, 0x00, 0, 255, 0}, std::vector<uint8_t>(255));
  EXPECT_EQ(pages.reply.status, STATUS_CHKCOND);
  EXPECT_EQ(pages.reply.sense[12], sense::kAscInvalidFieldInCdb);
  EXPECT_EQ(Send(lun, {0x00, 0, 0, 0, 0, 0}).reply.status, STATUS_GOOD);
  EXPECT_EQ(lun.scanner().CommandCount(0x12) + lun.scanner().CommandCount(0x00), 0u);

  lun.EndAttach();
  const Answer first = Send(lun, {0x00, 0, 0, 0, 0, 0});
  EXPECT_EQ(first.reply.status, STATUS_CHKCOND);
  EXPECT_EQ(first.reply.sense[2], sense::kUnitAttention);
  EXPECT_EQ(Send(lun, {0x00, 0, 0, 0, 0, 0}).reply.status, STATUS_GOOD);
}

TEST(ScannerLunTest, WhatTheRingCannotCarryBecomesADataPhaseError) {
  const TargetReply overrun = ReplyFor(TransportFailure(SS_ERR, HASTAT_DO_DU));
  EXPECT_EQ(overrun.status, STATUS_CHKCOND);
  EXPECT_EQ(overrun.sense[2], 0x0B);
  EXPECT_EQ(overrun.sense[12], 0x4B);
  EXPECT_FALSE(overrun.returned.has_value());
  const TargetReply lamp = ReplyFor(CheckCondition(sense::kHardwareError, 0x60));
  EXPECT_EQ(lamp.sense[12], 0x60);
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
