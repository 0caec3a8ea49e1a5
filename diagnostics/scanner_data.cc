#include "diagnostics/scanner_data.h"

bool SaveScannerData(WindowHandle) {
  return false;
}
