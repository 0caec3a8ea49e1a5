#include "diagnostics/self_diagnostics.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/linux/linux_ui.h"
#include "resources/ids.h"
#include "tests/support/program_bench.h"

namespace {

using Lines = std::vector<std::string>;

constexpr char kProblem[] = "20 35 Scanner has some problem.    ";

// Self-diagnostics 1 names the faulty unit from the sense data (the first matching row; sense
// byte 2 is judged whole), Self-diagnostics 2 the faulty device from the result block, which it
// reads also when the test ends with CHECK CONDITION. Every other failure is told in warnings
// over the title alone. Every box, the confirmation first, is owned by the main window and comes
// without the wait cursor.
TEST(SelfDiagnosticsTest, EachOutcomeShowsItsPageOrItsWarnings) {
  struct Case {
    int test;  // 1 or 2
    const char* config;
    Lines page;        // under the title
    Lines boxes = {};  // after the confirmation
    bool confirmed = true;
  };
  const Lines failed1 = {"Scanner Self-diagnostics1 was failed."};
  const Lines failed2 = {"Scanner Self-diagnostics2 was failed."};
  const Lines timeout1 = {"*** Timeout of selecting target ***", failed1[0]};
  const std::vector<Case> cases = {
      {1, "selftest=pass", {"20 35 Scanner has no problem.    "}},
      {1, "selftest=fail:00:60:00", {kProblem, "20 55 (Unknown error)"}},
      {1, "fail=1D:04:00:none", {kProblem, "20 55 (Unknown error)"}},   // no sense data at all
      {1, "selftest=fail:20:60:07", {kProblem, "20 55 (Lamp error)"}},  // ILI alone is not zero
      {1,
       "selftest=fail:04:62:01",
       {kProblem, "20 55 (Carriage lock release error)", "20 75 (Home position sensor error)"}},
      {1, "selftest=fail:04:80:01", {kProblem, "20 55 (CPU check error)"}},
      {1, "selftest=fail:04:80:02", {kProblem, "20 55 (RAM check error)"}},
      {1, "selftest=fail:04:80:03", {kProblem, "20 55 (ROM check error)"}},
      {1, "selftest=fail:04:80:04", {kProblem, "20 55 (Hardware check error)"}},
      {1, "selftest=fail:04:80:05", {kProblem, "20 55 (TPU lamp error)"}},
      {1, "selftest=fail:04:80:06", {kProblem, "20 55 (TPU home position sensor error)"}},
      {1, "selftest=fail:04:80:07", {kProblem}},
      {1, "selftest=fail:04:61:00", {kProblem}},
      {1, "fail=diag:04:0E", {}, timeout1},  // any host adapter error
      {1, "fail=diag:02", {}, failed1},
      {2, "logictest=0", {"20 35 Scanner has no problem.    "}},
      {2, "logictest=22", {kProblem, "20 55 (Error of Offset RAM)"}},
      {2, "logictest=23", {kProblem, "20 55 (Error of Buffer RAM)"}},
      {2, "logictest=30", {kProblem, "20 55 (EWORK(CPU Work RAM))"}},
      {2, "logictest=31", {kProblem, "20 55 (Shading RAM upper 16bit)"}},
      {2, "logictest=32", {kProblem, "20 55 (Shading RAM under 8bit)"}},
      {2, "logictest=33", {kProblem, "20 55 (Gamma RAM)"}},
      {2, "logictest=40", {kProblem, "20 55 (Error of Gatearrey(CMOS))"}},
      {2, "logictest=50", {kProblem, "20 55 (Error of EEPROM)"}},
      {2, "logictest=255", {kProblem, "20 55 (Unknown error)"}},
      // The test did not reach the scanner: no result block is read.
      {2, "fail=diag:04:11", {}, failed2},
      {2, "fail=diag:02", {}, failed2},
      {2, "bufferfail=04:04:00:05:24:00", {}, {"*** Error in Read Buffer ***", failed2[0]}},
      // The scanner did not answer the TEST UNIT READY before the test: no confirmation, no test.
      {1, "fail=tur@1:04:0B", {}, timeout1, false},
      {2, "fail=tur@1:82", {}, failed2, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.config);
    // The scanner at 1:5, so that a request sent anywhere else fails.
    ProgramBench bench(std::string("adapters=2,scanner=1:5,") + c.config);
    bench.Start();
    bench.Command(c.test == 1 ? IDM_SELF_DIAGNOSTICS_1 : IDM_SELF_DIAGNOSTICS_2);
    Lines page = {"10 10 ** Scanner Self-diagnostics" + std::to_string(c.test) + " **"};
    page.insert(page.end(), c.page.begin(), c.page.end());
    EXPECT_EQ(bench.SurfaceLines(), page);
    Lines boxes = bench.frontEnd().BoxTexts();
    if (c.confirmed) {
      ASSERT_FALSE(boxes.empty());
      boxes.erase(boxes.begin());
    }
    EXPECT_EQ(boxes, c.boxes);
    // The test itself is sent only after the confirmation.
    const std::vector<uint8_t> codes = bench.OperationCodes();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), 0x1D), c.confirmed ? 1 : 0);
    for (const RecordedBox& box : bench.frontEnd().boxes()) {
      EXPECT_EQ(box.owner, MainWindow());
      EXPECT_FALSE(box.busy);
    }
  }
}

}  // namespace
