#include "sim/device_checks.h"

std::optional<CommandOutcome> CheckCdb(std::span<const uint8_t> cdb, size_t length,
                                       std::initializer_list<int> expected) {
  if (cdb.size() != length) return IllegalRequest(sense::kAscInvalidFieldInCdb);
  size_t i = 0;
  for (int byte : expected) {
    if (i >= cdb.size()) break;
    if (byte != kAnyByte && cdb[i] != byte) return IllegalRequest(sense::kAscInvalidFieldInCdb);
    ++i;
  }
  return std::nullopt;
}

std::optional<CommandOutcome> CheckDataBuffer(std::span<const uint8_t> data, size_t length) {
  if (data.size() < length) return TransportFailure(SS_ERR, HASTAT_DO_DU);
  return std::nullopt;
}
