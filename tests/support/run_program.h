// Runs the real scan_fs binary in a fresh directory and collects what it printed.
#ifndef SCAN_FS_TESTS_SUPPORT_RUN_PROGRAM_H
#define SCAN_FS_TESTS_SUPPORT_RUN_PROGRAM_H

#include <string>
#include <vector>

struct ProgramRun {
  int exitStatus;
  std::string out;
  std::string err;
  std::string directory;  // where it ran; files it wrote are there

  std::vector<std::string> OutLines() const;
  // The contents of a file the program wrote.
  std::string File(const std::string& name) const;
};

// Runs `binary` with `arguments` (each passed as one argument) in a new temporary directory.
// `prepare` runs first in that directory, as a shell command, when not empty.
ProgramRun RunProgram(const std::string& binary, const std::vector<std::string>& arguments,
                      const std::string& prepare = "");

#endif
