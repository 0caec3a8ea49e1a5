// Save Scanner Data on the simulated T2: what each outcome shows and leaves in test_dat.txt. The
// file's numbers are checked against the request trace end to end.
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

// The file, when one is written, holds lines ending in CR LF, replaces an older one, and its
// header line shows control bytes of the device's text as '?'. The box about a file that could
// not be closed has no owner; the cursor is back when every box has gone.
TEST(SaveScannerDataTest, EachOutcomeShowsItsBoxesAndLeavesItsFile) {
  struct Case {
    const char* config;
    std::string standing;  // at test_dat.txt first: "file" (a longer one), "directory", "full disk"
    Lines boxes;
    size_t requests;
    std::ptrdiff_t lines;  // of test_dat.txt
    const char* header = "ZR-40123B\r\n\r\n\r\n";
  };
  const Lines saved = {"Scanner Data has saved.\n (Filename : test_dat.txt)"};
  const Lines readFailed = {"*** Error in Read Buffer ***", "Failed to save Scanner Data."};
  const std::vector<Case> cases = {
      {"", "file", saved, 3, 262},
      {"product=ZR-4\\x0d\\x0a1X", "", saved, 3, 262, "ZR-4??1X \r\n\r\n\r\n"},
      {"", "directory", {"File was not opened."}, 0, 0, ""},
      {"bufferfail=f9", "", readFailed, 2, 3},
      {"fail=readbuffer@2:04:11", "", readFailed, 3, 260},
      // No answer to the TEST UNIT READY: nothing more goes to the scanner.
      {"fail=tur@1:04:11", "", {readFailed[1]}, 1, 3},
      {"", "full disk", {"File was not closed."}, 3, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.config + c.standing);
    const ScopedTempDirectory directory;
    if (c.standing == "file") std::ofstream("test_dat.txt") << std::string(9000, 'x');
    if (c.standing == "directory") std::filesystem::create_directory("test_dat.txt");
    if (c.standing == "full disk") std::filesystem::create_symlink("/dev/full", "test_dat.txt");
    ProgramBench bench(c.config);
    bench.Start();
    bench.ClearRequests();
    bench.Command(IDM_SAVE_SCANNER_DATA);
    ASSERT_EQ(bench.frontEnd().BoxTexts(), c.boxes);
    EXPECT_EQ(bench.OperationCodes().size(), c.requests);
    const std::string file = c.lines > 0 ? directory.Read("test_dat.txt") : "";
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), c.lines);
    EXPECT_EQ(std::count(file.begin(), file.end(), '\r'), c.lines);
    EXPECT_EQ(file.rfind(c.header, 0), 0u);

    const bool success = c.boxes == saved;
    EXPECT_EQ(bench.SurfaceLines(), success ? Lines{} : Lines{"10 10 ** Save Scanner Data **"});
    const RecordedBox& last = bench.frontEnd().boxes().back();
    EXPECT_EQ(last.owner, c.standing == "full disk" ? nullptr : MainWindow());
    EXPECT_EQ(last.type, success ? 0x2040u : 0x10u);
    EXPECT_EQ(last.busy, !success);  // a warning comes while the cursor waits
    EXPECT_FALSE(WaitCursorCurrent());
    EXPECT_EQ(CursorShowCount(), 0);
  }
}

}  // namespace
