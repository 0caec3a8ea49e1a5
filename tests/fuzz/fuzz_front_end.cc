#include "tests/fuzz/fuzz_front_end.h"

#include <string>

#include "tests/fuzz/violation.h"

int FuzzFrontEnd::ShowMessageBox(const MessageBoxRequest& box) {
  const int answer = RecordingFrontEnd::ShowMessageBox(box);
  return stopAsked_ && (box.type & 0xF) == kMbOkCancel ? kIdCancel : answer;
}

void FuzzFrontEnd::ShowProgress(uint32_t done, uint32_t total) {
  RecordingFrontEnd::ShowProgress(done, total);
  if (done > total) {
    Violation("progress of " + std::to_string(done) + " of " + std::to_string(total) + " bytes");
  }
}
