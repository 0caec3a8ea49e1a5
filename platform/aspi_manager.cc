#include "platform/aspi_manager.h"

#include <atomic>

#include "scsi/aspi.h"
#include "scsi/srb.h"

void AspiManager::Complete(void* requestBlock, uint8_t status) {
  if (observer_) observer_(requestBlock, status);
  auto* header = static_cast<SRB_Header*>(requestBlock);
  std::atomic_ref<uint8_t>(header->SRB_Status).store(status, std::memory_order_release);
}
