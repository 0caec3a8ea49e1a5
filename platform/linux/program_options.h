// The command line of the Linux program.
#ifndef SCAN_FS_PLATFORM_LINUX_PROGRAM_OPTIONS_H
#define SCAN_FS_PLATFORM_LINUX_PROGRAM_OPTIONS_H

#include <optional>
#include <string>

struct ProgramOptions {
  bool help = false;
  bool version = false;
  bool json = false;  // one JSON document on standard output: the batch's, or the file's report
  std::optional<std::string> simulate;  // the simulator's configuration, "" for the default
  std::optional<std::string> batch;     // the batch command list
  std::optional<std::string> trace;     // the trace file
  bool inspect = false;                 // judge the image: of every scan, or of a file
  std::optional<std::string> inspectFile;
  std::optional<std::string> preview;  // the inspection's picture, a PNG file
};

// Parses argv; on a fault returns false with a one-line description in `error`.
bool ParseProgramOptions(int argc, char** argv, ProgramOptions& options, std::string& error);

// The --help text. Its lists of options, batch commands and simulator items are also what the
// shell completion offers (setup/scan_fs.bash reads them from it).
std::string ProgramUsage();

#endif
