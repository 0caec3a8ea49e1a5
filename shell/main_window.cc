#include "shell/main_window.h"

#include "diagnostics/scanner_data.h"
#include "diagnostics/self_diagnostics.h"
#include "discovery/board_information.h"
#include "discovery/scanner_models.h"
#include "discovery/scanner_search.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "scan/scan_dialog.h"
#include "scsi/aspi.h"
#include "scsi/srb.h"
#include "shell/about_box.h"
#include "shell/message_boxes.h"
#include "shell/program_state.h"

namespace {

constexpr int kLineBufferSize = 80;

// Only the T2 offers the scanner data dump and the second self-diagnostic.
void ApplyMenuGating(WindowHandle window) {
  const bool isT2 = IsModel(productId, kProductIdT2);
  EnableMenuCommand(window, IDM_SAVE_SCANNER_DATA, isT2);
  EnableMenuCommand(window, IDM_SELF_DIAGNOSTICS_2, isT2);
}

void DrawWelcomePage() {
  struct WelcomeLine {
    unsigned textId;
    int x, y;
  };
  constexpr WelcomeLine kLines[] = {{IDS_WELCOME_BANNER, 20, 10},
                                    {IDS_WELCOME_SELECT, 40, 55},
                                    {IDS_WELCOME_MENU, 40, 75},
                                    {IDS_WELCOME_SCANNERS, 40, 120}};
  for (const WelcomeLine& welcome : kLines) {
    char line[kLineBufferSize];
    LoadStringText(welcome.textId, line, sizeof line);
    DrawTextLine(welcome.x, welcome.y, line);
  }
}

void CreateMainWindow(WindowHandle window) {
  LoadStringText(IDS_WARNING_CAPTION, warningCaption, kCaptionSize);
  LoadStringText(IDS_INFORMATION_CAPTION, informationCaption, kCaptionSize);
  CreateDisplaySurface(window);

  const uint32_t support = GetASPI32SupportInfo();
  if (((support >> 8) & 0xFF) != SS_COMP) {
    char text[kLineBufferSize];
    LoadStringText(IDS_ASPI_NOT_WORKING, text, sizeof text);
    ShowWarning(window, text, false);
    return;
  }
  adapterCount = static_cast<uint16_t>(support & 0xFF);

  const uint8_t searched = scannerFound != 0 ? 1 : SearchScanner(window, 0);
  if (searched == 1) ApplyMenuGating(window);
  DrawWelcomePage();
  RefreshDisplay(window);
}

// Runs the silent search while no search has ended normally; true when the command may go on.
bool SearchIfNeeded(WindowHandle window) {
  return scannerFound != 0 || SearchScanner(window, 0) == 1;
}

void EndProgram() {
  ReleaseDisplaySurface();
  PostQuit(0);
}

void RunCommand(WindowHandle window, unsigned commandId) {
  switch (commandId) {
    case IDM_BOARD_INFORMATION:
      ScsiBoardInformation(window);
      break;
    case IDM_SCANNER_INFORMATION:
      SearchScanner(window, 1);
      break;
    case IDM_SAVE_SCANNER_DATA:
      if (SearchIfNeeded(window)) SaveScannerData(window);
      break;
    case IDM_SELF_DIAGNOSTICS_1:
      if (SearchIfNeeded(window)) SelfDiagnostics1(window);
      break;
    case IDM_SELF_DIAGNOSTICS_2:
      if (SearchIfNeeded(window)) SelfDiagnostics2(window);
      break;
    case IDM_SCAN_NEGATIVE_FILM:
      ClearDisplay(window);
      if (SearchIfNeeded(window)) RunModalDialog(window, kScanDialogName, ScanFSBoxProc);
      break;
    case IDM_EXIT:
      EndProgram();
      break;
    case IDM_ABOUT:
      RunModalDialog(window, kAboutDialogName, AboutBoxProc);
      break;
    default:
      break;
  }
}

// The boxes and dialogs of a running command run message loops of their own, and some leave the
// main window enabled: a menu command that reaches it meanwhile is not started, or it would run
// inside the first, on the same scanner.
void DispatchCommand(WindowHandle window, unsigned commandId) {
  if (commandRunning != 0) return;
  commandRunning = 1;
  RunCommand(window, commandId);
  commandRunning = 0;
}

}  // namespace

intptr_t MainWndProc(WindowHandle window, unsigned message, uintptr_t wParam, intptr_t lParam) {
  switch (message) {
    case kWmCreate:
      CreateMainWindow(window);
      return 0;
    case kWmDestroy:
      EndProgram();
      return 0;
    case kWmPaint:
      PaintDisplay(window);
      return 0;
    case kWmCommand:
      DispatchCommand(window, static_cast<unsigned>(wParam & 0xFFFF));
      return 0;
    default:
      return DefaultWindowProc(window, message, wParam, lParam);
  }
}

WindowOrigin CenteredWindowOrigin(int screenWidth, int screenHeight) {
  // Integer division rounds toward zero, so a smaller screen gives a negative, centred origin.
  return WindowOrigin{(screenWidth - kSurfaceWidth) / 2, (screenHeight - kSurfaceHeight) / 2};
}
