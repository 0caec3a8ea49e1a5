// A device on the bus that is not the scanner: it answers INQUIRY with its own identification
// and TEST UNIT READY, and refuses everything else.
#ifndef SCAN_FS_SIM_OTHER_DEVICE_H
#define SCAN_FS_SIM_OTHER_DEVICE_H

#include "sim/inquiry_data.h"
#include "sim/scsi_target.h"
#include "sim/sim_config.h"

class OtherScsiDevice : public ScsiTarget {
 public:
  explicit OtherScsiDevice(const OtherDevice& setup);
  CommandOutcome Execute(std::span<const uint8_t> cdb, std::span<uint8_t> data) override;

 private:
  InquiryData inquiry_;
};

#endif
