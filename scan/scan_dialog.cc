#include "scan/scan_dialog.h"

#include <cstdint>

#include "resources/ids.h"
#include "resources/strings.h"
#include "scan/negative_film_scan.h"
#include "shell/message_boxes.h"
#include "shell/program_state.h"

namespace {

struct ResolutionButton {
  int controlId;
  uint32_t dotsPerInch;
};

// In the order their check states are read: a later checked button wins.
constexpr ResolutionButton kResolutionButtons[] = {{IDC_RESOLUTION_340, 340},
                                                   {IDC_RESOLUTION_680, 680},
                                                   {IDC_RESOLUTION_1360, 1360},
                                                   {IDC_RESOLUTION_2720, 2720}};

constexpr int kMessageSize = 80;

// Every opening starts from 340 dpi into a file, whatever was chosen before.
void SetDefaultChoices(WindowHandle dialog) {
  SetDialogCheck(dialog, IDC_READ_IN_MEMORY, kUnchecked);
  SetDialogCheck(dialog, IDC_SAVE_TO_TIFF, kChecked);
  for (const ResolutionButton& button : kResolutionButtons) {
    SetDialogCheck(dialog, button.controlId,
                   button.controlId == IDC_RESOLUTION_340 ? kChecked : kUnchecked);
  }
}

intptr_t ScanAndReport(WindowHandle dialog) {
  for (const ResolutionButton& button : kResolutionButtons) {
    if (GetDialogCheck(dialog, button.controlId) == kChecked) scanResolution = button.dotsPerInch;
  }
  // "Read in memory" acts only by clearing "Save to Tiff file".
  saveToFile = static_cast<uint32_t>(GetDialogCheck(dialog, IDC_SAVE_TO_TIFF));
  EndModalDialog(dialog, 0);

  char text[kMessageSize];
  if (ScanNegativeFilm(dialog)) {
    LoadStringText(IDS_IMAGE_SCANNED, text, sizeof text);
    ShowInformation(nullptr, text);
    return 1;
  }
  LoadStringText(IDS_NO_IMAGE_SCANNED, text, sizeof text);
  ShowWarning(nullptr, text, true);
  return 0;
}

}  // namespace

intptr_t ScanFSBoxProc(WindowHandle dialog, unsigned message, uintptr_t wParam, intptr_t) {
  if (message == kWmInitDialog) {
    SetDefaultChoices(dialog);
    return 1;  // the platform focuses the first tab stop, Scan
  }
  if (message != kWmCommand) return 0;
  switch (wParam & 0xFFFF) {
    case IDCANCEL:
      EndModalDialog(dialog, 0);
      return 1;
    case IDC_SCAN:
      return ScanAndReport(dialog);
    default:
      return 0;
  }
}
