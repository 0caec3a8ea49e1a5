#include "platform/sg/sg_request.h"

#include <gtest/gtest.h>

namespace {

struct DirectionCase {
  uint8_t flags;
  uint8_t operationCode;
  DataDirection expected;
};

TEST(SgRequestTest, DirectionFromOneFlagBitElseFromTheOperationCode) {
  const DirectionCase kCases[] = {
      {SRB_DIR_IN, 0x2A, DataDirection::kIn},                     // the flag wins
      {SRB_DIR_OUT, 0x12, DataDirection::kOut},                   // the flag wins
      {SRB_DIR_IN, 0x99, DataDirection::kIn},                     // unknown command, flag tells
      {0x00, 0x24, DataDirection::kOut},                          // SET WINDOW
      {0x00, 0x34, DataDirection::kIn},                           // GET DATA BUFFER STATUS
      {SRB_DIR_IN | SRB_DIR_OUT, 0x12, DataDirection::kIn},       // INQUIRY
      {SRB_DIR_IN | SRB_DIR_OUT, 0x1D, DataDirection::kNone},     // SEND DIAGNOSTIC
      {SRB_DIR_IN | SRB_DIR_OUT, 0x99, DataDirection::kUnknown},  // nothing tells
      {0x00 | SRB_POSTING, 0x00, DataDirection::kNone},           // other bits do not count
  };
  for (const DirectionCase& c : kCases) {
    EXPECT_EQ(RequestDirection(c.flags, c.operationCode), c.expected)
        << "flags " << int{c.flags} << ", operation code " << int{c.operationCode};
  }
}

struct LengthCase {
  const char* what;
  uint8_t cdb[10];
  uint32_t bufferLength;
  DataDirection direction;
  uint32_t expected;
};

TEST(SgRequestTest, DataOutIsClampedToTheLengthTheCdbStates) {
  const LengthCase kCases[] = {
      {"SET WINDOW", {0x24, 0, 0, 0, 0, 0, 0, 0, 72, 0}, 4096, DataDirection::kOut, 72},
      {"SEND, buffer smaller", {0x2A, 0, 0, 0, 0, 0, 0, 0x20, 0, 0}, 100, DataDirection::kOut, 100},
      {"unknown command", {0xC1}, 300, DataDirection::kOut, 300},
      {"data in takes the buffer", {0x12, 0, 0, 0, 36, 0}, 96, DataDirection::kIn, 96},
      {"no data", {0x00}, 64, DataDirection::kNone, 0},
  };
  uint8_t buffer[4096];
  for (const LengthCase& c : kCases) {
    SRB_ExecSCSICmd request{};
    std::copy(std::begin(c.cdb), std::end(c.cdb), request.CDBByte);
    request.SRB_BufLen = c.bufferLength;
    request.SRB_BufPointer = buffer;
    EXPECT_EQ(RequestTransferLength(request, c.direction), c.expected) << c.what;
    request.SRB_BufPointer = nullptr;
    EXPECT_EQ(RequestTransferLength(request, c.direction), 0u) << c.what;
  }
}

}  // namespace
