#include "shell/about_box.h"

#include "resources/ids.h"

intptr_t AboutBoxProc(WindowHandle dialog, unsigned message, uintptr_t wParam, intptr_t) {
  if (message == kWmInitDialog) return 1;  // the dialog manager sets the default focus
  if (message == kWmCommand) {
    const unsigned commandId = static_cast<unsigned>(wParam & 0xFFFF);
    if (commandId == IDOK || commandId == IDCANCEL) {
      EndModalDialog(dialog, 0);
      return 1;
    }
  }
  return 0;
}
