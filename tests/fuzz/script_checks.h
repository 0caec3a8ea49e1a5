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
//
// What must hold after every step, whatever the device answered: the wait cursor gone and the
// cursor show count back at zero, no file left open, and img_fs.tif no longer than its header
// declares, and a TIFF (version 42) only when it holds all of it. (The manager holds each step to
// its request limits as it goes, and each request block to CheckScsiRequest before it carries it.)
//
// A broken invariant is said on standard error with the step it happened in, then abort(), which
// libFuzzer reports with the input that did it.
#ifndef SCAN_FS_TESTS_FUZZ_SCRIPT_CHECKS_H
#define SCAN_FS_TESTS_FUZZ_SCRIPT_CHECKS_H

#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/linux/linux_ui.h"
#include "resources/ids.h"
#include "scsi/command_table.h"
#include "scsi/srb.h"
#include "tests/support/test_text.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/asan_interface.h>
#define SCAN_FS_FUZZ_ASAN 1
#endif
#endif

// The folder the fuzzer was started in: a violation goes back there before it aborts, so that
// libFuzzer writes the input where it was asked to, not into a run's temporary folder.
inline std::filesystem::path startFolder;
inline const char* currentStep = "(none)";  // window creation, a menu command

[[noreturn]] inline void Violation(const std::string& what) {
  std::fprintf(stderr, "scan_fs fuzz: in step \"%s\": %s\n", currentStep, what.c_str());
  if (!startFolder.empty() && chdir(startFolder.c_str()) != 0) std::perror("chdir");
  std::abort();
}

inline constexpr int kAnyNumber = -1;
struct RequestLimits {
  int total;            // or kAnyNumber
  int afterInputEnded;  // requests once the device has gone away
  int afterStop;        // requests after the request during which the user asked to stop
};

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
inline constexpr size_t kMenuStepCount = std::size(kMenuSteps);

inline constexpr ScriptStep kExitStep = {"exit", IDM_EXIT, {}, ImageFile::kNone, {0, 0, 0}};

// What every SCSI request block of the program must be before a manager may carry it: a CDB
// length it can send, a sense length its sense area holds, a data buffer as long as the block
// declares and at least as long as the CDB asks for, and no direction bit against the command.
inline void CheckScsiRequest(const SRB_ExecSCSICmd& request) {
  const auto fail = [&request](const std::string& what) {
    char text[64];
    std::snprintf(text, sizeof text,
                  "request with operation code %02Xh, SRB_BufLen %u: ", request.CDBByte[0],
                  static_cast<unsigned>(request.SRB_BufLen));
    Violation(text + what);
  };
  if (request.SRB_CDBLen != 6 && request.SRB_CDBLen != 10) {
    fail("SRB_CDBLen " + std::to_string(request.SRB_CDBLen));
  }
  if (request.SRB_SenseLen > sizeof request.SenseArea) {
    fail("SRB_SenseLen " + std::to_string(request.SRB_SenseLen) +
         " is more than the sense area holds");
  }
  if (request.SRB_Lun != 0) fail("a logical unit other than 0");
  const DataDirection direction = CommandDataDirection(request.CDBByte[0]);
  const uint8_t bits = request.SRB_Flags & (SRB_DIR_IN | SRB_DIR_OUT);
  if ((bits == SRB_DIR_IN && direction == DataDirection::kOut) ||
      (bits == SRB_DIR_OUT && direction == DataDirection::kIn)) {
    fail("SRB_Flags against the command's direction");
  }
  if (request.SRB_BufLen != 0 && request.SRB_BufPointer == nullptr) fail("no buffer");
  const uint32_t asked = CommandTransferLength(request.CDBByte);
  if (asked > request.SRB_BufLen) fail("the CDB asks for " + std::to_string(asked) + " bytes");
#ifdef SCAN_FS_FUZZ_ASAN
  // A manager writes up to SRB_BufLen bytes: every one of them must belong to the program's buffer.
  const void* outside = request.SRB_BufLen == 0
                            ? nullptr
                            : __asan_region_is_poisoned(request.SRB_BufPointer, request.SRB_BufLen);
  if (outside != nullptr) {
    fail("the buffer ends " +
         std::to_string(static_cast<const uint8_t*>(outside) - request.SRB_BufPointer) +
         " bytes in");
  }
#endif
}

// Files the process has open (its file descriptors).
inline int OpenFileCount() {
  return static_cast<int>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}));
}

// Reports a violation for the first thing that does not hold after `step`.
inline void CheckStepEnd(const ScriptStep& step, int filesOpenBefore) {
  if (CursorShowCount() != 0) {
    Violation("the cursor show count is " + std::to_string(CursorShowCount()));
  }
  if (WaitCursorCurrent()) Violation("the wait cursor is still current");
  const int filesOpen = OpenFileCount();
  if (filesOpen > filesOpenBefore) {
    Violation(std::to_string(filesOpen - filesOpenBefore) + " more files open than before");
  }

  std::error_code error;
  const bool exists = std::filesystem::exists("img_fs.tif", error);
  if (step.imageFile == ImageFile::kNotWritten && exists) {
    Violation("a scan into memory wrote img_fs.tif");
  }
  // Not written when the scan ended before it opened the file.
  if (step.imageFile != ImageFile::kWritten || !exists) return;
  constexpr uintmax_t kTiffHeaderLength = 216;
  const uintmax_t size = std::filesystem::file_size("img_fs.tif");
  std::string header(kTiffHeaderLength, '\0');
  std::ifstream("img_fs.tif", std::ios::binary).read(header.data(), header.size());
  if (size < kTiffHeaderLength) Violation("img_fs.tif is shorter than its header");
  const uintmax_t declared = DeclaredImageFileSize(header);
  if (size > declared) {
    Violation("img_fs.tif has " + std::to_string(size) + " bytes; its header declares " +
              std::to_string(declared));
  }
  // Version 42 (bytes 2 and 3) makes the file a TIFF: only an image that is whole may claim it.
  if (header[2] == 42 && header[3] == 0 && size != declared) {
    Violation("img_fs.tif is a TIFF of " + std::to_string(size) + " bytes; its header declares " +
              std::to_string(declared));
  }
}

#endif
