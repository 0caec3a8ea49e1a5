// scanner_target: the simulated scanner served to the kernel's SCSI target from user space,
// through a user backstore's ring (/dev/uioN), until SIGTERM or SIGINT.
//
//   scanner_target [--attached] [--stop-after=OP:N | --kill-after=OP:N] UIO_DEVICE [CONFIG]
//
// CONFIG is the simulator's configuration text, as scan_fs --simulate takes it, limited to the
// scanner's own items. Until SIGUSR1 (or from the start with --attached) the unit answers only
// the kernel's identification commands, without reaching the scanner. Every change of phase and
// the end are told in one line on standard output.
//
// A scanner that stops answering: once it has answered the N-th command of operation code OP
// (hex) that reached the scanner, the program stops itself (SIGSTOP; SIGCONT goes on) or is
// killed (SIGKILL), leaving the kernel's next command unanswered.
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "sim/sim_config.h"
#include "sim/tcmu/scanner_lun.h"
#include "sim/tcmu/tcmu_ring.h"
#include "sim/tcmu/uio_device.h"

namespace {

volatile std::sig_atomic_t attachEnded = 0;
volatile std::sig_atomic_t stopRequested = 0;

void OnAttachEnded(int) {
  attachEnded = 1;
}

void OnStop(int) {
  stopRequested = 1;
}

// Without SA_RESTART, so that a signal ends the wait for the kernel.
void Catch(int signal, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  sigaction(signal, &action, nullptr);
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "scanner_target: %s\n", message.c_str());
  return 1;
}

void Tell(const char* what) {
  std::printf("scanner_target: %s\n", what);
  std::fflush(stdout);
}

// When the scanner stops answering: after the `count`-th command `operationCode`, by `signal`.
struct Breakdown {
  uint8_t operationCode = 0;
  uint32_t count = 0;  // 0: never
  int signal = 0;
};

// "OP:N" after `prefix`; false when `argument` is not that option or its value is malformed.
bool ParseBreakdown(const char* argument, const char* prefix, int signal, Breakdown& breakdown) {
  const size_t length = std::strlen(prefix);
  if (std::strncmp(argument, prefix, length) != 0) return false;
  const char* at = argument + length;
  const char* end = at + std::strlen(at);
  unsigned operationCode = 0;
  auto [colon, error] = std::from_chars(at, end, operationCode, 16);
  if (error != std::errc() || colon == end || *colon != ':' || operationCode > 0xFF) return false;
  auto [last, countError] = std::from_chars(colon + 1, end, breakdown.count);
  if (countError != std::errc() || last != end || breakdown.count == 0) return false;
  breakdown.operationCode = static_cast<uint8_t>(operationCode);
  breakdown.signal = signal;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int next = 1;
  bool attached = false;
  Breakdown breakdown;
  for (; next < argc && std::strncmp(argv[next], "--", 2) == 0; ++next) {
    if (std::strcmp(argv[next], "--attached") == 0) {
      attached = true;
    } else if (!ParseBreakdown(argv[next], "--stop-after=", SIGSTOP, breakdown) &&
               !ParseBreakdown(argv[next], "--kill-after=", SIGKILL, breakdown)) {
      return Fail(std::string("unknown option ") + argv[next]);
    }
  }
  if (argc - next < 1 || argc - next > 2) {
    return Fail(
        "usage: scanner_target [--attached] [--stop-after=OP:N | --kill-after=OP:N] UIO_DEVICE "
        "[CONFIG]");
  }
  const std::string devicePath = argv[next];
  const std::string configText = argc - next == 2 ? argv[next + 1] : "";

  std::string error;
  const std::optional<SimConfig> config = ParseSimConfig(configText, error);
  if (!config) return Fail(error);
  if (!CheckServedConfig(*config, error)) return Fail(error);

  Catch(SIGUSR1, OnAttachEnded);
  Catch(SIGTERM, OnStop);
  Catch(SIGINT, OnStop);

  UioDevice device;
  if (!device.Open(devicePath, error)) return Fail(error);
  TcmuRing ring(device.mapping());
  if (!ring.Valid()) return Fail("the area of " + devicePath + " is not a user backstore's ring");

  ScannerLun lun(config->scanner);
  if (attached) attachEnded = 1;
  Tell(attached ? "serving the scanner" : "serving the kernel's attach");
  bool attaching = true;
  uint32_t breakdownCount = 0;
  bool breaksDown = false;
  const TargetCommandHandler handler = [&](std::span<const uint8_t> cdb, std::span<uint8_t> data) {
    if (!attaching && !cdb.empty() && cdb[0] == breakdown.operationCode &&
        ++breakdownCount == breakdown.count) {
      breaksDown = true;
    }
    return lun.Execute(cdb, data);
  };
  while (stopRequested == 0) {
    if (attaching && attachEnded != 0) {
      lun.EndAttach();
      attaching = false;
      if (!attached) Tell("serving the scanner");
    }
    const std::optional<size_t> answered = ring.ServePending(handler);
    if (!answered) return Fail("the ring of " + devicePath + " is damaged");
    if (*answered > 0 && !device.Notify()) return Fail("cannot notify " + devicePath);
    if (breaksDown) {
      breaksDown = false;
      Tell(breakdown.signal == SIGSTOP ? "stops answering" : "is killed");
      std::raise(breakdown.signal);
    }
    if (!device.WaitForNotice() && errno != EINTR) {
      return Fail("cannot wait on " + devicePath + ": " + std::strerror(errno));
    }
  }
  Tell("stopped");
  return 0;
}
