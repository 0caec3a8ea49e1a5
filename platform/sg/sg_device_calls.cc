#include "platform/sg/sg_device_calls.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

namespace {

int OpenNode(const std::string& path) {
  // O_NONBLOCK: an open that another program holds exclusively fails at once instead of
  // waiting; SG_IO itself still waits for the device.
  const int descriptor = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
  return descriptor >= 0 ? descriptor : -errno;
}

int IoctlWithSignalsHeld(int descriptor, unsigned long request, void* argument) {
  sigset_t all, previous;
  sigfillset(&all);
  pthread_sigmask(SIG_BLOCK, &all, &previous);
  const int result = ::ioctl(descriptor, request, argument);
  const int error = errno;
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  return result < 0 ? -error : 0;
}

}  // namespace

SgDeviceCalls SystemDeviceCalls() {
  return SgDeviceCalls{OpenNode, IoctlWithSignalsHeld, [](int descriptor) { ::close(descriptor); }};
}
