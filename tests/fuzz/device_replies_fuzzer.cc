// libFuzzer target: the whole program (window creation and every menu command) on an ASPI
// manager whose answers are the fuzz input, with the program's invariants checked after every
// step. Each input runs in a fresh temporary folder, where the program writes its files.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/linux/linux_ui.h"
#include "shell/program_state.h"
#include "tests/fuzz/command_script.h"
#include "tests/fuzz/fuzz_front_end.h"
#include "tests/fuzz/fuzzed_aspi_manager.h"
#include "tests/fuzz/step_checks.h"
#include "tests/fuzz/violation.h"
#include "tests/support/temp_directory.h"

namespace {

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
  BeginStep(step.name);
  manager.BeginStep(step.limits);
  if (step.imageFile != ImageFile::kNone) std::remove("img_fs.tif");
  const int filesOpenBefore = OpenFileCount();
  std::vector<int> clicks;
  for (const int control : step.dialogClicks) {
    if (control != 0) clicks.push_back(control);
  }
  frontEnd.ClickInNextDialog(clicks);

  if (step.commandId == 0) {
    CreateMainWindow();
  } else {
    SendMenuCommand(step.commandId);
  }
  frontEnd.EndStep();
  LogStep(step, manager.EndStep(), frontEnd);
  frontEnd.Clear();
  CheckStepEnd(step, filesOpenBefore);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  RememberStartFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const ScopedTempDirectory folder;
  ReplyStream replies(data, size);
  const size_t firstCommand = replies.Byte() % kMenuStepCount;

  ResetProgramState();
  ResetLinuxUi();
  FuzzFrontEnd frontEnd;
  UseFrontEnd(&frontEnd);
  FuzzedAspiManager manager(replies, [&frontEnd] { frontEnd.AskToStop(); });
  UseAspiManager(&manager);

  RunStep(kStartStep, manager, frontEnd);
  for (size_t i = 0; i < kMenuStepCount; ++i) {
    RunStep(kMenuSteps[(firstCommand + i) % kMenuStepCount], manager, frontEnd);
  }
  RunStep(kExitStep, manager, frontEnd);

  UseAspiManager(nullptr);
  UseFrontEnd(nullptr);
  return 0;
}
