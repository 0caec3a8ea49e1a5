// The program on a real kernel SCSI stack: what the QEMU guest of tests/kernel/run_guest.sh
// handed back (KERNEL_TEST_RESULTS names the folder), judged against the same runs on the
// in-process simulated bus laid out like the guest: the LSI adapter with a disk at target 0 and a
// CD-ROM at target 1, and the loopback adapter with the scanner at target 2.
#include <gtest/gtest.h>

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

std::string Results() {
  const char* folder = std::getenv("KERNEL_TEST_RESULTS");
  return folder == nullptr ? "" : folder;
}

std::string FirstLine(const std::string& path) {
  const Lines lines = SplitLines(ReadFile(path));
  return lines.empty() ? "" : lines.front();
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

class KernelStack : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(Results().empty()) << "KERNEL_TEST_RESULTS names no folder: run make kernel-test";
    ASSERT_EQ(FirstLine(Results() + "/outcome"), "done")
        << "the guest did not finish its runs: see its console.log";
  }
};

// "normal" searches, identifies, saves, tests and scans; "fault" fails its self-tests, whose
// CHECK CONDITION and sense data come back through the kernel.
TEST_F(KernelStack, EveryRunMatchesTheSimulatedBusRequestForRequest) {
  const std::string manager = SgManager::kManagerId;
  const std::string layout = ",adapters=2,scanner=1:2,adapter=0:7:" + manager +
                             ":sym53c8xx,adapter=1:7:" + manager +
                             ":tcm_loopback,device=0:0:QEMU HARDDISK:QEMU,"
                             "device=0:1:QEMU CD-ROM:QEMU";
  for (const std::string name : {"normal", "fault"}) {
    SCOPED_TRACE(name);
    const std::string guest = Results() + "/" + name + "/";
    const ProgramRun simulated = RunProgram(
        SCAN_FS_BINARY,
        {"--simulate=" + FirstLine(Results() + "/" + name + ".config") + layout, "--batch",
         FirstLine(Results() + "/" + name + ".batch"), "--trace", "trace.jsonl"});
    EXPECT_EQ(std::atoi(FirstLine(guest + "status").c_str()), simulated.exitStatus);
    EXPECT_EQ(SplitLines(ReadFile(guest + "batch.txt")), simulated.OutLines());
    EXPECT_EQ(ReadFile(guest + "stderr.txt"), "");
    // Byte for byte to the scanner: CDB, data out and in, status, host adapter and target
    // status, sense data.
    EXPECT_EQ(WithoutQemuData(ReadFile(guest + "trace.jsonl")),
              WithoutQemuData(simulated.File("trace.jsonl")));
    for (const std::string file : {"test_dat.txt", "img_fs.tif"}) {
      EXPECT_EQ(ReadFile(guest + file), simulated.File(file)) << file;
    }
  }
}

TEST_F(KernelStack, TheImageReadBackByLibtiffIsTheSimulatedNegative) {
  const std::filesystem::path start = std::filesystem::current_path();
  std::filesystem::current_path(Results() + "/normal");
  ExpectTiffHolds(324, 486, 340, NegativeImage(972, 486));
  std::filesystem::current_path(start);
}

}  // namespace
