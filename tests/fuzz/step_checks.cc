#include "tests/fuzz/step_checks.h"

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/linux/linux_ui.h"
#include "tests/fuzz/violation.h"
#include "tests/support/test_text.h"

namespace {

constexpr char kImageFile[] = "img_fs.tif";
constexpr uintmax_t kTiffHeaderLength = 216;
constexpr size_t kVersionOffset = 2;

void CheckCursor() {
  if (CursorShowCount() != 0) {
    Violation("the cursor show count is " + std::to_string(CursorShowCount()));
  }
  if (WaitCursorCurrent()) Violation("the wait cursor is still current");
}

void CheckImageFile(ImageFile expected) {
  std::error_code error;
  const bool exists = std::filesystem::exists(kImageFile, error);
  if (expected == ImageFile::kNotWritten) {
    if (exists) Violation("a scan into memory wrote img_fs.tif");
    return;
  }
  if (!exists) return;  // the scan ended before it opened the file
  const uintmax_t size = std::filesystem::file_size(kImageFile);
  std::string header(kTiffHeaderLength, '\0');
  std::ifstream(kImageFile, std::ios::binary).read(header.data(), header.size());
  if (size < kTiffHeaderLength) Violation("img_fs.tif is shorter than its header");
  const uintmax_t declared = DeclaredImageFileSize(header);
  if (size > declared) {
    Violation("img_fs.tif has " + std::to_string(size) + " bytes; its header declares " +
              std::to_string(declared));
  }
  // Version 42 makes the file a TIFF: only an image that is whole may claim it.
  if (header[kVersionOffset] == 42 && header[kVersionOffset + 1] == 0 && size != declared) {
    Violation("img_fs.tif is a TIFF of " + std::to_string(size) + " bytes; its header declares " +
              std::to_string(declared));
  }
}

}  // namespace

int OpenFileCount() {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    ++count;
  }
  return count;
}

void CheckStepEnd(const ScriptStep& step, int filesOpenBefore) {
  CheckCursor();
  const int filesOpen = OpenFileCount();
  if (filesOpen > filesOpenBefore) {
    Violation(std::to_string(filesOpen - filesOpenBefore) + " more files open than before");
  }
  if (step.imageFile != ImageFile::kNone) CheckImageFile(step.imageFile);
}
