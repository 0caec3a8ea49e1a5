// The program on a simulated bus, for tests: fresh process-wide state, a simulated bus built from
// a configuration text, the recording front end, and every completed request block recorded.
#ifndef SCAN_FS_TESTS_SUPPORT_PROGRAM_BENCH_H
#define SCAN_FS_TESTS_SUPPORT_PROGRAM_BENCH_H

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/linux/linux_ui.h"
#include "platform/linux/surface_model.h"
#include "scsi/command_table.h"
#include "shell/program_state.h"
#include "sim/simulated_bus.h"
#include "tests/support/recording_front_end.h"

struct RecordedRequest {
  uint8_t command;  // SRB_Cmd
  uint8_t hostAdapter;
  uint8_t target;
  uint8_t flags;
  uint32_t bufferLength;
  std::vector<uint8_t> cdb;
  std::vector<uint8_t> dataOut;  // the whole buffer of a command that sends data

  uint8_t operationCode() const { return cdb.empty() ? 0xFF : cdb[0]; }
};

// The request block as the bus completed it.
inline RecordedRequest RecordedRequestOf(const void* block) {
  RecordedRequest request{};
  const auto* header = static_cast<const SRB_Header*>(block);
  request.command = header->SRB_Cmd;
  request.hostAdapter = header->SRB_HaId;
  request.flags = header->SRB_Flags;
  if (header->SRB_Cmd == SC_EXEC_SCSI_CMD) {
    const auto& scsi = *static_cast<const SRB_ExecSCSICmd*>(block);
    request.target = scsi.SRB_Target;
    request.bufferLength = scsi.SRB_BufLen;
    request.cdb.assign(scsi.CDBByte, scsi.CDBByte + scsi.SRB_CDBLen);
    if (CommandDataDirection(scsi.CDBByte[0]) == DataDirection::kOut &&
        scsi.SRB_BufPointer != nullptr) {
      request.dataOut.assign(scsi.SRB_BufPointer, scsi.SRB_BufPointer + scsi.SRB_BufLen);
    }
  } else if (header->SRB_Cmd == SC_RESET_DEV) {
    request.target = static_cast<const SRB_BusDeviceReset*>(block)->SRB_Target;
  }
  return request;
}

class ProgramBench {
 public:
  // `config` is a simulator configuration text; the test fails if it does not parse.
  explicit ProgramBench(const std::string& config = "") {
    ResetProgramState();
    ResetLinuxUi();
    std::string error;
    const std::optional<SimConfig> parsed = ParseSimConfig(config, error);
    EXPECT_TRUE(parsed.has_value()) << error;
    bus_ = std::make_unique<SimulatedBus>(parsed.value_or(SimConfig{}));
    bus_->SetCompletionObserver([this](const void* block, uint8_t) {
      std::lock_guard lock(mutex_);
      requests_.push_back(RecordedRequestOf(block));
    });
    UseAspiManager(bus_.get());
    UseFrontEnd(&frontEnd_);
  }
  ~ProgramBench() {
    UseFrontEnd(nullptr);
    UseAspiManager(nullptr);
    bus_.reset();
    ResetLinuxUi();
    ResetProgramState();
  }

  SimulatedBus& bus() { return *bus_; }
  RecordingFrontEnd& frontEnd() { return frontEnd_; }

  // Window creation, as at start-up.
  void Start() { CreateMainWindow(); }
  // A menu command of the main window.
  void Command(unsigned commandId) { SendMenuCommand(commandId); }

  // Requests completed so far, in order.
  std::vector<RecordedRequest> Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
  }
  // Their operation codes (SCSI requests only), in order.
  std::vector<uint8_t> OperationCodes() const {
    std::vector<uint8_t> codes;
    for (const RecordedRequest& request : Requests()) {
      if (request.command == SC_EXEC_SCSI_CMD) codes.push_back(request.operationCode());
    }
    return codes;
  }
  void ClearRequests() {
    std::lock_guard lock(mutex_);
    requests_.clear();
  }

  // The lines on the surface as "X Y TEXT".
  std::vector<std::string> SurfaceLines() const {
    std::vector<std::string> lines;
    for (const SurfaceLine& line : DisplaySurface().lines()) {
      lines.push_back(std::to_string(line.x) + " " + std::to_string(line.y) + " " + line.text);
    }
    return lines;
  }

 private:
  RecordingFrontEnd frontEnd_;
  std::unique_ptr<SimulatedBus> bus_;
  mutable std::mutex mutex_;
  std::vector<RecordedRequest> requests_;
};

#endif
