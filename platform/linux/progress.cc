#include "platform/linux/progress.h"

std::string ProgressText(uint32_t done, uint32_t total) {
  const uint64_t percent = total > 0 ? uint64_t{done} * 100 / total : 0;
  return std::to_string(percent) + "%  " + std::to_string(done) + " of " + std::to_string(total) +
         " bytes";
}

bool ProgressPace::Due() {
  const auto now = std::chrono::steady_clock::now();
  if (started_ && now - last_ < kInterval) return false;
  started_ = true;
  last_ = now;
  return true;
}
