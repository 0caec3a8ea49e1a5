// A modal dialog while it runs on Linux: its template, the check states of its buttons, and the
// user's actions turned into the messages its dialog procedure expects.
#ifndef SCAN_FS_PLATFORM_LINUX_DIALOG_SESSION_H
#define SCAN_FS_PLATFORM_LINUX_DIALOG_SESSION_H

#include <map>

#include "resources/dialog_templates.h"
#include "shell/platform_ui.h"

class DialogSession {
 public:
  DialogSession(const DialogTemplate& dialogTemplate, DialogProc procedure);

  const DialogTemplate& dialogTemplate() const { return template_; }
  WindowHandle handle() { return reinterpret_cast<WindowHandle>(this); }

  // WM_INITDIALOG.
  void Initialize();
  // The user clicks a control: an automatic radio button checks itself and clears the others of
  // its group; push buttons and radio buttons then send WM_COMMAND with their id.
  void Click(int controlId);
  // Escape or the close box: the standard cancel command.
  void Cancel() { Command(IDCANCEL); }

  int Check(int controlId) const;
  void SetCheck(int controlId, int state) { checks_[controlId] = state; }
  // Index of the control that starts the group `controlId` belongs to; -1 for an unknown id.
  int GroupOf(int controlId) const;

  void End(intptr_t result);
  bool ended() const { return ended_; }
  intptr_t result() const { return result_; }

 private:
  void Command(int controlId);
  const DialogControl* Control(int controlId) const;

  const DialogTemplate& template_;
  DialogProc procedure_;
  std::map<int, int> checks_;
  bool ended_ = false;
  intptr_t result_ = 0;
};

#endif
