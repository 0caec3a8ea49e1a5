// The string table's ids, and the seam that loads a text.
// A port provides LoadStringText: Win32 reads the compiled string table of the module, every
// other build reads the same entries from string_table.def through StringTableText.
#ifndef SCAN_FS_RESOURCES_STRINGS_H
#define SCAN_FS_RESOURCES_STRINGS_H

enum StringId : unsigned {
#define STRING_ENTRY(id, name, text) name = id,
#include "resources/string_table.def"
#undef STRING_ENTRY
};

// Copies the text of `id` into `buffer`, cut to `size` - 1 characters and always terminated
// (when `size` > 0). Returns the number of characters copied; 0, with an empty buffer, for an id
// the table does not hold.
int LoadStringText(unsigned id, char* buffer, int size);

// The text of `id` straight from the table, or nullptr.
const char* StringTableText(unsigned id);

#endif
