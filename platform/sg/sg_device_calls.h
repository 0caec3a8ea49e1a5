// The calls the SCSI generic manager makes on device nodes, as functions a test can replace.
#ifndef SCAN_FS_PLATFORM_SG_SG_DEVICE_CALLS_H
#define SCAN_FS_PLATFORM_SG_SG_DEVICE_CALLS_H

#include <functional>
#include <string>

struct SgDeviceCalls {
  // Opens a node for reading and writing: a descriptor, or -errno.
  std::function<int(const std::string& path)> open;
  // 0, or -errno.
  std::function<int(int descriptor, unsigned long request, void* argument)> ioctl;
  std::function<void(int descriptor)> close;
};

// The real system calls. A signal never interrupts a command in flight: the kernel would drop
// its result, and the restarted call would send the command to the device a second time.
SgDeviceCalls SystemDeviceCalls();

#endif
