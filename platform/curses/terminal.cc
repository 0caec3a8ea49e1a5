#include "platform/curses/terminal.h"

#include <curses.h>
#include <term.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>

#include "platform/curses/printable_text.h"
#include "platform/linux/interruption.h"

namespace {

// Long enough for the rest of an escape sequence to arrive, short enough that Escape feels
// immediate.
constexpr int kEscapeDelayMs = 25;

SCREEN* terminalScreen = nullptr;
volatile std::sig_atomic_t terminalTakenOver = 0;

// Runs in a signal handler that ends the program at once.
void RestoreTerminalForEnd() {
  if (terminalTakenOver) endwin();
}

bool HasCapability(const char* name) {
  const char* value = tigetstr(name);
  return value != nullptr && value != reinterpret_cast<const char*>(-1);
}

// Looks the terminal type up without letting the library end the program on a failure.
bool CheckTerminalType(const char* type, std::string& error) {
  int status = 0;
  if (setupterm(type, STDOUT_FILENO, &status) != OK) {
    error = status == 0 ? "unknown terminal type '" + PrintableText(type) + "' (TERM)"
                        : "no terminal description for '" + PrintableText(type) + "' (TERM)";
    return false;
  }
  const bool addressable = HasCapability("cup");
  del_curterm(cur_term);
  if (!addressable) {
    error =
        "the terminal type '" + PrintableText(type) + "' (TERM) cannot place text on the screen";
    return false;
  }
  return true;
}

}  // namespace

bool IsEnterKey(const Key& key) {
  return !key.alt && (key.code == '\n' || key.code == '\r' || key.code == KEY_ENTER);
}

bool IsCloseKey(const Key& key) {
  return !key.alt && (key.code == kKeyCtrlC || key.code == kTerminalLost);
}

bool OpenTerminal(std::string& error) {
  if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) {
    error = "standard input and output must be a terminal (use --batch to run without one)";
    return false;
  }
  const char* type = std::getenv("TERM");
  if (type == nullptr || *type == '\0') {
    error = "TERM is not set; it must name the terminal type";
    return false;
  }
  if (!CheckTerminalType(type, error)) return false;

  // Caught before the library starts, so that it leaves these signals to us.
  CatchInterruptions(RestoreTerminalForEnd);
  terminalScreen = newterm(type, stdout, stdin);
  if (terminalScreen == nullptr) {
    ReleaseInterruptions();
    error = "cannot use the terminal '" + PrintableText(type) + "'";
    return false;
  }
  set_term(terminalScreen);
  terminalTakenOver = 1;
  // While the program works the terminal sends Ctrl+C as SIGINT, which asks the command to stop;
  // while it waits for a key, Ctrl+C is a key (ReadKey). Typed keys stay queued either way.
  cbreak();
  noqiflush();
  noecho();
  keypad(stdscr, TRUE);
  set_escdelay(kEscapeDelayMs);
  curs_set(0);
  return true;
}

void CloseTerminal() {
  if (terminalScreen == nullptr) return;
  terminalTakenOver = 0;
  endwin();
  delscreen(terminalScreen);
  terminalScreen = nullptr;
  ReleaseInterruptions();
}

namespace {

// The terminal delivers every key, Ctrl+C included, while the program waits for one; an ending
// signal meanwhile ends the program at once.
class WaitingForKey {
 public:
  WaitingForKey() {
    SetWaitingForUser(true);
    raw();
  }
  ~WaitingForKey() {
    cbreak();
    SetWaitingForUser(false);
  }
};

}  // namespace

Key ReadKey() {
  // A stop asked for while no command ran (between two keys): the program closes, as on Ctrl+C.
  if (StopRequested()) return Key{kKeyCtrlC, false};
  const WaitingForKey waiting;
  errno = 0;
  const int code = getch();
  // A wait for a key fails only when a signal interrupts it or the terminal is gone; without
  // this the program would spin on a closed terminal.
  if (code == ERR && errno != EINTR) return Key{kTerminalLost, false};
  if (code != kKeyEscape) return Key{code, false};
  // Alt+key arrives as Escape and the key at once; a lone Escape has nothing behind it, or
  // another key that is not Alt's (Escape pressed twice, an arrow).
  nodelay(stdscr, TRUE);
  const int next = getch();
  nodelay(stdscr, FALSE);
  if (next == ERR) return Key{kKeyEscape, false};
  if (next == kKeyEscape || next >= KEY_MIN) {
    ungetch(next);
    return Key{kKeyEscape, false};
  }
  return Key{next, true};
}
