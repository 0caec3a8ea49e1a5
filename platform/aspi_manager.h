// What stands behind the two ASPI entry points on Linux (and inside the simulated WNASPI32.dll):
// the SCSI generic manager or the simulated bus. Managers finish every request through Complete,
// which tells an observer (the trace) before the program can see the final status.
#ifndef SCAN_FS_PLATFORM_ASPI_MANAGER_H
#define SCAN_FS_PLATFORM_ASPI_MANAGER_H

#include <cstdint>
#include <functional>

#include "scsi/srb.h"

class AspiManager {
 public:
  // Called with a finished request block and its final status, before that status is published.
  using CompletionObserver = std::function<void(const void* requestBlock, uint8_t status)>;

  virtual ~AspiManager() = default;
  virtual uint32_t GetSupportInfo() = 0;
  // Carries one request block to what its SRB_Cmd names and returns its status as it stands: a
  // host adapter inquiry is complete on return, other requests when the manager completes them.
  uint32_t SendCommand(void* requestBlock);

  void SetCompletionObserver(CompletionObserver observer) { observer_ = std::move(observer); }

 protected:
  // A host adapter inquiry, answered at once: its status is published on return.
  virtual uint8_t InquireAdapter(SRB_HAInquiry& inquiry) = 0;
  // A SCSI request and a bus device reset: the manager completes them, at once or later.
  virtual void StartScsiRequest(SRB_ExecSCSICmd& request) = 0;
  virtual void StartReset(SRB_BusDeviceReset& reset) = 0;

  // Publishes the final SRB_Status of a request; the program may go on from this moment.
  void Complete(void* requestBlock, uint8_t status);

 private:
  CompletionObserver observer_;
};

// The manager the entry points forward to (Linux). Not owned.
void UseAspiManager(AspiManager* manager);

#endif
