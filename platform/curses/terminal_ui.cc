#include "platform/curses/terminal_ui.h"

#include <curses.h>

#include <cstdio>
#include <string>

#include "platform/curses/dialog_view.h"
#include "platform/curses/menu_view.h"
#include "platform/curses/message_box_view.h"
#include "platform/curses/screen.h"
#include "platform/curses/terminal.h"
#include "platform/linux/interruption.h"
#include "platform/linux/linux_ui.h"
#include "platform/linux/progress.h"
#include "resources/menu.h"

namespace {

constexpr int kNoTerminal = 1;

class TerminalFrontEnd : public FrontEnd {
 public:
  explicit TerminalFrontEnd(Screen& screen) : screen_(screen) {}

  int ShowMessageBox(const MessageBoxRequest& box) override {
    // Once the user asked to stop, the program is on its way out: nothing more is asked.
    if (StopRequested()) return (box.type & 0xF) == kMbOkCancel ? kIdCancel : kIdOk;
    return RunMessageBox(screen_, box);
  }
  void RunDialog(DialogSession& dialog) override { RunDialogView(screen_, dialog); }
  // A later repaint happens anyway: the screen is drawn before every wait for a key.
  void DisplayChanged(bool now) override {
    if (now) screen_.Redraw();
  }
  // The program's only thread is about to work for long, so the mark is drawn here and now.
  void BusyChanged(bool busy) override {
    pace_.Restart();
    screen_.SetBusy(busy);
  }
  void ShowProgress(uint32_t done, uint32_t total) override {
    if (pace_.Due()) screen_.SetProgress(ProgressText(done, total));
  }
  // Shown while the program runs, and kept for standard error once the terminal is given back.
  void ShowNotice(const std::string& text) override {
    screen_.AddNotice(text);
    notices_.push_back(text);
  }
  const std::vector<std::string>& notices() const { return notices_; }

 private:
  Screen& screen_;
  ProgressPace pace_;
  std::vector<std::string> notices_;
};

// What the main window does with a key while no menu, box or dialog is up; false once the
// program is to close.
bool HandleMainWindowKey(Screen& screen, const Key& key) {
  if (IsCloseKey(key) || (key.code == 'q' && !key.alt)) return false;
  int popup = -1;
  if (key.alt) {
    popup = PopupWithAccessKey(screen.menu(), key.code);
    if (popup < 0) return true;
  } else if (key.code != KEY_F(10)) {
    return true;
  }
  const MenuChoice choice = RunMenu(screen, popup);
  if (choice.kind == MenuChoice::Kind::kClose) return false;
  if (choice.kind == MenuChoice::Kind::kCommand) SendMenuCommand(choice.commandId);
  return true;
}

}  // namespace

int RunTerminalUi() {
  std::string error;
  if (!OpenTerminal(error)) {
    std::fprintf(stderr, "scan_fs: %s\n", error.c_str());
    return kNoTerminal;
  }
  const std::vector<MenuPopup> menu = BuildMenu(kMenuEntries);
  Screen screen(menu);
  TerminalFrontEnd frontEnd(screen);
  UseFrontEnd(&frontEnd);

  screen.Redraw();
  CreateMainWindow();
  // A command that was asked to stop has ended; so does the program.
  while (!QuitPosted() && !StopRequested()) {
    if (!HandleMainWindowKey(screen, screen.NextKey())) CloseMainWindow();
  }
  if (!QuitPosted()) CloseMainWindow();

  UseFrontEnd(nullptr);
  CloseTerminal();
  for (const std::string& notice : frontEnd.notices()) ShowManagerNotice(notice);
  return QuitExitCode();
}
