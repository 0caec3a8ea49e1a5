#include "discovery/device_text.h"

#include <cstring>

void AppendDeviceText(char* line, size_t size, const uint8_t* field, size_t width) {
  if (size == 0) return;
  size_t length = std::strlen(line);
  for (size_t i = 0; i < width && field[i] != 0 && length + 1 < size; ++i) {
    line[length++] = static_cast<char>(field[i]);
  }
  line[length] = '\0';
}

void CopyDeviceText(char* text, size_t size, const uint8_t* field, size_t width) {
  if (size == 0) return;
  text[0] = '\0';
  AppendDeviceText(text, size, field, width);
}
