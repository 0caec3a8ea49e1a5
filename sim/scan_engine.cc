#include "sim/scan_engine.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "scsi/byte_order.h"
#include "sim/device_checks.h"

namespace {

using sense::kAscCommandSequenceError;
using sense::kAscInvalidFieldInCdb;
using sense::kAscInvalidFieldInParameterList;
using sense::kAscInvalidOperationCode;
using sense::kAscParameterListLengthError;

// The scanning window in units of 1/2720 inch: a 35 mm frame, upright.
constexpr uint32_t kWindowWidth = 2592;
constexpr uint32_t kWindowLength = 3888;
constexpr uint32_t kOpticalResolution = 2720;
constexpr uint32_t kWindowListLength = 72;
constexpr uint32_t kDataStatusLength = 28;
constexpr uint32_t kBufferCapacity = 0x40000;  // the scanner's image buffer, 256 KiB

bool SupportedResolution(uint32_t dpi) {
  return dpi == 340 || dpi == 680 || dpi == 1360 || dpi == 2720;
}

// The one window this scanner takes, as each model expects it (the resolution, at bytes 10-13,
// is checked on its own).
std::array<uint8_t, kWindowListLength> ExpectedWindowList(ScannerModel model) {
  std::array<uint8_t, kWindowListLength> list{};
  const bool t1 = model == ScannerModel::kT1;
  list[7] = 64;  // window descriptor length
  StoreBigEndian32(&list[22], kWindowWidth);
  StoreBigEndian32(&list[26], kWindowLength);
  list[30] = list[31] = list[32] = t1 ? 0x80 : 0x00;  // brightness, threshold, contrast
  list[33] = 0x05;                                    // multi-level RGB
  list[34] = 8;                                       // bits per pixel
  list[36] = t1 ? 0x00 : 0x01;                        // halftone pattern (low byte)
  list[37] = 0x83;                                    // RIF, padding type 3
  constexpr uint8_t kVendorUnique[24] = {0x00, 0x00, 0x09, 0x00, 0x00, 0x00, 0x02, 0x00,
                                         0x00, 0x01, 0x01, 0x00, 0x00, 0x00, 0xFF, 0x00,
                                         0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00};
  std::memcpy(&list[48], kVendorUnique, sizeof kVendorUnique);
  if (!t1) list[59] = list[70] = 0xFF;
  return list;
}

// Gamma tables: a rising curve from black to full scale, one byte (T1) or one 16-bit entry,
// least significant byte first, of 10 significant bits (T2) per step.
bool ValidGammaTable(ScannerModel model, std::span<const uint8_t> table) {
  const bool wide = model == ScannerModel::kT2;
  const size_t entries = wide ? table.size() / 2 : table.size();
  const uint32_t fullScale = wide ? 1023 : 255;
  uint32_t previous = 0;
  for (size_t i = 0; i < entries; ++i) {
    const uint32_t value = wide ? table[2 * i] | table[2 * i + 1] << 8 : table[i];
    if (value < previous || value > fullScale) return false;
    previous = value;
  }
  return previous == fullScale;
}

}  // namespace

ScanEngine::ScanEngine(ScannerModel model, const ScanSetup& setup) : model_(model), setup_(setup) {}

void ScanEngine::Reset() {
  windowResolution_.reset();
  image_.reset();
  delivered_ = 0;
}

CommandOutcome ScanEngine::Execute(std::span<const uint8_t> cdb, std::span<uint8_t> data,
                                   bool reserved) {
  const uint8_t operationCode = cdb[0];
  const bool setsUp = operationCode == 0x24 || operationCode == 0x2A || operationCode == 0xD6 ||
                      operationCode == 0xE0 || operationCode == 0x1B;
  if (setsUp && !reserved) return IllegalRequest(kAscCommandSequenceError);
  switch (operationCode) {
    case 0x24:
      return SetWindow(cdb, data);
    case 0x2A:
      return SendGamma(cdb, data);
    case 0xD6:
      return DefineScanMode(cdb, data);
    case 0xE0:  // Execute Auto Focus
      if (auto fault = CheckCdb(cdb, 10, {0xE0, 0x01, 0x01, 0, 0, 0, 0, 0, 0, 0})) return *fault;
      return Good();
    case 0x1B:
      return Scan(cdb, data);
    case 0x34:
      return DataBufferStatus(cdb, data);
    case 0x28:
      return Read(cdb, data);
    case 0x31:  // OBJECT POSITION: back to the home position, the scan given up
      if (auto fault = CheckCdb(cdb, 10, {0x31, 0, 0, 0, 0, 0, 0, 0, 0, 0})) return *fault;
      image_.reset();
      delivered_ = 0;
      return Good();
    default:
      return IllegalRequest(kAscInvalidOperationCode);
  }
}

