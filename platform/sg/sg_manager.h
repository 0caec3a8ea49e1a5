// The ASPI manager of the Linux program on real devices: the kernel's SCSI hosts are the host
// adapters (in ascending host number), and each request goes to the SCSI generic node of its
// host, channel 0, target and LUN (sg_exchange.h). Requests complete before SendCommand returns.
//
// Every INQUIRY (the scanner search's probe) learns which device stands at its address; any other
// request there is refused as SS_NO_DEVICE, with a notice, once another device stands there (or
// one where the search found none), until an INQUIRY learns again. A device that stays gets the
// same requests as without the check.
//
// What keeps a device out of reach (no host, the sg driver not loaded, a node the user may not
// open) is told once per run through the notice function, in words a user can act on.
#ifndef SCAN_FS_PLATFORM_SG_SG_MANAGER_H
#define SCAN_FS_PLATFORM_SG_SG_MANAGER_H

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "platform/aspi_manager.h"
#include "platform/sg/sg_device_calls.h"
#include "platform/sg/sg_notices.h"
#include "platform/sg/sysfs_topology.h"
#include "scsi/srb.h"

class SgManager : public AspiManager {
 public:
  using NoticeFunction = std::function<void(const std::string& text)>;

  struct Setup {
    std::string sysfsRoot = "/sys";
    std::string deviceDirectory = "/dev";
    SgDeviceCalls calls = SystemDeviceCalls();
    NoticeFunction notice;
  };

  // The HA_ManagerId of every adapter (16 bytes, no terminating zero).
  static constexpr char kManagerId[] = "scan_fs Linux sg";
  // The SCSI id a Linux host does not publish: the one host adapters take by convention.
  static constexpr uint8_t kHostScsiId = 7;

  explicit SgManager(Setup setup);

  // Reads the hosts afresh; they stay the adapters until the next call.
  uint32_t GetSupportInfo() override;

 private:
  struct OpenedNode {
    int descriptor = -1;
    uint8_t failure = SS_COMP;  // the request's status when the node could not be opened
    bool openFailed = false;    // the node is there, but would not open
    std::string name;           // sgN
    NodePlace place;            // without the description, which only a notice needs
  };
  using Address = std::tuple<uint8_t, uint8_t, uint8_t>;  // adapter, target, LUN
  struct ProbedDevice {
    DeviceIdentity identity;
    std::string identification;  // VENDOR MODEL REVISION, for a notice
  };

  uint8_t InquireAdapter(SRB_HAInquiry& inquiry) override;
  void StartScsiRequest(SRB_ExecSCSICmd& request) override;
  void StartReset(SRB_BusDeviceReset& reset) override;
  uint8_t ExecuteCommand(SRB_ExecSCSICmd& request);
  uint8_t ResetDevice(SRB_BusDeviceReset& request);
  // The hosts, read at the first request when GetSupportInfo came first from no one.
  void ReadHostsOnce();
  OpenedNode OpenNode(uint8_t adapter, uint8_t target, uint8_t lun);
  // The node for a request other than INQUIRY, when it leads to the device that the last INQUIRY
  // at that address found; otherwise closed, and the request's failure set to SS_NO_DEVICE.
  OpenedNode OpenProbedNode(uint8_t adapter, uint8_t target, uint8_t lun);
  std::optional<DeviceIdentity> IdentityOf(const OpenedNode& node) const;
  void ReadHosts();
  // The node's place with the device's vendor and model, read only for a notice.
  NodePlace Described(const OpenedNode& node) const;
  void Notify(const std::string& text);

  Setup setup_;
  SysfsTopology topology_;
  std::vector<ScsiHost> hosts_;
  bool hostsRead_ = false;
  std::set<std::string> told_;
  // What the last INQUIRY found at each address: the device, or none that could be reached.
  std::map<Address, std::optional<ProbedDevice>> probed_;
};

// The real system's set-up: /sys and /dev, or the folders that SCAN_FS_SYSFS and SCAN_FS_DEV
// name (the tests put a made-up tree there).
SgManager::Setup SystemSgSetup(SgManager::NoticeFunction notice);

#endif
