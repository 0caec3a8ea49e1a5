// Runs the real scan_fs binary in a fresh directory and collects what it printed. Every run is
// bounded: a time limit ends it, and a limit on the size of any file it writes keeps a runaway
// file from filling the disk (a write past it fails with EFBIG, as on a full disk).
#ifndef SCAN_FS_TESTS_SUPPORT_RUN_PROGRAM_H
#define SCAN_FS_TESTS_SUPPORT_RUN_PROGRAM_H

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/test_text.h"

struct ProgramRun {
  int exitStatus;
  std::string out;
  std::string err;
  std::string directory;  // where it ran; files it wrote are there while the run is kept

  std::vector<std::string> OutLines() const { return SplitLines(out); }
  // The contents of a file the program wrote.
  std::string File(const std::string& name) const { return ReadFile(directory + "/" + name); }

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
inline ProgramRun RunProgram(const std::string& binary, const std::vector<std::string>& arguments,
                             const RunOptions& options = {}) {
  constexpr int kTimeLimitSeconds = 60;
  constexpr int kTimedOut = 124;  // timeout(1)'s status for a command it ended
  char pattern[] = "/tmp/scan_fs_run.XXXXXX";
  const std::string directory = mkdtemp(pattern);
  std::string command = "cd " + ShellQuote(directory) + " && ";
  if (!options.prepare.empty()) command += "{ " + options.prepare + "; } && ";
  // The shell's file size limit counts blocks of 512 bytes; an ignored SIGXFSZ makes a write
  // past it fail instead of ending the program.
  command +=
      "ulimit -f " + std::to_string((options.fileSizeLimit + 511) / 512) + " && trap '' XFSZ && ";
  // timeout(1) passes a signal on to the program once (--foreground: not again to its process
  // group), and ends as the program does.
  std::string program =
      "timeout --foreground -k 5 " + std::to_string(kTimeLimitSeconds) + " " + ShellQuote(binary);
  for (const std::string& argument : arguments) program.append(" ").append(ShellQuote(argument));
  program += " >stdout.txt 2>stderr.txt";
  if (options.signal != 0) {
    program = "{ " + program + " & program=$!; until grep -qF -- " +
              ShellQuote(options.signalWhenText) + " " + ShellQuote(options.signalWhenFile) +
              " 2>/dev/null || ! kill -0 $program 2>/dev/null; do sleep 0.02; done; kill -" +
              std::to_string(options.signal) + " $program 2>/dev/null; wait $program; }";
  }
  command += program;
  const int status = std::system(command.c_str());
  ProgramRun run;
  run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = ReadFile(directory + "/stdout.txt");
  run.err = ReadFile(directory + "/stderr.txt");
  run.directory = directory;
  run.removesDirectory = std::shared_ptr<void>(nullptr, [directory](void*) {
    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
  });
  if (run.exitStatus == kTimedOut) ADD_FAILURE() << "scan_fs ran out of time";
  return run;
}

#endif
