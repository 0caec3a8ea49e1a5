#include "tests/support/program_bench.h"

#include <gtest/gtest.h>

#include "platform/linux/linux_ui.h"
#include "scsi/command_table.h"
#include "shell/program_state.h"

namespace {

RecordedRequest Record(const void* block) {
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

}  // namespace

ProgramBench::ProgramBench(const std::string& config) {
  ResetProgramState();
  ResetLinuxUi();
  std::string error;
  const std::optional<SimConfig> parsed = ParseSimConfig(config, error);
  EXPECT_TRUE(parsed.has_value()) << error;
  bus_ = std::make_unique<SimulatedBus>(parsed.value_or(SimConfig{}));
  bus_->SetCompletionObserver([this](const void* block, uint8_t) {
    std::lock_guard lock(mutex_);
    requests_.push_back(Record(block));
  });
  UseAspiManager(bus_.get());
  UseFrontEnd(&frontEnd_);
}

ProgramBench::~ProgramBench() {
  UseFrontEnd(nullptr);
  UseAspiManager(nullptr);
  bus_.reset();
  ResetLinuxUi();
  ResetProgramState();
}

void ProgramBench::Start() {
  CreateMainWindow();
}

void ProgramBench::Command(unsigned commandId) {
  SendMenuCommand(commandId);
}

std::vector<RecordedRequest> ProgramBench::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

std::vector<uint8_t> ProgramBench::OperationCodes() const {
  std::vector<uint8_t> codes;
  for (const RecordedRequest& request : Requests()) {
    if (request.command == SC_EXEC_SCSI_CMD) codes.push_back(request.operationCode());
  }
  return codes;
}

void ProgramBench::ClearRequests() {
  std::lock_guard lock(mutex_);
  requests_.clear();
}

std::vector<std::string> ProgramBench::SurfaceLines() const {
  std::vector<std::string> lines;
  for (const SurfaceLine& line : DisplaySurface().lines()) {
    lines.push_back(std::to_string(line.x) + " " + std::to_string(line.y) + " " + line.text);
  }
  return lines;
}
