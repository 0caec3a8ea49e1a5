// The program on a real kernel SCSI stack: what the QEMU guest of tests/kernel/run_guest.sh
// handed back (KERNEL_TEST_RESULTS names the folder), judged on its own and against the same run
// on the in-process simulated bus laid out like the guest: the LSI adapter with a disk at
// target 0 and a CD-ROM at target 1, and the loopback adapter with the scanner at target 2.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "platform/sg/sg_manager.h"
#include "sim/negative_image.h"
#include "tests/support/run_program.h"
#include "tests/support/text_file.h"
#include "tests/support/tiff_expectations.h"

namespace {

using Lines = std::vector<std::string>;

std::string ResultsFolder() {
  const char* folder = std::getenv("KERNEL_TEST_RESULTS");
  return folder == nullptr ? "" : folder;
}

std::string FirstLine(const std::string& path) {
  const Lines lines = SplitLines(ReadFile(path));
  return lines.empty() ? "" : lines.front();
}

// One run of the guest ("normal" or "fault") and the same run on the simulated bus.
struct RunPair {
  std::string folder;  // the guest's results of this run
  int guestStatus = -1;
  ProgramRun simulated;

  std::string GuestFile(const std::string& name) const { return ReadFile(folder + "/" + name); }
};

RunPair GuestAndSimulatedRun(const std::string& name) {
  const std::string results = ResultsFolder();
  RunPair pair;
  pair.folder = results + "/" + name;
  pair.guestStatus = std::atoi(FirstLine(pair.folder + "/status").c_str());
  const std::string manager = SgManager::kManagerId;
  const std::string layout = ",adapters=2,scanner=1:2,adapter=0:7:" + manager +
                             ":sym53c8xx,adapter=1:7:" + manager +
                             ":tcm_loopback,device=0:0:QEMU HARDDISK:QEMU,"
                             "device=0:1:QEMU CD-ROM:QEMU";
  pair.simulated =
      RunProgram(SCAN_FS_BINARY,
                 {"--simulate=" + FirstLine(results + "/" + name + ".config") + layout, "--batch",
                  FirstLine(results + "/" + name + ".batch"), "--trace", "trace.jsonl"});
  return pair;
}

// A trace line's field: a number or a hex string.
std::string Field(const std::string& line, const std::string& key) {
  std::smatch match;
  const std::regex pattern("\"" + key + "\":\"?([0-9a-f]*)");
  return std::regex_search(line, match, pattern) ? match[1].str() : "";
}

bool ToScanner(const std::string& line) {
  return Field(line, "ha") == "1" && Field(line, "target") == "2";
}

// The requests to other devices without their INQUIRY data (QEMU's own, not the simulator's).
Lines WithoutDeviceData(const Lines& trace) {
  Lines lines;
  for (const std::string& line : trace) {
    lines.push_back(
        ToScanner(line) ? line : std::regex_replace(line, std::regex(",\"in\":\"[0-9a-f]*\""), ""));
  }
  return lines;
}

class KernelStack : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(ResultsFolder().empty())
        << "KERNEL_TEST_RESULTS names no folder: run make kernel-test";
    ASSERT_EQ(FirstLine(ResultsFolder() + "/outcome"), "done")
        << "the guest did not finish its runs: see its console.log";
  }
};

TEST_F(KernelStack, EveryRunMatchesTheSimulatedBusRequestForRequest) {
  for (const std::string name : {"normal", "fault"}) {
    SCOPED_TRACE(name);
    const RunPair run = GuestAndSimulatedRun(name);
    EXPECT_EQ(run.guestStatus, run.simulated.exitStatus);
    EXPECT_EQ(SplitLines(run.GuestFile("batch.txt")), run.simulated.OutLines());
    EXPECT_EQ(run.GuestFile("stderr.txt"), "");
    // Byte for byte to the scanner: CDB, data out and in, status, host adapter and target
    // status, sense data.
    EXPECT_EQ(WithoutDeviceData(SplitLines(run.GuestFile("trace.jsonl"))),
              WithoutDeviceData(SplitLines(run.simulated.File("trace.jsonl"))));
    for (const std::string file : {"test_dat.txt", "img_fs.tif"}) {
      EXPECT_EQ(run.GuestFile(file), run.simulated.File(file)) << file;
    }
  }
}

TEST_F(KernelStack, TheSearchPassesQemusDevicesAndFindsTheScannerBehindTheLoopbackHost) {
  const RunPair run = GuestAndSimulatedRun("normal");
  const Lines batch = SplitLines(run.GuestFile("batch.txt"));
  for (const std::string line : {"line 20 75 ASPI Manager Name         : sym53c8xx",
                                 "line 20 135 ASPI Manager Name         : tcm_loopback",
                                 "line 20 35 Scanner ID(Board# 1) : 2",
                                 "line 20 75 Product ID           : ZR-40123B(Tessaline T2)"}) {
    EXPECT_NE(std::find(batch.begin(), batch.end(), line), batch.end()) << line;
  }
  // That QEMU's disk and CD-ROM answered the search themselves, and every command reached the
  // scanner, the trace shows: it equals the simulated bus's, statuses included.
}

TEST_F(KernelStack, TheImageReadBackByLibtiffIsTheSimulatedNegative) {
  const std::filesystem::path start = std::filesystem::current_path();
  std::filesystem::current_path(ResultsFolder() + "/normal");
  ExpectTiffHolds(324, 486, 340, NegativeImage(972, 486));
  std::filesystem::current_path(start);
}

TEST_F(KernelStack, AFailingSelfTestIsReportedThroughTheRealStack) {
  const RunPair run = GuestAndSimulatedRun("fault");
  EXPECT_EQ(run.guestStatus, 1);
  const std::string batch = run.GuestFile("batch.txt");
  EXPECT_NE(batch.find("line 20 55 (Lamp error)"), std::string::npos) << batch;
  EXPECT_NE(batch.find("line 20 55 (Error of Gatearrey(CMOS))"), std::string::npos) << batch;
  // The CHECK CONDITION and its sense data (HARDWARE ERROR, ASC 60h) came back intact.
  for (const std::string& line : SplitLines(run.GuestFile("trace.jsonl"))) {
    if (!ToScanner(line) || Field(line, "cdb") != "1d0400000000") continue;
    EXPECT_EQ(Field(line, "status"), "4");
    EXPECT_EQ(Field(line, "targstat"), "2");
    EXPECT_EQ(Field(line, "sense"),
              "700004"
              "00000000"
              "0a"
              "00000000"
              "6000");
  }
}

}  // namespace
