// The user-space I/O device through which the kernel's target hands a backstore to this
// program: /dev/uioN, whose one memory map is the ring's shared area. Reading 4 bytes waits for
// the kernel's next notice; writing 4 bytes tells it that entries were answered.
#ifndef SCAN_FS_SIM_TCMU_UIO_DEVICE_H
#define SCAN_FS_SIM_TCMU_UIO_DEVICE_H

#include <cstdint>
#include <span>
#include <string>

class UioDevice {
 public:
  UioDevice() = default;
  UioDevice(const UioDevice&) = delete;
  UioDevice& operator=(const UioDevice&) = delete;
  ~UioDevice();

  // Opens `path` (/dev/uioN) and maps its area; on failure says why in `error`.
  bool Open(const std::string& path, std::string& error);
  std::span<uint8_t> mapping() const { return {mapping_, size_}; }
  // Waits for the kernel's next notice. False when a signal ended the wait (errno EINTR) or the
  // device failed.
  bool WaitForNotice();
  bool Notify();

 private:
  int descriptor_ = -1;
  uint8_t* mapping_ = nullptr;
  size_t size_ = 0;
};

#endif
