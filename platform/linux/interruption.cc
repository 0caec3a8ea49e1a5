#include "platform/linux/interruption.h"

#include <csignal>

namespace {

constexpr int kStoppingSignals[] = {SIGINT, SIGTERM};
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

volatile std::sig_atomic_t waitingForUser = 0;
volatile std::sig_atomic_t stopSignal = 0;
volatile std::sig_atomic_t stopFromTerminal = 0;
void (*volatile restoreTerminalHook)() = nullptr;

bool Stops(int signalNumber) {
  for (const int stopping : kStoppingSignals) {
    if (signalNumber == stopping) return true;
  }
  return false;
}

void EndNow(int signalNumber) {
  if (restoreTerminalHook != nullptr) restoreTerminalHook();
  struct sigaction action = {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(signalNumber, &action, nullptr);
  // Blocked while this handler runs: the default action ends the program once it returns, so
  // the parent sees which signal it was.
  std::raise(signalNumber);
}

void OnEndingSignal(int signalNumber, siginfo_t* info, void*) {
  if (Stops(signalNumber) && stopSignal == 0 && !waitingForUser) {
    stopSignal = signalNumber;
    // The terminal driver sends its Ctrl+C from the kernel; kill(2) from another process does
    // not.
    stopFromTerminal = info != nullptr && info->si_code == SI_KERNEL;
    return;
  }
  EndNow(signalNumber);
}

}  // namespace

void CatchInterruptions(void (*restoreTerminal)()) {
  restoreTerminalHook = restoreTerminal;
  struct sigaction action = {};
  action.sa_sigaction = OnEndingSignal;
  action.sa_flags = SA_SIGINFO | SA_RESTART;  // a stop request must not fail a write
  sigemptyset(&action.sa_mask);
  for (const int signalNumber : kEndingSignals) sigaction(signalNumber, &action, nullptr);
}

void ReleaseInterruptions() {
  for (const int signalNumber : kEndingSignals) std::signal(signalNumber, SIG_DFL);
  restoreTerminalHook = nullptr;
}

void SetWaitingForUser(bool waiting) {
  waitingForUser = waiting ? 1 : 0;
}

bool StopRequested() {
  return stopSignal != 0;
}

int StopSignal() {
  return stopSignal;
}

bool StopCameFromTerminal() {
  return stopFromTerminal != 0;
}

void EndAsSignalled() {
  if (stopSignal == 0) return;
  ReleaseInterruptions();
  std::raise(stopSignal);
}
