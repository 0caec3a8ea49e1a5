#include "sim/tcmu/uio_device.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

// The size of map 0, as /sys/class/uio/uioN/maps/map0/size tells it (hexadecimal).
size_t MapSize(const std::string& devicePath) {
  const std::string name = std::filesystem::path(devicePath).filename();
  std::ifstream file("/sys/class/uio/" + name + "/maps/map0/size");
  std::string text;
  if (!(file >> text)) return 0;
  return static_cast<size_t>(std::strtoull(text.c_str(), nullptr, 16));
}

}  // namespace

UioDevice::~UioDevice() {
  if (mapping_ != nullptr) ::munmap(mapping_, size_);
  if (descriptor_ >= 0) ::close(descriptor_);
}

bool UioDevice::Open(const std::string& path, std::string& error) {
  size_ = MapSize(path);
  if (size_ == 0) {
    error = "no memory map of " + path + " in /sys/class/uio";
    return false;
  }
  descriptor_ = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (descriptor_ < 0) {
    error = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  void* area = ::mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_SHARED, descriptor_, 0);
  if (area == MAP_FAILED) {
    error = "cannot map " + path + ": " + std::strerror(errno);
    return false;
  }
  mapping_ = static_cast<uint8_t*>(area);
  return true;
}

bool UioDevice::WaitForNotice() {
  uint32_t count = 0;
  return ::read(descriptor_, &count, sizeof count) == sizeof count;
}

bool UioDevice::Notify() {
  const uint32_t value = 0;
  return ::write(descriptor_, &value, sizeof value) == sizeof value;
}
