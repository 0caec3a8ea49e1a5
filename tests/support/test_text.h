// Small helpers for tests that read what the program sent or wrote: files and their lines, bytes
// as hex digits, a word for the shell, and the size that img_fs.tif declares of itself.
#ifndef SCAN_FS_TESTS_SUPPORT_TEST_TEXT_H
#define SCAN_FS_TESTS_SUPPORT_TEST_TEXT_H

#include <cstdint>
#include <cstdio>
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

// Bytes written as hex digits and read back, to hold request blocks to the scanner's command set.
inline std::string HexText(const std::vector<uint8_t>& bytes) {
  std::string text;
  char digits[3];
  for (const uint8_t byte : bytes) {
    std::snprintf(digits, sizeof digits, "%02X", byte);
    text += digits;
  }
  return text;
}

// Spaces between the pairs of digits are left out.
inline std::vector<uint8_t> HexBytes(const std::string& text) {
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ' ') continue;
    bytes.push_back(static_cast<uint8_t>(std::stoul(text.substr(i, 2), nullptr, 16)));
    ++i;  // past the pair's second digit
  }
  return bytes;
}

// A text as one word for the shell: in single quotes, with quotes inside escaped.
inline std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// What img_fs.tif declares: its 216-byte header and the strip of StripByteCounts (the tenth
// directory entry), so that a test can hold the file to it.
inline uintmax_t DeclaredImageFileSize(const std::string& file) {
  constexpr size_t kStripByteCounts = 10 + 9 * 12 + 8;
  if (file.size() < kStripByteCounts + 4) return 0;
  uintmax_t count = 0;
  for (size_t i = 4; i-- > 0;)
    count = count << 8 | static_cast<uint8_t>(file[kStripByteCounts + i]);
  return 216 + count;
}

#endif
