// LoadStringText for every build but Win32, which loads from the module's resources instead.
#include "resources/strings.h"

int LoadStringText(unsigned id, char* buffer, int size) {
  if (buffer == nullptr || size <= 0) return 0;
  const char* text = StringTableText(id);
  int length = 0;
  if (text != nullptr) {
    while (length < size - 1 && text[length] != '\0') {
      buffer[length] = text[length];
      ++length;
    }
  }
  buffer[length] = '\0';
  return length;
}
