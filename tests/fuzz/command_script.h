// What every fuzz input makes the program do: window creation, then each menu command once,
// starting with the one that the input's first byte picks (modulo their number) and going round
// in menu order, then Exit. Confirmations are answered OK; the scan dialog is clicked through,
// once into img_fs.tif at 340 dpi and once into memory at 2720 dpi. A grayed command is skipped,
// as a user cannot choose it.
//
// Each step has request limits (how many requests it may send), from the program's own limits:
// the manager reports at most 255 adapters (8 bits) and a search asks targets 0 to 6 of each.
// Once the input has run out, every SCSI request fails with a selection timeout: the step ends at
// the first such request. While the input lasts every request costs it a byte, so together the
// two bound every step, the image transfer included. After the user asked to stop,
// a step may send only what its way out takes.
#ifndef SCAN_FS_TESTS_FUZZ_COMMAND_SCRIPT_H
#define SCAN_FS_TESTS_FUZZ_COMMAND_SCRIPT_H

#include <cstddef>

#include "resources/ids.h"
#include "tests/fuzz/fuzzed_aspi_manager.h"

inline constexpr int kLargestSearch = 255 * 7;

enum class ImageFile { kNone, kWritten, kNotWritten };

struct ScriptStep {
  const char* name;
  unsigned commandId;   // 0: window creation
  int dialogClicks[3];  // 0 ends the list
  ImageFile imageFile;
  RequestLimits limits;
};

// The support info and a search; a search ends at its first failed INQUIRY, and before the next
// INQUIRY once the user asked to stop.
inline constexpr ScriptStep kStartStep = {
    "start", 0, {}, ImageFile::kNone, {1 + kLargestSearch, 2, 0}};

// clang-format off
inline constexpr ScriptStep kMenuSteps[] = {
    // One host adapter inquiry for each adapter, whatever the answers; quick, so not stopped.
    {"board", IDM_BOARD_INFORMATION, {}, ImageFile::kNone, {255, 255, 255}},
    {"info", IDM_SCANNER_INFORMATION, {}, ImageFile::kNone, {kLargestSearch, 1, 0}},
    // TEST UNIT READY and two READ BUFFERs, after a search if none has found the scanner; the
    // first failed READ BUFFER ends it.
    {"save", IDM_SAVE_SCANNER_DATA, {}, ImageFile::kNone, {kLargestSearch + 3, 1, 2}},
    // TEST UNIT READY and SEND DIAGNOSTIC (and, for the second, READ BUFFER). A stop cancels the
    // confirmation, or ends the command when the test has run.
    {"diag1", IDM_SELF_DIAGNOSTICS_1, {}, ImageFile::kNone, {kLargestSearch + 2, 1, 0}},
    {"diag2", IDM_SELF_DIAGNOSTICS_2, {}, ImageFile::kNone, {kLargestSearch + 3, 1, 0}},
    // No total: the transfer lasts as long as the scanner delivers. After a stop: the preparation
    // up to its next check (TEST UNIT READY, RESERVE, page 20h, window, three gamma tables, page
    // 02h), then OBJECT POSITION and RELEASE UNIT.
    {"scan:file", IDM_SCAN_NEGATIVE_FILM, {IDC_SCAN}, ImageFile::kWritten, {kAnyNumber, 1, 10}},
    {"scan:memory", IDM_SCAN_NEGATIVE_FILM,
     {IDC_RESOLUTION_2720, IDC_READ_IN_MEMORY, IDC_SCAN}, ImageFile::kNotWritten,
     {kAnyNumber, 1, 10}},
    {"about", IDM_ABOUT, {}, ImageFile::kNone, {0, 0, 0}},
};
// clang-format on
inline constexpr size_t kMenuStepCount = sizeof kMenuSteps / sizeof kMenuSteps[0];

inline constexpr ScriptStep kExitStep = {"exit", IDM_EXIT, {}, ImageFile::kNone, {0, 0, 0}};

#endif
