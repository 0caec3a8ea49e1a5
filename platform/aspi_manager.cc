#include "platform/aspi_manager.h"

#include <atomic>

#include "scsi/aspi.h"
#include "scsi/srb.h"

uint32_t AspiManager::SendCommand(void* requestBlock) {
  auto* header = static_cast<SRB_Header*>(requestBlock);
  switch (header->SRB_Cmd) {
    case SC_HA_INQUIRY:
      Complete(requestBlock, InquireAdapter(*static_cast<SRB_HAInquiry*>(requestBlock)));
      break;
    case SC_EXEC_SCSI_CMD:
      StartScsiRequest(*static_cast<SRB_ExecSCSICmd*>(requestBlock));
      break;
    case SC_RESET_DEV:
      StartReset(*static_cast<SRB_BusDeviceReset*>(requestBlock));
      break;
    default:
      Complete(requestBlock, SS_INVALID_CMD);
      break;
  }
  return std::atomic_ref<uint8_t>(header->SRB_Status).load(std::memory_order_acquire);
}

void AspiManager::Complete(void* requestBlock, uint8_t status) {
  if (observer_) observer_(requestBlock, status);
  auto* header = static_cast<SRB_Header*>(requestBlock);
  std::atomic_ref<uint8_t>(header->SRB_Status).store(status, std::memory_order_release);
}
