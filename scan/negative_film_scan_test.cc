#include "scan/negative_film_scan.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "platform/linux/linux_ui.h"
#include "resources/ids.h"
#include "shell/program_state.h"
#include "sim/negative_image.h"
#include "tests/support/program_bench.h"
#include "tests/support/temp_directory.h"
#include "tests/support/test_text.h"
#include "tests/support/tiff_expectations.h"

namespace {

using Texts = std::vector<std::string>;

const std::string kStatus = "34000000000000001C00";
const Texts kReleased = {"31000000000000000000", "170000000000"};
const std::string kNoImage = "No image was scanned.";

std::string ReadCdb(uint32_t length) {
  char cdb[32];
  std::snprintf(cdb, sizeof cdb, "280000000000%06X00", length & 0xFFFFFFu);
  return cdb;
}

// The CDBs of a whole scan, written from the command set: preparation for the model, then READs
// of at most 29000 bytes, each followed by GET DATA BUFFER STATUS, until `imageBytes` arrived.
Texts ExpectedScan(const std::string& model, uint32_t imageBytes) {
  Texts cdbs = {"000000000000", "000000000000", "160000000000"};
  const std::string gamma = model == "t1" ? "0000010000" : "0000200000";
  if (model == "t2") cdbs.push_back("D61000001600");
  if (model != "neither") cdbs.push_back("24000000000000004800");
  for (const char* colour : {"01", "02", "03"}) {
    if (model != "neither") cdbs.push_back("2A000300" + std::string(colour) + gamma);
  }
  cdbs.insert(cdbs.end(), {"D61000000C00", "E0010100000000000000", "1B0000000100", kStatus});
  for (uint32_t left = imageBytes; left > 0; left -= std::min(left, 29000u)) {
    cdbs.insert(cdbs.end(), {ReadCdb(std::min(left, 29000u)), kStatus});
  }
  cdbs.insert(cdbs.end(), kReleased.begin(), kReleased.end());
  return cdbs;
}

class ScanTest : public testing::Test {
 protected:
  // Opens the scan dialog and clicks through it (the default: Scan on 340 dpi into a file).
  Texts Scan(ProgramBench& bench, std::vector<int> clicks = {IDC_SCAN}) {
    bench.Start();
    bench.frontEnd().Clear();
    bench.ClearRequests();
    bench.frontEnd().ClickInNextDialog(std::move(clicks));
    bench.Command(IDM_SCAN_NEGATIVE_FILM);
    EXPECT_FALSE(WaitCursorCurrent());
    EXPECT_EQ(CursorShowCount(), 0);
    Texts cdbs;
    for (const RecordedRequest& request : bench.Requests()) cdbs.push_back(HexText(request.cdb));
    return cdbs;
  }

