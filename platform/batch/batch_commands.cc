#include "platform/batch/batch_commands.h"

#include "resources/ids.h"

namespace {

std::vector<std::string> Split(std::string_view text, char separator) {
  std::vector<std::string> pieces(1);
  for (char c : text) {
    if (c == separator) {
      pieces.emplace_back();
    } else {
      pieces.back() += c;
    }
  }
  return pieces;
}

struct MenuCommandName {
  const char* name;
  unsigned commandId;
};

constexpr MenuCommandName kMenuCommandNames[] = {
    {"board", IDM_BOARD_INFORMATION},
    {"info", IDM_SCANNER_INFORMATION},
    {"save", IDM_SAVE_SCANNER_DATA},
    {"diag1", IDM_SELF_DIAGNOSTICS_1},
    {"diag2", IDM_SELF_DIAGNOSTICS_2},
    {"scan", IDM_SCAN_NEGATIVE_FILM},
    {"about", IDM_ABOUT},
};

bool ParseConfirmation(const std::vector<std::string>& arguments, BatchCommand& command,
                       std::string& error) {
  if (arguments.empty()) return true;
  if (arguments.size() == 1 && (arguments[0] == "ok" || arguments[0] == "cancel")) {
    command.confirm = arguments[0] == "ok";
    return true;
  }
  error = "batch command '" + command.name + "': the argument is ok or cancel";
  return false;
}

bool ParseScan(const std::vector<std::string>& arguments, BatchCommand& command,
               std::string& error) {
  if (arguments.size() == 1 && arguments[0] == "cancel") {
    command.dialogClicks = {IDCANCEL};
    return true;
  }
  for (const std::string& argument : arguments) {
    if (argument == "340") {
      command.dialogClicks.push_back(IDC_RESOLUTION_340);
    } else if (argument == "680") {
      command.dialogClicks.push_back(IDC_RESOLUTION_680);
    } else if (argument == "1360") {
      command.dialogClicks.push_back(IDC_RESOLUTION_1360);
    } else if (argument == "2720") {
      command.dialogClicks.push_back(IDC_RESOLUTION_2720);
    } else if (argument == "file") {
      command.dialogClicks.push_back(IDC_SAVE_TO_TIFF);
    } else if (argument == "memory") {
      command.dialogClicks.push_back(IDC_READ_IN_MEMORY);
    } else {
      error = "batch command '" + command.name +
              "': arguments are 340, 680, 1360 or 2720, file or memory, or cancel";
      return false;
    }
  }
  command.dialogClicks.push_back(IDC_SCAN);
  return true;
}

}  // namespace

std::optional<std::vector<BatchCommand>> ParseBatchCommands(std::string_view list,
                                                            std::string& error) {
  std::vector<BatchCommand> commands;
  for (const std::string& item : Split(list, ',')) {
    std::vector<std::string> arguments = Split(item, ':');
    BatchCommand command;
    command.name = item;
    command.menuName = arguments[0];
    arguments.erase(arguments.begin());
    for (const MenuCommandName& known : kMenuCommandNames) {
      if (command.menuName == known.name) command.commandId = known.commandId;
    }
    if (command.commandId == 0) {
      error = "unknown batch command '" + item + "'";
      return std::nullopt;
    }
    bool parsed = true;
    if (command.commandId == IDM_SELF_DIAGNOSTICS_1 ||
        command.commandId == IDM_SELF_DIAGNOSTICS_2) {
      parsed = ParseConfirmation(arguments, command, error);
    } else if (command.commandId == IDM_SCAN_NEGATIVE_FILM) {
      parsed = ParseScan(arguments, command, error);
    } else if (!arguments.empty()) {
      error = "batch command '" + command.menuName + "' takes no arguments";
      parsed = false;
    } else if (command.commandId == IDM_ABOUT) {
      command.dialogClicks = {IDOK};
    }
    if (!parsed) return std::nullopt;
    commands.push_back(std::move(command));
  }
  return commands;
}

const char* BatchCommandsHelp() {
  return "  board             SCSI Board Information\n"
         "  info              Scanner Information\n"
         "  save              Save Scanner Data (writes test_dat.txt)\n"
         "  diag1[:cancel]    Scanner Self-diagnostics 1, confirmation answered OK or Cancel\n"
         "  diag2[:cancel]    Scanner Self-diagnostics 2, likewise\n"
         "  scan[:340|:680|:1360|:2720][:file|:memory]\n"
         "                    Scan Negative Film at that resolution in dpi (default 340), into\n"
         "                    img_fs.tif or only into memory (default file)\n"
         "  scan:cancel       open the scan dialog and cancel it\n"
         "  about             the About box, closed with OK\n";
}
