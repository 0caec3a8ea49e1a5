// The program on a real kernel SCSI stack: what the QEMU guest of tests/kernel/run_guest.sh handed
// back (KERNEL_TEST_RESULTS names the folder). Each run is judged on its own; those of a working
// scanner also against the same run on the in-process simulated bus laid out like the guest: the
// LSI adapter with a disk at target 0 and a CD-ROM at target 1, and the loopback adapter with the
// scanner at target 2. A difference is named by its first line or byte.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "platform/sg/sg_manager.h"
#include "sim/negative_image.h"
#include "tests/support/run_program.h"
#include "tests/support/test_text.h"
#include "tests/support/tiff_expectations.h"

namespace {

using Lines = std::vector<std::string>;

// Absolute, so that a test may change the current directory.
std::string Results() {
  static const std::string results = [] {
    const char* folder = std::getenv("KERNEL_TEST_RESULTS");
    return folder == nullptr ? "" : std::filesystem::absolute(folder).string();
  }();
  return results;
}

std::string FirstLine(const std::string& path) {
  const Lines lines = SplitLines(ReadFile(path));
  return lines.empty() ? "" : lines.front();
}

bool Has(const Lines& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Equal, or where they first differ: the line's number and both lines.
testing::AssertionResult SameLines(const Lines& guest, const Lines& simulated) {
  for (size_t at = 0; at < std::max(guest.size(), simulated.size()); ++at) {
    const char* none = "(no such line)";
    const std::string inGuest = at < guest.size() ? guest[at] : none;
    const std::string inSimulation = at < simulated.size() ? simulated[at] : none;
    if (inGuest != inSimulation) {
      return testing::AssertionFailure()
             << "line " << at + 1 << " of " << guest.size() << " differs:\n  guest:     " << inGuest
             << "\n  simulated: " << inSimulation;
    }
  }
  return testing::AssertionSuccess();
}

testing::AssertionResult SameBytes(const std::string& guest, const std::string& simulated) {
  const auto [inGuest, inSimulation] =
      std::mismatch(guest.begin(), guest.end(), simulated.begin(), simulated.end());
  if (inGuest == guest.end() && inSimulation == simulated.end()) {
    return testing::AssertionSuccess();
  }
  return testing::AssertionFailure()
         << guest.size() << " bytes in the guest, " << simulated.size()
         << " simulated; the first difference at offset " << (inGuest - guest.begin());
}

// The trace without the data that QEMU's own disk and CD-ROM (on adapter 0) returned.
Lines WithoutQemuData(const std::string& trace) {
  Lines lines;
  for (const std::string& line : SplitLines(trace)) {
    const bool qemu = line.starts_with("{\"cmd\":2,\"ha\":0,");
    lines.push_back(qemu ? std::regex_replace(line, std::regex(",\"in\":\"[0-9a-f]*\""), "")
                         : line);
  }
  return lines;
}

// What one run in the guest left.
struct GuestRun {
  std::string folder;

  explicit GuestRun(const std::string& name) : folder(Results() + "/" + name + "/") {}
  std::string File(const std::string& name) const { return ReadFile(folder + name); }
  int exitStatus() const { return std::atoi(FirstLine(folder + "status").c_str()); }
  Lines out() const { return SplitLines(File("batch.txt")); }
  Lines trace() const { return SplitLines(File("trace.jsonl")); }
  double seconds() const { return std::atof(FirstLine(folder + "elapsed").c_str()) / 100; }
};

class KernelStack : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(Results().empty()) << "KERNEL_TEST_RESULTS names no folder: run make kernel-test";
    ASSERT_EQ(FirstLine(Results() + "/outcome"), "done")
        << "the guest did not finish its runs: see its console.log";
  }
};

// A working scanner: every request to it byte for byte what the in-process simulator gives for
// the same configuration (CDB, data out and in, statuses and sense data, so CHECK CONDITIONs and
// their sense data cross the kernel intact), the same output, exit status and files; and what
// the run shows by itself: the lines it must hold, and the image that libtiff reads back as the
// simulator's negative.
struct WorkingRun {
  const char* name;
  Lines shows;
  uint32_t dpi;  // of img_fs.tif; 0 for none
};

