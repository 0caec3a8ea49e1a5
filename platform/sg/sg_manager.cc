#include "platform/sg/sg_manager.h"

#include <scsi/sg.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/sg/sg_exchange.h"
#include "platform/sg/sg_request.h"
#include "platform/sg/sg_status.h"

namespace {

// Only this device is reset; the kernel must not go on to the target, bus or host.
constexpr int kResetNoEscalate = 0x100;
constexpr size_t kAdapterLimit = 0xFF;  // the count travels in 8 bits
constexpr size_t kSenseBufferSize = 64;
constexpr uint8_t kInquiry = 0x12;

void PutText(uint8_t (&field)[16], std::string_view text) {
  std::memset(field, 0, sizeof field);
  std::memcpy(field, text.data(), std::min(text.size(), sizeof field));
}

std::string AdapterName(const ScsiHost& host) {
  if (host.driverName.empty() || host.driverName == "(null)") {
    return "host" + std::to_string(host.number);
  }
  return host.driverName;
}

}  // namespace

SgManager::SgManager(Setup setup) : setup_(std::move(setup)), topology_(setup_.sysfsRoot) {}

uint32_t SgManager::GetSupportInfo() {
  ReadHosts();
  if (hosts_.empty()) return static_cast<uint32_t>(SS_NO_ADAPTERS) << 8;
  return static_cast<uint32_t>(SS_COMP) << 8 | static_cast<uint32_t>(hosts_.size());
}

void SgManager::ReadHostsOnce() {
  if (!hostsRead_) ReadHosts();
}

// Requests complete before they return.
void SgManager::StartScsiRequest(SRB_ExecSCSICmd& request) {
  ReadHostsOnce();
  Complete(&request, ExecuteCommand(request));
}

void SgManager::StartReset(SRB_BusDeviceReset& reset) {
  ReadHostsOnce();
  Complete(&reset, ResetDevice(reset));
}

void SgManager::ReadHosts() {
  hostsRead_ = true;
  hosts_ = topology_.Hosts();
  if (hosts_.size() > kAdapterLimit) hosts_.resize(kAdapterLimit);
  if (hosts_.empty()) {
    Notify(NoHostsNotice(setup_.sysfsRoot));
  } else if (!topology_.GenericClassPresent()) {
    Notify(NoGenericDriverNotice(setup_.sysfsRoot));
  }
}

uint8_t SgManager::InquireAdapter(SRB_HAInquiry& inquiry) {
  ReadHostsOnce();
  if (inquiry.SRB_HaId >= hosts_.size()) return SS_INVALID_HA;
  inquiry.HA_Count = static_cast<uint8_t>(hosts_.size());
  inquiry.HA_SCSI_ID = kHostScsiId;
  PutText(inquiry.HA_ManagerId, std::string_view(kManagerId, sizeof kManagerId - 1));
  PutText(inquiry.HA_Identifier, AdapterName(hosts_[inquiry.SRB_HaId]));
  std::memset(inquiry.HA_Unique, 0, sizeof inquiry.HA_Unique);
  return SS_COMP;
}

SgManager::OpenedNode SgManager::OpenNode(uint8_t adapter, uint8_t target, uint8_t lun) {
  OpenedNode node;
  if (adapter >= hosts_.size()) {
    node.failure = SS_INVALID_HA;
    return node;
  }
  const ScsiAddress address{hosts_[adapter].number, 0, target, lun};
  const std::optional<std::string> name = topology_.GenericNodeAt(address);
  if (!name) {
    node.failure = SS_NO_DEVICE;
    return node;
  }
  node.name = *name;
  node.place = NodePlace{setup_.deviceDirectory + "/" + *name, adapter, address, ""};
  node.descriptor = setup_.calls.open(node.place.path);
  if (node.descriptor < 0) {
    Notify(OpenFailureNotice(Described(node), -node.descriptor));
    // The device cannot be presented: a search goes on to the next target, where the scanner
    // may sit on a node the user may open.
    node.failure = SS_NO_DEVICE;
    node.openFailed = true;
  }
  return node;
}

std::optional<DeviceIdentity> SgManager::IdentityOf(const OpenedNode& node) const {
  if (node.descriptor < 0) return std::nullopt;
  return topology_.IdentityOf(node.name);
}

SgManager::OpenedNode SgManager::OpenProbedNode(uint8_t adapter, uint8_t target, uint8_t lun) {
  OpenedNode node = OpenNode(adapter, target, lun);
  const auto probed = probed_.find(Address{adapter, target, lun});
  if (probed == probed_.end()) return node;  // never probed: as found
  const std::optional<ProbedDevice>& found = probed->second;
  const std::optional<DeviceIdentity> now = IdentityOf(node);
  if (found ? now == found->identity : !now) return node;
  if (found && !now) {
    Notify(GoneDeviceNotice(adapter, target, lun,
                            setup_.deviceDirectory + "/" + found->identity.node,
                            found->identification));
  } else {
    NodePlace place = node.place;
    place.description = topology_.DeviceIdentification(node.name);
    Notify(OtherDeviceNotice(place, found ? found->identification : ""));
  }
  if (node.descriptor >= 0) setup_.calls.close(node.descriptor);
  node.descriptor = -1;
  node.failure = SS_NO_DEVICE;
  return node;
}

