// The simulated Tessaline T1 or T2: identification, unit control, injected faults, and the
// scanning and maintenance sides.
#ifndef SCAN_FS_SIM_VIRTUAL_SCANNER_H
#define SCAN_FS_SIM_VIRTUAL_SCANNER_H

#include <array>
#include <cstdint>
#include <optional>

#include "sim/diagnostic_unit.h"
#include "sim/inquiry_data.h"
#include "sim/scan_engine.h"
#include "sim/scsi_target.h"
#include "sim/sim_config.h"

// The scanner's standard INQUIRY data: peripheral type 6 (scanner) and the identification the
// setup gives or the model's own.
InquiryData ScannerInquiryData(const ScannerSetup& setup);

class VirtualScanner : public ScsiTarget {
 public:
  explicit VirtualScanner(const ScannerSetup& setup);
  CommandOutcome Execute(std::span<const uint8_t> cdb, std::span<uint8_t> data) override;
  void BusDeviceReset() override;

  // How many commands of this operation code have arrived.
  uint32_t CommandCount(uint8_t operationCode) const { return commandCounts_[operationCode]; }
  bool reserved() const { return reserved_; }

 private:
  std::optional<CommandOutcome> InjectedFault(uint8_t operationCode) const;
  CommandOutcome Dispatch(std::span<const uint8_t> cdb, std::span<uint8_t> data);
  CommandOutcome UnitCommand(std::span<const uint8_t> cdb);

  ScannerSetup setup_;
  InquiryData inquiry_;
  bool unitAttention_;
  bool reserved_ = false;
  std::array<uint32_t, 256> commandCounts_{};
  ScanEngine scan_;
  DiagnosticUnit diagnostics_;
};

#endif
