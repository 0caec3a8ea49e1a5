// Bytes written as hex digits and read back, to hold request blocks to the scanner's command set.
#ifndef SCAN_FS_TESTS_SUPPORT_HEX_TEXT_H
#define SCAN_FS_TESTS_SUPPORT_HEX_TEXT_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

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

#endif
