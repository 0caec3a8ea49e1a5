// Seam: the window-system operations that the program's decisions are carried out with.
// A port provides every function declared here, once: Win32 with its window, GDI bitmap, message
// boxes, cursor and dialogs; Linux with the terminal UI or the batch front end behind one layer.
// Handles are opaque; a null WindowHandle means "no owner window".
#ifndef SCAN_FS_SHELL_PLATFORM_UI_H
#define SCAN_FS_SHELL_PLATFORM_UI_H

#include <cstdint>

using WindowHandle = struct PlatformWindow*;
using CursorHandle = struct PlatformCursor*;

// Window messages that the window and dialog procedures handle (Win32 values).
inline constexpr unsigned kWmCreate = 0x0001;
inline constexpr unsigned kWmDestroy = 0x0002;
inline constexpr unsigned kWmPaint = 0x000F;
inline constexpr unsigned kWmInitDialog = 0x0110;
inline constexpr unsigned kWmCommand = 0x0111;

// Message box types and the answers a box returns (Win32 values).
inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbOkCancel = 0x1;
inline constexpr unsigned kMbIconHand = 0x10;
inline constexpr unsigned kMbIconInformation = 0x40;
inline constexpr unsigned kMbTaskModal = 0x2000;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

// Check states of a radio button (BM_GETCHECK / BM_SETCHECK).
inline constexpr int kUnchecked = 0;
inline constexpr int kChecked = 1;

// The 430 x 320 pixel display surface behind the main window.
inline constexpr int kSurfaceWidth = 430;
inline constexpr int kSurfaceHeight = 320;

// Creates the surface for `window` and fills it white.
void CreateDisplaySurface(WindowHandle window);
// Fills the whole surface white and asks for a repaint of `window`.
void ClearDisplay(WindowHandle window);
// Draws `text` in one line with its top-left corner at pixel (x, y); no repaint.
void DrawTextLine(int x, int y, const char* text);
// Marks the whole client area of `window` for repaint; the paint follows later.
void RefreshDisplay(WindowHandle window);
// Copies the surface to `window` (its paint message).
void PaintDisplay(WindowHandle window);
// Performs a pending paint of `window` at once.
void UpdateWindowNow(WindowHandle window);
// Releases the surface's drawing context; nothing is drawn afterwards.
void ReleaseDisplaySurface();

// A modal message box; returns kIdOk or kIdCancel.
int PlatformMessageBox(WindowHandle owner, const char* text, const char* caption, unsigned type);

// Cursor: the stock hourglass, making a cursor current (returns the one it replaces), and the
// cursor show count (returns the new count).
CursorHandle LoadWaitCursor();
CursorHandle SetCurrentCursor(CursorHandle cursor);
int ShowCursorCount(bool show);

// Called by a command between its requests, while it works: `done` of `total` bytes have moved
// (`total` 0 when there is nothing to count). Returns false when the user has asked the command
// to stop; it then ends at once, leaving the scanner as it must (a scan positions and releases
// it). A port without progress display or interruption shows nothing and returns true.
bool ReportProgress(uint32_t done, uint32_t total);

// Enables or grays (and disables) a command of the window's menu.
void EnableMenuCommand(WindowHandle window, unsigned commandId, bool enabled);

// Modal dialogs from the templates of resources/dialogs.def, run with a dialog procedure of the
// Win32 shape. RunModalDialog returns the result given to EndModalDialog.
using DialogProc = intptr_t (*)(WindowHandle dialog, unsigned message, uintptr_t wParam,
                                intptr_t lParam);
intptr_t RunModalDialog(WindowHandle owner, const char* templateName, DialogProc procedure);
void EndModalDialog(WindowHandle dialog, intptr_t result);
int GetDialogCheck(WindowHandle dialog, int controlId);
void SetDialogCheck(WindowHandle dialog, int controlId, int state);

// Posts the quit message; the message loop ends with `exitCode`.
void PostQuit(int exitCode);
// Default handling of every message the main window procedure does not handle.
intptr_t DefaultWindowProc(WindowHandle window, unsigned message, uintptr_t wParam,
                           intptr_t lParam);

#endif
