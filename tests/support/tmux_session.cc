#include "tests/support/tmux_session.h"
#include "tests/support/shell_quote.h"
#include "tests/support/text_file.h"

#include <stdlib.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

// Generous for a loaded machine and the sanitizer build; a passing test waits far less.
constexpr auto kTimeLimit = std::chrono::seconds(20);
constexpr auto kPollInterval = std::chrono::milliseconds(40);

std::string Run(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  std::array<char, 4096> buffer;
  for (size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) {
    output.append(buffer.data(), n);
  }
  pclose(pipe);
  return output;
}

bool PollUntil(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + kTimeLimit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(kPollInterval);
  }
  return true;
}

}  // namespace

bool ScreenHas(const ScreenLines& screen, const std::string& text) {
  for (const std::string& line : screen) {
    if (line.find(text) != std::string::npos) return true;
  }
  return false;
}

TmuxSession::TmuxSession(const std::string& binary, const std::vector<std::string>& arguments,
                         const TerminalOptions& terminal) {
  char pattern[] = "/tmp/scan_fs_tui.XXXXXX";
  directory_ = mkdtemp(pattern);
  // The server's socket lives in the session's directory, so that it goes with it.
  socket_ = directory_ + "/tmux.socket";

  // The shell records the program's pid, then becomes the program; after it the pane's shell
  // records the terminal settings and, last, the exit status. The pane's shell ignores SIGINT, as
  // an interactive shell leaves a Ctrl+C of the terminal to the program in the foreground.
  std::string program = "sh -c 'echo $$ > pid; exec \"$0\" \"$@\"' " + ShellQuote(binary);
  for (const std::string& argument : arguments) program.append(" ").append(ShellQuote(argument));
  const std::string environment =
      terminal.term ? "TERM=" + ShellQuote(*terminal.term) : std::string("unset TERM;");
  const std::string command = "trap '' INT; cd " + ShellQuote(directory_) + " && " + environment +
                              " " + program +
                              " 2>stderr.txt; exit_status=$?; stty -a >stty.txt 2>&1; "
                              "echo $exit_status >status.tmp; mv status.tmp status";
  Tmux("new-session -d -s main -x " + std::to_string(terminal.columns) + " -y " +
       std::to_string(terminal.rows) + " " + ShellQuote(command));
}

TmuxSession::~TmuxSession() {
  Tmux("kill-server");
  std::system(("rm -rf " + ShellQuote(directory_)).c_str());
}

std::string TmuxSession::Tmux(const std::string& arguments) const {
  return Run("tmux -S " + ShellQuote(socket_) + " -f /dev/null " + arguments +
             " 2>/dev/null </dev/null");
}

void TmuxSession::Press(const std::vector<std::string>& keys) {
  for (const std::string& key : keys) Tmux("send-keys -t main " + ShellQuote(key));
}

void TmuxSession::Resize(int columns, int rows) {
  Tmux("resize-window -t main -x " + std::to_string(columns) + " -y " + std::to_string(rows));
}

ScreenLines TmuxSession::Screen() const {
  return SplitLines(Tmux("capture-pane -p -t main"));
}

ScreenLines TmuxSession::ScreenWithAttributes() const {
  return SplitLines(Tmux("capture-pane -p -e -t main"));
}

bool TmuxSession::WaitFor(const std::function<bool(const ScreenLines&)>& done) const {
  return PollUntil([&] { return done(Screen()); });
}

bool TmuxSession::WaitForText(const std::string& text) const {
  return WaitFor([&](const ScreenLines& screen) { return ScreenHas(screen, text); });
}

bool TmuxSession::WaitForNoText(const std::string& text) const {
  return WaitFor([&](const ScreenLines& screen) { return !ScreenHas(screen, text); });
}

std::optional<int> TmuxSession::WaitForExit() const {
  std::optional<int> status;
  PollUntil([&] {
    const std::string text = File("status");
    if (!text.empty()) status = std::atoi(text.c_str());
    return status.has_value();
  });
  return status;
}

int TmuxSession::ProgramPid() const {
  std::string text;
  PollUntil([&] {
    text = File("pid");
    return !text.empty() && text.back() == '\n';
  });
  return std::atoi(text.c_str());
}

std::string TmuxSession::File(const std::string& name) const {
  return ReadFile(directory_ + "/" + name);
}
