// Runs a test inside a fresh temporary directory, for the files the program writes into the
// current directory; goes back and removes it when it ends. From the first one on, no file the
// test process writes may grow past 64 MiB.
#ifndef SCAN_FS_TESTS_SUPPORT_TEMP_DIRECTORY_H
#define SCAN_FS_TESTS_SUPPORT_TEMP_DIRECTORY_H

#include <filesystem>
#include <string>

class ScopedTempDirectory {
 public:
  ScopedTempDirectory();
  ~ScopedTempDirectory();
  const std::filesystem::path& path() const { return path_; }
  // The contents of a file there.
  std::string Read(const std::string& name) const;

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

#endif
