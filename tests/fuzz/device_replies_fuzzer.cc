// libFuzzer target: the whole program (window creation and every menu command) on an ASPI
// manager whose answers are the fuzz input (fuzzed_aspi_manager.h), with the program's invariants
// checked after every step of the script (script_checks.h). Each input runs in a fresh temporary
// folder, where the program writes its files.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "platform/linux/linux_ui.h"
#include "shell/program_state.h"
#include "tests/fuzz/fuzzed_aspi_manager.h"
#include "tests/fuzz/script_checks.h"
#include "tests/support/recording_front_end.h"
#include "tests/support/temp_directory.h"

namespace {

// The recording front end of the tests, holding each progress report to its total (never more
// done than that) and asking the running command to stop when the input says the user did; then,
// as the terminal does, a confirmation is answered Cancel.
class FuzzFrontEnd : public RecordingFrontEnd {
 public:
  int ShowMessageBox(const MessageBoxRequest& box) override {
    const int answer = RecordingFrontEnd::ShowMessageBox(box);
    return stopAsked && (box.type & 0xF) == kMbOkCancel ? kIdCancel : answer;
  }
  void ShowProgress(uint32_t done, uint32_t total) override {
    RecordingFrontEnd::ShowProgress(done, total);
    if (done > total) {
      Violation("progress of " + std::to_string(done) + " of " + std::to_string(total) + " bytes");
    }
  }
  bool StopAsked() override { return stopAsked; }

  bool stopAsked = false;  // set by the manager; holds until the next step begins
};

// With SCAN_FS_FUZZ_LOG set, what each step did goes to standard error: for reading what an input
// (a seed, or one that libFuzzer reported) makes the program do.
void LogStep(const ScriptStep& step, const RequestTally& tally, const RecordingFrontEnd& frontEnd) {
  static const bool enabled = std::getenv("SCAN_FS_FUZZ_LOG") != nullptr;
  if (!enabled) return;
  std::fprintf(stderr, "# %s: %d requests, %d after the input, %d after a stop\n", step.name,
               tally.requests, tally.afterInputEnded, tally.afterStop);
  for (const RecordedBox& box : frontEnd.boxes())
    std::fprintf(stderr, "box %s\n", box.text.c_str());
}

void RunStep(const ScriptStep& step, FuzzedAspiManager& manager, FuzzFrontEnd& frontEnd) {
  if (step.commandId != 0 && !MenuCommandEnabled(step.commandId)) return;
  currentStep = step.name;
  manager.BeginStep(step.limits);
  if (step.imageFile != ImageFile::kNone) std::remove("img_fs.tif");
  const int filesOpenBefore = OpenFileCount();
  frontEnd.ClickInNextDialog(
      std::vector<int>(std::begin(step.dialogClicks),
                       std::find(std::begin(step.dialogClicks), std::end(step.dialogClicks), 0)));

  if (step.commandId == 0) {
    CreateMainWindow();
  } else {
    SendMenuCommand(step.commandId);
  }
  LogStep(step, manager.EndStep(), frontEnd);
  frontEnd.Clear();
  CheckStepEnd(step, filesOpenBefore);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  startFolder = std::filesystem::current_path();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const ScopedTempDirectory folder;
  ResetProgramState();
  ResetLinuxUi();
  FuzzFrontEnd frontEnd;
  UseFrontEnd(&frontEnd);
  FuzzedAspiManager manager(data, size, frontEnd.stopAsked);
  UseAspiManager(&manager);

  const size_t firstCommand = manager.Byte() % kMenuStepCount;
  RunStep(kStartStep, manager, frontEnd);
  for (size_t i = 0; i < kMenuStepCount; ++i) {
    RunStep(kMenuSteps[(firstCommand + i) % kMenuStepCount], manager, frontEnd);
  }
  RunStep(kExitStep, manager, frontEnd);

  UseAspiManager(nullptr);
  UseFrontEnd(nullptr);
  return 0;
}
