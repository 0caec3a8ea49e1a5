// The terminal the interface runs on: taking it over (once it is known to be a usable terminal),
// reading keys, and giving it back as it was, also when a signal ends the program.
#ifndef SCAN_FS_PLATFORM_CURSES_TERMINAL_H
#define SCAN_FS_PLATFORM_CURSES_TERMINAL_H

#include <curses.h>

#include <string>

struct Key {
  int code = 0;      // a character or an ncurses KEY_ code
  bool alt = false;  // pressed with Alt: it arrived as Escape followed by the key
};

inline constexpr int kKeyCtrlC = 3;
inline constexpr int kKeyTab = 9;
inline constexpr int kKeyEscape = 27;
// Not a key: the terminal can no longer be read (it was closed or hung up).
inline constexpr int kTerminalLost = KEY_MAX + 1;

bool IsEnterKey(const Key& key);
// Ctrl+C, which the raw terminal delivers as a key, or a lost terminal: the program closes.
bool IsCloseKey(const Key& key);

// Checks that standard input and output are a terminal whose type (TERM) is known and can move
// the cursor, then takes it over: no echo, raw keys, no cursor. On failure the terminal is left
// alone and `error` says why in one line.
bool OpenTerminal(std::string& error);
// Gives the terminal back as it was. Does nothing when it is not open.
void CloseTerminal();

// Waits for the next key.
Key ReadKey();

#endif