  ScopedTempDirectory directory_;
};

// Every request of a whole scan, on each model and at the edges of the chunking (no READ for an
// empty image, one for exactly one chunk, two for one byte more); libtiff reads the files back.
TEST_F(ScanTest, CommandSequenceAndFileOfEachModel) {
  struct Case {
    std::string config, model;
    std::vector<int> clicks;
    uint32_t dpi;  // 0: the image's size is given by `geometry`
    uint32_t imageBytes;
  };
  const std::vector<Case> cases = {
      {"model=t2", "t2", {IDC_SCAN}, 340, 324 * 3 * 486},
      {"model=t1", "t1", {IDC_RESOLUTION_680, IDC_SCAN}, 680, 648 * 3 * 972},
      {"", "t2", {IDC_RESOLUTION_2720, IDC_READ_IN_MEMORY, IDC_SCAN}, 0, 2592 * 3 * 3888},
      // Every request completed later by the simulator's own thread.
      {"late=1,geometry=30000:2,readtime=2", "t2", {IDC_READ_IN_MEMORY, IDC_SCAN}, 0, 60000},
      {"geometry=0:0", "t2", {IDC_SCAN}, 0, 0},
      {"geometry=29000:1", "t2", {IDC_SCAN}, 0, 29000},
      {"geometry=29001:1", "t2", {IDC_SCAN}, 0, 29001},
      // A "ZR-" scanner of neither model gets no window, so SCAN is refused and the scan ends.
      {"product=ZR-40999X,geometry=30:2", "neither", {IDC_SCAN}, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.config);
    std::filesystem::remove_all("img_fs.tif");
    ProgramBench bench(c.config);
    Texts expected = ExpectedScan(c.model, c.imageBytes);
    if (c.model == "neither") expected.resize(6);  // up to the refused SCAN
    EXPECT_EQ(Scan(bench, c.clicks), expected);
    if (c.model == "neither") continue;
    EXPECT_EQ(bench.frontEnd().BoxTexts(), Texts{"Image was scanned."});
    if (std::count(c.clicks.begin(), c.clicks.end(), IDC_READ_IN_MEMORY) > 0) {
      EXPECT_FALSE(std::filesystem::exists("img_fs.tif"));
    } else if (c.dpi == 0) {
      EXPECT_EQ(std::filesystem::file_size("img_fs.tif"), 216u + c.imageBytes);
    } else {
      const uint32_t width = 2592 * c.dpi / 2720, lines = 3888 * c.dpi / 2720;
      ExpectTiffHolds(width, lines, c.dpi, NegativeImage(3 * width, lines));
    }
  }
}

// Ways a scan fails, in its preparation or in the transfer (among them every way a scanner can
// stop making progress): what the user is told (a failing command's box stands over the scan
// dialog, owned by it, while the wait cursor is up), how many READs it took, how far the scanner
// was taken, the progress shown (never past the announced image) and what img_fs.tif holds
// afterwards: never more than its header declares, and no TIFF unless it holds all of that.
TEST_F(ScanTest, FailuresEndTheScanOnlyWhereTheyDecide) {
  struct Case {
    const char* config;
    Texts boxes;
    long reads;
    Texts ending;                // the last commands sent
    bool reserved;               // afterwards
    long fileSize;               // -1: no file
    size_t zerosAt = 0;          // where a lost chunk stands as zeros, not as the chunk before it
    std::string file = "";       // what stands at img_fs.tif before the scan
    bool scannedBefore = false;  // a scan into memory came first
  };
  const auto error = [](const std::string& command) { return "*** Error in " + command + " ***"; };
  const std::string statusError = error("Get Data Status"), readError = error("Read");
  const std::string page02Error = error("Define Scan Mode(Page Code 02h)");
  const std::string scanned = "Image was scanned.";
  const Texts window = {"24000000000000004800"};
  // clang-format off
  const std::vector<Case> cases = {
      // The commands whose status decides end the scan where they fail; after the others the scan
      // goes on to its end.
      {"fail=tur@2", {error("Test Unit Ready"), kNoImage}, 0, {"000000000000"}, false, -1},
      {"fail=reserve", {error("Reserve Unit"), kNoImage}, 0, {"160000000000"}, false, -1},
      {"model=t1,fail=setwindow", {error("Set Window"), kNoImage}, 0, window, true, -1},
      {"fail=setwindow", {error("Set Window"), kNoImage}, 0, window, true, -1},
      {"fail=mode@1", {page02Error, kNoImage}, 0, {"D61000001600"}, true, -1},
      {"fail=scan", {error("Scan"), kNoImage}, 0, {"1B0000000100"}, true, -1},
      {"geometry=3000:20,fail=send@2", {error("Send"), scanned}, 3, kReleased, false, 60216},
      {"geometry=3000:20,model=t1,fail=send", {error("Send"), error("Send"), error("Send"), scanned},
       3, kReleased, false, 60216},
      {"geometry=3000:20,fail=mode@2", {page02Error, scanned}, 3, kReleased, false, 60216},
      {"geometry=3000:20,fail=focus", {error("Execute Auto Focus"), scanned}, 3, kReleased, false,
       60216},
      {"geometry=3000:20,fail=position", {error("Medium Position"), scanned}, 3, kReleased, false,
       60216},
      {"geometry=3000:20,fail=release", {error("Release Unit"), scanned}, 3, kReleased, true, 60216},
      // Every READ fails: three rounds, then given up (short READs: the end-to-end test).
      {"fail=read", {readError, readError, readError, kNoImage}, 3, kReleased, false, 216 + 87000},
      // READs succeed but the remaining count is stuck, or grows past what was announced: the
      // scanner asks for more than the image it announced.
      {"geometry=30000:10,remaining=same@2+", {kNoImage}, 1, kReleased, false, 216 + 29000},
      {"geometry=30000:2,remaining=90000@2", {kNoImage}, 1, kReleased, false, 216 + 29000},
      // A scanner that claims to be done before the announced bytes arrived.
      {"geometry=30000:2,remaining=0@2", {kNoImage}, 1, kReleased, false, 216 + 29000},
      // A READ that fails once: the scanner is drained all the same.
      {"geometry=30000:2,fail=read@2", {readError, kNoImage}, 4, kReleased, false, 216 + 60000,
       216 + 29000},
      // Every other READ fails: each round that makes progress starts the count of rounds
      // without it again, so the scan runs to its end.
      {"geometry=30000:4,fail=read@2,fail=read@4,fail=read@6", {readError, readError, readError,
       kNoImage}, 8, kReleased, false, 216 + 120000},
      // Status reports that fail two at a time never end the transfer: each one that arrives
      // starts the count again.
      {"geometry=29000:10,fail=status@2,fail=status@3,fail=status@5,fail=status@6",
       {statusError, statusError, statusError, statusError, scanned}, 10, kReleased, false,
       216 + 290000},
      // A READ repeated after a failed status counts its bytes again: once more have arrived than
      // were announced, the scan ends, although the scanner's remaining count looks plausible.
      {"geometry=3000:10,remaining=3000@1,fail=status@2", {statusError, kNoImage}, 2, kReleased,
       false, 216 + 3000},
      // The READ sized from a stale report asks for more than remains.
      {"geometry=3000:20,fail=status@3", {statusError, readError, kNoImage}, 4, kReleased, false,
       216 + 60000, 216 + 58000},
      // A READ short by 100 bytes: the rest is fetched before the scan is reported as failed.
      {"geometry=30000:1,shortread=100@1", {readError, kNoImage}, 2, kReleased, false, 216 + 30000},
      // The image stays in the scanner, which stays reserved.
      {"", {"File was not opened.", kNoImage}, 0, {kStatus}, true, -1, 0, "directory"},
      // A full disk: the scanner is drained all the same, but not positioned or released.
      {"geometry=3000:25", {"File was not closed.", kNoImage}, 3, {kStatus}, true, -1, 0, "/dev/full"},
      // Three failed status reports in a row end the transfer. The scanner announced 3000 bytes,
      // and each repeated READ counts its bytes again: the user is shown no more than 3000.
      {"geometry=3000:10,remaining=3000@1,fail=status@2+",
       {statusError, statusError, statusError, kNoImage}, 3, {kStatus}, true, 216 + 3000},
      // Without the first status report the image's size is unknown: no READ, no TIFF; also
      // when an earlier scan reported a size, which is not this scan's.
      {"fail=status@1", {statusError, kNoImage}, 0, kReleased, false, 216},
      {"geometry=30000:2,remaining=same@2+,fail=status@3", {statusError, kNoImage}, 0, kReleased,
       false, 216, 0, "", true},
      // A scanner that gave no answer once serves the next scan as if nothing had happened.
      {"geometry=3000:2,fail=tur@1:04:11", {scanned}, 1, kReleased, false, 6216, 0, "", true},
      // A request that gets no answer from the scanner (a time-out, a selection that goes
      // unanswered, a device that is gone, a target that lost it) ends the scan where it stands:
      // its box, and nothing more is sent, OBJECT POSITION and RELEASE UNIT neither.
      {"fail=tur@1:04:11", {kNoImage}, 0, {"000000000000"}, false, -1},
      {"fail=send@2:04:0B", {error("Send"), kNoImage}, 0, {"2A000300020000200000"}, true, -1},
      {"model=t1,fail=send@3:82", {error("Send"), kNoImage}, 0, {"2A000300030000010000"}, true, -1},
      {"fail=mode@2:04:09", {page02Error, kNoImage}, 0, {"D61000000C00"}, true, -1},
      {"fail=focus:02", {error("Execute Auto Focus"), kNoImage}, 0, {"E0010100000000000000"}, true,
       -1},
      {"fail=status@1:04:0B", {statusError, kNoImage}, 0, {kStatus}, true, 216},
      {"geometry=30000:2,fail=read@2:04:0B", {readError, kNoImage}, 2, {ReadCdb(29000)}, true,
       216 + 29000},
      {"geometry=30000:2,fail=read@2:04:00:02:08:00", {readError, kNoImage}, 2, {ReadCdb(29000)},
       true, 216 + 29000},
      {"geometry=30000:2,fail=status@2:82", {statusError, kNoImage}, 1, {kStatus}, true,
       216 + 29000},
      {"geometry=3000:20,fail=position:04:11", {error("Medium Position"), scanned}, 3,
       {"31000000000000000000"}, true, 60216},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.config);
    std::filesystem::remove_all("img_fs.tif");
    if (c.file == "directory") std::filesystem::create_directory("img_fs.tif");
    ASSERT_TRUE(c.file != "/dev/full" || symlink(c.file.c_str(), "img_fs.tif") == 0);
    ProgramBench bench(c.config);
    if (c.scannedBefore) Scan(bench, {IDC_READ_IN_MEMORY, IDC_SCAN});
    const Texts cdbs = Scan(bench);
    EXPECT_EQ(bench.frontEnd().BoxTexts(), c.boxes);
    for (const RecordedBox& box : bench.frontEnd().boxes()) {
      const bool ownedByDialog = box.owner != nullptr && box.owner != MainWindow();
      const bool commandBox = box.text.rfind("***", 0) == 0;
      const unsigned type = commandBox ? 0x10 : box.text == scanned ? 0x2040 : 0x2010;
      const bool last = &box == &bench.frontEnd().boxes().back();  // after the wait cursor
      EXPECT_EQ((std::tuple{ownedByDialog, box.busy, box.type}),
                (std::tuple{commandBox, !last, type}));
    }
    EXPECT_EQ(std::count_if(cdbs.begin(), cdbs.end(),
                            [](const std::string& cdb) { return cdb.rfind("28", 0) == 0; }),
              c.reads);
    EXPECT_EQ(Texts(cdbs.end() - c.ending.size(), cdbs.end()), c.ending);
    EXPECT_EQ(bench.bus().scanner()->reserved(), c.reserved);
    for (const auto& [done, total] : bench.frontEnd().progress()) EXPECT_LE(done, total);
    if (c.fileSize < 0) continue;
    const std::string file = directory_.Read("img_fs.tif");
    EXPECT_EQ(file.size(), static_cast<size_t>(c.fileSize));
    EXPECT_LE(file.size(), DeclaredImageFileSize(file));
    EXPECT_TRUE(c.reads != 0 || DeclaredImageFileSize(file) == 216);  // no size, none declared
    // A TIFF only when it holds every byte it declares; a header that declares no image data at
    // all here is that of a scan whose size stayed unknown.
    EXPECT_EQ(file[2] == 42,
              file.size() == DeclaredImageFileSize(file) && DeclaredImageFileSize(file) > 216);
    EXPECT_TRUE(c.zerosAt == 0 || file.substr(c.zerosAt, 2000) == std::string(2000, '\0'));
  }
}

}  // namespace
