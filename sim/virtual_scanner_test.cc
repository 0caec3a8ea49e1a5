// The simulated scanner behaves like a strict device: it refuses what a real one would.
#include "sim/virtual_scanner.h"

#include <gtest/gtest.h>

#include "sim/negative_image.h"
#include "sim/simulated_bus.h"
#include "tests/support/test_text.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Request {
  std::string cdb;
  Bytes data;         // the whole request buffer
  const char* reply;  // "ok", "overrun", or the sense key and ASC of a CHECK CONDITION
};

// "ok", "overrun" or "key/ASC", with the time the device works on it when it does.
std::string Reply(const CommandOutcome& outcome) {
  char text[16];
  std::snprintf(text, sizeof text, "%X/%02X", outcome.sense[2], outcome.sense[12]);
  std::string reply = outcome.FinalAspiStatus() == SS_COMP ? "ok" : text;
  if (outcome.hostAdapterStatus == HASTAT_DO_DU) reply = "overrun";
  const long ms = outcome.busyTime.count();
  return ms == 0 ? reply : reply + " " + std::to_string(ms) + " ms";
}

// Sends the requests in order to `scanner`; the last one's data.
Bytes ExpectReplies(VirtualScanner& scanner, std::vector<Request> requests) {
  for (Request& request : requests) {
    EXPECT_EQ(Reply(scanner.Execute(HexBytes(request.cdb), request.data)), request.reply)
        << request.cdb;
  }
  return requests.back().data;
}

ScannerSetup ScannerFrom(const std::string& config) {
  std::string error;
  return ParseSimConfig("attention=off," + config, error).value().scanner;
}

// A window list of 75 bytes at `resolution` (x then y, four hex digits each) for either model.
Bytes Window(bool t1, const std::string& resolution = "01540154") {
  Bytes list = HexBytes("00000000000000400000" + resolution + "000000000000000000000A2000000F30" +
                        (t1 ? "808080050800008300" : "000000050800018300") +
                        "00000000000000000000000900000002000001" +
                        (t1 ? "01000000FF000000000001" : "01FF0000FF00000000000100FF"));
  list.resize(75);
  return list;
}

// A T2's gamma table: 4096 entries rising to `top`, least significant byte first.
Bytes Gamma16(unsigned top) {
  Bytes table(8192);
  for (unsigned k = 0; k < 8192; ++k)
    table[k] = static_cast<uint8_t>(k / 2 * (top + 1) / 4096 >> k % 2 * 8);
  return table;
}

const std::string kWindowCdb = "24 00 00 00 00 00 00 00 48 00";

TEST(VirtualScannerTest, ScanningTakesOnlyTheModelsCommandsInOrder) {
  const std::string page02 = "00 00 00 08 02 06 80 05 27 10 03 00";
  VirtualScanner t2(ScannerFrom("geometry=10:1"));
  ExpectReplies(t2, {{kWindowCdb, Window(false), "5/2C"},                   // before RESERVE
                     {"28 00 00 00 00 00 00 00 0A 00", Bytes(10), "5/2C"},  // before SCAN
                     {"16 00 00 00 00 00", {}, "ok"},
                     {"1B 00 00 00 01 00", Bytes(5), "5/2C"},  // before a window
                     {"24 00 00 00 00 00 00 00 40 00", Window(false), "5/1A"},
                     {kWindowCdb, Window(true), "5/26"},               // the T1's window
                     {kWindowCdb, Window(false, "012C012C"), "5/26"},  // 300 dpi
                     {kWindowCdb, Window(false, "015402A8"), "5/26"},  // unequal resolutions
                     {kWindowCdb, Window(false), "ok"},
                     {"2A 00 03 00 01 00 00 01 00 00", Gamma16(1023), "5/1A"},  // the T1's length
                     {"2A 00 03 00 04 00 00 20 00 00", Gamma16(1023), "5/24"},  // a fourth colour
                     {"2A 00 03 00 01 00 00 20 00 00", Gamma16(4095), "5/26"},  // past 10 bits
                     {"2A 00 03 00 01 00 00 20 00 00", Gamma16(1023), "ok"},
                     {"D6 00 00 00 0C 00", HexBytes(page02), "5/24"},  // PF bit missing
                     {"D6 10 00 00 0B 00", HexBytes(page02), "5/1A"},
                     {"D6 10 00 00 0C 00", HexBytes("00 00 00 08 02 06 80 05 27 11 03 00"), "5/26"},
                     {"D6 10 00 00 0C 00", HexBytes(page02), "ok"},
                     {"E0 01 00 00 00 00 00 00 00 00", {}, "5/24"},
                     {"1B 00 00 00 01 00", Bytes(5), "ok"},
                     {"28 00 01 00 00 00 00 00 0A 00", Bytes(10), "5/24"},  // not image data
                     {"28 00 00 00 00 00 00 00 0B 00", Bytes(11), "5/24"},  // more than remains
                     {"34 01 00 00 00 00 00 00 1C 00", Bytes(28), "5/24"},  // the Wait bit
                     {"31 00 00 00 00 00", {}, "5/24"},                     // six bytes
                     {"28 00 00 00 00 00 00 00 0A 00", Bytes(5), "overrun"},
                     {"28 00 00 00 00 00 00 00 0A 00", Bytes(10), "ok"},
                     {"28 00 00 00 00 00 00 00 01 00", Bytes(1), "5/2C"}});  // after the last byte
  VirtualScanner t1(ScannerFrom("model=t1"));
  const std::string page20 = "00 00 00 11 20 10" + std::string(28, '0') + "02 0C";
  ExpectReplies(t1, {{"16 00 00 00 00 00", {}, "ok"},
                     {"D6 10 00 00 16 00", HexBytes(page20), "5/26"},
                     {kWindowCdb, Window(false), "5/26"},
                     {"2A 00 03 00 02 00 00 01 00 00", Gamma16(1023), "5/26"},  // the T2's table
                     {kWindowCdb, Window(true), "ok"}});
}

