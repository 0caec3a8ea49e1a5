#include "diagnostics/scanner_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/linux/linux_ui.h"
#include "resources/ids.h"
#include "tests/support/program_bench.h"
#include "tests/support/temp_directory.h"

namespace {

using Lines = std::vector<std::string>;
namespace fs = std::filesystem;

constexpr char kTitle[] = "10 10 ** Save Scanner Data **";
constexpr char kHeader[] = "ZR-40123B\r\n\r\n\r\n";

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

// Buffer F9h with word k stored as bytes k, 255 - k, except the first two words 1234h and FFFFh;
// buffer 05h holding 12h 34h 56h 78h.
std::string KnownBuffersConfig() {
  std::string hex = "3412ffff";
  for (int k = 2; k < 256; ++k) {
    char pair[5];
    std::snprintf(pair, sizeof pair, "%02x%02x", k, 255 - k);
    hex += pair;
  }
  return "bufdata=f9:0:" + hex + ",bufdata=05:0:12345678";
}

std::string KnownBuffersFile(size_t lines) {
  std::string file = kHeader;
  file += "4660\r\n65535\r\n";
  for (int k = 2; k < 256; ++k) file += std::to_string(k + 256 * (255 - k)) + "\r\n";
  file += "\r\n4660\r\n22136\r\n";
  EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 262);
  // Cut to `lines` lines.
  size_t end = 0;
  for (size_t i = 0; i < lines; ++i) end = file.find('\n', end) + 1;
  return file.substr(0, end);
}

TEST_F(SaveScannerDataTest, WritesTheBuffersAsDecimalLinesEndingInCrLf) {
  std::ofstream("test_dat.txt") << std::string(9000, 'x');  // replaced, not appended to
  ProgramBench bench(KnownBuffersConfig());
  Save(bench);
  EXPECT_EQ(DataFile(), KnownBuffersFile(262));

  ASSERT_EQ(bench.frontEnd().boxes().size(), 1u);
  const RecordedBox& box = bench.frontEnd().boxes()[0];
  EXPECT_EQ(box.text, "Scanner Data has saved.\n (Filename : test_dat.txt)");
  EXPECT_EQ(box.caption, "Information");
  EXPECT_EQ(box.type, 0x2040u);
  EXPECT_EQ(box.owner, MainWindow());
  EXPECT_FALSE(box.busy);
  EXPECT_TRUE(bench.SurfaceLines().empty());

  // TEST UNIT READY and the two reads; their CDBs are in the end-to-end trace test.
  EXPECT_EQ(bench.OperationCodes(), (std::vector<uint8_t>{0x00, 0x3C, 0x3C}));
}

struct FailureCase {
  const char* name;
  std::string config;
  std::string prepare;  // what stands at test_dat.txt: "", "directory", "full disk"
  Lines boxes;
  size_t opcodesSent;
  size_t linesLeft;  // of the complete file
  bool ownedByWindow;
};

class SaveScannerDataFailure : public SaveScannerDataTest,
                               public testing::WithParamInterface<FailureCase> {};

TEST_P(SaveScannerDataFailure, EndsWithItsBoxesKeepsTheTitleAndPutsTheCursorBack) {
  const FailureCase& expected = GetParam();
  if (expected.prepare == "directory") fs::create_directory("test_dat.txt");
  if (expected.prepare == "full disk") fs::create_symlink("/dev/full", "test_dat.txt");
  ProgramBench bench(KnownBuffersConfig() + "," + expected.config);
  Save(bench);

  EXPECT_EQ(bench.frontEnd().BoxTexts(), expected.boxes);
  EXPECT_EQ(bench.OperationCodes().size(), expected.opcodesSent);
  if (expected.prepare.empty()) {
    EXPECT_EQ(DataFile(), KnownBuffersFile(expected.linesLeft));
  }
  EXPECT_EQ(bench.SurfaceLines(), Lines{kTitle});
  const RecordedBox& last = bench.frontEnd().boxes().back();
  EXPECT_EQ(last.owner, expected.ownedByWindow ? MainWindow() : nullptr);
  EXPECT_EQ(last.type, 0x10u);
  EXPECT_TRUE(last.busy);  // the cursor comes back once the box is closed
  EXPECT_FALSE(WaitCursorCurrent());
  EXPECT_EQ(CursorShowCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, SaveScannerDataFailure,
    testing::Values(
        FailureCase{"FileNotOpened", "", "directory", {"File was not opened."}, 0, 0, true},
        FailureCase{"ScannerDataUnread",
                    "bufferfail=f9",
                    "",
                    {"*** Error in Read Buffer ***", "Failed to save Scanner Data."},
                    2,
                    3,
                    true},
        FailureCase{"ValuePairUnread",
                    "fail=readbuffer@2:04:11",
                    "",
                    {"*** Error in Read Buffer ***", "Failed to save Scanner Data."},
                    3,
                    260,
                    true},
        FailureCase{"DiskFull", "", "full disk", {"File was not closed."}, 3, 0, false}),
    [](const testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

TEST_F(SaveScannerDataTest, FailingTestUnitReadyDoesNotStopTheDump) {
  ProgramBench bench(KnownBuffersConfig() + ",fail=tur,attention=off");
  Save(bench);
  EXPECT_EQ(DataFile(), KnownBuffersFile(262));
  EXPECT_EQ(bench.frontEnd().boxes().size(), 1u);
}

TEST_F(SaveScannerDataTest, LineBreaksFromTheDeviceDoNotBreakTheFile) {
  ProgramBench bench("product=ZR-4\\x0d\\x0a1X");
  Save(bench);
  const std::string file = DataFile();
  EXPECT_EQ(file.substr(0, 15), "ZR-4??1X \r\n\r\n\r\n");
  EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 262);
  EXPECT_EQ(std::count(file.begin(), file.end(), '\r'), 262);
}

}  // namespace
