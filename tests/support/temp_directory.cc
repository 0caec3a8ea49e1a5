#include "tests/support/temp_directory.h"

#include <stdlib.h>
#include <sys/resource.h>

#include "tests/support/test_text.h"

namespace {

// Tests here write what the program writes: a runaway img_fs.tif must end the test (SIGXFSZ),
// not fill the disk. The largest image is about 30 MB.
void LimitFileSize() {
  constexpr rlim_t kLimit = rlim_t{64} << 20;
  rlimit limit{};
  if (getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur > kLimit) {
    limit.rlim_cur = kLimit;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
}

}  // namespace

ScopedTempDirectory::ScopedTempDirectory() : previous_(std::filesystem::current_path()) {
  LimitFileSize();
  std::string pattern = (std::filesystem::temp_directory_path() / "scan_fs_test.XXXXXX").string();
  path_ = mkdtemp(pattern.data());
  std::filesystem::current_path(path_);
}

ScopedTempDirectory::~ScopedTempDirectory() {
  std::filesystem::current_path(previous_);
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ScopedTempDirectory::Read(const std::string& name) const {
  return ReadFile(path_ / name);
}
