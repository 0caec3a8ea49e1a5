// The command list of batch mode: "board", "info", "save", "diag1", "diag2", "scan", "about",
// comma-separated, with their arguments after colons ("diag1:cancel", "scan:2720:memory").
#ifndef SCAN_FS_PLATFORM_BATCH_BATCH_COMMANDS_H
#define SCAN_FS_PLATFORM_BATCH_BATCH_COMMANDS_H

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct BatchCommand {
  std::string name;               // as written, for "# NAME"
  std::string menuName;           // the command without arguments
  unsigned commandId = 0;         // the menu command it stands for
  bool confirm = true;            // answer to an OK/Cancel box
  std::vector<int> dialogClicks;  // controls clicked, in order, once its dialog is up
};

// Parses the list; on a fault returns nothing and describes it in `error`.
std::optional<std::vector<BatchCommand>> ParseBatchCommands(std::string_view list,
                                                            std::string& error);

// The usage text of the command list, for --help.
const char* BatchCommandsHelp();

#endif
