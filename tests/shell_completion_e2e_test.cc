// The bash completion (setup/scan_fs.bash) driven as the shell drives it: the command line split
// into COMP_WORDS, then the completion function, on the real program's --help.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/run_program.h"
#include "tests/support/test_text.h"

namespace {

std::vector<std::string> Completions(const std::string& line) {
  const std::string binaryFolder = std::filesystem::path(SCAN_FS_BINARY).parent_path();
  const ProgramRun run = RunProgram(
      SCAN_FS_SOURCE_DIR "/tests/support/complete_line.bash", {line},
      RunOptions::Prepared(
          "touch trace.jsonl && export PATH=" + ShellQuote(binaryFolder) +
          ":$PATH SCAN_FS_COMPLETION=" + ShellQuote(SCAN_FS_SOURCE_DIR "/setup/scan_fs.bash")));
  EXPECT_EQ(run.err, "") << line;
  return run.OutLines();
}

using Replies = std::vector<std::string>;

TEST(ShellCompletion, OffersTheOptionsCommandsAndItemsOfTheProgram) {
  const std::vector<std::pair<std::string, Replies>> cases = {
      {"scan_fs --",
       {"--simulate", "--simulate=", "--batch", "--trace", "--json", "--inspect", "--preview",
        "--version", "--help"}},
      {"scan_fs --simulate=mo", {"model="}},
      // The shell replaces only what follows the last '=': the replies start there.
      {"scan_fs --simulate=model=t1,sel", {"t1,selfail=", "t1,selftest=", "t1,selftime="}},
      {"scan_fs --simulate=fail=read:", {}},
      {"scan_fs --batch ", {"board", "info", "save", "diag1", "diag2", "scan", "about"}},
      {"scan_fs --batch info,d", {"info,diag1", "info,diag2"}},
      {"scan_fs --batch=sc", {"scan"}},
      {"scan_fs --batch info,scan:", {"340", "680", "1360", "2720", "file", "memory", "cancel"}},
      {"scan_fs --batch scan:2720:m", {"memory"}},
      {"scan_fs --batch diag2:", {"cancel"}},
      {"scan_fs --trace tr", {"trace.jsonl"}},
      {"scan_fs --inspect tr", {"trace.jsonl"}},
      {"scan_fs --batch scan --inspect --p", {"--preview"}},
  };
  for (const auto& [line, replies] : cases) EXPECT_EQ(Completions(line), replies) << line;
}

// What the completion offers, the program takes: every batch command with every argument.
TEST(ShellCompletion, TheProgramTakesEveryCommandOffered) {
  std::string list;
  for (const std::string& name : Completions("scan_fs --batch ")) {
    list += (list.empty() ? "" : ",") + name;
    for (const std::string& argument : Completions("scan_fs --batch " + name + ":")) {
      list += "," + name + ":" + argument;
    }
  }
  const ProgramRun run = RunProgram(SCAN_FS_BINARY, {"--simulate=model=none", "--batch", list});
  EXPECT_EQ(run.exitStatus, 1) << list << "\n" << run.err;  // no scanner, but no usage error
}

}  // namespace
