#include "shell/message_boxes.h"

#include "resources/strings.h"
#include "shell/program_state.h"

namespace {

constexpr int kMessageBufferSize = 256;

}  // namespace

void ShowWarning(WindowHandle owner, const char* text, bool taskModal) {
  PlatformMessageBox(owner, text, warningCaption,
                     kMbOk | kMbIconHand | (taskModal ? kMbTaskModal : 0));
}

void ShowWarningText(WindowHandle owner, unsigned textId, bool taskModal) {
  char text[kMessageBufferSize];
  LoadStringText(textId, text, sizeof text);
  ShowWarning(owner, text, taskModal);
}

void ShowInformation(WindowHandle owner, const char* text) {
  PlatformMessageBox(owner, text, informationCaption, kMbOk | kMbIconInformation | kMbTaskModal);
}

bool ConfirmOkCancel(WindowHandle owner, unsigned captionId, unsigned textId) {
  char caption[kMessageBufferSize];
  char text[kMessageBufferSize];
  LoadStringText(captionId, caption, sizeof caption);
  LoadStringText(textId, text, sizeof text);
  return PlatformMessageBox(owner, text, caption, kMbOkCancel) != kIdCancel;
}
