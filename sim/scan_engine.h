// The scanner's scanning side: window, gamma tables, scan modes, auto focus, SCAN, the data
// buffer status, READ of the image and OBJECT POSITION. Strict like the real device: wrong CDB
// bytes or lengths, malformed parameter lists and commands out of order end in CHECK CONDITION
// with ILLEGAL REQUEST.
#ifndef SCAN_FS_SIM_SCAN_ENGINE_H
#define SCAN_FS_SIM_SCAN_ENGINE_H

#include <cstdint>
#include <optional>
#include <span>

#include "sim/command_outcome.h"
#include "sim/negative_image.h"
#include "sim/planted_defects.h"
#include "sim/sim_config.h"

class ScanEngine {
 public:
  ScanEngine(ScannerModel model, const ScanSetup& setup);
  // One command of the scanning side; `reserved` tells whether the unit is reserved.
  CommandOutcome Execute(std::span<const uint8_t> cdb, std::span<uint8_t> data, bool reserved);
  // Power-on state: no window, no scan.
  void Reset();

  // Image bytes still to be read.
  uint64_t remainingBytes() const { return image_ ? image_->byteCount() - delivered_ : 0; }

 private:
  CommandOutcome SetWindow(std::span<const uint8_t> cdb, std::span<const uint8_t> data);
  CommandOutcome SendGamma(std::span<const uint8_t> cdb, std::span<const uint8_t> data);
  CommandOutcome DefineScanMode(std::span<const uint8_t> cdb, std::span<const uint8_t> data);
  CommandOutcome Scan(std::span<const uint8_t> cdb, std::span<const uint8_t> data);
  CommandOutcome DataBufferStatus(std::span<const uint8_t> cdb, std::span<uint8_t> data);
  CommandOutcome Read(std::span<const uint8_t> cdb, std::span<uint8_t> data);
  // The remaining count a status report gives: the truth, unless the setup says otherwise.
  uint32_t ReportedRemaining(uint32_t remaining);

  ScannerModel model_;
  ScanSetup setup_;
  std::optional<uint32_t> windowResolution_;  // dots per inch of window 0, once set
  std::optional<NegativeImage> image_;        // the image being read out
  std::optional<DefectPlanter> planter_;      // what the setup plants into it
  uint64_t delivered_ = 0;
  uint32_t readCount_ = 0;
  uint32_t statusCount_ = 0;
  std::optional<uint32_t> lastReportedRemaining_;
};

#endif
