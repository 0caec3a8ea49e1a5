#include "sim/simulated_bus.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "scsi/command_table.h"
#include "sim/other_device.h"

namespace {

int TargetKey(uint8_t adapter, uint8_t target) {
  return adapter * 8 + target;
}

void PutText(uint8_t (&field)[16], const std::string& text) {
  std::memset(field, 0, sizeof field);
  std::memcpy(field, text.data(), std::min(text.size(), sizeof field));
}

// A data-in request whose flags say "out", or the other way round.
bool DirectionConflicts(uint8_t flags, uint8_t operationCode) {
  const uint8_t direction = flags & (SRB_DIR_IN | SRB_DIR_OUT);
  const DataDirection expected = CommandDataDirection(operationCode);
  if (direction == SRB_DIR_IN) return expected == DataDirection::kOut;
  if (direction == SRB_DIR_OUT) return expected == DataDirection::kIn;
  return false;  // 00h and 18h: the direction comes from the command
}

}  // namespace

SimulatedBus::SimulatedBus(const SimConfig& config) : config_(config) {
  for (const OtherDevice& device : config_.devices) {
    targets_[TargetKey(device.adapter, device.target)] = std::make_unique<OtherScsiDevice>(device);
  }
  if (config_.scanner.model != ScannerModel::kNone) {
    auto scanner = std::make_unique<VirtualScanner>(config_.scanner);
    scanner_ = scanner.get();
    targets_[TargetKey(config_.scanner.adapter, config_.scanner.target)] = std::move(scanner);
  }
  worker_ = std::thread([this] { WorkerLoop(); });
}

SimulatedBus::~SimulatedBus() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  worker_.join();
}

uint32_t SimulatedBus::GetSupportInfo() {
  if (config_.supportStatus != SS_COMP) return static_cast<uint32_t>(config_.supportStatus) << 8;
  return static_cast<uint32_t>(SS_COMP) << 8 | static_cast<uint32_t>(config_.adapterCount & 0xFF);
}

uint8_t SimulatedBus::InquireAdapter(SRB_HAInquiry& inquiry) {
  if (inquiry.SRB_HaId >= config_.adapterCount) return SS_INVALID_HA;
  const AdapterSetup& adapter = config_.adapters[inquiry.SRB_HaId];
  if (adapter.inquiryStatus != SS_COMP) return adapter.inquiryStatus;
  inquiry.HA_Count = static_cast<uint8_t>(config_.adapterCount);
  inquiry.HA_SCSI_ID = adapter.scsiId;
  PutText(inquiry.HA_ManagerId, adapter.managerId);
  PutText(inquiry.HA_Identifier, adapter.identifier);
  std::memset(inquiry.HA_Unique, 0, sizeof inquiry.HA_Unique);
  inquiry.HA_Unique[3] = 8;     // targets per bus
  inquiry.HA_Unique[6] = 0x02;  // largest transfer: 128 KiB, little-endian
  return SS_COMP;
}

ScsiTarget* SimulatedBus::TargetAt(uint8_t adapter, uint8_t target) {
  const auto found = targets_.find(TargetKey(adapter, target));
  return found == targets_.end() ? nullptr : found->second.get();
}

const TargetFailure* SimulatedBus::FailureAt(uint8_t adapter, uint8_t target) const {
  for (const TargetFailure& failure : config_.targetFailures) {
    if (failure.adapter == adapter && failure.target == target) return &failure;
  }
  return nullptr;
}

