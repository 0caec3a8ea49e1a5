#include "tests/support/run_program.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "tests/support/test_text.h"

namespace {

constexpr int kTimeLimitSeconds = 60;
constexpr int kTimedOut = 124;  // timeout(1)'s status for a command it ended

}  // namespace

std::vector<std::string> ProgramRun::OutLines() const {
  return SplitLines(out);
}

std::string ProgramRun::File(const std::string& name) const {
  return ReadFile(directory + "/" + name);
}

ProgramRun RunProgram(const std::string& binary, const std::vector<std::string>& arguments,
                      const RunOptions& options) {
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
