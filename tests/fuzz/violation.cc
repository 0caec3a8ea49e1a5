#include "tests/fuzz/violation.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

std::filesystem::path startFolder;
const char* currentStep = "(none)";

}  // namespace

void RememberStartFolder() {
  startFolder = std::filesystem::current_path();
}

void BeginStep(const char* name) {
  currentStep = name;
}

void Violation(const std::string& what) {
  std::fprintf(stderr, "scan_fs fuzz: in step \"%s\": %s\n", currentStep, what.c_str());
  if (!startFolder.empty() && chdir(startFolder.c_str()) != 0) std::perror("chdir");
  std::abort();
}
