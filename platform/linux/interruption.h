// Asking the program to stop while it works. Ctrl+C (the terminal sends SIGINT while the program
// works), SIGINT and SIGTERM ask the running command to stop at its next request boundary: a
// request in flight is always waited for, and a scan still positions and releases the scanner.
// A second one while the first is honoured, any ending signal while the program waits for the
// user, and SIGHUP or SIGQUIT end the program at once, after the terminal has been given back.
#ifndef SCAN_FS_PLATFORM_LINUX_INTERRUPTION_H
#define SCAN_FS_PLATFORM_LINUX_INTERRUPTION_H

// Catches the ending signals. `restoreTerminal` (may be null) runs before the program ends at
// once; it must be safe in a signal handler as far as the terminal library allows.
void CatchInterruptions(void (*restoreTerminal)());
// Leaves the ending signals to their default action again.
void ReleaseInterruptions();

// While the program waits for a key, an ending signal ends it at once: nothing is to be stopped.
void SetWaitingForUser(bool waiting);

// A command was asked to stop.
bool StopRequested();
// The signal that asked the command to stop; 0 when none did.
int StopSignal();
// The request came from the terminal's Ctrl+C rather than from another process.
bool StopCameFromTerminal();
// Ends the program with the signal that asked it to stop, as that signal would have; returns only
// when none did.
void EndAsSignalled();

#endif
