#include "scsi/transport.h"

#include <atomic>

#include "scsi/aspi.h"

uint8_t WaitForCompletion(uint8_t& statusByte) {
  const std::atomic_ref<uint8_t> status(statusByte);
  uint8_t value;
  while ((value = status.load(std::memory_order_acquire)) == SS_PENDING) {
  }
  return value;
}

int RunRequest(SRB_ExecSCSICmd& request) {
  SendASPI32Command(&request);
  return WaitForCompletion(request.SRB_Status);
}

int RunRequest(SRB_BusDeviceReset& request) {
  SendASPI32Command(&request);
  return WaitForCompletion(request.SRB_Status);
}

SRB_ExecSCSICmd MakeScsiRequest(uint8_t hostAdapter, uint8_t target, uint8_t flags) {
  SRB_ExecSCSICmd request{};
  request.SRB_Cmd = SC_EXEC_SCSI_CMD;
  request.SRB_HaId = hostAdapter;
  request.SRB_Flags = flags;
  request.SRB_Target = target;
  request.SRB_Lun = 0;
  request.SRB_SenseLen = SENSE_LEN;
  return request;
}
