#include "diagnostics/self_diagnostics.h"

void SelfDiagnostics1(WindowHandle) {}
void SelfDiagnostics2(WindowHandle) {}