CommandOutcome ScanEngine::SetWindow(std::span<const uint8_t> cdb, std::span<const uint8_t> data) {
  if (auto fault = CheckCdb(cdb, 10, {0x24, 0, 0, 0, 0, 0, kAnyByte, kAnyByte, kAnyByte, 0})) {
    return *fault;
  }
  if (LoadBigEndian24(&cdb[6]) != kWindowListLength) {
    return IllegalRequest(kAscParameterListLengthError);
  }
  if (auto fault = CheckDataBuffer(data, kWindowListLength)) return *fault;
  const uint32_t xResolution = LoadBigEndian16(&data[10]);
  const uint32_t yResolution = LoadBigEndian16(&data[12]);
  std::array<uint8_t, kWindowListLength> received;
  std::copy_n(data.begin(), kWindowListLength, received.begin());
  received[10] = received[11] = received[12] = received[13] = 0;
  if (xResolution != yResolution || !SupportedResolution(xResolution) ||
      received != ExpectedWindowList(model_)) {
    return IllegalRequest(kAscInvalidFieldInParameterList);
  }
  windowResolution_ = xResolution;
  return Good();
}

CommandOutcome ScanEngine::SendGamma(std::span<const uint8_t> cdb, std::span<const uint8_t> data) {
  // Data type 03h (gamma), qualifier 0100h, 0200h or 0300h: red, green, blue.
  if (auto fault =
          CheckCdb(cdb, 10, {0x2A, 0, 0x03, 0, kAnyByte, 0, kAnyByte, kAnyByte, kAnyByte, 0})) {
    return *fault;
  }
  if (cdb[4] < 1 || cdb[4] > 3) return IllegalRequest(kAscInvalidFieldInCdb);
  const uint32_t tableLength = model_ == ScannerModel::kT2 ? 8192 : 256;
  if (LoadBigEndian24(&cdb[6]) != tableLength) return IllegalRequest(kAscParameterListLengthError);
  if (auto fault = CheckDataBuffer(data, tableLength)) return *fault;
  if (!ValidGammaTable(model_, data.first(tableLength))) {
    return IllegalRequest(kAscInvalidFieldInParameterList);
  }
  return Good();
}

CommandOutcome ScanEngine::DefineScanMode(std::span<const uint8_t> cdb,
                                          std::span<const uint8_t> data) {
  if (auto fault = CheckCdb(cdb, 6, {0xD6, 0x10, 0, 0, kAnyByte, 0})) return *fault;
  // Page 02h for both models; page 20h only on the T2.
  static constexpr uint8_t kPage02[] = {0x00, 0x00, 0x00, 0x08, 0x02, 0x06,
                                        0x80, 0x05, 0x27, 0x10, 0x03, 0x00};
  static constexpr uint8_t kPage20[] = {0x00, 0x00, 0x00, 0x11, 0x20, 0x10, 0, 0, 0, 0,    0,
                                        0,    0,    0,    0,    0,    0,    0, 0, 0, 0x02, 0x0C};
  const size_t length = cdb[4];
  if (auto fault = CheckDataBuffer(data, length)) return *fault;
  const std::span<const uint8_t> list = data.first(length);
  if (length >= 5 && list[4] == 0x20 && model_ != ScannerModel::kT2) {
    return IllegalRequest(kAscInvalidFieldInParameterList);
  }
  if (length == sizeof kPage02 && std::equal(list.begin(), list.end(), kPage02)) return Good();
  if (length == sizeof kPage20 && std::equal(list.begin(), list.end(), kPage20)) return Good();
  if (length != sizeof kPage02 && length != sizeof kPage20) {
    return IllegalRequest(kAscParameterListLengthError);
  }
  return IllegalRequest(kAscInvalidFieldInParameterList);
}

