#include "sim/sim_config.h"

#include <gtest/gtest.h>

namespace {

TEST(SimConfigTest, WrongItemsAreDescribed) {
  std::string error;
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
    EXPECT_FALSE(ParseSimConfig(text, error).has_value()) << text;
    EXPECT_EQ(error, description);
  }
  // A self-test needs a sense key, buffers hold what fits, planted defects stay in the frame's
  // levels. (What the items do is seen in the scans and diagnostics they change.)
  for (const char* wrong :
       {"selftest=fail:04:60", "logictest=256", "bufdata=06:0:00", "bufdata=05:3:0000",
        "bufdata=05:0:123", "bufferfail=05:00", "column=bent:1", "column=dead:1:0",
        "column=dead:1:1:x", "band=1:0:5", "band=1:1:300", "dim=r:101", "grain=65"})
    EXPECT_FALSE(ParseSimConfig(wrong, error).has_value()) << wrong;
}

}  // namespace
