// LoadStringText on Windows: the module's own string table (resources/scan_fs.rc).
#include <windows.h>

#include "resources/strings.h"

int LoadStringText(unsigned id, char* buffer, int size) {
  if (buffer == nullptr || size <= 0) return 0;
  buffer[0] = '\0';
  return LoadStringA(GetModuleHandleA(nullptr), id, buffer, size);
}
