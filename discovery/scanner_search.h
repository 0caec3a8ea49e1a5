#ifndef SCAN_FS_DISCOVERY_SCANNER_SEARCH_H
#define SCAN_FS_DISCOVERY_SCANNER_SEARCH_H

#include <cstdint>

#include "shell/platform_ui.h"

// Sends INQUIRY to targets 0 to 6 of every host adapter and takes the first device whose product
// identification begins with "ZR-": records deviceAddress and productId and sets scannerFound.
// With `display` 1 it draws the Scanner Information page. Returns 1 when it found the scanner,
// 0 after a failure it has shown (no scanner among the devices is one).
uint8_t SearchScanner(WindowHandle window, uint8_t display);

#endif
