#include "diagnostics/self_diagnostics.h"

#include <gtest/gtest.h>

#include "platform/linux/linux_ui.h"
#include "resources/ids.h"
#include "tests/support/program_bench.h"

namespace {

using Lines = std::vector<std::string>;

constexpr char kTitle1[] = "10 10 ** Scanner Self-diagnostics1 **";
constexpr char kTitle2[] = "10 10 ** Scanner Self-diagnostics2 **";
constexpr char kProblem[] = "20 35 Scanner has some problem.    ";

// Runs one self-test on a scanner at 1:5, so that a request sent anywhere else fails.
Lines RunCommand(ProgramBench& bench, unsigned commandId) {
  bench.Start();
  bench.ClearRequests();
  bench.Command(commandId);
  return bench.SurfaceLines();
}

ProgramBench ScannerAt1To5(const std::string& config) {
  return ProgramBench("adapters=2,scanner=1:5," + config);
}

TEST(SelfDiagnosticsTest, SenseDataNamesTheFaultyUnit) {
  // How the simulated self-test ends, and the lines under "Scanner has some problem."
  const std::vector<std::pair<const char*, Lines>> cases = {
      {"fail:none", {"20 55 (Unknown error)"}},
      {"fail:00:60:00", {"20 55 (Unknown error)"}},  // byte 2 zero: the first row wins
      {"fail:04:60:00", {"20 55 (Lamp error)"}},
      {"fail:20:60:07", {"20 55 (Lamp error)"}},  // ILI alone is not zero
      {"fail:04:62:01",
       {"20 55 (Carriage lock release error)", "20 75 (Home position sensor error)"}},
      {"fail:04:80:01", {"20 55 (CPU check error)"}},
      {"fail:04:80:02", {"20 55 (RAM check error)"}},
      {"fail:04:80:03", {"20 55 (ROM check error)"}},
      {"fail:04:80:04", {"20 55 (Hardware check error)"}},
      {"fail:04:80:05", {"20 55 (TPU lamp error)"}},
      {"fail:04:80:06", {"20 55 (TPU home position sensor error)"}},
      {"fail:04:80:07", {}},
      {"fail:04:61:00", {}},
  };
  for (const auto& [selfTest, details] : cases) {
    ProgramBench bench = ScannerAt1To5(std::string("selftest=") + selfTest);
    Lines expected = {kTitle1, kProblem};
    expected.insert(expected.end(), details.begin(), details.end());
    EXPECT_EQ(RunCommand(bench, IDM_SELF_DIAGNOSTICS_1), expected) << selfTest;
    EXPECT_EQ(bench.frontEnd().boxes().size(), 1u);  // the confirmation only
  }
}

// A code other than 0 makes the simulated scanner end SEND DIAGNOSTIC with CHECK CONDITION, so
// these also show that SS_ERR leads on to the result block.
TEST(SelfDiagnosticsTest, ResultCodeNamesTheFaultyDevice) {
  const std::vector<std::pair<int, const char*>> cases = {{22, "(Error of Offset RAM)"},
                                                          {23, "(Error of Buffer RAM)"},
                                                          {30, "(EWORK(CPU Work RAM))"},
                                                          {31, "(Shading RAM upper 16bit)"},
                                                          {32, "(Shading RAM under 8bit)"},
                                                          {33, "(Gamma RAM)"},
                                                          {40, "(Error of Gatearrey(CMOS))"},
                                                          {50, "(Error of EEPROM)"},
                                                          {1, "(Unknown error)"},
                                                          {21, "(Unknown error)"},
                                                          {255, "(Unknown error)"}};
  for (const auto& [code, device] : cases) {
    ProgramBench bench = ScannerAt1To5("logictest=" + std::to_string(code));
    EXPECT_EQ(RunCommand(bench, IDM_SELF_DIAGNOSTICS_2),
              (Lines{kTitle2, kProblem, std::string("20 55 ") + device}));
    EXPECT_EQ(bench.frontEnd().boxes().size(), 1u);
  }
}

// Every way a test fails: its warnings, owned by the main window, and only the title on the page.
TEST(SelfDiagnosticsTest, FailuresShowTheirWarningsAndLeaveTheTitle) {
  struct Case {
    unsigned commandId;
    const char* config;
    Lines boxes;  // after the confirmation
    std::vector<uint8_t> opcodes;
  };
  const Lines timeout1 = {"*** Timeout of selecting target ***",
                          "Scanner Self-diagnostics1 was failed."};
  const Lines failed1 = {"Scanner Self-diagnostics1 was failed."};
  const Lines failed2 = {"Scanner Self-diagnostics2 was failed."};
  const std::vector<uint8_t> diag = {0x00, 0x1D};
  const std::vector<Case> cases = {
      {IDM_SELF_DIAGNOSTICS_1, "fail=diag:04:11", timeout1, diag},
      {IDM_SELF_DIAGNOSTICS_1, "fail=diag:04:0E", timeout1, diag},  // any adapter error
      {IDM_SELF_DIAGNOSTICS_1, "fail=diag:02", failed1, diag},
      {IDM_SELF_DIAGNOSTICS_2, "fail=diag:02", failed2, diag},
      {IDM_SELF_DIAGNOSTICS_2,
       "bufferfail=04:04:00:05:24:00",
       {"*** Error in Read Buffer ***", "Scanner Self-diagnostics2 was failed."},
       {0x00, 0x1D, 0x3C}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.config);
    ProgramBench bench = ScannerAt1To5(c.config);
    EXPECT_EQ(RunCommand(bench, c.commandId),
              Lines{c.commandId == IDM_SELF_DIAGNOSTICS_1 ? kTitle1 : kTitle2});
    Lines boxes = bench.frontEnd().BoxTexts();
    boxes.erase(boxes.begin());
    EXPECT_EQ(boxes, c.boxes);
    EXPECT_EQ(bench.OperationCodes(), c.opcodes);
    for (size_t i = 1; i < bench.frontEnd().boxes().size(); ++i) {
      const RecordedBox& box = bench.frontEnd().boxes()[i];
      EXPECT_EQ(box.caption, "Warning");
      EXPECT_EQ(box.type, 0x10u);
      EXPECT_EQ(box.owner, MainWindow());
      EXPECT_FALSE(box.busy);
    }
  }
}

TEST(SelfDiagnosticsTest, CancelSendsOnlyTestUnitReadyAndClearsTheDisplay) {
  for (const unsigned commandId : {IDM_SELF_DIAGNOSTICS_1, IDM_SELF_DIAGNOSTICS_2}) {
    ProgramBench bench;
    bench.frontEnd().AnswerNextConfirmations({kIdCancel});
    EXPECT_EQ(RunCommand(bench, commandId), Lines{});
    EXPECT_EQ(bench.OperationCodes(), std::vector<uint8_t>{0x00});
    EXPECT_EQ(bench.frontEnd().boxes().at(0).type, 0x1u);  // OK and Cancel
    EXPECT_EQ(bench.frontEnd().boxes().at(0).owner, MainWindow());
    EXPECT_EQ(CursorShowCount(), 0);
  }
}

// Records when the wait cursor comes and goes, by how many requests had completed by then.
class CursorWatch : public RecordingFrontEnd {
 public:
  explicit CursorWatch(ProgramBench& bench) : bench_(bench) { UseFrontEnd(this); }
  void BusyChanged(bool busy) override { changes.emplace_back(busy, bench_.Requests().size()); }
  std::vector<std::pair<bool, size_t>> changes;

 private:
  ProgramBench& bench_;
};

// The wait cursor is up while SEND DIAGNOSTIC runs and only then.
TEST(SelfDiagnosticsTest, WaitCursorCoversExactlyTheTest) {
  for (const unsigned commandId : {IDM_SELF_DIAGNOSTICS_1, IDM_SELF_DIAGNOSTICS_2}) {
    ProgramBench bench("selftest=fail");
    CursorWatch watch(bench);
    RunCommand(bench, commandId);
    // Test unit ready had completed when the cursor came; SEND DIAGNOSTIC when it went.
    EXPECT_EQ(watch.changes, (std::vector<std::pair<bool, size_t>>{{true, 1}, {false, 2}}));
    EXPECT_FALSE(WaitCursorCurrent());
    EXPECT_EQ(CursorShowCount(), 0);
  }
}

}  // namespace
