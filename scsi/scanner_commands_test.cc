// Every command routine sends exactly the request block of the scanner's command set, to the
// scanner's address.
#include "scsi/scanner_commands.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "shell/program_state.h"
#include "tests/support/program_bench.h"
#include "tests/support/test_text.h"

namespace {

// A request of the table: the CDB, SRB_Flags, SRB_BufLen and what the command sends: nothing
// (nullptr), or the whole buffer as its first bytes followed by zeros, or for a gamma table some
// of its bytes ("OFFSET:VALUE ...", decimal).
struct Expected {
  std::function<void()> send;
  std::string cdb;
  uint8_t flags;
  uint32_t bufferLength;
  const char* dataOut = nullptr;
  const char* gammaBytes = nullptr;
  uint8_t command = SC_EXEC_SCSI_CMD;
};

const std::string kWindowCommon =
    "00 00 00 00 00 00 00 40  00 00 01 54 01 54 00 00 00 00 00 00 00 00 00 00 0A 20 00 00 0F 30";
const std::string kWindowT1 = kWindowCommon +
                              " 80 80 80 05 08 00 00 83 00 00 00 00 00 00 00 00 00 00 00 00 09 00"
                              " 00 00 02 00 00 01 01 00 00 00 FF 00 00 00 00 00 01 00 00 00";
const std::string kWindowT2 = kWindowCommon +
                              " 00 00 00 05 08 00 01 83 00 00 00 00 00 00 00 00 00 00 00 00 09 00"
                              " 00 00 02 00 00 01 01 FF 00 00 FF 00 00 00 00 00 01 00 FF 00";

TEST(ScannerCommandsTest, EachRoutineSendsItsRequestBlock) {
  static uint8_t buffer[kReadImageBufferLength];
  const std::vector<Expected> table = {
      {[] { TestUnitReady(nullptr, 0); }, "00 00 00 00 00 00", 0, 0},
      {[] { ReserveUnit(nullptr, 0); }, "16 00 00 00 00 00", 0, 0},
      {[] { ReleaseUnit(nullptr, 0); }, "17 00 00 00 00 00", 0, 0},
      {[] { ScanCommand(nullptr, 0); }, "1B 00 00 00 01 00", 0, 5, ""},
      {[] { SetWindowT1(nullptr, 0); }, "24 00 00 00 00 00 00 00 48 00", 0, 75, kWindowT1.c_str()},
      {[] { SetWindowT2(nullptr, 0); }, "24 00 00 00 00 00 00 00 48 00", 0, 75, kWindowT2.c_str()},
      {[] { ReadImage(nullptr, 29000, buffer, 0); }, "28 00 00 00 00 00 00 71 48 00", 0x08, 30000},
      // The T1's curve (exponent 1.7, truncated) fills 256 bytes of 300.
      {[] { SendGamma8Bit(nullptr, 0x0200, 0); }, "2A 00 03 00 02 00 00 01 00 00", 0, 300, nullptr,
       "9:0 128:79 255:255 256:0"},
      // The T2's line: each 10-bit value in four entries, least significant byte first.
      {[] { SendGamma16Bit(nullptr, 0x0300, 0); }, "2A 00 03 00 03 00 00 20 00 00", 0, 8192,
       nullptr, "6:0 8:1 9:0 8191:3"},
      {[] { MediumPosition(nullptr, 0); }, "31 00 00 00 00 00 00 00 00 00", 0, 0},
      {[] { GetDataStatus(nullptr, 0); }, "34 00 00 00 00 00 00 00 1C 00", 0, 35},
      {[] { DefineScanModePage02(nullptr, 0); }, "D6 10 00 00 0C 00", 0, 15,
       "00 00 00 08 02 06 80 05 27 10 03 00"},
      {[] { DefineScanModePage20(nullptr, 0); }, "D6 10 00 00 16 00", 0, 25,
       "00 00 00 11 20 10 00 00 00 00 00 00 00 00 00 00 00 00 00 00 02 0C"},
      {[] { ExecuteAutoFocus(nullptr, 0); }, "E0 01 01 00 00 00 00 00 00 00", 0, 0},
      {[] { ReadBuffer(nullptr, 0xF9, 0, buffer, 512, 0); }, "3C 02 F9 00 00 00 00 02 00 00", 0x08,
       512},
      {[] { ReadBuffer(nullptr, 0x04, 0x123456, buffer, 5, 0); }, "3C 02 04 12 34 56 00 00 05 00",
       0x08, 5},
      {[] { ResetScanner(nullptr, 0); }, "", 0, 0, nullptr, nullptr, SC_RESET_DEV},
  };
  ProgramBench bench("scanner=1:3,adapters=2");
  bench.Start();
  ASSERT_EQ(deviceAddress.target, 3);
  scanResolution = 340;
  for (const Expected& expected : table) {
    SCOPED_TRACE(expected.cdb);
    bench.ClearRequests();
    expected.send();
    const std::vector<RecordedRequest> requests = bench.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const RecordedRequest& request = requests[0];
    EXPECT_EQ(request.command, expected.command);
    EXPECT_EQ(request.hostAdapter, 1);
    EXPECT_EQ(request.target, 3);
    EXPECT_EQ(request.cdb, HexBytes(expected.cdb));
    EXPECT_EQ(request.flags, expected.flags);
    EXPECT_EQ(request.bufferLength, expected.bufferLength);
    if (expected.gammaBytes == nullptr) {
      std::vector<uint8_t> out;
      if (expected.dataOut != nullptr) {
        out = HexBytes(expected.dataOut);
        out.resize(expected.bufferLength, 0);
      }
      EXPECT_EQ(request.dataOut, out);
    } else {
      ASSERT_EQ(request.dataOut.size(), expected.bufferLength);
      std::istringstream samples(expected.gammaBytes);
      size_t at;
      char colon;
      unsigned value;
      while (samples >> at >> colon >> value) EXPECT_EQ(request.dataOut.at(at), value) << at;
    }
  }
}

}  // namespace
