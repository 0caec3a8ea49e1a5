#include "diagnostics/page_text.h"

#include "resources/strings.h"
#include "shell/platform_ui.h"

namespace {

constexpr int kLineSize = 128;

}  // namespace

void DrawStringLine(int x, int y, unsigned textId) {
  if (textId == kNoLine) return;
  char line[kLineSize];
  LoadStringText(textId, line, sizeof line);
  DrawTextLine(x, y, line);
}
