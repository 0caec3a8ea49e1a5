#include "platform/linux/linux_ui.h"

#include <cstdio>
#include <map>
#include <vector>

#include "platform/linux/dialog_session.h"
#include "platform/linux/interruption.h"
#include "shell/main_window.h"

namespace {

struct PlatformState {
  FrontEnd* frontEnd = nullptr;
  SurfaceModel surface;
  bool surfaceReleased = false;
  std::map<unsigned, bool> menuEnabled;
  CursorHandle currentCursor = nullptr;  // the arrow
  int cursorShowCount = 0;
  std::vector<DialogSession*> dialogs;  // open modal dialogs, innermost last
  bool quitPosted = false;
  int exitCode = 0;
};

PlatformState& State() {
  static PlatformState state;
  return state;
}

// Distinct addresses stand for the window and the stock cursor.
char mainWindowTag;
char waitCursorTag;

DialogSession* SessionOf(WindowHandle dialog) {
  for (DialogSession* session : State().dialogs) {
    if (session->handle() == dialog) return session;
  }
  return nullptr;
}

void PrintNotice(const std::string& text) {
  std::fprintf(stderr, "scan_fs: %s\n", text.c_str());
}

void NotifyDisplay(bool now) {
  if (State().frontEnd != nullptr) State().frontEnd->DisplayChanged(now);
}

}  // namespace

void UseFrontEnd(FrontEnd* frontEnd) {
  State().frontEnd = frontEnd;
}

void FrontEnd::ShowNotice(const std::string& text) {
  PrintNotice(text);
}

void ShowManagerNotice(const std::string& text) {
  if (State().frontEnd != nullptr) {
    State().frontEnd->ShowNotice(text);
  } else {
    PrintNotice(text);
  }
}

WindowHandle MainWindow() {
  return reinterpret_cast<WindowHandle>(&mainWindowTag);
}
void CreateMainWindow() {
  MainWndProc(MainWindow(), kWmCreate, 0, 0);
}
void SendMenuCommand(unsigned commandId) {
  MainWndProc(MainWindow(), kWmCommand, commandId, 0);
}
void CloseMainWindow() {
  MainWndProc(MainWindow(), kWmDestroy, 0, 0);
}

const SurfaceModel& DisplaySurface() {
  return State().surface;
}

bool MenuCommandEnabled(unsigned commandId) {
  const auto found = State().menuEnabled.find(commandId);
  return found == State().menuEnabled.end() || found->second;
}

bool WaitCursorCurrent() {
  return State().currentCursor == reinterpret_cast<CursorHandle>(&waitCursorTag);
}
int CursorShowCount() {
  return State().cursorShowCount;
}
bool QuitPosted() {
  return State().quitPosted;
}
int QuitExitCode() {
  return State().exitCode;
}

void ResetLinuxUi() {
  FrontEnd* frontEnd = State().frontEnd;
  State() = PlatformState{};
  State().frontEnd = frontEnd;
}

// The seam.

void CreateDisplaySurface(WindowHandle) {
  State().surface.Clear();
  State().surfaceReleased = false;
}

void ClearDisplay(WindowHandle window) {
  if (State().surfaceReleased) return;
  State().surface.Clear();
  RefreshDisplay(window);
}

void DrawTextLine(int x, int y, const char* text) {
  if (State().surfaceReleased) return;
  State().surface.Draw(x, y, text);
}

void RefreshDisplay(WindowHandle) {
  NotifyDisplay(false);
}
void PaintDisplay(WindowHandle) {
  NotifyDisplay(true);
}
void UpdateWindowNow(WindowHandle) {
  NotifyDisplay(true);
}
void ReleaseDisplaySurface() {
  State().surfaceReleased = true;
}

int PlatformMessageBox(WindowHandle owner, const char* text, const char* caption, unsigned type) {
  // Without anyone to ask, a box is acknowledged as its first button.
  if (State().frontEnd == nullptr) return kIdOk;
  return State().frontEnd->ShowMessageBox(MessageBoxRequest{owner, text, caption, type});
}

CursorHandle LoadWaitCursor() {
  return reinterpret_cast<CursorHandle>(&waitCursorTag);
}

CursorHandle SetCurrentCursor(CursorHandle cursor) {
  const CursorHandle previous = State().currentCursor;
  State().currentCursor = cursor;
  if (State().frontEnd != nullptr && previous != cursor) {
    State().frontEnd->BusyChanged(WaitCursorCurrent());
  }
  return previous;
}

int ShowCursorCount(bool show) {
  return State().cursorShowCount += show ? 1 : -1;
}

bool ReportProgress(uint32_t done, uint32_t total) {
  FrontEnd* frontEnd = State().frontEnd;
  if (frontEnd != nullptr && total > 0) frontEnd->ShowProgress(done, total);
  return !StopRequested() && !(frontEnd != nullptr && frontEnd->StopAsked());
}

void EnableMenuCommand(WindowHandle, unsigned commandId, bool enabled) {
  State().menuEnabled[commandId] = enabled;
}

intptr_t RunModalDialog(WindowHandle, const char* templateName, DialogProc procedure) {
  const DialogTemplate* dialogTemplate = FindDialogTemplate(templateName);
  if (dialogTemplate == nullptr || State().frontEnd == nullptr) return -1;
  DialogSession session(*dialogTemplate, procedure);
  State().dialogs.push_back(&session);
  session.Initialize();
  if (!session.ended()) State().frontEnd->RunDialog(session);
  State().dialogs.pop_back();
  return session.result();
}

void EndModalDialog(WindowHandle dialog, intptr_t result) {
  if (DialogSession* session = SessionOf(dialog)) session->End(result);
}

int GetDialogCheck(WindowHandle dialog, int controlId) {
  const DialogSession* session = SessionOf(dialog);
  return session == nullptr ? kUnchecked : session->Check(controlId);
}

void SetDialogCheck(WindowHandle dialog, int controlId, int state) {
  if (DialogSession* session = SessionOf(dialog)) session->SetCheck(controlId, state);
}

void PostQuit(int exitCode) {
  State().quitPosted = true;
  State().exitCode = exitCode;
}

intptr_t DefaultWindowProc(WindowHandle, unsigned, uintptr_t, intptr_t) {
  return 0;
}
