#include "diagnostics/self_diagnostics.h"

#include <gtest/gtest.h>

#include <chrono>

#include "platform/linux/linux_ui.h"
#include "resources/ids.h"
#include "tests/support/program_bench.h"

namespace {

using Lines = std::vector<std::string>;

constexpr char kTitle1[] = "10 10 ** Scanner Self-diagnostics1 **";
constexpr char kTitle2[] = "10 10 ** Scanner Self-diagnostics2 **";
constexpr char kNoProblem[] = "20 35 Scanner has no problem.    ";
constexpr char kProblem[] = "20 35 Scanner has some problem.    ";
constexpr char kConfirm1[] =
    "Scanner Self-diagnostics1 is executed. \nPlease don't set a film. \nIt takes tens of seconds.";
constexpr char kConfirm2[] = "Scanner Self-diagnostics2 is executed. \nPlease don't set a film. ";

// Records when the wait cursor comes and goes, by how many requests had completed by then.
class CursorWatch : public RecordingFrontEnd {
 public:
  explicit CursorWatch(ProgramBench& bench) : bench_(bench) { UseFrontEnd(this); }
  void BusyChanged(bool busy) override { changes.emplace_back(busy, bench_.Requests().size()); }
  std::vector<std::pair<bool, size_t>> changes;

