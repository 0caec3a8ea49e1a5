#include "tests/support/temp_directory.h"

#include <stdlib.h>

#include <fstream>
#include <sstream>

ScopedTempDirectory::ScopedTempDirectory() : previous_(std::filesystem::current_path()) {
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
  std::ifstream file(path_ / name, std::ios::binary);
  std::stringstream contents;
  contents << file.rdbuf();
  return contents.str();
}
