// The real program in batch mode: its output, its exit status, its usage errors and its trace.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/run_program.h"

namespace {

using Lines = std::vector<std::string>;

ProgramRun ScanFs(const std::vector<std::string>& arguments) {
  return RunProgram(SCAN_FS_BINARY, arguments);
}

// Each command's section holds its boxes, dialogs and unavailability, then the page it left;
// device texts are escaped. An unavailable command counts as a warning.
TEST(BatchEndToEnd, OutputShowsWhatEachCommandShowed) {
  const ProgramRun run = ScanFs({"--simulate=model=t1,vendor=\\x1b[2J\\x5c\\xff", "--batch",
                                 "info,save,diag1:cancel,scan:cancel,about"});
  EXPECT_EQ(run.exitStatus, 1);
  const std::string confirmation =
      "box Scanner Self-diagnostics1: Scanner Self-diagnostics1 is executed. \\nPlease don't set a "
      "film. \\nIt takes tens of seconds.";
  const Lines expected = {"# start",
                          "line 20 10 **** Quorvel Scanner Testing Program ****",
                          "line 40 55   Select the item to be tested",
                          "line 40 75   from the Function menu.",
                          "line 40 120    (Scanner : Tessaline T1/T2)",
                          "# info",
                          "line 10 10 ** Scanner Information **",
                          "line 20 35 Scanner ID(Board# 0) : 2",
                          "line 20 55 Vendor  ID           : \\x1B[2J\\\\\\xFF  ",
                          "line 20 75 Product ID           : ZR-40113A(Tessaline T1)",
                          "line 20 95 ROM Version          : 1.10",
                          "# save",
                          "unavailable save",
                          "# diag1:cancel",
                          confirmation,
                          "# scan:cancel",
                          "dialog Scan (Negative Film)",
                          "click Cancel",
                          "# about",
                          "dialog About",
                          "text Quorvel Scanner Test (SCSI) ",
                          "text Version 1.0b",
                          "text Quorvel Service Engineering",
                          "text for the Tessaline T1/T2 film scanners",
                          "click OK"};
  EXPECT_EQ(run.OutLines(), expected);
  EXPECT_EQ(run.err, "");
}

TEST(BatchEndToEnd, UsageErrorsGiveOneLineOnStandardErrorAndStatusTwo) {
  const std::vector<std::vector<std::string>> wrong = {
      {"--frobnicate"},
      {"--simulate", "--batch", "info,dance"},
      {"--simulate=model=t9", "--batch", "info"},
      {"--simulate", "--batch"},
      {"--simulate", "--batch", "info:now"},
      {"--simulate", "--batch", "diag1:yes"},
      {"--simulate", "--batch", "scan:file:x"},
      {"--simulate", "--batch", "info", "--trace", "/nonexistent/dir/trace"},
      {"--simulate=colour\n=red\r", "--batch", "info\n,\x1b[2J"},  // stays one line
      // No request may end "pending": it would never end.
      {"--simulate=reject=0:00", "--batch", "board"},
      {"--simulate=aspi=00", "--batch", "info"},
      {"--simulate=bufferfail=F9:00", "--batch", "save"},
      {"--simulate", "--json"},  // a JSON document of batch mode only
      {"--inspect"},
      {"--inspect", "--simulate"},
      {"--inspect", "x.tif", "--simulate", "--batch", "scan"},
      {"--inspect", "x.tif", "--trace", "t"},
      {"--simulate", "--batch", "scan", "--preview", "p.png"},
      {"--inspect=x.tif", "--preview"},
  };
  for (const auto& arguments : wrong) {
    const ProgramRun run = ScanFs(arguments);
    EXPECT_EQ(run.exitStatus, 2) << arguments.back();
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(run.err.rfind("scan_fs: ", 0), 0u) << run.err;
  }
  const ProgramRun help = ScanFs({"--help"});
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_NE(help.out.find("diag1[:cancel]"), std::string::npos);
  const ProgramRun version = ScanFs({"--version"});
  EXPECT_EQ(version.exitStatus, 0);
  EXPECT_EQ(version.out, "scan_fs 1.0b\n");  // the About box's version
}

// A trace that cannot be written whole is said once, and the run fails; lines that did reach
// the file are whole. The file size limit stands in for a disk that fills. The scan's arguments
// reach the dialog as their own buttons.
TEST(BatchEndToEnd, ATraceThatCannotBeWrittenIsAFailure) {
  for (const auto& [trace, fileSizeLimit, reason] :
       {std::tuple{"/dev/full", kDefaultFileSizeLimit, "No space left on device"},
        std::tuple{"trace.jsonl", uintmax_t{3000}, "File too large"}}) {
    const ProgramRun run =
        RunProgram(SCAN_FS_BINARY, {"--simulate", "--batch", "scan:2720:memory", "--trace", trace},
                   RunOptions::LimitedTo(fileSizeLimit));
    EXPECT_EQ(run.exitStatus, 3) << trace;
    EXPECT_EQ(run.err, std::string("scan_fs: the trace file '") + trace +
                           "' is incomplete: " + reason + "\n");
    const Lines out = run.OutLines();
    EXPECT_EQ(Lines(out.end() - std::min<size_t>(out.size(), 4), out.end()),
              (Lines{"click 2720 dpi", "click Read in memory (no file)", "click Scan",
                     "box Information: Image was scanned."}));
    const std::string written = run.File("trace.jsonl");
    EXPECT_EQ(written.size() > 0, trace == std::string("trace.jsonl"));
    if (written.empty()) continue;
    EXPECT_EQ(written.substr(written.size() - 2), "}\n");
  }
}

}  // namespace
