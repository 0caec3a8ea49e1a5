// A whole file, and a text cut into its lines, for tests that read what the program wrote.
#ifndef SCAN_FS_TESTS_SUPPORT_TEXT_FILE_H
#define SCAN_FS_TESTS_SUPPORT_TEXT_FILE_H

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// The file's bytes; "" when it cannot be read.
inline std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

inline std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

#endif
