#include "sim/virtual_scanner.h"

#include "sim/device_checks.h"
#include "sim/fault_outcome.h"

namespace {

constexpr char kDefaultVendor[] = "QUORVEL";

const char* ModelProduct(ScannerModel model) {
  return model == ScannerModel::kT1 ? "ZR-40113A" : "ZR-40123B";
}

const char* ModelRevision(ScannerModel model) {
  return model == ScannerModel::kT1 ? "1.10" : "1.32";
}

}  // namespace

InquiryData ScannerInquiryData(const ScannerSetup& setup) {
  return MakeInquiryData(kDeviceTypeScanner, setup.vendor.value_or(kDefaultVendor),
                         setup.product.value_or(ModelProduct(setup.model)),
                         setup.revision.value_or(ModelRevision(setup.model)));
}

VirtualScanner::VirtualScanner(const ScannerSetup& setup)
    : setup_(setup),
      inquiry_(ScannerInquiryData(setup)),
      unitAttention_(setup.unitAttention),
      scan_(setup.model, setup.scan),
      diagnostics_(setup.diagnostics) {}

CommandOutcome VirtualScanner::Execute(std::span<const uint8_t> cdb, std::span<uint8_t> data) {
  const uint8_t operationCode = cdb[0];
  ++commandCounts_[operationCode];
  if (auto fault = InjectedFault(operationCode)) return *fault;
  // After power-on or a reset the first command but INQUIRY reports it, once.
  if (unitAttention_ && operationCode != 0x12) {
    unitAttention_ = false;
    return CheckCondition(sense::kUnitAttention, sense::kAscPowerOnOrReset);
  }
  return Dispatch(cdb, data);
}

void VirtualScanner::BusDeviceReset() {
  reserved_ = false;
  unitAttention_ = true;
  scan_.Reset();
  diagnostics_.Reset();
}

std::optional<CommandOutcome> VirtualScanner::InjectedFault(uint8_t operationCode) const {
  const uint32_t count = commandCounts_[operationCode];
  for (const CommandFault& fault : setup_.faults) {
    if (fault.operationCode != operationCode) continue;
    const bool applies = fault.occurrence == 0 || count == fault.occurrence ||
                         (fault.andLater && count > fault.occurrence);
    if (applies) return FaultOutcome(fault);
  }
  return std::nullopt;
}

CommandOutcome VirtualScanner::Dispatch(std::span<const uint8_t> cdb, std::span<uint8_t> data) {
  switch (cdb[0]) {
    case 0x12:  // INQUIRY
      return AnswerInquiry(cdb, data, inquiry_, static_cast<size_t>(setup_.inquiryLength));
    case 0x00:  // TEST UNIT READY
    case 0x16:  // RESERVE UNIT
    case 0x17:  // RELEASE UNIT
      return UnitCommand(cdb);
    case 0x1D:  // SEND DIAGNOSTIC
      return diagnostics_.SendDiagnostic(cdb, data);
    case 0x3C:  // READ BUFFER
      return diagnostics_.ReadBuffer(cdb, data);
    default:
      return scan_.Execute(cdb, data, reserved_);
  }
}

CommandOutcome VirtualScanner::UnitCommand(std::span<const uint8_t> cdb) {
  if (auto fault = CheckCdb(cdb, 6, {cdb[0], 0, 0, 0, 0, 0})) return *fault;
  if (cdb[0] == 0x16) reserved_ = true;
  if (cdb[0] == 0x17) reserved_ = false;
  return Good();
}
