// The scanner's scanning side: window, gamma tables, scan modes, auto focus, SCAN, the data
// buffer status, READ of the image and OBJECT POSITION.
#ifndef SCAN_FS_SIM_SCAN_ENGINE_H
#define SCAN_FS_SIM_SCAN_ENGINE_H

#include <span>

#include "sim/command_outcome.h"
#include "sim/sim_config.h"

class ScanEngine {
 public:
  ScanEngine(ScannerModel model, const ScanSetup& setup);
  // One command of the scanning side; `reserved` tells whether the unit is reserved.
  CommandOutcome Execute(std::span<const uint8_t> cdb, std::span<uint8_t> data, bool reserved);
  // Power-on state: no window, no scan.
  void Reset();

 private:
  ScannerModel model_;
  ScanSetup setup_;
};

#endif