void SimulatedBus::StartScsiRequest(SRB_ExecSCSICmd& request) {
  request.SRB_Status = SS_PENDING;
  request.SRB_HaStat = HASTAT_OK;
  request.SRB_TargStat = STATUS_GOOD;
  const uint8_t adapter = request.SRB_HaId;
  const uint8_t target = request.SRB_Target;

  std::optional<CommandOutcome> early;
  if (adapter >= config_.adapterCount) {
    early = TransportFailure(SS_INVALID_HA, HASTAT_OK);
  } else if (request.SRB_CDBLen == 0 || request.SRB_CDBLen > sizeof request.CDBByte ||
             (request.SRB_BufLen > 0 && request.SRB_BufPointer == nullptr)) {
    early = TransportFailure(SS_INVALID_SRB, HASTAT_OK);
  } else if (const TargetFailure* failure = FailureAt(adapter, target)) {
    early = TransportFailure(failure->aspiStatus, failure->hostAdapterStatus);
  } else if (request.SRB_Lun != 0 || target > 7 || TargetAt(adapter, target) == nullptr) {
    early = TransportFailure(SS_NO_DEVICE, HASTAT_OK);
  } else if (DirectionConflicts(request.SRB_Flags, request.CDBByte[0])) {
    early = TransportFailure(SS_ERR, HASTAT_DO_DU);
  }

  const auto lateness = std::chrono::milliseconds(config_.lateCompletionMs.value_or(0));
  if (early) {
    Schedule(lateness, [this, &request, outcome = *early] { Finish(request, outcome); });
    return;
  }
  ScsiTarget& device = *TargetAt(adapter, target);
  if (config_.lateCompletionMs) {
    // The device itself works on the manager's thread.
    Schedule(lateness, [this, &request, &device] {
      const CommandOutcome outcome = Execute(request, device);
      std::this_thread::sleep_for(outcome.busyTime);
      Finish(request, outcome);
    });
    return;
  }
  const CommandOutcome outcome = Execute(request, device);
  Schedule(outcome.busyTime, [this, &request, outcome] { Finish(request, outcome); });
}

CommandOutcome SimulatedBus::Execute(SRB_ExecSCSICmd& request, ScsiTarget& target) {
  const std::span<const uint8_t> cdb(request.CDBByte, request.SRB_CDBLen);
  const std::span<uint8_t> data(request.SRB_BufPointer,
                                request.SRB_BufPointer == nullptr ? 0 : request.SRB_BufLen);
  return target.Execute(cdb, data);
}

void SimulatedBus::Finish(SRB_ExecSCSICmd& request, const CommandOutcome& outcome) {
  request.SRB_HaStat = outcome.hostAdapterStatus;
  request.SRB_TargStat = outcome.targetStatus;
  if (outcome.targetStatus == STATUS_CHKCOND) {
    // Automatic request sense: as much as the block asks for and its sense area holds.
    const size_t length = std::min<size_t>(request.SRB_SenseLen, sizeof request.SenseArea);
    std::memcpy(request.SenseArea, outcome.sense.data(), length);
  }
  Complete(&request, outcome.FinalAspiStatus());
}

void SimulatedBus::StartReset(SRB_BusDeviceReset& request) {
  request.SRB_Status = SS_PENDING;
  uint8_t status = SS_COMP;
  if (request.SRB_HaId >= config_.adapterCount) {
    status = SS_INVALID_HA;
  } else if (ScsiTarget* device = TargetAt(request.SRB_HaId, request.SRB_Target)) {
    device->BusDeviceReset();
  } else {
    status = SS_NO_DEVICE;
  }
  request.SRB_HaStat = HASTAT_OK;
  request.SRB_TargStat = STATUS_GOOD;
  const auto lateness = std::chrono::milliseconds(config_.lateCompletionMs.value_or(0));
  Schedule(lateness, [this, &request, status] { Complete(&request, status); });
}

void SimulatedBus::Schedule(std::chrono::milliseconds delay, std::function<void()> work) {
  if (delay.count() == 0 && !config_.lateCompletionMs) {
    work();
    return;
  }
  {
    std::lock_guard lock(mutex_);
    jobs_.emplace_back(std::chrono::steady_clock::now() + delay, std::move(work));
  }
  wake_.notify_all();
}

void SimulatedBus::WorkerLoop() {
  std::unique_lock lock(mutex_);
  while (true) {
    wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
    if (jobs_.empty()) return;  // stopping with nothing left
    auto [due, work] = std::move(jobs_.front());
    jobs_.pop_front();
    lock.unlock();
    std::this_thread::sleep_until(due);
    work();
    lock.lock();
  }
}
