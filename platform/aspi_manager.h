// What stands behind the two ASPI entry points on Linux (and inside the simulated WNASPI32.dll):
// the SCSI generic manager or the simulated bus. Managers finish every request through Complete,
// which tells an observer (the trace) before the program can see the final status.
#ifndef SCAN_FS_PLATFORM_ASPI_MANAGER_H
#define SCAN_FS_PLATFORM_ASPI_MANAGER_H

#include <cstdint>
#include <functional>

class AspiManager {
 public:
  // Called with a finished request block and its final status, before that status is published.
  using CompletionObserver = std::function<void(const void* requestBlock, uint8_t status)>;

  virtual ~AspiManager() = default;
  virtual uint32_t GetSupportInfo() = 0;
  virtual uint32_t SendCommand(void* requestBlock) = 0;

  void SetCompletionObserver(CompletionObserver observer) { observer_ = std::move(observer); }

 protected:
  // Publishes the final SRB_Status of a request; the program may go on from this moment.
  void Complete(void* requestBlock, uint8_t status);

 private:
  CompletionObserver observer_;
};

// The manager the entry points forward to (Linux). Not owned.
void UseAspiManager(AspiManager* manager);

#endif
