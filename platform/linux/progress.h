// How far a command is, as the front ends show it: a scan reports after every chunk, and the user
// is shown the state a few times a second at most.
#ifndef SCAN_FS_PLATFORM_LINUX_PROGRESS_H
#define SCAN_FS_PLATFORM_LINUX_PROGRESS_H

#include <chrono>
#include <cstdint>
#include <string>

// "45%  212992 of 472392 bytes"
std::string ProgressText(uint32_t done, uint32_t total);

class ProgressPace {
 public:
  static constexpr std::chrono::milliseconds kInterval{200};

  // True when the state is to be shown now: the first time, and then at most every kInterval.
  bool Due();
  // The next report is shown at once (a new command).
  void Restart() { started_ = false; }

 private:
  bool started_ = false;
  std::chrono::steady_clock::time_point last_;
};

#endif
