// Resource texts with an access key: "S&canner Information" shows as "Scanner Information" with
// the "c" marked, and the key C chooses it. "&&" stands for a plain "&".
#ifndef SCAN_FS_PLATFORM_CURSES_ACCESS_KEY_H
#define SCAN_FS_PLATFORM_CURSES_ACCESS_KEY_H

#include <string>
#include <string_view>

struct LabeledText {
  std::string label;     // printable, without the marks
  int accessIndex = -1;  // index in `label` of the marked letter, -1 when there is none
  char accessKey = 0;    // that letter in lower case, 0 when there is none

  // Whether `key` (a letter in either case) is this text's access key.
  bool HasAccessKey(int key) const;
};

LabeledText ParseAccessKey(std::string_view text);

#endif
