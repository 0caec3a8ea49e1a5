// The exit status on every way out of the Linux program, also when the terminal UI ends it from
// inside a box or dialog: a check installed at start (the trace's) may still turn it into a
// failure.
#ifndef SCAN_FS_PLATFORM_LINUX_PROGRAM_EXIT_H
#define SCAN_FS_PLATFORM_LINUX_PROGRAM_EXIT_H

#include <functional>

// Replaces the check; it receives the status the program would end with and returns the one it
// ends with.
void SetExitCheck(std::function<int(int status)> check);
// Runs the check once; later calls return `status` unchanged.
int CheckedExitStatus(int status);

#endif
