#include "scan/negative_film_scan.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "platform/linux/linux_ui.h"
#include "resources/ids.h"
#include "shell/program_state.h"
#include "sim/negative_image.h"
#include "tests/support/declared_size.h"
#include "tests/support/hex_text.h"
#include "tests/support/program_bench.h"
#include "tests/support/temp_directory.h"
#include "tests/support/tiff_expectations.h"

namespace {

using Texts = std::vector<std::string>;

std::string ReadCdb(uint32_t length) {
  char cdb[32];
  std::snprintf(cdb, sizeof cdb, "280000000000%06X00", length & 0xFFFFFFu);
  return cdb;
}

// The CDBs of a whole scan, written from the command set: preparation for the model, then READs
// of at most 29000 bytes, each followed by GET DATA BUFFER STATUS, until `imageBytes` arrived.
Texts ExpectedScan(const std::string& model, uint32_t imageBytes) {
  Texts cdbs = {"000000000000", "000000000000", "160000000000"};
  const std::string status =
      "3400000000000000"
      "1C00";
  if (model == "t1") {
    cdbs.insert(cdbs.end(), {"24000000000000004800", "2A000300010000010000", "2A000300020000010000",
                             "2A000300030000010000"});
  } else if (model == "t2") {
    cdbs.insert(cdbs.end(), {"D61000001600", "24000000000000004800", "2A000300010000200000",
                             "2A000300020000200000", "2A000300030000200000"});
  }
  cdbs.insert(cdbs.end(), {"D61000000C00", "E0010100000000000000", "1B0000000100", status});
  for (uint32_t left = imageBytes; left > 0;) {
    const uint32_t chunk = left < 29000 ? left : 29000;
    cdbs.push_back(ReadCdb(chunk));
    cdbs.push_back(status);
    left -= chunk;
  }
  cdbs.insert(cdbs.end(), {"31000000000000000000", "170000000000"});
  return cdbs;
}

class ScanTest : public testing::Test {
 protected:
  // Opens the scan dialog and clicks through it (the default: Scan on 340 dpi into a file).
  void Scan(ProgramBench& bench, std::vector<int> clicks = {IDC_SCAN}) {
    bench.Start();
    bench.frontEnd().Clear();
    bench.ClearRequests();
    bench.frontEnd().ClickInNextDialog(std::move(clicks));
    bench.Command(IDM_SCAN_NEGATIVE_FILM);
    EXPECT_FALSE(WaitCursorCurrent());
    EXPECT_EQ(CursorShowCount(), 0);
  }

  Texts Cdbs(const ProgramBench& bench) {
    Texts cdbs;
    for (const RecordedRequest& request : bench.Requests()) cdbs.push_back(HexText(request.cdb));
    return cdbs;
  }

