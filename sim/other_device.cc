#include "sim/other_device.h"

#include "sim/device_checks.h"

OtherScsiDevice::OtherScsiDevice(const OtherDevice& setup)
    : inquiry_(MakeInquiryData(kDeviceTypeDisk, setup.vendor, setup.product, setup.revision)) {}

CommandOutcome OtherScsiDevice::Execute(std::span<const uint8_t> cdb, std::span<uint8_t> data) {
  switch (cdb[0]) {
    case 0x12:
      return AnswerInquiry(cdb, data, inquiry_);
    case 0x00:
      if (auto fault = CheckCdb(cdb, 6, {0, 0, 0, 0, 0, 0})) return *fault;
      return Good();
    default:
      return IllegalRequest(sense::kAscInvalidOperationCode);
  }
}
