// The request trace (--trace FILE): one JSON line for every request block the program sends
// (request_json.h), when the manager completes it.
//
// Lines are collected and written in blocks, so that the trace costs a scan little: a block goes
// out when it is full, at the latest a tenth of a second after its first line (also while the
// program waits on a request that does not end), and when the trace is closed. Only whole lines
// reach the file: a write that fails (a full disk) is taken back to the last whole line, and
// nothing is written after it, since a gap would pass for requests that never happened.
#ifndef SCAN_FS_PLATFORM_LINUX_REQUEST_TRACE_H
#define SCAN_FS_PLATFORM_LINUX_REQUEST_TRACE_H

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

class RequestTrace {
 public:
  RequestTrace() = default;
  RequestTrace(const RequestTrace&) = delete;
  RequestTrace& operator=(const RequestTrace&) = delete;
  ~RequestTrace();

  // Opens (replaces) the file; false when it cannot be opened.
  bool Open(const std::string& path);
  // Adds the line for a completed request block.
  void Record(const void* requestBlock, uint8_t status);
  // Writes what is left and closes the file; returns 0 when every line reached it, or the error
  // that stopped it.
  int Close();

 private:
  void WritePending();  // with mutex_ held
  void WriteInTime();

  std::mutex mutex_;
  std::condition_variable pending_;
  std::thread writer_;
  std::string lines_;  // not yet written
  int fd_ = -1;
  int error_ = 0;
  bool closing_ = false;
};

#endif
