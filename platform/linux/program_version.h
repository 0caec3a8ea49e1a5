// The program's version as --version and the packages give it: taken from the About box's
// version text ("Version 1.0b" in resources/dialogs.def), the one place it is kept.
#ifndef SCAN_FS_PLATFORM_LINUX_PROGRAM_VERSION_H
#define SCAN_FS_PLATFORM_LINUX_PROGRAM_VERSION_H

#include <string>

// "1.0b"
std::string ProgramVersion();

#endif
