#ifndef SCAN_FS_DIAGNOSTICS_SCANNER_DATA_H
#define SCAN_FS_DIAGNOSTICS_SCANNER_DATA_H

#include "shell/platform_ui.h"

// "Save Scanner Data": dumps the scanner's buffers F9h and 05h into test_dat.txt.
// True when the file was written and closed.
bool SaveScannerData(WindowHandle window);

#endif
