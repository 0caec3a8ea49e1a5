#include "platform/sg/sg_device_calls.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

namespace {

int OpenNode(const std::string& path) {
  // O_NONBLOCK: an open that another program holds exclusively fails at once instead of
  // waiting, and reading an answer that is not there yet fails instead of blocking.
  const int descriptor = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
  return descriptor >= 0 ? descriptor : -errno;
}

// Runs `call` with every signal held back until it returns; its result, or -errno.
template <typename Call>
long WithSignalsHeld(Call call) {
  sigset_t all, previous;
  sigfillset(&all);
  pthread_sigmask(SIG_BLOCK, &all, &previous);
  const long result = call();
  const int error = errno;
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  return result < 0 ? -error : result;
}

int PollNode(int descriptor, int timeoutMs) {
  pollfd node{descriptor, POLLIN, 0};
  const int result = ::poll(&node, 1, timeoutMs);
  if (result < 0) return -errno;
  return result == 0 ? 0 : node.revents;
}

}  // namespace

SgDeviceCalls SystemDeviceCalls() {
  SgDeviceCalls calls;
  calls.open = OpenNode;
  calls.ioctl = [](int descriptor, unsigned long request, void* argument) {
    return static_cast<int>(
        WithSignalsHeld([&] { return ::ioctl(descriptor, request, argument); }));
  };
  calls.write = [](int descriptor, const void* data, size_t size) {
    return WithSignalsHeld([&] { return ::write(descriptor, data, size); });
  };
  calls.read = [](int descriptor, void* data, size_t size) {
    return WithSignalsHeld([&] { return ::read(descriptor, data, size); });
  };
  calls.poll = PollNode;
  calls.close = [](int descriptor) { ::close(descriptor); };
  return calls;
}
