#include "sim/scan_engine.h"

ScanEngine::ScanEngine(ScannerModel model, const ScanSetup& setup) : model_(model), setup_(setup) {}

CommandOutcome ScanEngine::Execute(std::span<const uint8_t>, std::span<uint8_t>, bool) {
  return IllegalRequest(sense::kAscInvalidOperationCode);
}

void ScanEngine::Reset() {}
