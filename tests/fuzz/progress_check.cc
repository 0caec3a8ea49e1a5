#include "tests/fuzz/progress_check.h"

#include <string>

#include "tests/fuzz/violation.h"

void ProgressCheckingFrontEnd::ShowProgress(uint32_t done, uint32_t total) {
  RecordingFrontEnd::ShowProgress(done, total);
  if (done > total) {
    Violation("progress of " + std::to_string(done) + " of " + std::to_string(total) + " bytes");
  }
}
