// The recording front end of the tests, holding the progress a command reports to what it can
// be: never more done than the total.
#ifndef SCAN_FS_TESTS_FUZZ_PROGRESS_CHECK_H
#define SCAN_FS_TESTS_FUZZ_PROGRESS_CHECK_H

#include <cstdint>

#include "tests/support/recording_front_end.h"

class ProgressCheckingFrontEnd : public RecordingFrontEnd {
 public:
  void ShowProgress(uint32_t done, uint32_t total) override;
};

#endif
