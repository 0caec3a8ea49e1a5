// Runs the real scan_fs binary in a terminal of its own: a detached tmux session on a private
// server, driven by key presses and read back as screen text.
#ifndef SCAN_FS_TESTS_SUPPORT_TMUX_SESSION_H
#define SCAN_FS_TESTS_SUPPORT_TMUX_SESSION_H

#include <functional>
#include <optional>
#include <string>
#include <vector>

using ScreenLines = std::vector<std::string>;

struct TerminalOptions {
  int columns = 80;
  int rows = 24;
  std::optional<std::string> term = "screen";  // TERM inside the session; nullopt: unset
};

class TmuxSession {
 public:
  // Starts `binary` with `arguments` in a new temporary directory.
  TmuxSession(const std::string& binary, const std::vector<std::string>& arguments,
              const TerminalOptions& terminal = {});
  ~TmuxSession();
  TmuxSession(const TmuxSession&) = delete;
  TmuxSession& operator=(const TmuxSession&) = delete;

  // Presses keys, by tmux key names ("M-f", "Enter", "Escape", "C-c", "q").
  void Press(const std::vector<std::string>& keys);
  void Resize(int columns, int rows);
  ScreenLines Screen() const;
  // The screen with its colours and attributes as escape sequences.
  ScreenLines ScreenWithAttributes() const;

  // Polls the screen until `done` holds; false when it did not within the time limit.
  bool WaitFor(const std::function<bool(const ScreenLines&)>& done) const;
  bool WaitForText(const std::string& text) const;
  bool WaitForNoText(const std::string& text) const;

  // The program's exit status once it has ended (128 + N after signal N); nullopt when it has
  // not ended within the time limit.
  std::optional<int> WaitForExit() const;
  // The program's process id.
  int ProgramPid() const;
  std::string ErrorOutput() const { return File("stderr.txt"); }
  // `stty -a` of the terminal after the program ended.
  std::string TerminalSettingsAfterExit() const { return File("stty.txt"); }
  // A file the program wrote in its directory.
  std::string File(const std::string& name) const;

 private:
  std::string Tmux(const std::string& arguments) const;

  std::string socket_;
  std::string directory_;
};

// True when `screen` holds `text` on some row.
bool ScreenHas(const ScreenLines& screen, const std::string& text);

#endif
