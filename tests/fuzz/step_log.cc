#include "tests/fuzz/step_log.h"

#include <cstdio>
#include <cstdlib>

#include "platform/linux/linux_ui.h"

void LogStep(const ScriptStep& step, const RequestTally& tally, RecordingFrontEnd& frontEnd) {
  static const bool enabled = std::getenv("SCAN_FS_FUZZ_LOG") != nullptr;
  if (enabled) {
    std::fprintf(stderr, "# %s: %d requests, %d after the input, %d after a stop\n", step.name,
                 tally.requests, tally.afterInputEnded, tally.afterStop);
    for (const std::string& dialog : frontEnd.dialogs()) {
      std::fprintf(stderr, "dialog %s\n", dialog.c_str());
    }
    for (const RecordedBox& box : frontEnd.boxes()) {
      std::fprintf(stderr, "box %s: %s\n", box.caption.c_str(), box.text.c_str());
    }
    for (const SurfaceLine& line : DisplaySurface().lines()) {
      std::fprintf(stderr, "line %d %d %s\n", line.x, line.y, line.text.c_str());
    }
  }
  frontEnd.Clear();
}
