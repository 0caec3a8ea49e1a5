// Runs the real scan_fs binary in a fresh directory and collects what it printed. Every run is
// bounded: a time limit ends it, and a limit on the size of any file it writes keeps a runaway
// file from filling the disk (a write past it fails with EFBIG, as on a full disk).
#ifndef SCAN_FS_TESTS_SUPPORT_RUN_PROGRAM_H
#define SCAN_FS_TESTS_SUPPORT_RUN_PROGRAM_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct ProgramRun {
  int exitStatus;
  std::string out;
  std::string err;
  std::string directory;  // where it ran; files it wrote are there while the run is kept

  std::vector<std::string> OutLines() const;
  // The contents of a file the program wrote.
  std::string File(const std::string& name) const;

  std::shared_ptr<void> removesDirectory;  // the last copy of the run removes its directory
};

// Enough for the largest image (2720 dpi: about 30 MB) and its trace.
inline constexpr uintmax_t kDefaultFileSizeLimit = 64u << 20;

struct RunOptions {
  std::string prepare;  // a shell command run first in the new directory, when not empty
  uintmax_t fileSizeLimit = kDefaultFileSizeLimit;
  // Sent to the program once the file `signalWhenFile` (in its directory) holds the text
  // `signalWhenText`: the program has then surely come that far. 0 for none.
  int signal = 0;
  std::string signalWhenFile;
  std::string signalWhenText;

  static RunOptions Prepared(std::string command) {
    RunOptions options;
    options.prepare = std::move(command);
    return options;
  }
  static RunOptions LimitedTo(uintmax_t fileSize) {
    RunOptions options;
    options.fileSizeLimit = fileSize;
    return options;
  }
  static RunOptions SignalledWhen(int signalNumber, std::string file, std::string text) {
    RunOptions options;
    options.signal = signalNumber;
    options.signalWhenFile = std::move(file);
    options.signalWhenText = std::move(text);
    return options;
  }
};

// Runs `binary` with `arguments` (each passed as one argument) in a new temporary directory. A
// run that exceeds the time limit is killed and fails the test.
ProgramRun RunProgram(const std::string& binary, const std::vector<std::string>& arguments,
                      const RunOptions& options = {});

#endif
