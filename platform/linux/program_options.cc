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
    } else if (TakeValue(argument, "--batch", index, argc, argv, options.batch, error) ||
               TakeValue(argument, "--trace", index, argc, argv, options.trace, error)) {
      if (!error.empty()) return false;
    } else {
      error = "unknown option '" + std::string(argument) + "'";
      return false;
    }
  }
  return true;
}

std::string ProgramUsage() {
  return std::string(
             "Usage: scan_fs [--simulate[=CONFIG]] [--batch COMMANDS [--json]] [--trace FILE]\n"
             "Service and test utility for the Tessaline T1 and T2 film scanners.\n"
             "\n"
             "  --simulate[=CONFIG]  use the simulated SCSI bus instead of Linux SCSI generic;\n"
             "                       by default one host adapter with a Tessaline T2 at target 2\n"
             "                       (CONFIG: see the README)\n"
             "  --batch COMMANDS     run comma-separated menu commands without a terminal and\n"
             "                       print what they show\n"
             "  --trace FILE         write every SCSI request block to FILE, one JSON line each\n"
             "  --json               with --batch: one JSON document on standard output instead\n"
             "                       of the lines (its form: see the manual page)\n"
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
         "unavailable or a self-diagnostic found a fault; 2 for a usage error; 3 when the\n"
         "trace file could not be written completely.\n";
}
