#ifndef SCAN_FS_DISCOVERY_BOARD_INFORMATION_H
#define SCAN_FS_DISCOVERY_BOARD_INFORMATION_H

#include "shell/platform_ui.h"

// "SCSI Board Information": asks every counted host adapter and draws a block of three lines
// for each that answers.
void ScsiBoardInformation(WindowHandle window);

#endif
