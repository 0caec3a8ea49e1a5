// The simulated ASPI manager: host adapters answering host adapter inquiries, targets holding a
// device (the scanner, other devices), targets that fail, and requests completed at once or
// later from the manager's own thread.
#ifndef SCAN_FS_SIM_SIMULATED_BUS_H
#define SCAN_FS_SIM_SIMULATED_BUS_H

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/aspi_manager.h"
#include "scsi/srb.h"
#include "sim/scsi_target.h"
#include "sim/sim_config.h"
#include "sim/virtual_scanner.h"

class SimulatedBus : public AspiManager {
 public:
  explicit SimulatedBus(const SimConfig& config);
  ~SimulatedBus() override;

  uint32_t GetSupportInfo() override;

  // The scanner, or nullptr when the configuration has none.
  VirtualScanner* scanner() { return scanner_; }

 private:
  uint8_t InquireAdapter(SRB_HAInquiry& inquiry) override;
  void StartScsiRequest(SRB_ExecSCSICmd& request) override;
  void StartReset(SRB_BusDeviceReset& request) override;
  ScsiTarget* TargetAt(uint8_t adapter, uint8_t target);
  const TargetFailure* FailureAt(uint8_t adapter, uint8_t target) const;
  CommandOutcome Execute(SRB_ExecSCSICmd& request, ScsiTarget& target);
  void Finish(SRB_ExecSCSICmd& request, const CommandOutcome& outcome);
  // Runs `work` now, or on the manager's thread after `delay` when that is not zero or requests
  // complete late.
  void Schedule(std::chrono::milliseconds delay, std::function<void()> work);
  void WorkerLoop();

  SimConfig config_;
  std::map<int, std::unique_ptr<ScsiTarget>> targets_;  // key: adapter * 8 + target
  VirtualScanner* scanner_ = nullptr;

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::pair<std::chrono::steady_clock::time_point, std::function<void()>>> jobs_;
  bool stopping_ = false;
  std::thread worker_;
};

#endif
