#include "discovery/board_information.h"

#include <gtest/gtest.h>

#include "platform/linux/linux_ui.h"
#include "resources/ids.h"
#include "tests/support/program_bench.h"

namespace {

using Lines = std::vector<std::string>;

Lines Block(int adapter, int id, const std::string& manager, const std::string& identifier) {
  const auto y = [adapter](int top) { return "20 " + std::to_string(top + 60 * adapter) + " "; };
  return {y(35) + "Host Adapter ID(Board# " + std::to_string(adapter) + ") : " + std::to_string(id),
          y(55) + "ASPI Manager              : " + manager,
          y(75) + "ASPI Manager Name         : " + identifier};
}

// One block for each adapter that answers, 60 pixels apart, under the title; a rejected adapter
// gets a warning box, other failures pass silently. The command never searches for the scanner.
TEST(BoardInformationTest, OneBlockPerAnsweringAdapter) {
  const Lines title = {"10 10 ** SCSI Board Information **"};
  const Lines sim2 = Block(2, 7, "Sim ASPI Manager", "Sim SCSI Host 2");
  struct Case {
    const char* config;
    std::vector<Lines> blocks;
    size_t rejected;
  };
  const std::vector<Case> cases = {
      {"adapters=3,reject=1,adapter=0:6:MGR:HOST", {title, Block(0, 6, "MGR", "HOST"), sim2}, 1},
      {"adapters=3,reject=0:E0,reject=1:E0", {title, sim2}, 0},
      // The manager text fills all 16 bytes (and more is configured); the identifier ends early.
      {"adapter=0:7:ABCDEFGHIJKLMNOPQRS:ab\\x00cd",
       {title, Block(0, 7, "ABCDEFGHIJKLMNOP", "ab")},
       0},
      {"adapters=2,reject=0,reject=1", {}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.config);
    ProgramBench bench(c.config);
    bench.Start();
    bench.frontEnd().Clear();
    bench.ClearRequests();
    bench.Command(IDM_BOARD_INFORMATION);
    Lines page;
    for (const Lines& block : c.blocks) page.insert(page.end(), block.begin(), block.end());
    EXPECT_EQ(bench.SurfaceLines(), page);
    EXPECT_EQ(bench.frontEnd().BoxTexts(),
              Lines(c.rejected,
                    "SCSI Board Information was not gained.\nCheck if the board is properly "
                    "set\nand the driver is properly installed."));
    for (const RecordedBox& box : bench.frontEnd().boxes()) EXPECT_EQ(box.owner, MainWindow());
    EXPECT_TRUE(bench.OperationCodes().empty());
  }
}

}  // namespace
