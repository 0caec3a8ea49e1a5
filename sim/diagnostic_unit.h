// The scanner's maintenance side: SEND DIAGNOSTIC (self-test and the memory and logic test) and
// READ BUFFER of its data buffers.
#ifndef SCAN_FS_SIM_DIAGNOSTIC_UNIT_H
#define SCAN_FS_SIM_DIAGNOSTIC_UNIT_H

#include <span>

#include "sim/command_outcome.h"
#include "sim/sim_config.h"

class DiagnosticUnit {
 public:
  explicit DiagnosticUnit(const DiagnosticSetup& setup);
  CommandOutcome SendDiagnostic(std::span<const uint8_t> cdb, std::span<uint8_t> data);
  CommandOutcome ReadBuffer(std::span<const uint8_t> cdb, std::span<uint8_t> data);
  void Reset();

 private:
  DiagnosticSetup setup_;
};

#endif
