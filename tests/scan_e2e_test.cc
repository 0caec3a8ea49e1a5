// The real program scanning through batch mode: its output, the file and the trace.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <sstream>

#include "tests/support/declared_size.h"
#include "tests/support/run_program.h"

namespace {

using Lines = std::vector<std::string>;

ProgramRun ScanFs(const std::vector<std::string>& arguments, const std::string& prepare = "") {
  return RunProgram(SCAN_FS_BINARY, arguments, RunOptions::Prepared(prepare));
}

// The lines of the batch output from the scan command on.
Lines ScanSection(const ProgramRun& run) {
  const Lines lines = run.OutLines();
  const auto start = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.rfind("# scan", 0) == 0;
  });
  return Lines(start, lines.end());
}

TEST(ScanEndToEnd, MemoryScanAt2720) {
  const ProgramRun run = ScanFs({"--simulate", "--batch", "scan:2720:memory"});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(ScanSection(run), (Lines{"# scan:2720:memory", "dialog Scan (Negative Film)",
                                     "click 2720 dpi", "click Read in memory (no file)",
                                     "click Scan", "box Information: Image was scanned."}));
  EXPECT_EQ(run.File("img_fs.tif"), "");
}

TEST(ScanEndToEnd, FileScanOfAT1AndItsTrace) {
  const ProgramRun run =
      ScanFs({"--simulate=model=t1", "--batch", "scan", "--trace", "trace.jsonl"});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.File("img_fs.tif").size(), 216u + 324u * 3u * 486u);

  std::istringstream trace(run.File("trace.jsonl"));
  Lines scsi;
  for (std::string line; std::getline(trace, line);) {
    if (line.find("\"cdb\":\"12") == std::string::npos) scsi.push_back(line);  // not the search
  }
  ASSERT_GE(scsi.size(), 12u);
  // The silent TEST UNIT READY takes the unit attention after power-on.
  EXPECT_NE(scsi[0].find("{\"cmd\":2,\"ha\":0,\"target\":2,\"lun\":0,\"flags\":0,\"buflen\":0,"
                         "\"cdb\":\"000000000000\",\"status\":4,\"hastat\":0,\"targstat\":2,"
                         "\"sense\":\"700006000000000a000000002900\"}"),
            std::string::npos)
      << scsi[0];
  // The window list goes out whole (the bytes of every command: scsi/scanner_commands_test.cc).
  EXPECT_NE(
      scsi[3].find("\"buflen\":75,\"cdb\":\"24000000000000004800\",\"out\":\"000000000000004000"
                   "000154015400"),
      std::string::npos)
      << scsi[3];
  EXPECT_NE(scsi[11].find("\"flags\":8,\"buflen\":30000,\"cdb\":\"28000000000000714800\","
                          "\"in_len\":29000,\"status\":1"),
            std::string::npos)
      << scsi[11];
}

// The operation codes of the trace, in order, as two hex digits each.
Lines TracedOperations(const std::string& trace) {
  Lines codes;
  std::istringstream lines(trace);
  for (std::string line; std::getline(lines, line);) {
    const size_t at = line.find("\"cdb\":\"");
    if (at != std::string::npos) codes.push_back(line.substr(at + 7, 2));
  }
  return codes;
}

// Every way a scanner can stop making progress, on both models, into a file and into memory,
// after every other command has run on the same broken scanner: the program ends in time, says
// the scan failed, takes at most three READs and, but where the scanner stops reporting, leaves
// it positioned and released; img_fs.tif is never longer than its header says.
TEST(ScanEndToEnd, ABrokenTransferAlwaysEnds) {
  struct Fault {
    const char* config;
    size_t reads;
    bool released;
  };
  const std::vector<Fault> faults = {
      {"fail=read", 3, true},           {"shortread=1", 3, true},
      {"shortread=29000", 3, true},     {"remaining=same@2+", 1, true},
      {"remaining=4000000@2", 1, true}, {"fail=status@2+", 3, false},
  };
  for (const Fault& fault : faults) {
    for (const char* model : {"t1", "t2"}) {
      for (const char* mode : {"file", "memory"}) {
        const std::string config = std::string("model=") + model + "," + fault.config;
        SCOPED_TRACE(config + " " + mode);
        const ProgramRun run =
            ScanFs({"--simulate=" + config, "--batch",
                    std::string("board,info,save,diag1,diag2,scan:") + mode, "--trace", "t.jsonl"});
        EXPECT_EQ(run.exitStatus, 1);
        EXPECT_EQ(run.OutLines().back(), "box Warning: No image was scanned.");
        const Lines operations = TracedOperations(run.File("t.jsonl"));
        EXPECT_EQ(static_cast<size_t>(std::count(operations.begin(), operations.end(), "28")),
                  fault.reads);
        const Lines ending(operations.end() - 2, operations.end());
        const Lines expectedEnding =
            fault.released ? Lines{"31", "17"} : Lines{"28", "34"};  // else still reserved
        EXPECT_EQ(ending, expectedEnding);
        const std::string file = run.File("img_fs.tif");
        if (mode == std::string("file")) {
          EXPECT_LE(file.size(), DeclaredImageFileSize(file));
          EXPECT_EQ(file[2] == 42, file.size() == DeclaredImageFileSize(file));
        } else {
          EXPECT_EQ(file, "");
        }
      }
    }
  }
}

// The disk fills in the middle of the image: nothing more is written, the scanner is drained.
TEST(ScanEndToEnd, ADiskThatFillsDuringTheTransfer) {
  const ProgramRun run =
      RunProgram(SCAN_FS_BINARY, {"--simulate", "--batch", "scan", "--trace", "t.jsonl"},
                 RunOptions::LimitedTo(102400));
  EXPECT_EQ(run.exitStatus, 1);
  const Lines section = ScanSection(run);
  EXPECT_EQ(Lines(section.end() - 2, section.end()),
            (Lines{"box Warning: File was not closed.", "box Warning: No image was scanned."}));
  const std::string file = run.File("img_fs.tif");
  EXPECT_EQ(file.size(), 102400u);  // the whole limit, then nothing more
  EXPECT_EQ(DeclaredImageFileSize(file), 216u + 472392u);
  const Lines operations = TracedOperations(run.File("t.jsonl"));
  EXPECT_EQ(std::count(operations.begin(), operations.end(), "28"), 17);  // drained
}

// SIGINT or SIGTERM during a scan stops it at the next request: the scanner is positioned and
// released, img_fs.tif is plainly no TIFF, and the program ends as the signal would end it.
TEST(ScanEndToEnd, ASignalStopsTheScanCleanly) {
  for (const int signalNumber : {SIGINT, SIGTERM}) {
    const ProgramRun run = RunProgram(
        SCAN_FS_BINARY, {"--simulate=readtime=40", "--batch", "scan,info", "--trace", "t.jsonl"},
        RunOptions::SignalledWhen(signalNumber, "t.jsonl", "\"cdb\":\"28"));  // a READ done
    EXPECT_EQ(run.exitStatus, 128 + signalNumber);
    ASSERT_FALSE(run.out.empty());
    EXPECT_EQ(run.OutLines().back(), "box Warning: No image was scanned.");  // no "# info"
    const Lines operations = TracedOperations(run.File("t.jsonl"));
    EXPECT_LT(std::count(operations.begin(), operations.end(), "28"), 17);
    EXPECT_EQ(Lines(operations.end() - 2, operations.end()), (Lines{"31", "17"}));
    EXPECT_EQ(run.File("img_fs.tif").substr(0, 4), std::string("II\0\0", 4));
  }
}

}  // namespace
