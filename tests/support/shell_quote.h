// A text as one word for the shell: in single quotes, with quotes inside escaped.
#ifndef SCAN_FS_TESTS_SUPPORT_SHELL_QUOTE_H
#define SCAN_FS_TESTS_SUPPORT_SHELL_QUOTE_H

#include <string>

inline std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

#endif
