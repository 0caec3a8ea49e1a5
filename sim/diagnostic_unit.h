// The scanner's maintenance side: SEND DIAGNOSTIC (the built-in self-test and the memory and
// logic test) and READ BUFFER of its data buffers.
#ifndef SCAN_FS_SIM_DIAGNOSTIC_UNIT_H
#define SCAN_FS_SIM_DIAGNOSTIC_UNIT_H

#include <array>
#include <cstddef>
#include <optional>
#include <span>

#include "sim/command_outcome.h"
#include "sim/sim_config.h"

// The buffers READ BUFFER reaches, by id.
inline constexpr uint8_t kCalibrationBufferId = 0xF9;  // 256 little-endian shading words
inline constexpr uint8_t kCounterBufferId = 0x05;      // two big-endian counters
inline constexpr uint8_t kTestResultBufferId = 0x04;   // result code of the logic test in byte 1

// Size of a buffer, or nothing for an id the scanner does not have.
constexpr std::optional<size_t> ScannerBufferSize(uint8_t bufferId) {
  switch (bufferId) {
    case kCalibrationBufferId:
      return 512;
    case kCounterBufferId:
      return 4;
    case kTestResultBufferId:
      return 5;
    default:
      return std::nullopt;
  }
}

class DiagnosticUnit {
 public:
  explicit DiagnosticUnit(const DiagnosticSetup& setup);
  CommandOutcome SendDiagnostic(std::span<const uint8_t> cdb, std::span<uint8_t> data);
  CommandOutcome ReadBuffer(std::span<const uint8_t> cdb, std::span<uint8_t> data);
  // Power-on state: no logic test has run.
  void Reset();

 private:
  CommandOutcome RunSelfTest() const;
  CommandOutcome RunLogicTest();
  std::span<uint8_t> Buffer(uint8_t bufferId);
  void PowerOn(uint8_t bufferId);

  DiagnosticSetup setup_;
  std::array<uint8_t, *ScannerBufferSize(kCalibrationBufferId)> calibration_{};
  std::array<uint8_t, *ScannerBufferSize(kCounterBufferId)> counters_{};
  std::array<uint8_t, *ScannerBufferSize(kTestResultBufferId)> testResult_{};
};

#endif
