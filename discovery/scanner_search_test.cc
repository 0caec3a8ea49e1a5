#include "discovery/scanner_search.h"

#include <gtest/gtest.h>

#include "platform/linux/linux_ui.h"
#include "resources/ids.h"
#include "shell/program_state.h"
#include "tests/support/program_bench.h"

namespace {

using Lines = std::vector<std::string>;

// The page shows where the scanner answered and its texts as sent: up to their width or a zero
// byte, nothing that did not arrive (also when an earlier device sent more), and the model's
// name only for the two models.
TEST(ScannerSearchTest, InformationPageShowsTheScannersTexts) {
  const std::vector<std::pair<const char*, Lines>> cases = {
      {"model=t1,scanner=1:0,adapters=2",
       {"20 35 Scanner ID(Board# 1) : 0", "20 55 Vendor  ID           : QUORVEL ",
        "20 75 Product ID           : ZR-40113A(Tessaline T1)",
        "20 95 ROM Version          : 1.10"}},
      {"model=none,device=0:6:ZR-40199X1234567:ACME:0.9",
       {"20 35 Scanner ID(Board# 0) : 6", "20 55 Vendor  ID           : ACME    ",
        "20 75 Product ID           : ZR-40199X1234567", "20 95 ROM Version          : 0.9 "}},
      // The product identification is cut after nine characters, the revision is missing.
      {"device=0:1:DISK:ACME:9.99,vendor=QU\\x00RVEL,inquirylen=25",
       {"20 35 Scanner ID(Board# 0) : 2", "20 55 Vendor  ID           : QU",
        "20 75 Product ID           : ZR-40123B(Tessaline T2)", "20 95 ROM Version          : "}},
  };
  for (const auto& [config, lines] : cases) {
    ProgramBench bench(config);
    bench.Start();
    bench.Command(IDM_SCANNER_INFORMATION);
    Lines page = {"10 10 ** Scanner Information **"};
    page.insert(page.end(), lines.begin(), lines.end());
    EXPECT_EQ(bench.SurfaceLines(), page) << config;
  }
}

// Targets 0 to 6 of adapter 0, then of adapter 1: the device at 1:0 wins over the scanner at 1:1,
// and the one at 0:7 is never asked.
TEST(ScannerSearchTest, OrderIsAdaptersThenTargetsZeroToSixAndTheFirstMatchWins) {
  ProgramBench bench("adapters=2,scanner=1:1,device=1:0:ZR-0,device=0:7:ZR-7,device=0:6:DISK");
  bench.Start();
  EXPECT_EQ(bench.Requests().size(), 8u);
  EXPECT_EQ(deviceAddress.hostAdapter, 1);
  EXPECT_EQ(deviceAddress.target, 0);
  EXPECT_STREQ(productId, "ZR-0     ");  // padded with spaces, as devices report
}

// A failing INQUIRY ends the search, here the one of a command after a successful search: SS_ERR
// says "not found", any other status "not gained". The scanner then counts as not found, keeps
// its address and product, and the page stays empty.
TEST(ScannerSearchTest, AFailingInquiryEndsTheSearchAndTheScannerIsNotFound) {
  for (const auto& [status, box] :
       {std::pair{"04:11",
                  "Scanner is not found.\nCheck if the cable is properly connected\nand "
                  "the power is on."},
        std::pair{"02", "Scanner Information was not gained."}}) {
    ProgramBench bench(std::string("model=t1,scanner=1:4,adapters=2,fail=inquiry@2:") + status);
    bench.Start();
    ASSERT_EQ(scannerFound, 1);
    bench.ClearRequests();
    bench.Command(IDM_SCANNER_INFORMATION);
    EXPECT_EQ(bench.Requests().size(), 12u);  // none after the scanner's
    EXPECT_EQ(bench.frontEnd().BoxTexts(), Lines{box}) << status;
    EXPECT_EQ(scannerFound, 0);
    EXPECT_EQ(deviceAddress.hostAdapter, 1);
    EXPECT_EQ(deviceAddress.target, 4);
    EXPECT_STREQ(productId, "ZR-40113A");
    EXPECT_TRUE(bench.SurfaceLines().empty());
  }
}

// A device on an earlier adapter that does not answer its selection ends the whole search: the
// scanner on the next adapter is never asked.
TEST(ScannerSearchTest, ATargetThatIsNotSelectedEndsTheSearchOnEveryAdapter) {
  ProgramBench bench("adapters=2,scanner=1:0,selfail=0:3");
  bench.Start();
  EXPECT_EQ(bench.Requests().size(), 4u);
  EXPECT_EQ(scannerFound, 0);
  EXPECT_EQ(bench.frontEnd().BoxTexts().size(), 1u);
}

}  // namespace