TEST_F(KernelStack, AWorkingScannerMatchesTheSimulatedBusAndShowsItsResult) {
  const std::string scanned = "box Information: Image was scanned.";
  const WorkingRun runs[] = {
      // The search passes QEMU's disk and CD-ROM and finds the T2 behind the loopback host.
      {"all",
       {"line 20 75 ASPI Manager Name         : sym53c8xx", "line 20 35 Scanner ID(Board# 1) : 2",
        "line 20 75 Product ID           : ZR-40123B(Tessaline T2)", scanned},
       340},
      {"faults", {"line 20 55 (Lamp error)", "line 20 55 (Error of Gatearrey(CMOS))"}, 0},
      {"t1-2720-file", {scanned}, 2720},
      {"t2-2720-memory", {scanned}, 0}};
  const std::string manager = SgManager::kManagerId;
  const std::string layout = ",adapters=2,scanner=1:2,adapter=0:7:" + manager +
                             ":sym53c8xx,adapter=1:7:" + manager +
                             ":tcm_loopback,device=0:0:QEMU HARDDISK:QEMU,"
                             "device=0:1:QEMU CD-ROM:QEMU";
  for (const WorkingRun& run : runs) {
    SCOPED_TRACE(run.name);
    const GuestRun guest(run.name);
    const std::string given = Results() + "/" + run.name;
    const ProgramRun simulated = RunProgram(
        SCAN_FS_BINARY, {"--simulate=" + FirstLine(given + ".config") + layout, "--batch",
                         FirstLine(given + ".batch"), "--trace", "trace.jsonl"});
    EXPECT_EQ(guest.exitStatus(), simulated.exitStatus);
    EXPECT_TRUE(SameLines(guest.out(), simulated.OutLines())) << "batch output";
    EXPECT_EQ(guest.File("stderr.txt"), "");
    EXPECT_TRUE(SameLines(WithoutQemuData(guest.File("trace.jsonl")),
                          WithoutQemuData(simulated.File("trace.jsonl"))))
        << "trace";
    for (const std::string file : {"test_dat.txt", "img_fs.tif"}) {
      EXPECT_TRUE(SameBytes(guest.File(file), simulated.File(file))) << file;
    }
    for (const std::string& line : run.shows) EXPECT_TRUE(Has(guest.out(), line)) << line;
    if (run.dpi == 0) continue;
    const std::filesystem::path start = std::filesystem::current_path();
    std::filesystem::current_path(guest.folder);
    const uint32_t width = 2592 * run.dpi / 2720, lines = 3888 * run.dpi / 2720;
    ExpectTiffHolds(width, lines, run.dpi, NegativeImage(3 * width, lines));
    std::filesystem::current_path(start);
  }
}

// A scanner that stops answering in the middle of a 340-dpi scan, after its second READ: the
// GET DATA BUFFER STATUS in flight is the last request, the scan ends there within seconds, and
// img_fs.tif holds the header and the two chunks and is no TIFF.
struct BrokenScanner {
  const char* name;
  std::string lastRequestEnded;  // in the last line of the trace
  double fastest, slowest;       // seconds the run may take
};

TEST_F(KernelStack, AScannerThatStopsAnsweringEndsTheScanAtOnce) {
  const BrokenScanner runs[] = {
      // The kernel deletes the unit with the request in flight: the node hangs up.
      {"deleted", "\"hastat\":17,", 0, 5},
      // The handler is killed: its backstore ends the command after its 2-second time-out,
      // saying that it lost the unit (NOT READY, ASC 08h).
      {"killed", "\"hastat\":0,\"targstat\":2,\"sense\":\"700002000000000a0000000008", 2, 6},
      // The handler stops: the command's 10 s, then 5 s for the kernel's recovery, which
      // waits for the backstore's 30 s; the program gives up by itself.
      {"stopped", "\"hastat\":11,", 14.5, 20}};
  for (const BrokenScanner& broken : runs) {
    SCOPED_TRACE(broken.name);
    const GuestRun guest(broken.name);
    EXPECT_EQ(guest.exitStatus(), 1);
    const Lines out = guest.out();
    EXPECT_TRUE(SameLines(
        Lines(out.end() - std::min<size_t>(2, out.size()), out.end()),
        {"box Warning: *** Error in Get Data Status ***", "box Warning: No image was scanned."}));
    const Lines trace = guest.trace();
    ASSERT_FALSE(trace.empty());
    for (const std::string& part :
         {std::string("{\"cmd\":2,\"ha\":1,\"target\":2,"),
          std::string("\"cdb\":\"3400000000000000"), "\"status\":4," + broken.lastRequestEnded}) {
      EXPECT_NE(trace.back().find(part), std::string::npos) << trace.back();
    }
    const std::string file = guest.File("img_fs.tif");
    EXPECT_EQ(file.size(), 216u + 2 * 29000u);
    EXPECT_EQ(file.substr(0, 4), std::string("II\0\0", 4));
    EXPECT_GE(guest.seconds(), broken.fastest);
    EXPECT_LE(guest.seconds(), broken.slowest);
  }
}

