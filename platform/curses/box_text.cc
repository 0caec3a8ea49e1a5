#include "platform/curses/box_text.h"

#include "platform/curses/printable_text.h"

namespace {

void AddWrapped(std::string line, size_t width, std::vector<std::string>& lines) {
  while (line.size() > width) {
    size_t cut = line.rfind(' ', width);
    const bool atSpace = cut != std::string::npos && cut > 0;
    if (!atSpace) cut = width;
    lines.push_back(line.substr(0, cut));
    line.erase(0, atSpace ? cut + 1 : cut);
  }
  lines.push_back(std::move(line));
}

}  // namespace

std::vector<std::string> BoxLines(std::string_view text, int width) {
  const size_t limit = width > 0 ? static_cast<size_t>(width) : 1;
  std::vector<std::string> lines;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find('\n', start);
    AddWrapped(PrintableText(text.substr(start, end - start)), limit, lines);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return lines;
}
