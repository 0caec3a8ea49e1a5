// Save Scanner Data on the simulated T2; what test_dat.txt holds, number by number, is checked
// against the request trace end to end.
#include "diagnostics/scanner_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/linux/linux_ui.h"
#include "resources/ids.h"
#include "tests/support/program_bench.h"
#include "tests/support/temp_directory.h"

namespace {

using Lines = std::vector<std::string>;

// Each test works in a directory of its own, where the program writes test_dat.txt.
class SaveScannerDataTest : public testing::Test {
 protected:
  std::string DataFile() const { return directory_.Read("test_dat.txt"); }
  static void Save(ProgramBench& bench) {
    bench.Start();
    bench.ClearRequests();
    bench.Command(IDM_SAVE_SCANNER_DATA);
  }

 private:
  ScopedTempDirectory directory_;
};

size_t LineCount(const std::string& file) {
  return static_cast<size_t>(std::count(file.begin(), file.end(), '\n'));
}

// The file is replaced, its 262 lines end in CR LF, whatever the device's texts hold, and a failed
// TEST UNIT READY does not stop the dump.
TEST_F(SaveScannerDataTest, WritesTheWholeFileAndSaysSo) {
  for (const auto& [config, header] :
       {std::pair{"", "ZR-40123B\r\n\r\n\r\n"},
        std::pair{"fail=tur,attention=off", "ZR-40123B\r\n\r\n\r\n"},
        std::pair{"product=ZR-4\\x0d\\x0a1X", "ZR-4??1X \r\n\r\n\r\n"}}) {
    SCOPED_TRACE(config);
    std::ofstream("test_dat.txt") << std::string(9000, 'x');
    ProgramBench bench(config);
    Save(bench);
    const std::string file = DataFile();
    EXPECT_EQ(file.rfind(header, 0), 0u) << file.substr(0, 20);
    EXPECT_EQ(LineCount(file), 262u);
    EXPECT_EQ(std::count(file.begin(), file.end(), '\r'), 262);

    ASSERT_EQ(bench.frontEnd().boxes().size(), 1u);
    const RecordedBox& box = bench.frontEnd().boxes()[0];
    EXPECT_EQ(box.text, "Scanner Data has saved.\n (Filename : test_dat.txt)");
    EXPECT_EQ(box.type, 0x2040u);
    EXPECT_EQ(box.owner, MainWindow());
    EXPECT_FALSE(box.busy);
    EXPECT_TRUE(bench.SurfaceLines().empty());
    EXPECT_EQ(bench.OperationCodes(), (std::vector<uint8_t>{0x00, 0x3C, 0x3C}));
  }
}

// Each failure ends with its boxes, keeps the title and puts the cursor back.
TEST_F(SaveScannerDataTest, FailuresEndWithTheirBoxes) {
  struct Case {
    std::string config;
    std::string prepare;  // what stands at test_dat.txt: "", "directory", "full disk"
    Lines boxes;
    size_t opcodesSent;
    size_t linesLeft;  // in test_dat.txt
    bool ownedByWindow;
  };
  const Lines readFailed = {"*** Error in Read Buffer ***", "Failed to save Scanner Data."};
  const std::vector<Case> cases = {
      {"", "directory", {"File was not opened."}, 0, 0, true},
      {"bufferfail=f9", "", readFailed, 2, 3, true},
      {"fail=readbuffer@2:04:11", "", readFailed, 3, 260, true},
      {"", "full disk", {"File was not closed."}, 3, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.config + c.prepare);
    std::filesystem::remove_all("test_dat.txt");
    if (c.prepare == "directory") std::filesystem::create_directory("test_dat.txt");
    if (c.prepare == "full disk") std::filesystem::create_symlink("/dev/full", "test_dat.txt");
    ProgramBench bench(c.config);
    Save(bench);
    EXPECT_EQ(bench.frontEnd().BoxTexts(), c.boxes);
    EXPECT_EQ(bench.OperationCodes().size(), c.opcodesSent);
    if (c.prepare.empty()) {
      EXPECT_EQ(LineCount(DataFile()), c.linesLeft);
    }
    EXPECT_EQ(bench.SurfaceLines(), Lines{"10 10 ** Save Scanner Data **"});
    const RecordedBox& last = bench.frontEnd().boxes().back();
    EXPECT_EQ(last.owner, c.ownedByWindow ? MainWindow() : nullptr);
    EXPECT_EQ(last.type, 0x10u);
    EXPECT_TRUE(last.busy);  // the cursor comes back once the box is closed
    EXPECT_FALSE(WaitCursorCurrent());
    EXPECT_EQ(CursorShowCount(), 0);
  }
}

}  // namespace
