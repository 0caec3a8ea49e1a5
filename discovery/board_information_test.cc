#include "discovery/board_information.h"

#include <gtest/gtest.h>

#include "platform/linux/linux_ui.h"
#include "resources/ids.h"
#include "tests/support/program_bench.h"

namespace {

constexpr char kNotGained[] =
    "SCSI Board Information was not gained.\nCheck if the board is properly set\nand the driver "
    "is properly installed.";

std::vector<std::string> Block(int adapter, const std::string& manager,
                               const std::string& identifier) {
  const int top = 60 * adapter;
  return {"20 " + std::to_string(35 + top) + " Host Adapter ID(Board# " + std::to_string(adapter) +
              ") : 7",
          "20 " + std::to_string(55 + top) + " ASPI Manager              : " + manager,
          "20 " + std::to_string(75 + top) + " ASPI Manager Name         : " + identifier};
}

std::vector<std::string> Page(std::initializer_list<std::vector<std::string>> blocks) {
  std::vector<std::string> page = {"10 10 ** SCSI Board Information **"};
  for (const auto& block : blocks) page.insert(page.end(), block.begin(), block.end());
  return page;
}

TEST(BoardInformationTest, OneAdapterAnswering) {
  ProgramBench bench("adapter=0:6:MGR:HOST");
  bench.Start();
  bench.ClearRequests();
  bench.Command(IDM_BOARD_INFORMATION);
  EXPECT_EQ(
      bench.SurfaceLines(),
      (std::vector<std::string>{
          "10 10 ** SCSI Board Information **", "20 35 Host Adapter ID(Board# 0) : 6",
          "20 55 ASPI Manager              : MGR", "20 75 ASPI Manager Name         : HOST"}));
  EXPECT_TRUE(bench.frontEnd().boxes().empty());
  EXPECT_TRUE(bench.OperationCodes().empty());  // no scanner search
}

TEST(BoardInformationTest, ThreeAdaptersTheMiddleOneRejected) {
  ProgramBench bench("adapters=3,reject=1");
  bench.Start();
  bench.Command(IDM_BOARD_INFORMATION);
  EXPECT_EQ(bench.SurfaceLines(), Page({Block(0, "Sim ASPI Manager", "Sim SCSI Host 0"),
                                        Block(2, "Sim ASPI Manager", "Sim SCSI Host 2")}));
  ASSERT_EQ(bench.frontEnd().BoxTexts(), std::vector<std::string>{kNotGained});
  EXPECT_EQ(bench.frontEnd().boxes()[0].owner, MainWindow());
  EXPECT_EQ(bench.frontEnd().boxes()[0].type, 0x10u);
}

TEST(BoardInformationTest, OtherFailingStatusesArePassedOverSilently) {
  ProgramBench bench("adapters=2,reject=0:E0");
  bench.Start();
  bench.Command(IDM_BOARD_INFORMATION);
  EXPECT_EQ(bench.SurfaceLines(), Page({Block(1, "Sim ASPI Manager", "Sim SCSI Host 1")}));
  EXPECT_TRUE(bench.frontEnd().boxes().empty());
}

TEST(BoardInformationTest, FiveAdaptersTheLastAtTheLowerEdgeAndASixthOffTheSurface) {
  ProgramBench bench("adapters=6,model=none");
  bench.Start();
  bench.Command(IDM_BOARD_INFORMATION);
  const std::vector<std::string> lines = bench.SurfaceLines();
  ASSERT_EQ(lines.size(), 1u + 5u * 3u);
  EXPECT_EQ(lines[13], "20 275 Host Adapter ID(Board# 4) : 7");
  EXPECT_EQ(lines[15], "20 315 ASPI Manager Name         : Sim SCSI Host 4");
}

TEST(BoardInformationTest, AdapterTextsAreCutAtSixteenBytesOrAtAZeroByte) {
  // The manager text fills all 16 bytes (and more is configured); the identifier ends early.
  ProgramBench bench("adapter=0:7:ABCDEFGHIJKLMNOPQRS:ab\\x00cd");
  bench.Start();
  bench.Command(IDM_BOARD_INFORMATION);
  const std::vector<std::string> lines = bench.SurfaceLines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[2], "20 55 ASPI Manager              : ABCDEFGHIJKLMNOP");
  EXPECT_EQ(lines[3], "20 75 ASPI Manager Name         : ab");
}

TEST(BoardInformationTest, NoAdapterAnsweringLeavesThePageEmptyWithoutTitle) {
  for (const char* config : {"adapters=0", "adapters=2,reject=0,reject=1", "aspi=E8"}) {
    ProgramBench bench(config);
    bench.Start();
    bench.Command(IDM_BOARD_INFORMATION);
    EXPECT_TRUE(bench.SurfaceLines().empty()) << config;
  }
}

}  // namespace
