// The text of a message box as the lines it shows.
#ifndef SCAN_FS_PLATFORM_CURSES_BOX_TEXT_H
#define SCAN_FS_PLATFORM_CURSES_BOX_TEXT_H

#include <string>
#include <string_view>
#include <vector>

// Splits `text` at "\n" and makes it printable; a line wider than `width` is broken after the
// last space that keeps it within `width`, or at `width` when it has no such space.
std::vector<std::string> BoxLines(std::string_view text, int width);

#endif