CommandOutcome ScanEngine::Scan(std::span<const uint8_t> cdb, std::span<const uint8_t> data) {
  // A window list of one identifier: window 0, the only one.
  if (auto fault = CheckCdb(cdb, 6, {0x1B, 0, 0, 0, 0x01, 0})) return *fault;
  if (auto fault = CheckDataBuffer(data, 1)) return *fault;
  if (data[0] != 0) return IllegalRequest(kAscInvalidFieldInParameterList);
  if (!windowResolution_) return IllegalRequest(kAscCommandSequenceError);
  const uint32_t pixels = kWindowWidth * *windowResolution_ / kOpticalResolution;
  const uint32_t lines = kWindowLength * *windowResolution_ / kOpticalResolution;
  image_.emplace(setup_.bytesPerLine.value_or(3 * pixels), setup_.lines.value_or(lines));
  planter_.reset();
  if (setup_.defects.any()) {
    planter_.emplace(setup_.defects, *windowResolution_, image_->bytesPerLine(), image_->lines());
  }
  delivered_ = 0;
  CommandOutcome outcome = Good();
  outcome.busyTime = std::chrono::milliseconds(setup_.scanTimeMs);
  return outcome;
}

CommandOutcome ScanEngine::DataBufferStatus(std::span<const uint8_t> cdb, std::span<uint8_t> data) {
  // The Wait bit (byte 1) is not supported: the status is always reported at once.
  if (auto fault = CheckCdb(cdb, 10, {0x34, 0, 0, 0, 0, 0, 0, kAnyByte, kAnyByte, 0})) {
    return *fault;
  }
  const size_t length = std::min<size_t>(LoadBigEndian16(&cdb[7]), kDataStatusLength);
  if (auto fault = CheckDataBuffer(data, length)) return *fault;
  std::array<uint8_t, kDataStatusLength> reply{};
  StoreBigEndian24(&reply[0], kDataStatusLength - 3);  // data length
  StoreBigEndian24(&reply[4], kBufferCapacity);
  if (image_) {
    const auto remaining = static_cast<uint32_t>(remainingBytes());
    StoreBigEndian24(&reply[9], std::min(remaining, kBufferCapacity));  // filled
    StoreBigEndian32(&reply[12], image_->bytesPerLine());
    StoreBigEndian32(&reply[16], image_->lines());
    StoreBigEndian32(&reply[20], ReportedRemaining(remaining));
  }
  std::copy_n(reply.begin(), length, data.begin());
  return Returned(length);
}

uint32_t ScanEngine::ReportedRemaining(uint32_t remaining) {
  ++statusCount_;
  const uint32_t n = setup_.remainingOccurrence;
  const bool applies =
      n == 0 || statusCount_ == n || (setup_.remainingAndLater && statusCount_ > n);
  uint32_t reported = remaining;
  if (applies && setup_.reportedRemaining) reported = *setup_.reportedRemaining;
  if (applies && setup_.remainingStuck && lastReportedRemaining_)
    reported = *lastReportedRemaining_;
  lastReportedRemaining_ = reported;
  return reported;
}

CommandOutcome ScanEngine::Read(std::span<const uint8_t> cdb, std::span<uint8_t> data) {
  // Data type code 0 (image) and qualifier 0 only.
  if (auto fault = CheckCdb(cdb, 10, {0x28, 0, 0, 0, 0, 0, kAnyByte, kAnyByte, kAnyByte, 0})) {
    return *fault;
  }
  if (remainingBytes() == 0) return IllegalRequest(kAscCommandSequenceError);
  const uint32_t length = LoadBigEndian24(&cdb[6]);
  if (length == 0 || length > remainingBytes()) return IllegalRequest(kAscInvalidFieldInCdb);
  if (auto fault = CheckDataBuffer(data, length)) return *fault;

  ++readCount_;
  const bool shortRead = setup_.shortBy > 0 && (setup_.shortReadOccurrence == 0 ||
                                                setup_.shortReadOccurrence == readCount_);
  const uint32_t delivered = shortRead ? length - std::min(length, setup_.shortBy) : length;
  image_->Read(delivered_, data.data(), delivered);
  if (planter_) planter_->Apply(delivered_, data.data(), delivered);
  delivered_ += delivered;

  CommandOutcome outcome = Returned(delivered);
  if (delivered < length) {
    // Fewer bytes than asked: CHECK CONDITION with the incorrect length bit and the residue.
    outcome = CheckCondition(sense::kNoSense, 0x00, 0x00, true);
    outcome.sense[0] |= 0x80;  // the information field is valid
    StoreBigEndian32(&outcome.sense[3], length - delivered);
    outcome.returnedBytes = delivered;
  }
  outcome.busyTime = std::chrono::milliseconds(setup_.readTimeMs);
  return outcome;
}
