#include "platform/curses/drawing.h"

#include <algorithm>
#include <string>

#include "platform/curses/printable_text.h"

namespace {

bool OnScreen(int row, int column) {
  return row >= 0 && row < LINES && column >= 0 && column < COLS;
}

void PutChar(int row, int column, chtype c) {
  if (OnScreen(row, column)) mvaddch(row, column, c);
}

void PutBorder(const CellRect& rect, attr_t attributes) {
  const int bottom = rect.row + rect.height - 1;
  const int right = rect.column + rect.width - 1;
  for (int column = rect.column + 1; column < right; ++column) {
    PutChar(rect.row, column, ACS_HLINE | attributes);
    PutChar(bottom, column, ACS_HLINE | attributes);
  }
  for (int row = rect.row + 1; row < bottom; ++row) {
    PutChar(row, rect.column, ACS_VLINE | attributes);
    PutChar(row, right, ACS_VLINE | attributes);
  }
  PutChar(rect.row, rect.column, ACS_ULCORNER | attributes);
  PutChar(rect.row, right, ACS_URCORNER | attributes);
  PutChar(bottom, rect.column, ACS_LLCORNER | attributes);
  PutChar(bottom, right, ACS_LRCORNER | attributes);
}

// " text ", built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) about the same string
// built with operator+.
std::string Padded(std::string_view text) {
  std::string padded(1, ' ');
  padded.append(text);
  padded += ' ';
  return padded;
}

}  // namespace

void PutText(int row, int column, std::string_view text, int maxWidth, attr_t attributes) {
  if (row < 0 || row >= LINES) return;
  int skip = column < 0 ? -column : 0;
  const int width = std::min(maxWidth, COLS - column);
  if (skip >= width || skip >= static_cast<int>(text.size())) return;
  const std::string shown =
      PrintableText(text.substr(skip, std::min<size_t>(text.size(), width) - skip));
  attron(attributes);
  mvaddnstr(row, column + skip, shown.c_str(), static_cast<int>(shown.size()));
  attroff(attributes);
}

void PutLabel(int row, int column, const LabeledText& text, int maxWidth, attr_t attributes) {
  PutText(row, column, text.label, maxWidth, attributes);
  if (text.accessIndex >= 0 && text.accessIndex < maxWidth) {
    PutText(row, column + text.accessIndex, text.label.substr(text.accessIndex, 1), 1,
            attributes | A_UNDERLINE);
  }
}

void FillRect(const CellRect& rect, attr_t attributes) {
  const std::string blank(std::max(rect.width, 0), ' ');
  for (int row = rect.row; row < rect.row + rect.height; ++row) {
    PutText(row, rect.column, blank, rect.width, attributes);
  }
}

void DrawFrame(const CellRect& rect, std::string_view caption, attr_t attributes) {
  FillRect(rect, attributes);
  PutBorder(rect, attributes);
  if (caption.empty()) return;
  const std::string title = Padded(caption);
  const int room = rect.width - 2;
  const int offset = std::max(0, (room - static_cast<int>(title.size())) / 2);
  PutText(rect.row, rect.column + 1 + offset, title, room, attributes | A_BOLD);
}

void DrawGroupFrame(const CellRect& rect, std::string_view label) {
  PutBorder(rect, 0);
  if (!label.empty()) {
    PutText(rect.row, rect.column + 1, Padded(label), rect.width - 2);
  }
}
