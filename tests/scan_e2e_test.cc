// The real program scanning through batch mode: its output, the file and the trace. Every run is
// bounded in time and in the size of the files it writes (RunProgram).
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <sstream>

#include "tests/support/run_program.h"
#include "tests/support/test_text.h"

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

// The disk fills in the middle of the image: nothing more is written, the scanner is drained.
// The trace holds every request whole, host adapter inquiries among them.
TEST(ScanEndToEnd, ADiskThatFillsDuringTheTransferAndTheTrace) {
  const ProgramRun run =
      RunProgram(SCAN_FS_BINARY,
                 {"--simulate=adapters=2,reject=1", "--batch", "board,scan", "--trace", "t.jsonl"},
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
       {"{\"cmd\":0,\"ha\":0,\"status\":1,\"scsi_id\":7,\"manager\":\"Sim ASPI Manager\","
        "\"identifier\":\"Sim SCSI Host 0\"}",
        "{\"cmd\":0,\"ha\":1,\"status\":129}",
        "{\"cmd\":2,\"ha\":0,\"target\":2,\"lun\":0,\"flags\":0,\"buflen\":0,\"cdb\":"
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
