// The display surface on Win32: a memory device context holding a 430 x 320 bitmap compatible
// with the main window, the white stock brush and the fixed-pitch system font.
#ifndef SCAN_FS_PLATFORM_WIN32_DISPLAY_SURFACE_WIN32_H
#define SCAN_FS_PLATFORM_WIN32_DISPLAY_SURFACE_WIN32_H

#include <windows.h>

// The surface's memory device context; nullptr before creation and after release.
HDC DisplaySurfaceContext();

#endif