// READ BUFFER and SEND DIAGNOSTIC take only their own forms. Buffer 04h keeps the logic test's
// code until a reset, over what bufdata= laid there; bufferfail= fails its own buffer alone.
TEST(VirtualScannerTest, DiagnosticCommandsTakeOnlyTheirForms) {
  VirtualScanner scanner(
      ScannerFrom("selftime=1500,logictime=2500,logictest=40,bufdata=04:2:abcd,bufferfail=05"));
  const Request readResult = {"3C 02 04 00 00 00 00 00 05 00", Bytes(5), "ok"};
  EXPECT_EQ(
      ExpectReplies(scanner, {{"3C 02 F9 00 01 FE 00 00 02 00", Bytes(2), "ok"},      // last word
                              {"3C 00 F9 00 00 00 00 02 00 00", Bytes(512), "5/24"},  // mode
                              {"3C 22 F9 00 00 00 00 00 04 00", Bytes(4), "5/24"},  // logical unit
                              {"3C 02 06 00 00 00 00 00 04 00", Bytes(4), "5/24"},  // buffer id
                              {"3C 02 F9 01 00 00 00 00 01 00", Bytes(1), "5/24"},  // far offset
                              {"3C 02 F9 00 00 00 00 00 04 80", Bytes(4), "5/24"},  // control byte
                              {"3C 02 04 00 00 00 00 00 06 00", Bytes(6), "5/24"},  // past the end
                              {"3C 02 05 00 00 00 00 00 04 00", Bytes(4), "4/44"},
                              {"3C 02 F9 00 00 00 00 02 00 00", Bytes(511), "overrun"},
                              {"1D 04 00 00 00 00", {}, "ok 1500 ms"},
                              {"1D 12 00 00 00 00", {}, "4/44 2500 ms"},
                              {"1D 14 00 00 00 00", {}, "5/24"},
                              {"1D 06 00 00 00 00", {}, "5/24"},
                              {"1D 04 00 00 00 00 00 00 00 00", {}, "5/24"},
                              {"1D 12 00 00 04 00", {}, "5/24"},  // a parameter list
                              readResult}),
      (Bytes{0, 40, 0xAB, 0xCD, 0}));
  scanner.BusDeviceReset();
  EXPECT_EQ(ExpectReplies(scanner, {{"00 00 00 00 00 00", {}, "6/29"}, readResult}),
            (Bytes{0, 0, 0xAB, 0xCD, 0}));
  const Bytes calibration =
      ExpectReplies(scanner, {{"3C 02 F9 00 00 00 00 02 00 00", Bytes(512), "ok"}});
  for (size_t k = 0; k < 256; ++k) {
    const int word = calibration[2 * k] | calibration[2 * k + 1] << 8;
    EXPECT_TRUE(word > 12000 && word < 17000) << k;  // plausible shading words, not all one
  }
  EXPECT_NE(calibration[0], calibration[256]);
}

// A request whose direction flags contradict its command fails in the transport, as a real host
// adapter's does.
TEST(VirtualScannerTest, ABusRequestAgainstItsCommandsDirectionOverruns) {
  std::string error;
  SimulatedBus bus(ParseSimConfig("attention=off", error).value());
  uint8_t inquiry[36];
  SRB_ExecSCSICmd request{};
  request.SRB_Cmd = SC_EXEC_SCSI_CMD, request.SRB_Flags = SRB_DIR_OUT, request.SRB_Target = 2;
  request.SRB_BufLen = 36, request.SRB_BufPointer = inquiry, request.SRB_CDBLen = 6;
  request.CDBByte[0] = 0x12, request.CDBByte[4] = 36;
  bus.SendCommand(&request);
  EXPECT_EQ(request.SRB_HaStat, HASTAT_DO_DU);
}

// Any geometry the configuration accepts gives an image that reads the same bytes at an offset
// whatever was read before: no arithmetic of the picture overflows (the sanitizer build checks),
// and rows made as lines first need them are kept intact.
TEST(NegativeImageTest, EveryAcceptedGeometryIsReadableInAnyOrder) {
  for (const auto& [bytesPerLine, lines] :
       {std::pair{1400000u, 2u}, std::pair{16777215u, 1u}, std::pair{3u, 16777215u},
        std::pair{255u, 16777215u}, std::pair{1u, 1u}, std::pair{972u, 486u}}) {
    SCOPED_TRACE(std::to_string(bytesPerLine) + ":" + std::to_string(lines));
    NegativeImage image(bytesPerLine, lines);
    const size_t length = std::min<uint64_t>(29000, image.byteCount());
    const auto at = [&](uint64_t offset) {
      Bytes bytes(length);
      image.Read(offset, bytes.data(), length);
      return bytes;
    };
    const uint64_t end = image.byteCount() - length, middle = image.byteCount() / 2;
    const Bytes atEnd = at(end), atStart = at(0), atMiddle = at(middle);
    EXPECT_EQ((std::vector{at(middle), at(0), at(end)}), (std::vector{atMiddle, atStart, atEnd}));
  }
}

}  // namespace
