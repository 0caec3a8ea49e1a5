// ReportProgress of the platform seam. Windows keeps the hourglass only: a command runs inside one
// window message, so there is no progress display and nothing the user could do to stop it.
#include "shell/platform_ui.h"

bool ReportProgress(uint32_t, uint32_t) {
  return true;
}
