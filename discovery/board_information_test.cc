#include "discovery/board_information.h"

#include <gtest/gtest.h>

#include "platform/linux/linux_ui.h"
#include "resources/ids.h"
#include "tests/support/program_bench.h"

namespace {

using Lines = std::vector<std::string>;

Lines Block(int adapter, int id, const std::string& manager, const std::string& identifier) {
  return {"20 " + std::to_string(35 + 60 * adapter) + " Host Adapter ID(Board# " +
              std::to_string(adapter) + ") : " + std::to_string(id),
          "20 " + std::to_string(55 + 60 * adapter) + " ASPI Manager              : " + manager,
          "20 " + std::to_string(75 + 60 * adapter) + " ASPI Manager Name         : " + identifier};
}

Lines SimBlock(int adapter) {
  return Block(adapter, 7, "Sim ASPI Manager", "Sim SCSI Host " + std::to_string(adapter));
}

Lines Page(std::initializer_list<Lines> blocks) {
  Lines page = {"10 10 ** SCSI Board Information **"};
  for (const Lines& block : blocks) page.insert(page.end(), block.begin(), block.end());
  return page;
}

// One block for each adapter that answers, 60 pixels apart; a rejected adapter gets a warning
// box, other failures pass silently, and no adapter answering leaves the page without a title.
// The command never searches for the scanner.
TEST(BoardInformationTest, OneBlockPerAnsweringAdapter) {
  struct Case {
    const char* config;
    Lines page;
    size_t rejected;
  };
  const std::vector<Case> cases = {
      {"adapters=3,reject=1,adapter=0:6:MGR:HOST", Page({Block(0, 6, "MGR", "HOST"), SimBlock(2)}),
       1},
      {"adapters=2,reject=0:E0", Page({SimBlock(1)}), 0},
      // The manager text fills all 16 bytes (and more is configured); the identifier ends early.
      {"adapter=0:7:ABCDEFGHIJKLMNOPQRS:ab\\x00cd", Page({Block(0, 7, "ABCDEFGHIJKLMNOP", "ab")}),
       0},
      // The fifth block reaches the lower edge; the sixth is off the surface.
      {"adapters=6,model=none",
       Page({SimBlock(0), SimBlock(1), SimBlock(2), SimBlock(3), SimBlock(4)}), 0},
      {"adapters=0", {}, 0},
      {"adapters=2,reject=0,reject=1", {}, 2},
      {"aspi=E8", {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.config);
    ProgramBench bench(c.config);
    bench.Start();
    bench.frontEnd().Clear();
    bench.ClearRequests();
    bench.Command(IDM_BOARD_INFORMATION);
    EXPECT_EQ(bench.SurfaceLines(), c.page);
    EXPECT_EQ(bench.frontEnd().BoxTexts(),
              Lines(c.rejected,
                    "SCSI Board Information was not gained.\nCheck if the board is properly "
                    "set\nand the driver is properly installed."));
    for (const RecordedBox& box : bench.frontEnd().boxes()) {
      EXPECT_EQ(box.owner, MainWindow());
      EXPECT_EQ(box.type, 0x10u);
    }
    EXPECT_TRUE(bench.OperationCodes().empty());
  }
}

}  // namespace
