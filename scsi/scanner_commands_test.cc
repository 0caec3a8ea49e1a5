// Every command routine sends exactly the request block of the scanner's command set.
#include "scsi/scanner_commands.h"

#include <gtest/gtest.h>

#include <functional>

#include "shell/program_state.h"
#include "tests/support/hex_text.h"
#include "tests/support/program_bench.h"

namespace {

// A request of the table: the CDB, SRB_Flags, SRB_BufLen and, for commands that send data, the
// whole buffer (trailing zeros written as a count).
struct Expected {
  const char* routine;
  std::function<int()> send;
  std::string cdb;
  uint8_t flags;
  uint32_t bufferLength;
  std::string dataOut = "";
  size_t zerosAfter = 0;
};

const std::string kWindowCommon =
    "00 00 00 00 00 00 00 40  00 00 01 54 01 54 00 00 00 00 00 00 00 00 00 00 0A 20 00 00 0F 30";

std::vector<Expected> Table() {
  static uint8_t image[kReadImageBufferLength];
  static uint8_t bufferF9[512];
  return {
      {"TestUnitReady", [] { return TestUnitReady(nullptr, 0); }, "00 00 00 00 00 00", 0x00, 0},
      {"ReserveUnit", [] { return ReserveUnit(nullptr, 0); }, "16 00 00 00 00 00", 0x00, 0},
      {"ReleaseUnit", [] { return ReleaseUnit(nullptr, 0); }, "17 00 00 00 00 00", 0x00, 0},
      {"ScanCommand", [] { return ScanCommand(nullptr, 0); }, "1B 00 00 00 01 00", 0x00, 5, "", 5},
      {"SetWindowT1", [] { return SetWindowT1(nullptr, 0); }, "24 00 00 00 00 00 00 00 48 00", 0x00,
       75,
       kWindowCommon + " 80 80 80 05 08 00 00 83 00 00 00 00 00 00 00 00 00 00" +
           " 00 00 09 00 00 00 02 00 00 01 01 00 00 00 FF 00 00 00 00 00 01 00 00 00",
       3},
      {"SetWindowT2", [] { return SetWindowT2(nullptr, 0); }, "24 00 00 00 00 00 00 00 48 00", 0x00,
       75,
       kWindowCommon + " 00 00 00 05 08 00 01 83 00 00 00 00 00 00 00 00 00 00" +
           " 00 00 09 00 00 00 02 00 00 01 01 FF 00 00 FF 00 00 00 00 00 01 00 FF 00",
       3},
      {"ReadImage", [] { return ReadImage(nullptr, 29000, image, 0); },
       "28 00 00 00 00 00 00 71 48 00", 0x08, 30000},
      {"SendGamma8Bit", [] { return SendGamma8Bit(nullptr, 0x0200, 0); },
       "2A 00 03 00 02 00 00 01 00 00", 0x00, 300},
      {"SendGamma16Bit", [] { return SendGamma16Bit(nullptr, 0x0300, 0); },
       "2A 00 03 00 03 00 00 20 00 00", 0x00, 8192},
      {"MediumPosition", [] { return MediumPosition(nullptr, 0); }, "31 00 00 00 00 00 00 00 00 00",
       0x00, 0},
      {"GetDataStatus", [] { return GetDataStatus(nullptr, 0); }, "34 00 00 00 00 00 00 00 1C 00",
       0x00, 35},
      {"DefineScanModePage02", [] { return DefineScanModePage02(nullptr, 0); }, "D6 10 00 00 0C 00",
       0x00, 15, "00 00 00 08 02 06 80 05 27 10 03 00", 3},
      {"DefineScanModePage20", [] { return DefineScanModePage20(nullptr, 0); }, "D6 10 00 00 16 00",
       0x00, 25, "00 00 00 11 20 10 00 00 00 00 00 00 00 00 00 00 00 00 00 00 02 0C", 3},
      {"ExecuteAutoFocus", [] { return ExecuteAutoFocus(nullptr, 0); },
       "E0 01 01 00 00 00 00 00 00 00", 0x00, 0},
      {"ReadBuffer", [] { return ReadBuffer(nullptr, 0xF9, 0, bufferF9, 512, 0); },
       "3C 02 F9 00 00 00 00 02 00 00", 0x08, 512},
      {"ReadBufferOffsetAndLength",
       [] { return ReadBuffer(nullptr, 0x04, 0x123456, bufferF9, 5, 0); },
       "3C 02 04 12 34 56 00 00 05 00", 0x08, 5},
  };
}

TEST(ScannerCommandsTest, EachRoutineSendsItsRequestBlock) {
  ProgramBench bench("scanner=1:3,adapters=2");
  bench.Start();
  ASSERT_EQ(deviceAddress.target, 3);
  scanResolution = 340;
  for (const Expected& expected : Table()) {
    SCOPED_TRACE(expected.routine);
    bench.ClearRequests();
    expected.send();
    const std::vector<RecordedRequest> requests = bench.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const RecordedRequest& request = requests[0];
    EXPECT_EQ(request.command, SC_EXEC_SCSI_CMD);
    EXPECT_EQ(request.hostAdapter, 1);
    EXPECT_EQ(request.target, 3);
    EXPECT_EQ(request.cdb, HexBytes(expected.cdb));
    EXPECT_EQ(request.flags, expected.flags);
    EXPECT_EQ(request.bufferLength, expected.bufferLength);
    if (!expected.dataOut.empty() || expected.zerosAfter > 0) {
      std::vector<uint8_t> out = HexBytes(expected.dataOut);
      out.resize(out.size() + expected.zerosAfter, 0);
      EXPECT_EQ(request.dataOut, out);
    }
  }
}

TEST(ScannerCommandsTest, GammaTablesTellingEntries) {
  ProgramBench bench;
  bench.Start();
  SendGamma8Bit(nullptr, 0x0100, 0);
  SendGamma16Bit(nullptr, 0x0100, 0);
  const std::vector<RecordedRequest> requests = bench.Requests();
  const std::vector<uint8_t>& curve = requests.at(requests.size() - 2).dataOut;
  ASSERT_EQ(curve.size(), 300u);
  EXPECT_EQ(std::vector<uint8_t>(curve.begin(), curve.begin() + 11),
            HexBytes("00000000000000000000 01"));
  EXPECT_EQ((std::vector<uint8_t>{curve[64], curve[128], curve[192], curve[254], curve[255]}),
            (std::vector<uint8_t>{24, 79, 157, 253, 255}));
  EXPECT_EQ(std::vector<uint8_t>(curve.begin() + 256, curve.end()), std::vector<uint8_t>(44, 0));

  const std::vector<uint8_t>& linear = requests.back().dataOut;
  ASSERT_EQ(linear.size(), 8192u);
  EXPECT_EQ(std::vector<uint8_t>(linear.begin(), linear.begin() + 10),
            HexBytes("00000000 00000000 0100"));
  EXPECT_EQ((std::vector<uint8_t>{linear[16], linear[17], linear[8190], linear[8191]}),
            (std::vector<uint8_t>{0x02, 0x00, 0xFF, 0x03}));
}

TEST(ScannerCommandsTest, ResetIsABusDeviceResetOfTheScannersTarget) {
  ProgramBench bench("scanner=0:6");
  bench.Start();
  bench.ClearRequests();
  EXPECT_EQ(ResetScanner(nullptr, 1), SS_COMP);
  const std::vector<RecordedRequest> requests = bench.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].command, SC_RESET_DEV);
  EXPECT_EQ(requests[0].target, 6);
  EXPECT_EQ(requests[0].flags, 0);

  deviceAddress = {0, 5};  // no device there
  EXPECT_EQ(ResetScanner(nullptr, 1), SS_NO_DEVICE);
  EXPECT_EQ(bench.frontEnd().BoxTexts(), std::vector<std::string>{"*** Error in Reset ***"});
}

}  // namespace
