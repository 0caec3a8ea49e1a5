// The front end of the fuzz target: the recording front end of the tests, holding each progress
// report to its total (never more done than that) and asking the running command to stop when
// the input says the user did; then, as the terminal does, a confirmation is answered Cancel.
#ifndef SCAN_FS_TESTS_FUZZ_FUZZ_FRONT_END_H
#define SCAN_FS_TESTS_FUZZ_FUZZ_FRONT_END_H

#include <cstdint>

#include "tests/support/recording_front_end.h"

class FuzzFrontEnd : public RecordingFrontEnd {
 public:
  int ShowMessageBox(const MessageBoxRequest& box) override;
  void ShowProgress(uint32_t done, uint32_t total) override;
  bool StopAsked() override { return stopAsked_; }

  // The user asks the running command to stop; it holds until the step ends.
  void AskToStop() { stopAsked_ = true; }
  void EndStep() { stopAsked_ = false; }

 private:
  bool stopAsked_ = false;
};

#endif
