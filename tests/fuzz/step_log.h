// With SCAN_FS_FUZZ_LOG set, what each step of the script did, on standard error: its requests,
// the boxes and dialogs it showed and the lines it left on the page. For reading what an input
// makes the program do (a seed, or an input that libFuzzer reported).
#ifndef SCAN_FS_TESTS_FUZZ_STEP_LOG_H
#define SCAN_FS_TESTS_FUZZ_STEP_LOG_H

#include "tests/fuzz/command_script.h"
#include "tests/fuzz/fuzzed_aspi_manager.h"
#include "tests/support/recording_front_end.h"

void LogStep(const ScriptStep& step, const RequestTally& tally, RecordingFrontEnd& frontEnd);

#endif
