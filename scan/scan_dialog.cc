#include "scan/scan_dialog.h"

#include "resources/ids.h"

intptr_t ScanFSBoxProc(WindowHandle dialog, unsigned message, uintptr_t wParam, intptr_t) {
  if (message == kWmInitDialog) return 1;
  if (message == kWmCommand && (wParam & 0xFFFF) == IDCANCEL) {
    EndModalDialog(dialog, 0);
    return 1;
  }
  return 0;
}
