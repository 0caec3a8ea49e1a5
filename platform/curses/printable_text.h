// Text on its way to the terminal. Device texts (vendor, product, revision, adapter names) can
// hold any byte; only printable ASCII may reach the terminal, so no byte can start an escape
// sequence or move the cursor.
#ifndef SCAN_FS_PLATFORM_CURSES_PRINTABLE_TEXT_H
#define SCAN_FS_PLATFORM_CURSES_PRINTABLE_TEXT_H

#include <string>
#include <string_view>

// What stands in for a byte that must not reach the terminal.
inline constexpr char kReplacementChar = '?';

// `c` itself when it is printable ASCII (20h to 7Eh), otherwise the replacement.
char PrintableChar(char c);
std::string PrintableText(std::string_view text);

#endif