  ScopedTempDirectory directory_;
};

// Every request of a whole scan, on each model and at the edges of the chunking: no READ for an
// empty image, one for exactly one chunk, two for one byte more.
TEST_F(ScanTest, CommandSequenceOfEachModel) {
  struct Case {
    std::string config;
    std::string model;
    std::vector<int> clicks;
    uint32_t imageBytes;
  };
  const std::vector<Case> cases = {
      {"model=t2", "t2", {IDC_READ_IN_MEMORY, IDC_SCAN}, 324 * 3 * 486},
      // Every request completed later by the simulator's own thread.
      {"late=1,geometry=30000:2,readtime=2", "t2", {IDC_READ_IN_MEMORY, IDC_SCAN}, 60000},
      {"model=t1", "t1", {IDC_RESOLUTION_680, IDC_SCAN}, 648 * 3 * 972},
      {"geometry=0:0", "t2", {IDC_SCAN}, 0},
      {"geometry=29000:1", "t2", {IDC_SCAN}, 29000},
      {"geometry=29001:1", "t2", {IDC_SCAN}, 29001},
      // A "ZR-" scanner of neither model gets no window, so SCAN is refused and the scan ends.
      {"product=ZR-40999X,geometry=30:2", "neither", {IDC_SCAN}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.config);
    std::filesystem::remove_all("img_fs.tif");
    ProgramBench bench(c.config);
    Scan(bench, c.clicks);
    Texts expected = ExpectedScan(c.model, c.imageBytes);
    if (c.model == "neither") {
      expected.resize(6);  // up to the refused SCAN
    } else {
      EXPECT_EQ(bench.frontEnd().BoxTexts(), Texts{"Image was scanned."});
    }
    EXPECT_EQ(Cdbs(bench), expected);
    EXPECT_EQ(imageComposition, 5);
    const bool toFile = std::count(c.clicks.begin(), c.clicks.end(), IDC_READ_IN_MEMORY) == 0;
    if (toFile && c.model != "neither") {
      EXPECT_EQ(std::filesystem::file_size("img_fs.tif"), 216u + c.imageBytes);
    }
  }
}

TEST_F(ScanTest, FileReadBackWithLibtiffHoldsWhatTheScannerSent) {
  {
    ProgramBench bench;
    Scan(bench);  // 340 dpi into the file
    ExpectTiffHolds(324, 486, 340, NegativeImage(972, 486));
  }
  ProgramBench bench;
  Scan(bench, {IDC_RESOLUTION_1360, IDC_SCAN});
  ExpectTiffHolds(1296, 1944, 1360, NegativeImage(3888, 1944));
}

// A failing command's box stands over the scan dialog, owned by it, while the wait cursor is up.
// The deciding commands end the scan there and leave the scanner as it is (the dialog then
// reports the failure); after the others the scan goes on to its end.
TEST_F(ScanTest, FailingCommandsEndTheScanOnlyWhereTheyDecide) {
  struct Case {
    const char* config;
    const char* errorText;
    const char* lastCdb;  // nullptr: the scan goes on
  };
  const std::vector<Case> cases = {
      {"fail=tur@2", "*** Error in Test Unit Ready ***", "000000000000"},
      {"fail=reserve", "*** Error in Reserve Unit ***", "160000000000"},
      {"model=t1,fail=setwindow", "*** Error in Set Window ***", "24000000000000004800"},
      {"fail=setwindow", "*** Error in Set Window ***", "24000000000000004800"},
      {"fail=mode@1", "*** Error in Define Scan Mode(Page Code 02h) ***", "D61000001600"},
      {"fail=scan", "*** Error in Scan ***", "1B0000000100"},
      {"fail=send@2", "*** Error in Send ***", nullptr},
      {"model=t1,fail=send", "*** Error in Send ***", nullptr},
      {"fail=mode@2", "*** Error in Define Scan Mode(Page Code 02h) ***", nullptr},
      {"fail=focus", "*** Error in Execute Auto Focus ***", nullptr},
      {"fail=position", "*** Error in Medium Position ***", nullptr},
      {"fail=release", "*** Error in Release Unit ***", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.config);
    ProgramBench bench(std::string(c.config) + ",geometry=3000:20");
    Scan(bench);
    const std::vector<RecordedBox>& boxes = bench.frontEnd().boxes();
    ASSERT_GE(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, c.errorText);
    if (c.lastCdb == nullptr) {
      EXPECT_EQ(boxes.back().text, "Image was scanned.");
      EXPECT_EQ(Cdbs(bench).back(), "170000000000");
      continue;
    }
    EXPECT_EQ(bench.frontEnd().BoxTexts(), (Texts{c.errorText, "No image was scanned."}));
    EXPECT_EQ(Cdbs(bench).back(), c.lastCdb);
    EXPECT_NE(boxes[0].owner, nullptr);  // the dialog owns the command's box
    EXPECT_NE(boxes[0].owner, MainWindow());
    EXPECT_EQ(boxes[0].type, 0x10u);
    EXPECT_TRUE(boxes[0].busy);
    EXPECT_EQ(boxes[1].owner, nullptr);
    EXPECT_EQ(boxes[1].type, 0x2010u);
    EXPECT_FALSE(boxes[1].busy);
    // Only a failure after RESERVE leaves the scanner reserved.
    const bool reserveSent =
        c.lastCdb != std::string("000000000000") && c.lastCdb != std::string("160000000000");
    EXPECT_EQ(bench.bus().scanner()->reserved(), reserveSent);
  }
}

// Ways a scan goes wrong after SCAN, among them every way a scanner can stop making progress:
// what the user is told, how many READs it took, how far the scanner was taken (positioned and
// released, or left reserved) and what img_fs.tif holds afterwards: never more than its header
// declares, and no TIFF unless it holds all of that.
TEST_F(ScanTest, FailuresAfterTheScanHasStarted) {
  struct Case {
    const char* config;
    const char* file;  // what stands at img_fs.tif before the scan
    Texts boxes;
    size_t reads;
    bool released;  // else the last command is GET DATA BUFFER STATUS and the scanner is reserved
    long fileSize;  // -1: no file
  };
  const std::string dataStatusError = "*** Error in Get Data Status ***";
  const std::string readError = "*** Error in Read ***";
  const std::string noImage = "No image was scanned.";
  const Texts threeReadErrors = {readError, readError, readError, noImage};
  // clang-format off
  const std::vector<Case> cases = {
      // Every READ fails, one byte short or with nothing at all: three rounds, then given up.
      {"fail=read", "", threeReadErrors, 3, true, 216 + 3 * 29000},
      {"shortread=1", "", threeReadErrors, 3, true, 216 + 3 * 29000},
      {"geometry=30000:1,shortread=29000", "", threeReadErrors, 3, true, 216 + 30000},
      // READs succeed but the remaining count is stuck, or grows past what was announced: the
      // scanner asks for more than the image it announced.
      {"geometry=30000:10,remaining=same@2+", "", {noImage}, 1, true, 216 + 29000},
      {"geometry=30000:2,remaining=90000@2", "", {noImage}, 1, true, 216 + 29000},
      // A scanner that claims to be done before the announced bytes arrived.
      {"geometry=30000:2,remaining=0@2", "", {noImage}, 1, true, 216 + 29000},
      // The READ sized from a stale report asks for more than remains; its chunk becomes zeros.
      {"geometry=3000:20,fail=status@3", "", {dataStatusError, readError, noImage}, 4, true,
       216 + 60000},
      // A READ short by 100 bytes: the rest is fetched before the scan is reported as failed.
      {"geometry=30000:1,shortread=100@1", "", {readError, noImage}, 2, true, 216 + 30000},
      // The image stays in the scanner, which stays reserved.
      {"", "directory", {"File was not opened.", noImage}, 0, false, -1},
      // A full disk: the scanner is drained all the same, but not positioned or released.
      {"geometry=3000:25", "/dev/full", {"File was not closed.", noImage}, 3, false, -1},
      // Three failed status reports in a row end the transfer; the file holds three chunks.
      {"geometry=30000:10,fail=status@2+", "",
       {dataStatusError, dataStatusError, dataStatusError, noImage}, 3, false, 216 + 3 * 29000},
      // Without the first status report the image's size is unknown.
      {"fail=status@1", "", {dataStatusError, noImage}, 0, true, 216},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.config);
    std::filesystem::remove_all("img_fs.tif");
    if (c.file == std::string("directory")) std::filesystem::create_directory("img_fs.tif");
    if (c.file == std::string("/dev/full")) {
      ASSERT_EQ(symlink(c.file, "img_fs.tif"), 0);
    }
    ProgramBench bench(c.config);
    Scan(bench);
    EXPECT_EQ(bench.frontEnd().BoxTexts(), c.boxes);
    for (const RecordedBox& box : bench.frontEnd().boxes()) {
      if (box.text.rfind("***", 0) != 0) {
        EXPECT_EQ(box.type, 0x2010u) << box.text;  // the scan's own boxes: task-modal, no owner
        EXPECT_EQ(box.owner, nullptr);
      }
    }
    const Texts cdbs = Cdbs(bench);
    EXPECT_EQ(static_cast<size_t>(std::count_if(
                  cdbs.begin(), cdbs.end(),
                  [](const std::string& cdb) { return cdb[0] == '2' && cdb[1] == '8'; })),
              c.reads);
    const Texts released = {"31000000000000000000", "170000000000"};
    if (c.released) {
      EXPECT_EQ(Texts(cdbs.end() - 2, cdbs.end()), released);
    } else {
      EXPECT_EQ(cdbs.back(), "34000000000000001C00");
    }
    EXPECT_EQ(bench.bus().scanner()->reserved(), !c.released);
    if (c.fileSize >= 0) {
      const std::string file = directory_.Read("img_fs.tif");
      EXPECT_EQ(file.size(), static_cast<size_t>(c.fileSize));
      EXPECT_LE(file.size(), DeclaredImageFileSize(file));
      // A TIFF only when it holds every byte it declares.
      EXPECT_EQ(file[2] == 42, file.size() == DeclaredImageFileSize(file));
    }
  }
}

