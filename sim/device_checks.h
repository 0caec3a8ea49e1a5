// Checks a strict simulated device makes of what it receives, each giving the outcome of the
// fault it finds (or nothing when all is well).
#ifndef SCAN_FS_SIM_DEVICE_CHECKS_H
#define SCAN_FS_SIM_DEVICE_CHECKS_H

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>

#include "sim/command_outcome.h"

// In an expected CDB: a byte that may hold anything.
inline constexpr int kAnyByte = -1;

// The CDB has `length` bytes and each equals the expected one (or kAnyByte): otherwise ILLEGAL
// REQUEST with INVALID FIELD IN CDB.
std::optional<CommandOutcome> CheckCdb(std::span<const uint8_t> cdb, size_t length,
                                       std::initializer_list<int> expected);

// The request's buffer holds at least `length` bytes: otherwise the host adapter reports a data
// overrun, as a real one does when the device moves more than the buffer holds.
std::optional<CommandOutcome> CheckDataBuffer(std::span<const uint8_t> data, size_t length);

#endif
