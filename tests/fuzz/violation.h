// An invariant of the program broken under fuzzing: said on standard error with the step of the
// script it happened in, then abort(), which libFuzzer reports with the input that did it.
#ifndef SCAN_FS_TESTS_FUZZ_VIOLATION_H
#define SCAN_FS_TESTS_FUZZ_VIOLATION_H

#include <string>

// The folder the fuzzer was started in: a violation goes back there before it aborts, so that
// libFuzzer writes the input where it was asked to, not into a run's temporary folder.
void RememberStartFolder();
// The step of the script now running (window creation, a menu command).
void BeginStep(const char* name);

[[noreturn]] void Violation(const std::string& what);

#endif