 private:
  ProgramBench& bench_;
};

Lines RunCommand(ProgramBench& bench, unsigned commandId) {
  bench.Start();
  bench.ClearRequests();
  bench.Command(commandId);
  return bench.SurfaceLines();
}

struct SenseCase {
  const char* selfTest;  // how the simulated self-test ends
  Lines details;
};

class SelfTestSense : public testing::TestWithParam<SenseCase> {};

TEST_P(SelfTestSense, NamesTheFaultyUnit) {
  ProgramBench bench(std::string("selftest=") + GetParam().selfTest);
  Lines expected = {kTitle1, kProblem};
  expected.insert(expected.end(), GetParam().details.begin(), GetParam().details.end());
  EXPECT_EQ(RunCommand(bench, IDM_SELF_DIAGNOSTICS_1), expected);
  EXPECT_EQ(bench.frontEnd().boxes().size(), 1u);  // the confirmation only
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SelfTestSense,
    testing::Values(
        SenseCase{"fail:none", {"20 55 (Unknown error)"}},
        SenseCase{"fail:00:60:00", {"20 55 (Unknown error)"}},  // byte 2 zero: the first row wins
        SenseCase{"fail:04:60:00", {"20 55 (Lamp error)"}},
        SenseCase{"fail:20:60:07", {"20 55 (Lamp error)"}},  // ILI alone is not zero
        SenseCase{"fail:04:62:01",
                  {"20 55 (Carriage lock release error)", "20 75 (Home position sensor error)"}},
        SenseCase{"fail:04:80:01", {"20 55 (CPU check error)"}},
        SenseCase{"fail:04:80:02", {"20 55 (RAM check error)"}},
        SenseCase{"fail:04:80:03", {"20 55 (ROM check error)"}},
        SenseCase{"fail:04:80:04", {"20 55 (Hardware check error)"}},
        SenseCase{"fail:04:80:05", {"20 55 (TPU lamp error)"}},
        SenseCase{"fail:04:80:06", {"20 55 (TPU home position sensor error)"}},
        SenseCase{"fail:04:80:07", {}}, SenseCase{"fail:04:80:00", {}},
        SenseCase{"fail:04:61:00", {}}));

// A code other than 0 makes the simulated scanner end SEND DIAGNOSTIC with CHECK CONDITION, so
// these also show that SS_ERR leads on to the result block.
class LogicTestResult : public testing::TestWithParam<std::pair<int, const char*>> {};

TEST_P(LogicTestResult, NamesTheFaultyDevice) {
  const auto [code, device] = GetParam();
  ProgramBench bench("logictest=" + std::to_string(code));
  const Lines expected = code == 0 ? Lines{kTitle2, kNoProblem}
                                   : Lines{kTitle2, kProblem, std::string("20 55 ") + device};
  EXPECT_EQ(RunCommand(bench, IDM_SELF_DIAGNOSTICS_2), expected);
  EXPECT_EQ(bench.frontEnd().boxes().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, LogicTestResult,
    testing::Values(std::pair{0, ""}, std::pair{22, "(Error of Offset RAM)"},
                    std::pair{23, "(Error of Buffer RAM)"}, std::pair{30, "(EWORK(CPU Work RAM))"},
                    std::pair{31, "(Shading RAM upper 16bit)"},
                    std::pair{32, "(Shading RAM under 8bit)"}, std::pair{33, "(Gamma RAM)"},
                    std::pair{40, "(Error of Gatearrey(CMOS))"}, std::pair{50, "(Error of EEPROM)"},
                    std::pair{1, "(Unknown error)"}, std::pair{21, "(Unknown error)"},
                    std::pair{24, "(Unknown error)"}, std::pair{34, "(Unknown error)"},
                    std::pair{41, "(Unknown error)"}, std::pair{51, "(Unknown error)"},
                    std::pair{255, "(Unknown error)"}));

struct FailureCase {
  const char* name;
  unsigned commandId;
  const char* config;
  Lines boxes;  // after the confirmation
  std::vector<uint8_t> opcodes;
};

class SelfDiagnosticsFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(SelfDiagnosticsFailure, ShowsItsWarningsAndLeavesTheTitle) {
  const FailureCase& expected = GetParam();
  ProgramBench bench(expected.config);
  const Lines lines = RunCommand(bench, expected.commandId);
  EXPECT_EQ(lines, Lines{expected.commandId == IDM_SELF_DIAGNOSTICS_1 ? kTitle1 : kTitle2});
  Lines boxes = bench.frontEnd().BoxTexts();
  boxes.erase(boxes.begin());
  EXPECT_EQ(boxes, expected.boxes);
  EXPECT_EQ(bench.OperationCodes(), expected.opcodes);
  for (size_t i = 1; i < bench.frontEnd().boxes().size(); ++i) {
    const RecordedBox& box = bench.frontEnd().boxes()[i];
    EXPECT_EQ(box.caption, "Warning");
    EXPECT_EQ(box.type, 0x10u);
    EXPECT_EQ(box.owner, MainWindow());
    EXPECT_FALSE(box.busy);
  }
}

const Lines kTimeout1 = {"*** Timeout of selecting target ***",
                         "Scanner Self-diagnostics1 was failed."};
const Lines kFailed1 = {"Scanner Self-diagnostics1 was failed."};
const Lines kFailed2 = {"Scanner Self-diagnostics2 was failed."};
const Lines kReadFailed2 = {"*** Error in Read Buffer ***",
                            "Scanner Self-diagnostics2 was failed."};
const std::vector<uint8_t> kDiag = {0x00, 0x1D}, kDiagAndRead = {0x00, 0x1D, 0x3C};

INSTANTIATE_TEST_SUITE_P(
    Paths, SelfDiagnosticsFailure,
    testing::Values(
        FailureCase{"SelectionTimeout1", IDM_SELF_DIAGNOSTICS_1, "fail=diag:04:11", kTimeout1,
                    kDiag},
        FailureCase{"OtherAdapterError1", IDM_SELF_DIAGNOSTICS_1, "fail=diag:04:0E", kTimeout1,
                    kDiag},
        FailureCase{"Aborted1", IDM_SELF_DIAGNOSTICS_1, "fail=diag:02", kFailed1, kDiag},
        FailureCase{"InvalidAdapter1", IDM_SELF_DIAGNOSTICS_1, "fail=diag:81", kFailed1, kDiag},
        // The test never reached the scanner: its result block would be an earlier run's.
        FailureCase{"SelectionTimeout2", IDM_SELF_DIAGNOSTICS_2, "fail=diag:04:11", kFailed2,
                    kDiag},
        FailureCase{"Aborted2", IDM_SELF_DIAGNOSTICS_2, "fail=diag:02", kFailed2, kDiag},
        FailureCase{"InvalidAdapter2", IDM_SELF_DIAGNOSTICS_2, "fail=diag:81", kFailed2, kDiag},
        FailureCase{"ResultUnread", IDM_SELF_DIAGNOSTICS_2, "bufferfail=04:04:00:05:24:00",
                    kReadFailed2, kDiagAndRead}),
    [](const testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

TEST(SelfDiagnosticsTest, RequestBlocksOfBothTests) {
  ProgramBench bench("adapters=2,scanner=1:5");
  for (const auto& [commandId, byte1] :
       {std::pair{IDM_SELF_DIAGNOSTICS_1, 0x04}, std::pair{IDM_SELF_DIAGNOSTICS_2, 0x12}}) {
    RunCommand(bench, commandId);
    const RecordedRequest diagnostic = bench.Requests().at(1);
    EXPECT_EQ(diagnostic.cdb,
              (std::vector<uint8_t>{0x1D, static_cast<uint8_t>(byte1), 0, 0, 0, 0}));
    EXPECT_EQ(diagnostic.flags, 0x18);
    EXPECT_EQ(diagnostic.bufferLength, 0u);
    EXPECT_EQ(diagnostic.hostAdapter, 1);
    EXPECT_EQ(diagnostic.target, 5);
  }
}

TEST(SelfDiagnosticsTest, CancelSendsOnlyTestUnitReadyAndClearsTheDisplay) {
  for (const unsigned commandId : {IDM_SELF_DIAGNOSTICS_1, IDM_SELF_DIAGNOSTICS_2}) {
    ProgramBench bench;
    bench.frontEnd().AnswerNextConfirmations({kIdCancel});
    EXPECT_EQ(RunCommand(bench, commandId), Lines{});
    EXPECT_EQ(bench.OperationCodes(), std::vector<uint8_t>{0x00});
    const RecordedBox& box = bench.frontEnd().boxes().at(0);
    const bool first = commandId == IDM_SELF_DIAGNOSTICS_1;
    EXPECT_EQ(box.caption, first ? "Scanner Self-diagnostics1" : "Scanner Self-diagnostics2");
    EXPECT_EQ(box.text, first ? kConfirm1 : kConfirm2);
    EXPECT_EQ(box.type, 0x1u);
    EXPECT_EQ(box.owner, MainWindow());
    EXPECT_EQ(bench.SurfaceLines(), Lines{});
    EXPECT_EQ(CursorShowCount(), 0);
  }
}

// The wait cursor is up while SEND DIAGNOSTIC runs and only then, on every way the test ends.
TEST(SelfDiagnosticsTest, WaitCursorCoversExactlyTheTest) {
  for (const char* config : {"", "fail=diag:04:11", "fail=diag:02", "selftest=fail"}) {
    for (const unsigned commandId : {IDM_SELF_DIAGNOSTICS_1, IDM_SELF_DIAGNOSTICS_2}) {
      ProgramBench bench(config);
      CursorWatch watch(bench);
      RunCommand(bench, commandId);
      // Test unit ready had completed when the cursor came; SEND DIAGNOSTIC when it went.
      EXPECT_EQ(watch.changes, (std::vector<std::pair<bool, size_t>>{{true, 1}, {false, 2}}))
          << config;
      EXPECT_FALSE(WaitCursorCurrent());
      EXPECT_EQ(CursorShowCount(), 0);
    }
  }
}

TEST(SelfDiagnosticsTest, WaitsForATestThatCompletesLaterOnTheManagersThread) {
  for (const char* config : {"selftime=300,logictime=300,logictest=23", "late=40,logictest=23"}) {
    ProgramBench bench(config);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RunCommand(bench, IDM_SELF_DIAGNOSTICS_1).at(1), kNoProblem);
    EXPECT_EQ(RunCommand(bench, IDM_SELF_DIAGNOSTICS_2).at(2), "20 55 (Error of Buffer RAM)");
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(80));
  }
}

}  // namespace
