// The Linux implementation of the platform seam (shell/platform_ui.h): the surface, menu,
// cursor, dialogs and the quit message as plain state here, and everything the user must see or
// answer passed to the front end in use.
#ifndef SCAN_FS_PLATFORM_LINUX_LINUX_UI_H
#define SCAN_FS_PLATFORM_LINUX_LINUX_UI_H

#include <string>

#include "platform/linux/front_end.h"
#include "platform/linux/surface_model.h"
#include "shell/platform_ui.h"

// The front end that shows boxes and runs dialogs. Not owned.
void UseFrontEnd(FrontEnd* frontEnd);

// A notice of the ASPI manager, for the front end in use (standard error when there is none).
void ShowManagerNotice(const std::string& text);

// The program's one main window.
WindowHandle MainWindow();
// Creates the main window: runs the window procedure's creation.
void CreateMainWindow();
// A menu choice of the user, dispatched to the window procedure.
void SendMenuCommand(unsigned commandId);
// The close box: the window procedure's destruction.
void CloseMainWindow();

const SurfaceModel& DisplaySurface();
bool MenuCommandEnabled(unsigned commandId);
bool WaitCursorCurrent();
int CursorShowCount();
bool QuitPosted();
int QuitExitCode();

// Back to how a new process starts (for tests).
void ResetLinuxUi();

#endif
