// The modal dialogs of the platform seam: DialogBoxParamA on the templates of the module's
// resources, each run with a CALLBACK wrapper of its portable dialog procedure.
#include "platform/win32/window_handles_win32.h"
#include "scan/scan_dialog.h"
#include "shell/about_box.h"

namespace {

// The Win32 calling convention around a portable dialog procedure (they differ on 32-bit).
template <DialogProc procedure>
INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return procedure(ToWindowHandle(dialog), message, wParam, lParam);
}

struct DialogProcedurePair {
  DialogProc portable;
  DLGPROC win32;
};

constexpr DialogProcedurePair kDialogProcedures[] = {
    {AboutBoxProc, DialogProcedure<AboutBoxProc>},
    {ScanFSBoxProc, DialogProcedure<ScanFSBoxProc>},
};

}  // namespace

intptr_t RunModalDialog(WindowHandle owner, const char* templateName, DialogProc procedure) {
  for (const DialogProcedurePair& pair : kDialogProcedures) {
    if (pair.portable == procedure) {
      // The initial parameter is 0: the procedures keep no state of their own.
      return DialogBoxParamA(ProgramInstance(), templateName, ToHwnd(owner), pair.win32, 0);
    }
  }
  return -1;
}

void EndModalDialog(WindowHandle dialog, intptr_t result) {
  EndDialog(ToHwnd(dialog), result);
}

int GetDialogCheck(WindowHandle dialog, int controlId) {
  return IsDlgButtonChecked(ToHwnd(dialog), controlId) == BST_CHECKED ? kChecked : kUnchecked;
}

void SetDialogCheck(WindowHandle dialog, int controlId, int state) {
  CheckDlgButton(ToHwnd(dialog), controlId, state == kChecked ? BST_CHECKED : BST_UNCHECKED);
}
