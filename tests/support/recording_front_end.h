// A front end for tests: records every box and dialog the program shows, in order, and answers
// them: boxes with OK, dialogs with the scripted clicks.
#ifndef SCAN_FS_TESTS_SUPPORT_RECORDING_FRONT_END_H
#define SCAN_FS_TESTS_SUPPORT_RECORDING_FRONT_END_H

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/linux/dialog_session.h"
#include "platform/linux/front_end.h"
#include "platform/linux/linux_ui.h"

struct RecordedBox {
  WindowHandle owner;
  std::string text;
  unsigned type;
  bool busy;  // the wait cursor was current while the box was up
};

class RecordingFrontEnd : public FrontEnd {
 public:
  int ShowMessageBox(const MessageBoxRequest& box) override {
    boxes_.push_back({box.owner, box.text, box.type, WaitCursorCurrent()});
    ActWhileUp();
    return kIdOk;
  }
  void RunDialog(DialogSession& dialog) override {
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
  void ShowProgress(uint32_t done, uint32_t total) override { progress_.push_back({done, total}); }

  // Controls to click in the next dialog, in order; the dialog is cancelled if still open.
  void ClickInNextDialog(std::vector<int> clicks) { clicks_ = std::move(clicks); }
  // Runs `action` while each box and dialog is up, before it is answered, as a user would act on
  // the main window meanwhile; not again inside itself.
  void WhileEachIsUp(std::function<void()> action) { whileUp_ = std::move(action); }

  const std::vector<RecordedBox>& boxes() const { return boxes_; }
  // The box texts alone, in order.
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const RecordedBox& box : boxes_) texts.push_back(box.text);
    return texts;
  }
  const std::vector<std::string>& dialogs() const { return dialogs_; }
  // Every progress report: bytes done and the total.
  const std::vector<std::pair<uint32_t, uint32_t>>& progress() const { return progress_; }
  void Clear() {
    boxes_.clear();
    dialogs_.clear();
    progress_.clear();
  }

 private:
  std::vector<RecordedBox> boxes_;
  std::vector<std::string> dialogs_;  // template names, in order of opening
  std::vector<std::pair<uint32_t, uint32_t>> progress_;
  std::vector<int> clicks_;
  std::function<void()> whileUp_;
  bool actingWhileUp_ = false;

  void ActWhileUp() {
    if (!whileUp_ || actingWhileUp_) return;
    actingWhileUp_ = true;
    whileUp_();
    actingWhileUp_ = false;
  }
};

#endif
