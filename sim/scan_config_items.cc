// Configuration items of the scanning side.
#include "sim/config_items.h"

namespace {

bool ParseGeometry(ItemParser& item, SimConfig& config) {
  uint32_t bytesPerLine = 0;
  uint32_t lines = 0;
  if (!item.FieldCount(2, 2) || !item.Decimal(0, 0xFFFFFF, bytesPerLine) ||
      !item.Decimal(1, 0xFFFFFF, lines)) {
    return false;
  }
  if (static_cast<uint64_t>(bytesPerLine) * lines > 0xFFFFFFFFu) {
    return item.Fail("the image must stay below 4 GiB");
  }
  config.scanner.scan.bytesPerLine = bytesPerLine;
  config.scanner.scan.lines = lines;
  return true;
}

// shortread=BYTES[@N]
bool ParseShortRead(ItemParser& item, SimConfig& config) {
  if (!item.FieldCount(1, 1)) return false;
  std::string bytes = item.text(0);
  ScanSetup& scan = config.scanner.scan;
  if (!item.Occurrence(bytes, scan.shortReadOccurrence, nullptr)) return false;
  const auto missing = ParseNumber(bytes, 10, 0xFFFFFF);
  if (!missing || *missing == 0) return item.Fail("'" + bytes + "' is not a count from 1");
  scan.shortBy = static_cast<uint32_t>(*missing);
  return true;
}

// remaining=BYTES|same[@N[+]]
bool ParseRemaining(ItemParser& item, SimConfig& config) {
  if (!item.FieldCount(1, 1)) return false;
  std::string count = item.text(0);
  ScanSetup& scan = config.scanner.scan;
  if (!item.Occurrence(count, scan.remainingOccurrence, &scan.remainingAndLater)) return false;
  if (count == "same") {
    scan.remainingStuck = true;
    return true;
  }
  const auto bytes = ParseNumber(count, 10, 0xFFFFFFFF);
  if (!bytes) return item.Fail("'" + count + "' is neither a byte count nor 'same'");
  scan.reportedRemaining = static_cast<uint32_t>(*bytes);
  return true;
}

}  // namespace

void AddScanConfigItems(ItemTable& table) {
  table["geometry"] = ParseGeometry;
  table["shortread"] = ParseShortRead;
  table["remaining"] = ParseRemaining;
  table["scantime"] = [](ItemParser& item, SimConfig& config) {
    return item.FieldCount(1, 1) && item.Decimal(0, 600000, config.scanner.scan.scanTimeMs);
  };
  table["readtime"] = [](ItemParser& item, SimConfig& config) {
    return item.FieldCount(1, 1) && item.Decimal(0, 60000, config.scanner.scan.readTimeMs);
  };
}