// A READ repeated after a failed status report counts its bytes again; the user is never shown
// more than the image the scanner announced (3000 bytes of 30000).
TEST_F(ScanTest, ProgressNeverPassesTheAnnouncedImage) {
  ProgramBench bench("geometry=3000:10,remaining=3000@1,fail=status@2+");
  Scan(bench);
  const auto& progress = bench.frontEnd().progress();
  ASSERT_FALSE(progress.empty());
  for (const auto& [done, total] : progress) {
    EXPECT_EQ(total, 3000u);
    EXPECT_LE(done, total);
  }
}

TEST_F(ScanTest, FailedReadDrainsTheScannerAndLeavesZerosForItsChunk) {
  ProgramBench bench("geometry=30000:2,fail=read@2");
  Scan(bench);
  EXPECT_EQ(bench.frontEnd().BoxTexts(), (Texts{"*** Error in Read ***", "No image was scanned."}));
  const Texts cdbs = Cdbs(bench);
  EXPECT_EQ(std::count(cdbs.begin(), cdbs.end(), ReadCdb(29000)), 3);  // the failed one repeated
  EXPECT_EQ(cdbs.back(), "170000000000");                              // released
  const std::string file = directory_.Read("img_fs.tif");
  ASSERT_EQ(file.size(), 216u + 60000u);  // no more than the header declares
  // The failed chunk stands as zeros, not as the chunk before it; the first holds the image.
  EXPECT_EQ(file.find_first_not_of('\0', 216 + 29000), 216u + 58000u);
  std::string first(29000, '\0');
  NegativeImage(30000, 2).Read(0, reinterpret_cast<uint8_t*>(first.data()), first.size());
  EXPECT_EQ(file.substr(216, 29000), first);
}

}  // namespace
