// What the kernel tells through sysfs about SCSI hosts and their SCSI generic nodes:
//   <root>/class/scsi_host/hostN/proc_name          the host's driver
//   <root>/class/scsi_generic/sgM/device            link to the device, named H:C:T:L
//   <root>/class/scsi_generic/sgM/device/{vendor,model,rev}
// Every read is fresh, so a device that appears or goes away is seen at the next request.
#ifndef SCAN_FS_PLATFORM_SG_SYSFS_TOPOLOGY_H
#define SCAN_FS_PLATFORM_SG_SYSFS_TOPOLOGY_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct ScsiHost {
  unsigned number;         // N of hostN
  std::string driverName;  // proc_name
};

struct ScsiAddress {
  unsigned host;
  unsigned channel;
  unsigned target;
  uint64_t lun;
  bool operator==(const ScsiAddress&) const = default;
};

// What tells one device from another at the same address: a device that the kernel attaches
// anew gets a new sysfs directory (a new inode), even where its node keeps its number and the
// device its identification.
struct DeviceIdentity {
  std::string node;    // sgM
  uint64_t directory;  // inode of the device's sysfs directory
  bool operator==(const DeviceIdentity&) const = default;
};

class SysfsTopology {
 public:
  explicit SysfsTopology(std::string root) : root_(std::move(root)) {}

  // The SCSI hosts in ascending host number.
  std::vector<ScsiHost> Hosts() const;
  // False when the SCSI generic driver is not loaded.
  bool GenericClassPresent() const;
  // The name (sgM) of the SCSI generic node of the device at `address`.
  std::optional<std::string> GenericNodeAt(const ScsiAddress& address) const;
  // "VENDOR MODEL" of the device behind node `name`, as the kernel read it from the device;
  // empty when unknown.
  std::string DeviceDescription(const std::string& name) const;
  // "VENDOR MODEL REVISION" of the device behind node `name`; empty when unknown.
  std::string DeviceIdentification(const std::string& name) const;
  // The identity of the device behind node `name` (one stat); nullopt when the node is gone.
  std::optional<DeviceIdentity> IdentityOf(const std::string& name) const;

  // "H:C:T:L" parsed; nullopt when it is not that form.
  static std::optional<ScsiAddress> ParseAddress(const std::string& text);

 private:
  std::string root_;
};

#endif
