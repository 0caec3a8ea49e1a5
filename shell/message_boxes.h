// The program's message-box conventions: failures, successes and confirmations.
#ifndef SCAN_FS_SHELL_MESSAGE_BOXES_H
#define SCAN_FS_SHELL_MESSAGE_BOXES_H

#include "shell/platform_ui.h"

// Caption "Warning", stop icon, OK; task-modal when `taskModal` is set.
void ShowWarning(WindowHandle owner, const char* text, bool taskModal);
// The string-table text `textId` shown as above.
void ShowWarningText(WindowHandle owner, unsigned textId, bool taskModal);
// Caption "Information", information icon, OK, always task-modal.
void ShowInformation(WindowHandle owner, const char* text);
// OK/Cancel without an icon, captioned `captionId`; true when the user answered OK.
bool ConfirmOkCancel(WindowHandle owner, unsigned captionId, unsigned textId);

#endif
