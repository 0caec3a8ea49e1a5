#ifndef SCAN_FS_SCAN_NEGATIVE_FILM_SCAN_H
#define SCAN_FS_SCAN_NEGATIVE_FILM_SCAN_H

#include <cstdint>

#include "shell/platform_ui.h"

// One test scan with the settings the scan dialog stored: reserve, prepare for the model, scan,
// move the image in chunks into memory or into img_fs.tif, position, release. `owner` owns the
// command routines' error boxes. True when the image arrived whole.
bool ScanNegativeFilm(WindowHandle owner);

#endif
