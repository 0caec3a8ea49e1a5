#include "resources/strings.h"

namespace {

struct StringTableEntry {
  unsigned id;
  const char* text;
};

constexpr StringTableEntry kStringTable[] = {
#define STRING_ENTRY(id, name, text) {id, text},
#include "resources/string_table.def"
#undef STRING_ENTRY
};

}  // namespace

const char* StringTableText(unsigned id) {
  for (const StringTableEntry& entry : kStringTable) {
    if (entry.id == id) return entry.text;
  }
  return nullptr;
}
