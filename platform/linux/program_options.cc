#include "platform/linux/program_options.h"

#include <string_view>

#include "platform/batch/batch_commands.h"
#include "sim/sim_config.h"

namespace {

// "--name=value" or "--name value"; false when `argument` is not that option.
bool TakeValue(std::string_view argument, std::string_view name, int& index, int argc, char** argv,
               std::optional<std::string>& value, std::string& error) {
  if (argument == name) {
    if (index + 1 >= argc) {
      error = std::string(name) + " needs a value";
      return true;
    }
    value = argv[++index];
    return true;
  }
  if (argument.size() > name.size() && argument.substr(0, name.size()) == name &&
      argument[name.size()] == '=') {
    value = std::string(argument.substr(name.size() + 1));
    return true;
  }
  return false;
}

// The simulator's item names, in lines of at most 80 columns.
std::string SimulatorItemsHelp() {
  std::string help;
  std::string line = " ";
  for (const std::string& name : SimConfigItemNames()) {
    if (line.size() + 1 + name.size() > 80) {
      help += line + "\n";
      line = " ";
    }
    line += " " + name;
  }
  return help + line + "\n";
}

// The inspection judges a file without a scanner, or the scans of a batch.
bool CheckInspectionOptions(const ProgramOptions& options, std::string& error) {
  if (options.inspectFile && (options.batch || options.simulate || options.trace)) {
    error = "--inspect FILE needs no scanner: it takes no --batch, --simulate or --trace";
  } else if (options.inspect && !options.inspectFile && !options.batch) {
    error = "--inspect without a file inspects the scans of --batch";
  } else if (options.preview && !options.inspect) {
    error = "--preview goes with --inspect";
  } else if (options.json && !options.batch && !options.inspectFile) {
    error = "--json goes with --batch or --inspect FILE";
  }
  return error.empty();
}

}  // namespace

bool ParseProgramOptions(int argc, char** argv, ProgramOptions& options, std::string& error) {
  for (int index = 1; index < argc; ++index) {
    const std::string_view argument = argv[index];
    if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--version") {
      options.version = true;
    } else if (argument == "--json") {
      options.json = true;
    } else if (argument == "--simulate") {
      options.simulate = "";
    } else if (argument.substr(0, 11) == "--simulate=") {
      options.simulate = std::string(argument.substr(11));
    } else if (argument == "--inspect") {
      // A file follows unless the next argument is an option.
      options.inspect = true;
      if (index + 1 < argc && std::string_view(argv[index + 1]).substr(0, 2) != "--") {
        options.inspectFile = argv[++index];
      }
    } else if (argument.substr(0, 10) == "--inspect=") {
      options.inspect = true;
      options.inspectFile = std::string(argument.substr(10));
    } else if (TakeValue(argument, "--batch", index, argc, argv, options.batch, error) ||
               TakeValue(argument, "--trace", index, argc, argv, options.trace, error) ||
               TakeValue(argument, "--preview", index, argc, argv, options.preview, error)) {
      if (!error.empty()) return false;
    } else {
      error = "unknown option '" + std::string(argument) + "'";
      return false;
    }
  }
  return CheckInspectionOptions(options, error);
}

std::string ProgramUsage() {
  return std::string(
             "Usage: scan_fs [--simulate[=CONFIG]] [--batch COMMANDS [--json] [--inspect]]\n"
             "               [--trace FILE] [--preview PNG]\n"
             "       scan_fs --inspect FILE [--json] [--preview PNG]\n"
             "Service and test utility for the Tessaline T1 and T2 film scanners.\n"
             "\n"
             "  --simulate[=CONFIG]  use the simulated SCSI bus instead of Linux SCSI generic;\n"
             "                       by default one host adapter with a Tessaline T2 at target 2\n"
             "                       (CONFIG: see the README)\n"
             "  --batch COMMANDS     run comma-separated menu commands without a terminal and\n"
             "                       print what they show\n"
             "  --trace FILE         write every SCSI request block to FILE, one JSON line each\n"
             "  --json               with --batch: one JSON document on standard output instead\n"
             "                       of the lines (its form: see the manual page); with\n"
             "                       --inspect FILE: the report as one JSON object\n"
             "  --inspect [FILE]     with --batch: judge the image of every scan as it arrives;\n"
             "                       with FILE: judge a TIFF file's image (8-bit RGB), no scanner\n"
             "  --preview PNG        with --inspect: write a reduced positive, findings marked\n"
             "  --version            the program's name and version\n"
             "  --help               this text\n"
             "\n"
             "Without --batch the program runs its terminal user interface.\n"
             "\n"
             "Batch commands:\n") +
         BatchCommandsHelp() +
         "\n"
         "Simulator items (CONFIG: comma-separated ITEM=VALUE, see the manual page):\n" +
         SimulatorItemsHelp() +
         "\n"
         "Exit status: 0; 1 when in batch mode a warning box appeared, a command was\n"
         "unavailable, a self-diagnostic found a fault or an inspection a defect; 2 for a\n"
         "usage error; 3 when the trace file could not be written completely.\n"
         "--inspect FILE: 0 no defect found, 1 defects found, 2 not a complete image,\n"
         "3 the preview could not be written.\n";
}
