// The request trace (--trace FILE): one JSON object per line for every request block the program
// sends, written when the manager completes it.
//   SCSI request: cmd, ha, target, lun, flags, buflen, cdb (hex, SRB_CDBLen bytes), out (hex of
//   the whole buffer, for commands that send data), in (hex of the data received, up to 512
//   bytes) or in_len (when more), status, hastat, targstat, sense (hex, when status is not 01h).
//   Host adapter inquiry: cmd, ha, status, and when it succeeded scsi_id, manager, identifier.
//   Bus device reset: cmd, ha, target, lun, status, hastat.
#ifndef SCAN_FS_PLATFORM_LINUX_REQUEST_TRACE_H
#define SCAN_FS_PLATFORM_LINUX_REQUEST_TRACE_H

#include <cstdint>
#include <mutex>
#include <string>

class RequestTrace {
 public:
  // Opens (replaces) the file; false when it cannot be opened.
  bool Open(const std::string& path);
  ~RequestTrace();
  // Writes the line for a completed request block, whole or not at all. After a write has failed
  // nothing more is written.
  void Record(const void* requestBlock, uint8_t status);
  // Closes the file; returns 0 when every line reached it, or the error that stopped it.
  int Close();

 private:
  std::mutex mutex_;
  int fd_ = -1;
  int error_ = 0;
};

// The JSON line (without its line feed) for a completed request block.
std::string DescribeRequest(const void* requestBlock, uint8_t status);

#endif
