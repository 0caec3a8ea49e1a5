#include "platform/curses/access_key.h"

#include <cctype>

#include "platform/curses/printable_text.h"

bool LabeledText::HasAccessKey(int key) const {
  return accessKey != 0 && key >= 0 && key <= 0xFF &&
         std::tolower(static_cast<unsigned char>(key)) == accessKey;
}

LabeledText ParseAccessKey(std::string_view text) {
  LabeledText parsed;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) {
      ++i;
      if (text[i] != '&' && parsed.accessIndex < 0) {
        parsed.accessIndex = static_cast<int>(parsed.label.size());
        parsed.accessKey =
            static_cast<char>(std::tolower(static_cast<unsigned char>(PrintableChar(text[i]))));
      }
    }
    parsed.label += PrintableChar(text[i]);
  }
  return parsed;
}
