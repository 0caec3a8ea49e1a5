// Runs a test inside a fresh temporary directory, for the files the program writes into the
// current directory; goes back and removes it when it ends. From the first one on, no file the
// test process writes may grow past 64 MiB.
#ifndef SCAN_FS_TESTS_SUPPORT_TEMP_DIRECTORY_H
#define SCAN_FS_TESTS_SUPPORT_TEMP_DIRECTORY_H

#include <stdlib.h>
#include <sys/resource.h>

#include <filesystem>
#include <string>

#include "tests/support/test_text.h"

class ScopedTempDirectory {
 public:
  ScopedTempDirectory() : previous_(std::filesystem::current_path()) {
    // The test writes what the program writes: a runaway img_fs.tif must end it (SIGXFSZ), not
    // fill the disk. The largest image is about 30 MB.
    constexpr rlim_t kLimit = rlim_t{64} << 20;
    rlimit limit{};
    if (getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur > kLimit) {
      limit.rlim_cur = kLimit;
      setrlimit(RLIMIT_FSIZE, &limit);
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "scan_fs_test.XXXXXX").string();
    path_ = mkdtemp(pattern.data());
    std::filesystem::current_path(path_);
  }
  ~ScopedTempDirectory() {
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }
  // The contents of a file there.
  std::string Read(const std::string& name) const { return ReadFile(path_ / name); }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

#endif
