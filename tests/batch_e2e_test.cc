// The real program in batch mode: its output, its exit status and its usage errors.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/run_program.h"

namespace {

using Lines = std::vector<std::string>;

ProgramRun ScanFs(const std::vector<std::string>& arguments) {
  return RunProgram(SCAN_FS_BINARY, arguments);
}

const Lines kStart = {"# start", "line 20 10 **** Quorvel Scanner Testing Program ****",
                      "line 40 55   Select the item to be tested",
                      "line 40 75   from the Function menu.",
                      "line 40 120    (Scanner : Tessaline T1/T2)"};

Lines WithStart(const Lines& rest) {
  Lines lines = kStart;
  lines.insert(lines.end(), rest.begin(), rest.end());
  return lines;
}

TEST(BatchEndToEnd, ScannerInformationOnTheDefaultSimulatedT2) {
  const ProgramRun run = ScanFs({"--simulate", "--batch=info"});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.OutLines(), WithStart({"# info", "line 10 10 ** Scanner Information **",
                                       "line 20 35 Scanner ID(Board# 0) : 2",
                                       "line 20 55 Vendor  ID           : QUORVEL ",
                                       "line 20 75 Product ID           : ZR-40123B(Tessaline T2)",
                                       "line 20 95 ROM Version          : 1.32"}));
  EXPECT_EQ(run.err, "");
}

TEST(BatchEndToEnd, GrayedCommandsOfAT1AreUnavailableAndCountAsWarnings) {
  const ProgramRun run = ScanFs({"--simulate=model=t1", "--batch", "save,diag2,about"});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(
      run.OutLines(),
      WithStart({"# save", "unavailable save", "# diag2", "unavailable diag2", "# about",
                 "dialog About", "text Quorvel Scanner Test (SCSI) ", "text Version 1.0b",
                 "text Quorvel Service Engineering", "text for the Tessaline T1/T2 film scanners",
                 "click OK", "line 20 10 **** Quorvel Scanner Testing Program ****",
                 "line 40 55   Select the item to be tested",
                 "line 40 75   from the Function menu.",
                 "line 40 120    (Scanner : Tessaline T1/T2)"}));
}

TEST(BatchEndToEnd, WithoutAnyScsiHostTheManagerFailsAndSaysWhy) {
  const ProgramRun run = RunProgram(SCAN_FS_BINARY, {"--batch", "info"},
                                    RunOptions::Prepared("export SCAN_FS_SYSFS=/nonexistent"));
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(
      run.OutLines(),
      (Lines{"# start", "box Warning: ASPI driver for Windows is not properly working.", "# info",
             "box Warning: Scanner is not found.\\nCheck if the cable is properly "
             "connected\\nand the power is on."}));
  EXPECT_NE(run.err.find("No SCSI host adapter"), std::string::npos);
  EXPECT_NE(run.err.find("--simulate"), std::string::npos);
}

TEST(BatchEndToEnd, DeviceTextsAreEscapedInTheOutput) {
  const ProgramRun run = ScanFs({"--simulate=vendor=\\x1b[2J\\x07", "--batch", "info"});
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.OutLines()[8], "line 20 55 Vendor  ID           : \\x1B[2J\\x07   ");
}

TEST(BatchEndToEnd, UsageErrorsGiveOneLineOnStandardErrorAndStatusTwo) {
  const std::vector<std::vector<std::string>> wrong = {
      {"--frobnicate"},
      {"--simulate", "--batch", "info,dance"},
      {"--simulate=model=t9", "--batch", "info"},
      {"--simulate", "--batch"},
      {"--simulate", "--batch", "scan:123"},
      {"--simulate", "--batch", "info", "--trace", "/nonexistent/dir/trace"},
      // Control bytes of the command line stay inside the one line.
      {"--simulate=colour\n=red\r", "--batch", "info"},
      {"--simulate", "--batch", "info\n,\x1b[2J"},
      // No request may end "pending": it would never end.
      {"--simulate=fail=readbuffer:00", "--batch", "save"},
      {"--simulate=reject=0:00", "--batch", "board"},
      {"--simulate=aspi=00", "--batch", "info"},
      {"--simulate=bufferfail=F9:00", "--batch", "save"},
  };
  for (const auto& arguments : wrong) {
    const ProgramRun run = ScanFs(arguments);
    EXPECT_EQ(run.exitStatus, 2) << arguments[0];
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(run.err.rfind("scan_fs: ", 0), 0u) << run.err;
  }
}

TEST(BatchEndToEnd, HelpDocumentsOptionsAndCommands) {
  const ProgramRun run = ScanFs({"--help"});
  EXPECT_EQ(run.exitStatus, 0);
  for (const char* word : {"--simulate", "--batch", "--trace", "diag1[:cancel]", "scan:cancel"}) {
    EXPECT_NE(run.out.find(word), std::string::npos) << word;
  }
}

TEST(BatchEndToEnd, TraceHasOneJsonLinePerRequest) {
  const ProgramRun run =
      ScanFs({"--simulate=adapters=2,reject=1", "--batch", "board", "--trace", "trace.jsonl"});
  EXPECT_EQ(run.exitStatus, 1);
  const std::string trace = run.File("trace.jsonl");
  EXPECT_NE(trace.find("{\"cmd\":2,\"ha\":0,\"target\":2,\"lun\":0,\"flags\":24,\"buflen\":36,"
                       "\"cdb\":\"120000002400\",\"in\":\"06000202"),
            std::string::npos)
      << trace;
  EXPECT_NE(trace.find("{\"cmd\":0,\"ha\":0,\"status\":1,\"scsi_id\":7,\"manager\":\"Sim ASPI "
                       "Manager\",\"identifier\":\"Sim SCSI Host 0\"}"),
            std::string::npos);
  EXPECT_NE(trace.find("{\"cmd\":0,\"ha\":1,\"status\":129}"), std::string::npos);
}

// A trace that cannot be written whole is said once, and the run fails; lines that did reach
// the file are whole. The file size limit stands in for a disk that fills.
TEST(BatchEndToEnd, ATraceThatCannotBeWrittenIsAFailure) {
  struct Case {
    const char* trace;
    uintmax_t fileSizeLimit;
    const char* reason;
  };
  for (const Case& c : {Case{"/dev/full", kDefaultFileSizeLimit, "No space left on device"},
                        Case{"trace.jsonl", 3000, "File too large"}}) {
    const ProgramRun run =
        RunProgram(SCAN_FS_BINARY, {"--simulate", "--batch", "scan:memory", "--trace", c.trace},
                   RunOptions::LimitedTo(c.fileSizeLimit));
    EXPECT_EQ(run.exitStatus, 3) << c.trace;
    EXPECT_EQ(run.err, std::string("scan_fs: the trace file '") + c.trace +
                           "' is incomplete: " + c.reason + "\n");
    EXPECT_EQ(run.OutLines().back(), "box Information: Image was scanned.");
    const std::string trace = run.File("trace.jsonl");
    if (c.trace == std::string("trace.jsonl")) {
      ASSERT_FALSE(trace.empty());
      EXPECT_EQ(trace.back(), '\n');
      EXPECT_EQ(trace.rfind("\n{", trace.size() - 2) + 1, trace.rfind('{'));
      EXPECT_EQ(trace[trace.size() - 2], '}');
    }
  }
}

}  // namespace
