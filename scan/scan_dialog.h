#ifndef SCAN_FS_SCAN_SCAN_DIALOG_H
#define SCAN_FS_SCAN_SCAN_DIALOG_H

#include "shell/platform_ui.h"

inline constexpr char kScanDialogName[] = "ScanFSBox";

// The dialog procedure of ScanFSBox: resolution and "how to scan", then the scan and its result.
intptr_t ScanFSBoxProc(WindowHandle dialog, unsigned message, uintptr_t wParam, intptr_t lParam);

#endif
