// Standard INQUIRY data, and the INQUIRY command as every simulated device answers it.
#ifndef SCAN_FS_SIM_INQUIRY_DATA_H
#define SCAN_FS_SIM_INQUIRY_DATA_H

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "sim/command_outcome.h"

inline constexpr uint8_t kDeviceTypeDisk = 0x00;
inline constexpr uint8_t kDeviceTypeScanner = 0x06;

using InquiryData = std::array<uint8_t, 36>;

// The first 36 bytes of SCSI-2 INQUIRY data; texts are cut to their fields or padded with
// spaces, and keep any byte they hold.
InquiryData MakeInquiryData(uint8_t deviceType, std::string_view vendor, std::string_view product,
                            std::string_view revision);

// Checks the CDB and returns up to `available` bytes of `inquiry`.
CommandOutcome AnswerInquiry(std::span<const uint8_t> cdb, std::span<uint8_t> data,
                             const InquiryData& inquiry, size_t available = 36);

#endif
