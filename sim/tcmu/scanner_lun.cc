#include "sim/tcmu/scanner_lun.h"

#include <algorithm>
#include <thread>

#include "sim/device_checks.h"

namespace {

constexpr uint8_t kTestUnitReady = 0x00;
constexpr uint8_t kRequestSense = 0x03;
constexpr uint8_t kInquiry = 0x12;
constexpr uint8_t kDefineScanMode = 0xD6;

constexpr uint8_t kAbortedCommand = 0x0B;
constexpr uint8_t kAscDataPhaseError = 0x4B;

// REQUEST SENSE from the kernel's error handler: the scanner reports its sense data with the
// CHECK CONDITION itself, so nothing is left pending.
CommandOutcome NoPendingSense(std::span<const uint8_t> cdb, std::span<uint8_t> data) {
  if (auto fault = CheckCdb(cdb, 6, {kRequestSense, 0, 0, 0, kAnyByte, 0})) return *fault;
  const CommandOutcome noSense = CheckCondition(sense::kNoSense, 0);
  const size_t length = std::min<size_t>({cdb[4], noSense.sense.size(), data.size()});
  std::copy_n(noSense.sense.begin(), length, data.begin());
  return Returned(length);
}

bool IsTransportFault(const CommandFault& fault) {
  return fault.aspiStatus != SS_ERR || fault.hostAdapterStatus != HASTAT_OK;
}

}  // namespace

size_t ScannerCdbLength(uint8_t operationCode) {
  // Define Scan Mode is the scanner's own 6-byte command in a group of 10-byte ones.
  if (operationCode == kDefineScanMode) return 6;
  switch (operationCode >> 5) {
    case 0:
      return 6;
    case 4:
      return 16;
    case 5:
      return 12;
    default:
      return 10;
  }
}

ScannerLun::ScannerLun(const ScannerSetup& setup)
    : scanner_(setup), inquiry_(ScannerInquiryData(setup)) {}

TargetReply ScannerLun::Execute(std::span<const uint8_t> cdb, std::span<uint8_t> data) {
  if (cdb.empty()) return ReplyFor(IllegalRequest(sense::kAscInvalidOperationCode));
  cdb = cdb.first(std::min(cdb.size(), ScannerCdbLength(cdb[0])));
  CommandOutcome outcome;
  if (cdb[0] == kRequestSense) {
    outcome = NoPendingSense(cdb, data);
  } else if (attaching_) {
    outcome = Attaching(cdb, data);
  } else {
    outcome = scanner_.Execute(cdb, data);
  }
  std::this_thread::sleep_for(outcome.busyTime);
  return ReplyFor(outcome);
}

CommandOutcome ScannerLun::Attaching(std::span<const uint8_t> cdb, std::span<uint8_t> data) const {
  switch (cdb[0]) {
    case kInquiry:  // standard data only: vital product data pages end in INVALID FIELD IN CDB
      return AnswerInquiry(cdb, data, inquiry_);
    case kTestUnitReady:
      return Good();
    default:
      return IllegalRequest(sense::kAscInvalidOperationCode);
  }
}

TargetReply ReplyFor(const CommandOutcome& outcome) {
  TargetReply reply;
  if (outcome.aspiStatus != 0 || outcome.hostAdapterStatus != HASTAT_OK) {
    // Only a data overrun gets here (the configuration check keeps out every other fault of
    // the transport): the device reports it as the data phase error it is.
    reply.status = STATUS_CHKCOND;
    reply.sense = CheckCondition(kAbortedCommand, kAscDataPhaseError).sense;
    return reply;
  }
  reply.status = outcome.targetStatus;
  if (outcome.targetStatus == STATUS_CHKCOND) reply.sense = outcome.sense;
  reply.returned = outcome.returnedBytes;
  return reply;
}

bool CheckServedConfig(const SimConfig& config, std::string& error) {
  std::string plainError;
  const SimConfig plain = *ParseSimConfig("", plainError);
  const auto sameAdapter = [](const AdapterSetup& a, const AdapterSetup& b) {
    return a.inquiryStatus == b.inquiryStatus && a.scsiId == b.scsiId &&
           a.managerId == b.managerId && a.identifier == b.identifier;
  };
  const char* refused = nullptr;
  if (config.scanner.model == ScannerModel::kNone) {
    refused = "model=none: there is no scanner to serve";
  } else if (config.adapterCount != plain.adapterCount || config.supportStatus != SS_COMP ||
             !std::equal(config.adapters.begin(), config.adapters.end(), plain.adapters.begin(),
                         plain.adapters.end(), sameAdapter)) {
    refused = "adapters=, adapter=, reject= and aspi= describe host adapters: the kernel's";
  } else if (!config.devices.empty() || !config.targetFailures.empty()) {
    refused = "device=, selfail= and status= describe other targets: the kernel's";
  } else if (config.lateCompletionMs) {
    refused = "late= describes the simulated manager: the kernel completes requests";
  } else if (config.scanner.adapter != plain.scanner.adapter ||
             config.scanner.target != plain.scanner.target) {
    refused = "scanner=: the unit's address is set in the kernel's target";
  } else if (std::any_of(config.scanner.faults.begin(), config.scanner.faults.end(),
                         IsTransportFault) ||
             std::any_of(config.scanner.diagnostics.bufferFaults.begin(),
                         config.scanner.diagnostics.bufferFaults.end(),
                         [](const BufferReadFault& f) { return IsTransportFault(f.fault); })) {
    refused =
        "a fault with an ASPI status other than 04 or a host adapter status is the "
        "transport's; the scanner answers only with a SCSI status";
  }
  if (refused != nullptr) error = refused;
  return refused == nullptr;
}
