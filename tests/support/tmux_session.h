// Runs a program in a terminal of its own: a detached tmux session on a private server, driven by
// key presses and read back as screen text.
#ifndef SCAN_FS_TESTS_SUPPORT_TMUX_SESSION_H
#define SCAN_FS_TESTS_SUPPORT_TMUX_SESSION_H

#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/test_text.h"

class TmuxSession {
 public:
  // Starts `command` (the program, then its arguments) with TERM=screen in a new temporary
  // directory, which also holds the server's socket, so that the server goes with it. A test
  // that needs another environment starts the program through env or sh.
  explicit TmuxSession(const std::vector<std::string>& command, int columns = 80, int rows = 24) {
    char pattern[] = "/tmp/scan_fs_tui.XXXXXX";
    directory_ = mkdtemp(pattern);
    // The shell records the program's pid, then becomes the program; after it the pane's shell
    // records the terminal settings and, last, the exit status (renamed into place, so whole). The
    // pane's shell ignores SIGINT, as an interactive shell leaves a Ctrl+C of the terminal to the
    // program in the foreground.
    std::string line = "trap '' INT; cd " + ShellQuote(directory_) +
                       " && TERM=screen sh -c 'echo $$ > pid; exec \"$0\" \"$@\"'";
    for (const std::string& word : command) line += " " + ShellQuote(word);
    line += " 2>stderr.txt; code=$?; stty -a >stty.txt 2>&1; echo $code >code; mv code status";
    Tmux("new-session -d -s main -x " + std::to_string(columns) + " -y " + std::to_string(rows) +
         " " + ShellQuote(line));
  }
  ~TmuxSession() {
    Tmux("kill-server");
    std::filesystem::remove_all(directory_);
  }
  TmuxSession(const TmuxSession&) = delete;
  TmuxSession& operator=(const TmuxSession&) = delete;

  // Presses keys, by tmux key names ("M-f", "Enter", "Escape", "C-c", "q").
  void Press(const std::vector<std::string>& keys) {
    for (const std::string& key : keys) Tmux("send-keys -t main " + ShellQuote(key));
  }
  void Resize(int columns, int rows) {
    Tmux("resize-window -t main -x " + std::to_string(columns) + " -y " + std::to_string(rows));
  }
  // The screen's rows; with `attributes`, their colours and attributes as escape sequences.
  std::string ScreenText(bool attributes = false) const {
    return Tmux(attributes ? "capture-pane -p -e -t main" : "capture-pane -p -t main");
  }

  // Polls until `done` holds; false when it did not within the time limit.
  static bool WaitFor(const std::function<bool()>& done) {
    // Generous for a loaded machine and the sanitizer build; a passing test waits far less.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(40));
    }
    return true;
  }
  // Until a row of the screen shows `text`, or, with `shown` false, none does.
  bool WaitForText(const std::string& text, bool shown = true) const {
    return WaitFor([&] { return (ScreenText().find(text) != std::string::npos) == shown; });
  }
  // The program's exit status once it has ended (128 + N after signal N); nullopt when it has
  // not ended within the time limit.
  std::optional<int> WaitForExit() const {
    if (!WaitFor([this] { return !File("status").empty(); })) return std::nullopt;
    return std::atoi(File("status").c_str());
  }

  // A file in the program's directory; also "pid", its process id, written before it starts,
  // "stderr.txt", its standard error, and "stty.txt", `stty -a` of the terminal after it ended.
  std::string File(const std::string& name) const { return ReadFile(directory_ + "/" + name); }

 private:
  std::string Tmux(const std::string& arguments) const {
    const std::string command = "tmux -S " + ShellQuote(directory_ + "/tmux.socket") +
                                " -f /dev/null " + arguments + " 2>/dev/null </dev/null";
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    for (int c; pipe != nullptr && (c = std::fgetc(pipe)) != EOF;) output += static_cast<char>(c);
    if (pipe != nullptr) pclose(pipe);
    return output;
  }

  std::string directory_;
};

#endif
