#include "tests/support/recording_front_end.h"

#include "platform/linux/dialog_session.h"
#include "platform/linux/linux_ui.h"

int RecordingFrontEnd::ShowMessageBox(const MessageBoxRequest& box) {
  boxes_.push_back({box.owner, box.text, box.type, WaitCursorCurrent()});
  ActWhileUp();
  return kIdOk;
}

void RecordingFrontEnd::RunDialog(DialogSession& dialog) {
  dialogs_.push_back(dialog.dialogTemplate().name);
  const std::vector<int> clicks = std::move(clicks_);
  clicks_.clear();
  ActWhileUp();
  for (const int controlId : clicks) {
    if (dialog.ended()) break;
    dialog.Click(controlId);
  }
  if (!dialog.ended()) dialog.Cancel();
}

std::vector<std::string> RecordingFrontEnd::BoxTexts() const {
  std::vector<std::string> texts;
  for (const RecordedBox& box : boxes_) texts.push_back(box.text);
  return texts;
}

void RecordingFrontEnd::Clear() {
  boxes_.clear();
  dialogs_.clear();
  progress_.clear();
}

void RecordingFrontEnd::ActWhileUp() {
  if (!whileUp_ || actingWhileUp_) return;
  actingWhileUp_ = true;
  whileUp_();
  actingWhileUp_ = false;
}
