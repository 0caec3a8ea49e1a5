// The calls the SCSI generic manager makes on device nodes, as functions a test can replace.
#ifndef SCAN_FS_PLATFORM_SG_SG_DEVICE_CALLS_H
#define SCAN_FS_PLATFORM_SG_SG_DEVICE_CALLS_H

#include <cstddef>
#include <functional>
#include <string>

struct SgDeviceCalls {
  // Opens a node for reading and writing: a descriptor, or -errno.
  std::function<int(const std::string& path)> open;
  // 0, or -errno.
  std::function<int(int descriptor, unsigned long request, void* argument)> ioctl;
  // Bytes written or read, or -errno.
  std::function<long(int descriptor, const void* data, size_t size)> write;
  std::function<long(int descriptor, void* data, size_t size)> read;
  // Waits up to `timeoutMs` for the node to have an answer: its poll events, 0 when the time ran
  // out, or -errno (-EINTR when a signal came).
  std::function<int(int descriptor, int timeoutMs)> poll;
  std::function<void(int descriptor)> close;
};

// The real system calls. No signal interrupts handing a command to the kernel or taking its
// answer back (the kernel would drop the answer, or a restarted call send the command a second
// time); the wait in between ends at any signal.
SgDeviceCalls SystemDeviceCalls();

#endif
