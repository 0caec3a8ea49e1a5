// What must hold after every step of the script, whatever the device answered: the wait cursor
// gone and the cursor show count back at zero, no file left open, and img_fs.tif no longer than
// its header declares, and a TIFF (version 42) only when it holds all of it. (The manager holds
// each step to its request limits as it goes.)
#ifndef SCAN_FS_TESTS_FUZZ_STEP_CHECKS_H
#define SCAN_FS_TESTS_FUZZ_STEP_CHECKS_H

#include "tests/fuzz/command_script.h"

// Files the process has open (its file descriptors).
int OpenFileCount();

// Reports a violation for the first thing that does not hold after `step`.
void CheckStepEnd(const ScriptStep& step, int filesOpenBefore);

#endif
