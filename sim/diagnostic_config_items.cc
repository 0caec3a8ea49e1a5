// Items of the maintenance side: outcomes and durations of the two self-tests, buffer contents
// and failing reads of single buffers.
#include "sim/config_items.h"
#include "sim/diagnostic_unit.h"

namespace {

constexpr int kLongestTestMs = 600000;

// "KEY:ASC:ASCQ" or "none" from field `first` on; nothing there keeps the defaults.
bool ParseSense(ItemParser& item, size_t first, bool& withSense, uint8_t& key, uint8_t& asc,
                uint8_t& ascq) {
  if (item.count() == first) return true;
  if (item.count() == first + 1 && item.text(first) == "none") {
    withSense = false;
    return true;
  }
  return item.FieldCount(first + 3, first + 3) && item.Hex(first, key) &&
         item.Hex(first + 1, asc) && item.Hex(first + 2, ascq);
}

// selftest=pass | selftest=fail[:KEY:ASC:ASCQ|:none]
bool ParseSelfTest(ItemParser& item, SimConfig& config) {
  DiagnosticSetup& setup = config.scanner.diagnostics;
  if (!item.FieldCount(1, 4)) return false;
  if (item.text(0) == "pass") {
    setup.selfTestPasses = true;
    return item.FieldCount(1, 1);
  }
  if (item.text(0) != "fail") return item.Fail("the self-test is pass or fail");
  setup.selfTestPasses = false;
  return ParseSense(item, 1, setup.selfTestSense, setup.selfTestKey, setup.selfTestAsc,
                    setup.selfTestAscq);
}

bool ParseBufferId(ItemParser& item, uint8_t& bufferId) {
  if (!item.Hex(0, bufferId)) return false;
  if (!ScannerBufferSize(bufferId)) return item.Fail("the scanner has buffers F9, 05 and 04");
  return true;
}

// bufdata=ID:OFFSET:HEXBYTES
bool ParseBufferData(ItemParser& item, SimConfig& config) {
  BufferPatch patch;
  if (!item.FieldCount(3, 3) || !ParseBufferId(item, patch.bufferId)) return false;
  const size_t size = *ScannerBufferSize(patch.bufferId);
  if (!item.Decimal(1, size, patch.offset)) return false;
  const std::string& hex = item.text(2);
  if (hex.size() % 2 != 0) return item.Fail("bytes are pairs of hex digits");
  for (size_t i = 0; i < hex.size(); i += 2) {
    const auto byte = ParseNumber(std::string_view(hex).substr(i, 2), 16, 0xFF);
    if (!byte) return item.Fail("'" + hex + "' is not hex");
    patch.bytes += static_cast<char>(*byte);
  }
  if (patch.offset + patch.bytes.size() > size) return item.Fail("the bytes run past the buffer");
  config.scanner.diagnostics.bufferPatches.push_back(patch);
  return true;
}

// bufferfail=ID[:STATUS[:HASTAT[:KEY:ASC:ASCQ|:none]]]
bool ParseBufferFault(ItemParser& item, SimConfig& config) {
  BufferReadFault read;
  CommandFault& fault = read.fault;
  fault.operationCode = 0x3C;
  if (!item.FieldCount(1, 6) || !ParseBufferId(item, read.bufferId)) return false;
  if (item.has(1) && !item.Status(1, fault.aspiStatus)) return false;
  if (item.has(2) && !item.Hex(2, fault.hostAdapterStatus)) return false;
  if (item.count() > 3 &&
      !ParseSense(item, 3, fault.withSense, fault.senseKey, fault.asc, fault.ascq)) {
    return false;
  }
  config.scanner.diagnostics.bufferFaults.push_back(read);
  return true;
}

}  // namespace

void AddDiagnosticConfigItems(ItemTable& table) {
  table["selftest"] = ParseSelfTest;
  table["selftime"] = [](ItemParser& item, SimConfig& config) {
    return item.FieldCount(1, 1) &&
           item.Decimal(0, kLongestTestMs, config.scanner.diagnostics.selfTestMs);
  };
  table["logictest"] = [](ItemParser& item, SimConfig& config) {
    return item.FieldCount(1, 1) &&
           item.Decimal(0, 255, config.scanner.diagnostics.logicTestResult);
  };
  table["logictime"] = [](ItemParser& item, SimConfig& config) {
    return item.FieldCount(1, 1) &&
           item.Decimal(0, kLongestTestMs, config.scanner.diagnostics.logicTestMs);
  };
  table["bufdata"] = ParseBufferData;
  table["bufferfail"] = ParseBufferFault;
}
