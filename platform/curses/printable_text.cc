#include "platform/curses/printable_text.h"

char PrintableChar(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 0x20 && byte <= 0x7E ? c : kReplacementChar;
}

std::string PrintableText(std::string_view text) {
  std::string printable(text);
  for (char& c : printable) c = PrintableChar(c);
  return printable;
}
