#ifndef SCAN_FS_DIAGNOSTICS_SELF_DIAGNOSTICS_H
#define SCAN_FS_DIAGNOSTICS_SELF_DIAGNOSTICS_H

#include "shell/platform_ui.h"

// "Scanner Self-diagnostics 1": the scanner's built-in self-test, reported from the sense data.
void SelfDiagnostics1(WindowHandle window);
// "Scanner Self-diagnostics 2": the memory and logic test, reported from its result code.
void SelfDiagnostics2(WindowHandle window);

#endif
