// The real program scanning through batch mode: its output, the file and the trace. Every run is
// bounded in time and in the size of the files it writes (RunProgram).
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <sstream>

#include "tests/support/declared_size.h"
#include "tests/support/run_program.h"

namespace {

using Lines = std::vector<std::string>;

// The last `count` lines of what the program printed, or of the trace's operation codes.
Lines Last(const Lines& lines, size_t count) {
  return Lines(lines.end() - std::min(count, lines.size()), lines.end());
}

// The operation codes of the trace, in order, as two hex digits each.
Lines TracedOperations(const ProgramRun& run) {
  Lines codes;
  std::istringstream lines(run.File("t.jsonl"));
  for (std::string line; std::getline(lines, line);) {
    const size_t at = line.find("\"cdb\":\"");
    if (at != std::string::npos) codes.push_back(line.substr(at + 7, 2));
  }
  return codes;
}

long Reads(const Lines& operations) {
  return std::count(operations.begin(), operations.end(), "28");
}

// Every way a scanner can stop making progress, on both models, into a file and into memory,
// after every other command has run on the same broken scanner: the program ends in time, says
// the scan failed, takes at most three READs and, but where the scanner stops reporting, leaves
// it positioned and released; img_fs.tif is never longer than its header says.
TEST(ScanEndToEnd, ABrokenTransferAlwaysEnds) {
  const std::vector<std::tuple<const char*, long, bool>> faults = {
      // configuration, READs, released (else still reserved)
      {"fail=read", 3, true},           {"shortread=1", 3, true},
      {"shortread=29000", 3, true},     {"remaining=same@2+", 1, true},
      {"remaining=4000000@2", 1, true}, {"fail=status@2+", 3, false},
  };
  for (const auto& [fault, reads, released] : faults) {
    for (const std::string mode :
         {"t1,scan:file", "t2,scan:memory", "t1,scan:memory", "t2,scan:file"}) {
      SCOPED_TRACE(std::string(fault) + " " + mode);
      const ProgramRun run = RunProgram(
          SCAN_FS_BINARY, {"--simulate=model=" + mode.substr(0, 2) + "," + fault, "--batch",
                           "board,info,save,diag1,diag2," + mode.substr(3), "--trace", "t.jsonl"});
      EXPECT_EQ(run.exitStatus, 1);
      EXPECT_EQ(Last(run.OutLines(), 1), Lines{"box Warning: No image was scanned."});
      const Lines operations = TracedOperations(run);
      EXPECT_EQ(Reads(operations), reads);
      EXPECT_EQ(Last(operations, 2), released ? (Lines{"31", "17"}) : (Lines{"28", "34"}));
      const std::string file = run.File("img_fs.tif");
      EXPECT_EQ(file.empty(), mode.find("memory") != std::string::npos);
      EXPECT_LE(file.size(), DeclaredImageFileSize(file));
      const bool whole = !file.empty() && file.size() == DeclaredImageFileSize(file);
      EXPECT_EQ(!file.empty() && file[2] == 42, whole);
    }
  }
}

// The disk fills in the middle of the image: nothing more is written, the scanner is drained.
// The trace holds every request whole.
TEST(ScanEndToEnd, ADiskThatFillsDuringTheTransferAndTheTrace) {
  const ProgramRun run =
      RunProgram(SCAN_FS_BINARY, {"--simulate", "--batch", "scan", "--trace", "t.jsonl"},
                 RunOptions::LimitedTo(102400));
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(Last(run.OutLines(), 2),
            (Lines{"box Warning: File was not closed.", "box Warning: No image was scanned."}));
  const std::string file = run.File("img_fs.tif");
  EXPECT_EQ(file.size(), 102400u);  // the whole limit, then nothing more
  EXPECT_EQ(DeclaredImageFileSize(file), 216u + 472392u);
  EXPECT_EQ(Reads(TracedOperations(run)), 17);  // drained
  // The silent TEST UNIT READY takes the unit attention after power-on; the window list goes out;
  // a READ tells what came in.
  for (const char* expected :
       {"{\"cmd\":2,\"ha\":0,\"target\":2,\"lun\":0,\"flags\":0,\"buflen\":0,\"cdb\":"
        "\"000000000000\",\"status\":4,\"hastat\":0,\"targstat\":2,\"sense\":"
        "\"700006000000000a000000002900\"}",
        "\"buflen\":75,\"cdb\":\"24000000000000004800\",\"out\":\"000000000000004000000154015400",
        "\"flags\":8,\"buflen\":30000,\"cdb\":\"28000000000000714800\",\"in_len\":29000,"
        "\"status\":1"}) {
    EXPECT_NE(run.File("t.jsonl").find(expected), std::string::npos) << expected;
  }
}

// SIGINT or SIGTERM during a scan stops it at the next request: the scanner is positioned and
// released, img_fs.tif is plainly no TIFF, and the program ends as the signal would end it.
TEST(ScanEndToEnd, ASignalStopsTheScanCleanly) {
  for (const int signalNumber : {SIGINT, SIGTERM}) {
    const ProgramRun run = RunProgram(
        SCAN_FS_BINARY, {"--simulate=readtime=40", "--batch", "scan,info", "--trace", "t.jsonl"},
        RunOptions::SignalledWhen(signalNumber, "t.jsonl", "\"cdb\":\"28"));  // a READ done
    EXPECT_EQ(run.exitStatus, 128 + signalNumber);
    EXPECT_EQ(Last(run.OutLines(), 1), Lines{"box Warning: No image was scanned."});  // no info
    const Lines operations = TracedOperations(run);
    EXPECT_LT(Reads(operations), 17);
    EXPECT_EQ(Last(operations, 2), (Lines{"31", "17"}));
    EXPECT_EQ(run.File("img_fs.tif").substr(0, 4), std::string("II\0\0", 4));
  }
}

}  // namespace
