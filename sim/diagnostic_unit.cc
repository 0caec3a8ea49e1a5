#include "sim/diagnostic_unit.h"

#include <algorithm>
#include <chrono>

#include "scsi/byte_order.h"
#include "sim/device_checks.h"
#include "sim/fault_outcome.h"

namespace {

constexpr uint8_t kDataMode = 0x02;     // READ BUFFER mode: data only, no header
constexpr uint8_t kSelfTest = 0x04;     // SEND DIAGNOSTIC byte 1: SelfTest
constexpr uint8_t kDeviceTests = 0x12;  // SEND DIAGNOSTIC byte 1: PF and DevOfL
constexpr int kResultCodeOffset = 1;

// Power-on counters: lamp hours and scans made.
constexpr uint16_t kLampHours = 318;
constexpr uint16_t kScanCount = 4127;

// A shading word per sensor segment: brighter towards the middle of the lamp, with a small fixed
// scatter from segment to segment.
uint16_t ShadingWord(unsigned segment) {
  const unsigned bowl = 1200 * segment * (255 - segment) / (127 * 128);
  const unsigned scatter = ((segment * 2654435761u) >> 24) % 41;
  return static_cast<uint16_t>(14000 + bowl + scatter - 20);
}

}  // namespace

DiagnosticUnit::DiagnosticUnit(const DiagnosticSetup& setup) : setup_(setup) {
  for (const uint8_t id : {kCalibrationBufferId, kCounterBufferId, kTestResultBufferId}) {
    PowerOn(id);
  }
}

void DiagnosticUnit::PowerOn(uint8_t bufferId) {
  const std::span<uint8_t> buffer = Buffer(bufferId);
  std::fill(buffer.begin(), buffer.end(), 0);
  if (bufferId == kCalibrationBufferId) {
    for (unsigned segment = 0; segment < buffer.size() / 2; ++segment) {
      const uint16_t word = ShadingWord(segment);
      buffer[2 * segment] = static_cast<uint8_t>(word);
      buffer[2 * segment + 1] = static_cast<uint8_t>(word >> 8);
    }
  } else if (bufferId == kCounterBufferId) {
    buffer[0] = kLampHours >> 8;
    buffer[1] = kLampHours & 0xFF;
    buffer[2] = kScanCount >> 8;
    buffer[3] = kScanCount & 0xFF;
  }
  for (const BufferPatch& patch : setup_.bufferPatches) {
    if (patch.bufferId != bufferId || patch.offset > buffer.size()) continue;
    const size_t length = std::min(patch.bytes.size(), buffer.size() - patch.offset);
    std::copy_n(patch.bytes.begin(), length, buffer.begin() + patch.offset);
  }
}

std::span<uint8_t> DiagnosticUnit::Buffer(uint8_t bufferId) {
  switch (bufferId) {
    case kCalibrationBufferId:
      return calibration_;
    case kCounterBufferId:
      return counters_;
    case kTestResultBufferId:
      return testResult_;
    default:
      return {};
  }
}

CommandOutcome DiagnosticUnit::SendDiagnostic(std::span<const uint8_t> cdb, std::span<uint8_t>) {
  // Only the two forms the scanner knows, both without a parameter list.
  if (auto fault = CheckCdb(cdb, 6, {0x1D, kAnyByte, 0, 0, 0, 0})) return *fault;
  if (cdb[1] == kSelfTest) return RunSelfTest();
  if (cdb[1] == kDeviceTests) return RunLogicTest();
  return IllegalRequest(sense::kAscInvalidFieldInCdb);
}

CommandOutcome DiagnosticUnit::RunSelfTest() const {
  CommandOutcome outcome = Good();
  if (!setup_.selfTestPasses) {
    if (setup_.selfTestSense) {
      outcome = CheckCondition(setup_.selfTestKey, setup_.selfTestAsc, setup_.selfTestAscq);
    } else {
      outcome.targetStatus = STATUS_CHKCOND;
    }
  }
  outcome.busyTime = std::chrono::milliseconds(setup_.selfTestMs);
  return outcome;
}

CommandOutcome DiagnosticUnit::RunLogicTest() {
  testResult_[kResultCodeOffset] = setup_.logicTestResult;
  // A fault found ends the command with CHECK CONDITION; the code in buffer 04h names it.
  CommandOutcome outcome =
      setup_.logicTestResult == 0
          ? Good()
          : CheckCondition(sense::kHardwareError, sense::kAscInternalTargetFailure);
  outcome.busyTime = std::chrono::milliseconds(setup_.logicTestMs);
  return outcome;
}

CommandOutcome DiagnosticUnit::ReadBuffer(std::span<const uint8_t> cdb, std::span<uint8_t> data) {
  if (auto fault = CheckCdb(cdb, 10,
                            {0x3C, kDataMode, kAnyByte, kAnyByte, kAnyByte, kAnyByte, kAnyByte,
                             kAnyByte, kAnyByte, 0})) {
    return *fault;
  }
  const uint8_t bufferId = cdb[2];
  const std::span<uint8_t> buffer = Buffer(bufferId);
  if (buffer.empty()) return IllegalRequest(sense::kAscInvalidFieldInCdb);
  for (const BufferReadFault& fault : setup_.bufferFaults) {
    if (fault.bufferId == bufferId) return FaultOutcome(fault.fault);
  }
  const size_t offset = LoadBigEndian24(&cdb[3]);
  const size_t length = LoadBigEndian24(&cdb[6]);
  if (offset + length > buffer.size()) return IllegalRequest(sense::kAscInvalidFieldInCdb);
  if (auto fault = CheckDataBuffer(data, length)) return *fault;
  std::copy_n(buffer.begin() + offset, length, data.begin());
  return Returned(length);
}

void DiagnosticUnit::Reset() {
  PowerOn(kTestResultBufferId);
}
