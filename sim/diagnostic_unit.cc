#include "sim/diagnostic_unit.h"

DiagnosticUnit::DiagnosticUnit(const DiagnosticSetup& setup) : setup_(setup) {}

CommandOutcome DiagnosticUnit::SendDiagnostic(std::span<const uint8_t>, std::span<uint8_t>) {
  return IllegalRequest(sense::kAscInvalidOperationCode);
}

CommandOutcome DiagnosticUnit::ReadBuffer(std::span<const uint8_t>, std::span<uint8_t>) {
  return IllegalRequest(sense::kAscInvalidOperationCode);
}

void DiagnosticUnit::Reset() {}