uint8_t SgManager::ExecuteCommand(SRB_ExecSCSICmd& request) {
  request.SRB_HaStat = HASTAT_OK;
  request.SRB_TargStat = STATUS_GOOD;
  const DataDirection direction = RequestDirection(request.SRB_Flags, request.CDBByte[0]);
  const bool hasBuffer = request.SRB_BufLen > 0;
  if (request.SRB_CDBLen == 0 || request.SRB_CDBLen > sizeof request.CDBByte ||
      (hasBuffer && request.SRB_BufPointer == nullptr) ||
      (hasBuffer && direction == DataDirection::kUnknown)) {
    return SS_INVALID_SRB;
  }
  OpenedNode node;
  if (request.CDBByte[0] == kInquiry) {
    node = OpenNode(request.SRB_HaId, request.SRB_Target, request.SRB_Lun);
    std::optional<ProbedDevice>& probed =
        probed_[Address{request.SRB_HaId, request.SRB_Target, request.SRB_Lun}];
    probed.reset();
    if (const std::optional<DeviceIdentity> identity = IdentityOf(node)) {
      probed = ProbedDevice{*identity, topology_.DeviceIdentification(node.name)};
    }
  } else {
    node = OpenProbedNode(request.SRB_HaId, request.SRB_Target, request.SRB_Lun);
  }
  if (node.failure != SS_COMP) return node.failure;

  const uint32_t length = RequestTransferLength(request, direction);
  uint8_t cdb[sizeof request.CDBByte];
  std::memcpy(cdb, request.CDBByte, sizeof cdb);
  uint8_t sense[kSenseBufferSize] = {};
  sg_io_hdr_t transfer{};
  transfer.interface_id = 'S';
  transfer.dxfer_direction = length == 0                       ? SG_DXFER_NONE
                             : direction == DataDirection::kIn ? SG_DXFER_FROM_DEV
                                                               : SG_DXFER_TO_DEV;
  transfer.cmd_len = request.SRB_CDBLen;
  transfer.mx_sb_len = sizeof sense;
  transfer.dxfer_len = length;
  transfer.dxferp = length == 0 ? nullptr : request.SRB_BufPointer;
  transfer.cmdp = cdb;
  transfer.sbp = sense;
  transfer.timeout = CommandTimeoutMs(cdb[0]);
  const int result =
      ExchangeWithNode(setup_.calls, node.descriptor, transfer, CommandWaitLimitMs(cdb[0]));
  setup_.calls.close(node.descriptor);

  const SgOutcome outcome{-result, transfer.status, transfer.host_status, transfer.driver_status,
                          transfer.sb_len_wr};
  const size_t senseRoom = std::min<size_t>(request.SRB_SenseLen, sizeof request.SenseArea);
  const AspiOutcome mapped = MapSgOutcome(outcome, result == 0 ? senseRoom : 0);
  request.SRB_HaStat = mapped.hostStatus;
  request.SRB_TargStat = mapped.targetStatus;
  if (mapped.targetStatus == STATUS_CHKCOND) {
    std::memset(request.SenseArea, 0, senseRoom);
    std::memcpy(request.SenseArea, sense, mapped.senseBytes);
  }
  return mapped.status;
}

uint8_t SgManager::ResetDevice(SRB_BusDeviceReset& request) {
  request.SRB_HaStat = HASTAT_OK;
  request.SRB_TargStat = STATUS_GOOD;
  const OpenedNode node = OpenProbedNode(request.SRB_HaId, request.SRB_Target, request.SRB_Lun);
  // No such adapter or device, or not the one the search found: as for any request; a node that
  // would not open: a failed reset.
  if (node.descriptor < 0) return node.openFailed ? SS_ERR : node.failure;
  int how = SG_SCSI_RESET_DEVICE | kResetNoEscalate;
  const int result = setup_.calls.ioctl(node.descriptor, SG_SCSI_RESET, &how);
  setup_.calls.close(node.descriptor);
  if (result == -EACCES || result == -EPERM) Notify(ResetRefusedNotice(Described(node)));
  return result == 0 ? SS_COMP : SS_ERR;
}

NodePlace SgManager::Described(const OpenedNode& node) const {
  NodePlace place = node.place;
  place.description = topology_.DeviceDescription(node.name);
  return place;
}

void SgManager::Notify(const std::string& text) {
  if (setup_.notice && told_.insert(text).second) setup_.notice(text);
}

SgManager::Setup SystemSgSetup(SgManager::NoticeFunction notice) {
  SgManager::Setup setup;
  if (const char* sysfs = std::getenv("SCAN_FS_SYSFS")) setup.sysfsRoot = sysfs;
  if (const char* devices = std::getenv("SCAN_FS_DEV")) setup.deviceDirectory = devices;
  setup.notice = std::move(notice);
  return setup;
}
