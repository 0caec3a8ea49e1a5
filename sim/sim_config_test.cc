#include "sim/sim_config.h"

#include <gtest/gtest.h>

namespace {

TEST(SimConfigTest, FaultsByNameOrCodeOccurrenceAndSense) {
  std::string error;
  const SimConfig config =
      ParseSimConfig("fail=read@3,fail=34@2+:04:00:05:24:00,fail=D6:02:11,fail=diag:04:00:none",
                     error)
          .value();
  const std::vector<CommandFault>& faults = config.scanner.faults;
  ASSERT_EQ(faults.size(), 4u);
  EXPECT_EQ((std::tuple{faults[0].operationCode, faults[0].occurrence, faults[0].andLater}),
            (std::tuple<uint8_t, unsigned, bool>{0x28, 3, false}));
  EXPECT_EQ(
      (std::tuple{faults[1].operationCode, faults[1].andLater, faults[1].senseKey, faults[1].asc}),
      (std::tuple<uint8_t, bool, uint8_t, uint8_t>{0x34, true, 0x05, 0x24}));
  EXPECT_EQ((std::tuple{faults[2].aspiStatus, faults[2].hostAdapterStatus, faults[2].occurrence}),
            (std::tuple<uint8_t, uint8_t, unsigned>{SS_ABORTED, HASTAT_SEL_TO, 0}));
  EXPECT_FALSE(faults[3].withSense);
}

TEST(SimConfigTest, WrongItemsAreDescribed) {
  for (const auto& [text, description] : std::vector<std::pair<std::string, std::string>>{
           {"colour=red", "unknown simulator item 'colour'"},
           {"model=t3", "simulator item 'model': model is t1, t2 or none"},
           {"scanner=0:8", "simulator item 'scanner': '8' is not a number from 0 to 7"},
           {"adapters=256", "simulator item 'adapters': '256' is not a number from 0 to 255"},
           {"fail=dance", "simulator item 'fail': unknown command 'dance'"},
           {"fail=read@0", "simulator item 'fail': '@0' is not a count from 1"},
           {"status=0:1:00", "simulator item 'status': a request cannot end pending"},
           {"remaining=few@2+",
            "simulator item 'remaining': 'few' is neither a byte count nor 'same'"},
           {"vendor=\\x4", "simulator item 'vendor': bad escape in '\\x4'"},
           {"device=0:1", "simulator item 'device': wrong number of fields"}}) {
    std::string error;
    EXPECT_FALSE(ParseSimConfig(text, error).has_value()) << text;
    EXPECT_EQ(error, description);
  }
  // Diagnostic items: a self-test needs a sense key, buffers hold what fits.
  for (const char* wrong : {"selftest=fail:04:60", "logictest=256", "bufdata=06:0:00",
                            "bufdata=05:3:0000", "bufdata=05:0:123", "bufferfail=05:00"}) {
    std::string error;
    EXPECT_FALSE(ParseSimConfig(wrong, error).has_value()) << wrong;
  }
}

TEST(SimConfigTest, PlantedDefects) {
  std::string error;
  const PlantedDefects defects =
      ParseSimConfig("column=weak:10,column=stuck:5:3:g:250,band=7:2:-9:b,dim=all:60,grain=8:3",
                     error)
          .value()
          .scanner.scan.defects;
  ASSERT_EQ(defects.columns.size(), 2u);
  EXPECT_EQ(
      (std::tuple{defects.columns[0].width, defects.columns[0].channel, defects.columns[0].level}),
      (std::tuple{1u, PlantedChannel::kAll, 32}));
  EXPECT_EQ((std::tuple{defects.columns[1].first, defects.columns[1].width,
                        defects.columns[1].channel, defects.columns[1].level}),
            (std::tuple{5u, 3u, PlantedChannel::kGreen, 250}));
  EXPECT_EQ((std::tuple{defects.bands[0].lines, defects.bands[0].offset, defects.bands[0].channel}),
            (std::tuple{2u, -9, PlantedChannel::kBlue}));
  EXPECT_EQ((std::vector<int>(defects.channelPercent, defects.channelPercent + 3)),
            (std::vector<int>{60, 60, 60}));
  EXPECT_EQ((std::tuple{defects.grainSigma, defects.grainSeed}), (std::tuple{8, 3u}));
  for (const char* wrong : {"column=bent:1", "column=dead:1:0", "column=dead:1:1:x", "band=1:0:5",
                            "band=1:1:300", "dim=r:101", "grain=65"}) {
    EXPECT_FALSE(ParseSimConfig(wrong, error).has_value()) << wrong;
  }
}

}  // namespace
