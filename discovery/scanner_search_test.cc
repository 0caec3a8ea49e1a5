#include "discovery/scanner_search.h"

#include <gtest/gtest.h>

#include "platform/linux/linux_ui.h"
#include "resources/ids.h"
#include "shell/program_state.h"
#include "tests/support/program_bench.h"

namespace {

using Lines = std::vector<std::string>;

TEST(ScannerSearchTest, ScannerInformationPageOfAT2) {
  ProgramBench bench("scanner=0:5");
  bench.Start();
  bench.Command(IDM_SCANNER_INFORMATION);
  EXPECT_EQ(bench.SurfaceLines(),
            (Lines{"10 10 ** Scanner Information **", "20 35 Scanner ID(Board# 0) : 5",
                   "20 55 Vendor  ID           : QUORVEL ",
                   "20 75 Product ID           : ZR-40123B(Tessaline T2)",
                   "20 95 ROM Version          : 1.32"}));
  EXPECT_EQ(deviceAddress.hostAdapter, 0);
  EXPECT_EQ(deviceAddress.target, 5);
}

TEST(ScannerSearchTest, T1LabelAndAnotherZrModelWithoutLabel) {
  ProgramBench t1("model=t1,scanner=1:0,adapters=2");
  t1.Start();
  t1.Command(IDM_SCANNER_INFORMATION);
  EXPECT_EQ(t1.SurfaceLines()[1], "20 35 Scanner ID(Board# 1) : 0");
  EXPECT_EQ(t1.SurfaceLines()[3], "20 75 Product ID           : ZR-40113A(Tessaline T1)");

  ProgramBench other("model=none,device=0:6:ZR-40199X1234567:ACME:0.9");
  other.Start();
  other.Command(IDM_SCANNER_INFORMATION);
  EXPECT_EQ(other.SurfaceLines()[3], "20 75 Product ID           : ZR-40199X1234567");
  EXPECT_STREQ(productId, "ZR-40199X");  // the first nine characters
}

TEST(ScannerSearchTest, OrderIsAdaptersThenTargetsZeroToSixAndTheFirstMatchWins) {
  ProgramBench bench("adapters=2,scanner=1:1,device=1:0:ZR-0,device=0:7:ZR-7,device=0:6:DISK");
  bench.Start();
  std::vector<std::pair<int, int>> probed;
  for (const RecordedRequest& request : bench.Requests()) {
    probed.emplace_back(request.hostAdapter, request.target);
  }
  const std::vector<std::pair<int, int>> expected = {{0, 0}, {0, 1}, {0, 2}, {0, 3},
                                                     {0, 4}, {0, 5}, {0, 6}, {1, 0}};
  EXPECT_EQ(probed, expected);           // target 7 is never asked; the device at 1:0 wins over 1:1
  EXPECT_STREQ(productId, "ZR-0     ");  // padded with spaces, as devices report
  EXPECT_EQ(deviceAddress.hostAdapter, 1);
  EXPECT_EQ(deviceAddress.target, 0);
}

TEST(ScannerSearchTest, AnErrorEndsTheSearchEvenWithTheScannerAtALaterAddress) {
  ProgramBench bench("selfail=0:1,scanner=0:3");
  bench.Start();
  EXPECT_EQ(bench.Requests().size(), 2u);
  EXPECT_EQ(scannerFound, 0);
}

TEST(ScannerSearchTest, UnknownStatusesEndTheSearchWithNotGained) {
  for (const char* status : {"02", "81", "E0", "7F"}) {
    ProgramBench bench(std::string("status=0:0:") + status);
    bench.Start();
    EXPECT_EQ(bench.frontEnd().BoxTexts(), Lines{"Scanner Information was not gained."}) << status;
  }
}

TEST(ScannerSearchTest, AFailedSearchAfterASuccessfulOneKeepsAddressAndProduct) {
  // The scanner's second INQUIRY fails its selection.
  ProgramBench bench("model=t1,scanner=1:4,adapters=2,fail=inquiry@2:04:11");
  bench.Start();
  ASSERT_EQ(scannerFound, 1);
  bench.Command(IDM_SCANNER_INFORMATION);
  EXPECT_EQ(bench.frontEnd().BoxTexts(),
            Lines{"Scanner is not found.\nCheck if the cable is properly connected\nand the "
                  "power is on."});
  EXPECT_EQ(scannerFound, 0);
  EXPECT_EQ(deviceAddress.hostAdapter, 1);
  EXPECT_EQ(deviceAddress.target, 4);
  EXPECT_STREQ(productId, "ZR-40113A");
  EXPECT_TRUE(bench.SurfaceLines().empty());  // cleared, nothing drawn
}

TEST(ScannerSearchTest, DisplayZeroClearsTheSurfaceAndDrawsNothing) {
  ProgramBench bench;
  bench.Start();
  DrawTextLine(20, 200, "left over");
  EXPECT_EQ(SearchScanner(MainWindow(), 0), 1);
  EXPECT_TRUE(bench.SurfaceLines().empty());
  EXPECT_EQ(SearchScanner(MainWindow(), 2), 1);  // only 1 draws the page
  EXPECT_TRUE(bench.SurfaceLines().empty());
}

TEST(ScannerSearchTest, DeviceTextsAreTakenUpToTheirWidthOrAZeroByte) {
  // A vendor with a zero byte at its third position, non-printing bytes in the revision.
  ProgramBench bench("vendor=QU\\x00RVEL,revision=\\x01\\x1b[2J");
  bench.Start();
  bench.Command(IDM_SCANNER_INFORMATION);
  EXPECT_EQ(bench.SurfaceLines()[2], "20 55 Vendor  ID           : QU");
  EXPECT_EQ(bench.SurfaceLines()[4], "20 95 ROM Version          : \x01\x1b[2");
}

TEST(ScannerSearchTest, InquiryWithoutDataNeverMatchesNorShowsStaleBytes) {
  // The scanner answers INQUIRY with no data at all; the device before it had a "ZR-" product.
  ProgramBench bench("inquirylen=0,scanner=0:3,device=0:1:DISK-ZR-");
  bench.Start();
  EXPECT_EQ(bench.Requests().size(), 7u);
  EXPECT_STREQ(productId, "");
}

TEST(ScannerSearchTest, ShortInquiryShowsOnlyWhatArrived) {
  ProgramBench bench("inquirylen=25");  // product identification cut after nine characters
  bench.Start();
  bench.Command(IDM_SCANNER_INFORMATION);
  EXPECT_EQ(bench.SurfaceLines()[3], "20 75 Product ID           : ZR-40123B(Tessaline T2)");
  EXPECT_EQ(bench.SurfaceLines()[4], "20 95 ROM Version          : ");
}

}  // namespace