// SIGTERM while the scanner does not answer: the program still waits for the command in flight,
// then a second SIGTERM ends it at once, as that signal does.
TEST_F(KernelStack, ASecondSignalEndsTheProgramWhileTheScannerDoesNotAnswer) {
  const GuestRun guest("signalled");
  EXPECT_EQ(FirstLine(guest.folder + "after_first_signal"), "waiting");
  EXPECT_EQ(guest.exitStatus(), 128 + 15);
  EXPECT_LT(guest.seconds(), 5);
}

// A RAM disk takes the scanner's place at 1:0:2:0 while a self-diagnostic waits for its first
// answer: the disk gets none of the commands that follow (the self-test, the data dump's, the
// scan's), and the user learns why.
TEST_F(KernelStack, AScannerReplacedByADiskGetsNoScannerCommand) {
  const GuestRun guest("replaced");
  EXPECT_EQ(guest.exitStatus(), 1);
  const std::string before = FirstLine(guest.folder + "disk_commands_before");
  ASSERT_FALSE(before.empty());
  EXPECT_EQ(FirstLine(guest.folder + "disk_commands_after"), before);
  EXPECT_TRUE(guest.File("stderr.txt").find("(adapter 1, target 2, LUN 0: LIO-ORG RAMDISK-MCP") !=
              std::string::npos)
      << guest.File("stderr.txt");
  const Lines out = guest.out();
  EXPECT_TRUE(Has(out, "box Warning: Failed to save Scanner Data."));
  EXPECT_EQ(out.back(), "box Warning: No image was scanned.");
}

// The program asks QEMU's own disk and CD-ROM for nothing but their identification, in any run.
TEST_F(KernelStack, TheOtherDevicesOnTheBusGetNothingButInquiry) {
  for (const char* name : {"all", "faults", "t1-2720-file", "t2-2720-memory", "deleted", "killed",
                           "stopped", "signalled", "replaced"}) {
    int inquiries = 0;
    for (const std::string& line : GuestRun(name).trace()) {
      if (!line.starts_with("{\"cmd\":2,\"ha\":0,")) continue;
      EXPECT_NE(line.find("\"cdb\":\"120000002400\""), std::string::npos) << name << ": " << line;
      ++inquiries;
    }
    EXPECT_GE(inquiries, 2) << name;
  }
}

// A standard SCSI client (sg3-utils) against the served scanner after power-on: the unit
// attention first, then GOOD; its identification; ILLEGAL REQUEST for a vital product data page
// (ASC 24h, the client's status 5) and for an operation code it does not know (ASC 20h, status
// 9); nothing hangs (timeout's status would be 124).
TEST_F(KernelStack, AStandardClientMeetsTheServedScanner) {
  const GuestRun client("sg3");
  const struct {
    const char* call;
    int exitStatus;
    const char* says;
  } kCalls[] = {
      {"turs-first", 6, "Unit attention"},
      {"turs-again", 0, ""},
      {"inquiry", 0, "Product identification: ZR-40123B"},
      {"vpd-page", 5, "field in cdb illegal"},
      {"unknown-command", 9, "Invalid command operation code"},
  };
  for (const auto& call : kCalls) {
    const std::string said = client.File(std::string(call.call) + ".out");
    EXPECT_EQ(std::atoi(FirstLine(client.folder + call.call + ".status").c_str()), call.exitStatus)
        << call.call << ":\n"
        << said;
    EXPECT_NE(said.find(call.says), std::string::npos) << call.call << ":\n" << said;
  }
}

}  // namespace
