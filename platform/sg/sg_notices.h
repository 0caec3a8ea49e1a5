// The texts that tell a user why the SCSI generic manager cannot reach a device: which node, and
// what to do about it. Each is one paragraph without line breaks; device texts in them are
// printable ASCII only.
#ifndef SCAN_FS_PLATFORM_SG_SG_NOTICES_H
#define SCAN_FS_PLATFORM_SG_SG_NOTICES_H

#include <string>

#include "platform/sg/sysfs_topology.h"

// Where a device sits, in the program's terms and the kernel's.
struct NodePlace {
  std::string path;         // /dev/sgM
  unsigned adapter;         // the program's adapter number
  ScsiAddress address;      // the kernel's H:C:T:L
  std::string description;  // vendor and model, may be empty
};

std::string NoHostsNotice(const std::string& sysfsRoot);
std::string NoGenericDriverNotice(const std::string& sysfsRoot);
// An open of the node failed with `error` (an errno value).
std::string OpenFailureNotice(const NodePlace& node, int error);
// Another device stands where the last INQUIRY found `found` ("VENDOR MODEL REVISION"), or found
// none when that is empty.
std::string OtherDeviceNotice(const NodePlace& now, const std::string& found);
// The device that the last INQUIRY found at that address (`found`: "VENDOR MODEL REVISION"),
// through the node at `path`, is gone.
std::string GoneDeviceNotice(unsigned adapter, unsigned target, uint64_t lun,
                             const std::string& path, const std::string& found);
// The kernel refused a device reset through the node.
std::string ResetRefusedNotice(const NodePlace& node);

#endif
