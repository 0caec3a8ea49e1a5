#include "sim/sim_config.h"

#include <gtest/gtest.h>

namespace {

SimConfig Parse(const std::string& text) {
  std::string error;
  const std::optional<SimConfig> config = ParseSimConfig(text, error);
  EXPECT_TRUE(config.has_value()) << text << ": " << error;
  return config.value_or(SimConfig{});
}

std::string ErrorOf(const std::string& text) {
  std::string error;
  EXPECT_FALSE(ParseSimConfig(text, error).has_value()) << text;
  return error;
}

TEST(SimConfigTest, FaultsByNameOrCodeOccurrenceAndSense) {
  const SimConfig config = Parse(
      "fail=read@3,fail=34@2+:04:00:05:24:00,fail=D6:02:11,"
      "fail=diag:04:00:none");
  const std::vector<CommandFault>& faults = config.scanner.faults;
  ASSERT_EQ(faults.size(), 4u);
  EXPECT_EQ(faults[0].operationCode, 0x28);
  EXPECT_EQ(faults[0].occurrence, 3u);
  EXPECT_FALSE(faults[0].andLater);
  EXPECT_EQ(faults[1].operationCode, 0x34);
  EXPECT_TRUE(faults[1].andLater);
  EXPECT_EQ(faults[1].senseKey, 0x05);
  EXPECT_EQ(faults[1].asc, 0x24);
  EXPECT_EQ(faults[2].aspiStatus, SS_ABORTED);
  EXPECT_EQ(faults[2].hostAdapterStatus, HASTAT_SEL_TO);
  EXPECT_EQ(faults[2].occurrence, 0u);
  EXPECT_FALSE(faults[3].withSense);
}

TEST(SimConfigTest, FaultsAreDescribed) {
  EXPECT_EQ(ErrorOf("colour=red"), "unknown simulator item 'colour'");
  EXPECT_EQ(ErrorOf("model=t3"), "simulator item 'model': model is t1, t2 or none");
  EXPECT_EQ(ErrorOf("scanner=0:8"), "simulator item 'scanner': '8' is not a number from 0 to 7");
  EXPECT_EQ(ErrorOf("adapters=256"),
            "simulator item 'adapters': '256' is not a number from 0 to 255");
  EXPECT_EQ(ErrorOf("fail=dance"), "simulator item 'fail': unknown command 'dance'");
  EXPECT_EQ(ErrorOf("fail=read@0"), "simulator item 'fail': '@0' is not a count from 1");
  EXPECT_EQ(ErrorOf("status=0:1:00"), "simulator item 'status': a request cannot end pending");
  EXPECT_EQ(ErrorOf("fail=readbuffer:00"), "simulator item 'fail': a request cannot end pending");
  EXPECT_EQ(ErrorOf("remaining=few@2+"),
            "simulator item 'remaining': 'few' is neither a byte count nor 'same'");
  EXPECT_EQ(ErrorOf("shortread=9@0"), "simulator item 'shortread': '@0' is not a count from 1");
  EXPECT_EQ(ErrorOf("vendor=\\x4"), "simulator item 'vendor': bad escape in '\\x4'");
  EXPECT_EQ(ErrorOf("device=0:1"), "simulator item 'device': wrong number of fields");
}

}  // namespace
