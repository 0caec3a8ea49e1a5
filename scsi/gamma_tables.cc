// SEND of the gamma tables: 256 bytes for the T1, 4096 16-bit entries for the T2.
#include <cmath>

#include "resources/strings.h"
#include "scsi/byte_order.h"
#include "scsi/scanner_commands.h"
#include "scsi/scanner_request.h"

namespace {

constexpr uint8_t kDataTypeGamma = 0x03;

void FillSendCdb(uint8_t (&cdb)[10], uint16_t dataTypeQualifier, uint32_t length) {
  cdb[0] = 0x2A;
  cdb[2] = kDataTypeGamma;
  StoreBigEndian16(&cdb[4], dataTypeQualifier);
  StoreBigEndian24(&cdb[6], length);
}

}  // namespace

int SendGamma8Bit(WindowHandle owner, uint16_t dataTypeQualifier, uint8_t showError) {
  constexpr uint32_t kTableLength = 256;
  uint8_t table[300] = {};  // the table stands in a larger buffer, declared whole
  for (uint32_t i = 0; i < kTableLength; ++i) {
    // Truncated, not rounded.
    table[i] = static_cast<uint8_t>(255.0 * std::pow(i / 255.0, 1.7));
  }
  uint8_t cdb[10] = {};
  FillSendCdb(cdb, dataTypeQualifier, kTableLength);
  return SendScannerCommand(owner, {cdb, sizeof cdb, 0x00, table, sizeof table, IDS_ERROR_SEND},
                            showError);
}

int SendGamma16Bit(WindowHandle owner, uint16_t dataTypeQualifier, uint8_t showError) {
  constexpr uint32_t kEntries = 4096;
  uint8_t table[2 * kEntries];
  for (uint32_t k = 0; k < kEntries; ++k) {
    // Each output value 0 to 1023 four times; this one table goes least significant byte first.
    const uint32_t value = k / 4;
    table[2 * k] = static_cast<uint8_t>(value);
    table[2 * k + 1] = static_cast<uint8_t>(value >> 8);
  }
  uint8_t cdb[10] = {};
  FillSendCdb(cdb, dataTypeQualifier, sizeof table);
  return SendScannerCommand(owner, {cdb, sizeof cdb, 0x00, table, sizeof table, IDS_ERROR_SEND},
                            showError);
}
