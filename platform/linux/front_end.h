// What the Linux platform layer needs of the front end that faces the user: the terminal UI,
// batch mode, or the recording front end of the tests.
#ifndef SCAN_FS_PLATFORM_LINUX_FRONT_END_H
#define SCAN_FS_PLATFORM_LINUX_FRONT_END_H

#include <cstdint>
#include <string>

#include "shell/platform_ui.h"

class DialogSession;

struct MessageBoxRequest {
  WindowHandle owner;
  std::string text;
  std::string caption;
  unsigned type;  // kMbOk / kMbOkCancel, icon and modality bits
};

class FrontEnd {
 public:
  virtual ~FrontEnd() = default;
  // Shows a modal box and returns kIdOk or kIdCancel.
  virtual int ShowMessageBox(const MessageBoxRequest& box) = 0;
  // Lets the user work the dialog until it has ended.
  virtual void RunDialog(DialogSession& dialog) = 0;
  // The surface changed: paint at once (`now`), or when the program next waits for the user.
  virtual void DisplayChanged(bool now) { (void)now; }
  // The wait cursor became current, or stopped being current.
  virtual void BusyChanged(bool busy) { (void)busy; }
  // Why a device cannot be reached, from the ASPI manager: shown at once, beside the program's
  // window rather than in a box of its own. By default on standard error.
  virtual void ShowNotice(const std::string& text);
  // A command reports how far it is: `done` of `total` bytes (called often; show it at a pace).
  virtual void ShowProgress(uint32_t done, uint32_t total) {
    (void)done;
    (void)total;
  }
  // The user asked the running command to stop through the front end itself (the terminal and
  // batch mode take that request as a signal instead; a test's front end takes it here).
  virtual bool StopAsked() { return false; }
};

#endif
