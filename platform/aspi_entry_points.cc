// The ASPI entry points of the Linux build, forwarding to the manager chosen at start.
#include "platform/aspi_manager.h"
#include "scsi/aspi.h"
#include "scsi/srb.h"

namespace {

AspiManager* activeManager = nullptr;

}  // namespace

void UseAspiManager(AspiManager* manager) {
  activeManager = manager;
}

uint32_t GetASPI32SupportInfo() {
  if (activeManager == nullptr) return static_cast<uint32_t>(SS_NO_ADAPTERS) << 8;
  return activeManager->GetSupportInfo();
}

uint32_t SendASPI32Command(void* requestBlock) {
  if (activeManager == nullptr) {
    // Without a manager every request still ends, with a failure.
    auto* header = static_cast<SRB_Header*>(requestBlock);
    header->SRB_Status = SS_NO_ADAPTERS;
    return SS_NO_ADAPTERS;
  }
  return activeManager->SendCommand(requestBlock);
}
