// A modal dialog in the terminal, drawn from its template: caption, group boxes around their
// radio buttons, "(*)" and "( )" radio buttons, "[ Scan ]" push buttons, centred texts.
#ifndef SCAN_FS_PLATFORM_CURSES_DIALOG_VIEW_H
#define SCAN_FS_PLATFORM_CURSES_DIALOG_VIEW_H

#include "platform/curses/screen.h"
#include "platform/linux/dialog_session.h"

// Lets the user work the dialog until it has ended. A click may run a long command and show
// boxes; the dialog stays drawn behind them until the click has been handled.
void RunDialogView(Screen& screen, DialogSession& dialog);

#endif
