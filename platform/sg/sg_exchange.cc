#include "platform/sg/sg_exchange.h"

#include <poll.h>

#include <cerrno>
#include <chrono>

int ExchangeWithNode(const SgDeviceCalls& calls, int descriptor, sg_io_hdr_t& header,
                     uint32_t limitMs) {
  using Clock = std::chrono::steady_clock;
  const long written = calls.write(descriptor, &header, sizeof header);
  if (written < 0) return static_cast<int>(written);
  if (written != static_cast<long>(sizeof header)) return -EIO;

  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(limitMs);
  while (true) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return -ETIMEDOUT;
    const int events = calls.poll(descriptor, static_cast<int>(left));
    if (events == -EINTR) continue;  // the command is still the kernel's: wait on
    if (events < 0) return events;
    if (events == 0) return -ETIMEDOUT;
    const long read = calls.read(descriptor, &header, sizeof header);
    if (read >= 0) return 0;
    if (read != -EAGAIN) return static_cast<int>(read);
    // Woken without an answer: the device went away with it, or the wake was spurious.
    if ((events & (POLLHUP | POLLERR)) != 0) return -ENODEV;
  }
}
