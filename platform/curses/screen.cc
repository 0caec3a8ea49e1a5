#include "platform/curses/screen.h"

#include <curses.h>

#include <algorithm>
#include <string>

#include "platform/curses/box_text.h"
#include "platform/curses/drawing.h"
#include "platform/linux/linux_ui.h"
#include "shell/main_window.h"

namespace {

constexpr char kBusyMark[] = "Please wait...";
constexpr char kProgressCaption[] = "Scanning";
constexpr char kKeyHint[] = "F10 or Alt+letter: menu   q or Ctrl+C: quit";
constexpr size_t kNoticesKept = 8;

// The key hint goes under the main window when the terminal has a row to spare.
bool RoomForKeyHint() {
  return LINES > kWindowHeight;
}

}  // namespace

bool Screen::TooSmall() const {
  return LINES < kWindowHeight || COLS < kWindowWidth;
}

CellRect Screen::WindowRect() const {
  const int height =
      kWindowHeight + (RoomForKeyHint() ? 1 : 0) + static_cast<int>(NoticeRows().size());
  return CellRect{std::max(0, (LINES - height) / 2), std::max(0, (COLS - kWindowWidth) / 2),
                  kWindowHeight, kWindowWidth};
}

CellRect Screen::PageRect() const {
  const CellRect window = WindowRect();
  return CellRect{window.row + 3, window.column + 1, kPageRows, kPageColumns};
}

int Screen::MenuTitleColumn(int popup) const {
  int column = WindowRect().column;
  for (int i = 0; i < popup && i < static_cast<int>(menu_.size()); ++i) {
    column += static_cast<int>(menu_[i].title.label.size()) + 2;
  }
  return column;
}

CellRect Screen::CenteredOverPage(int height, int width) const {
  const CellRect page = PageRect();
  const int row = page.row + (page.height - height) / 2;
  const int column = page.column + (page.width - width) / 2;
  return CellRect{std::clamp(row, 0, std::max(0, LINES - height)),
                  std::clamp(column, 0, std::max(0, COLS - width)), height, width};
}

void Screen::SetBusy(bool busy) {
  busy_ = busy;
  if (!busy) progress_.clear();
  Redraw();
}

void Screen::SetProgress(std::string text) {
  progress_ = std::move(text);
  Redraw();
}

void Screen::AddNotice(const std::string& text) {
  notices_.push_back(text);
  if (notices_.size() > kNoticesKept) notices_.erase(notices_.begin());
  Redraw();
}

std::vector<std::string> Screen::NoticeRows() const {
  // Whole notices, newest first, while they fit; the newest at least begins.
  const int room = LINES - kWindowHeight - 1;
  std::vector<std::string> rows;
  for (auto notice = notices_.rbegin(); notice != notices_.rend() && room > 0; ++notice) {
    std::vector<std::string> lines = BoxLines(*notice, std::max(1, COLS - 2));
    const int free = room - static_cast<int>(rows.size());
    if (static_cast<int>(lines.size()) > free) {
      if (rows.empty()) rows.assign(lines.begin(), lines.begin() + free);
      break;
    }
    rows.insert(rows.begin(), lines.begin(), lines.end());
  }
  return rows;
}

void Screen::PopLayer(Layer* layer) {
  const auto found = std::find(layers_.begin(), layers_.end(), layer);
  if (found != layers_.end()) layers_.erase(found);
  Redraw();
}

void Screen::Redraw() {
  erase();
  if (TooSmall()) {
    DrawTooSmall();
  } else {
    DrawTitleLine();
    DrawMenuBar();
    DrawPage();
    DrawKeyHint();
    DrawNotices();
    for (Layer* layer : layers_) layer->Draw();
    DrawProgress();
    DrawBusyMark();
  }
  refresh();
}

Key Screen::NextKey() {
  for (;;) {
    Redraw();
    if (!heldKeys_.empty() && !TooSmall()) {
      const Key held = heldKeys_.front();
      heldKeys_.pop_front();
      return held;
    }
    const Key key = ReadKey();
    if (key.code == KEY_RESIZE || key.code == ERR) continue;
    if (IsCloseKey(key)) return key;
    if (TooSmall() || !heldKeys_.empty()) {
      heldKeys_.push_back(key);
      continue;
    }
    return key;
  }
}

void Screen::DrawTooSmall() {
  const std::string lines[] = {
      "The terminal is too small.",
      "It needs " + std::to_string(kWindowWidth) + " columns and " + std::to_string(kWindowHeight) +
          " rows;",
      "it has " + std::to_string(COLS) + " columns and " + std::to_string(LINES) + " rows.",
      "Ctrl+C closes the program."};
  int row = 0;
  for (const std::string& line : lines) PutText(row++, 0, line, COLS);
}

void Screen::DrawTitleLine() {
  const CellRect window = WindowRect();
  FillRect(CellRect{window.row, window.column, 1, window.width}, A_REVERSE);
  PutText(window.row, window.column + 1, kMainWindowTitle, window.width - 2, A_REVERSE);
}

// At the right end of the title line, over whatever a box or dialog covers there.
void Screen::DrawBusyMark() {
  if (!busy_) return;
  const CellRect window = WindowRect();
  const int width = static_cast<int>(sizeof kBusyMark) - 1;
  PutText(window.row, window.column + window.width - 1 - width, kBusyMark, width,
          A_REVERSE | A_BOLD);
}

void Screen::DrawProgress() {
  if (!busy_ || progress_.empty()) return;
  const int width = static_cast<int>(progress_.size()) + 4;
  const CellRect frame = CenteredOverPage(3, width);
  DrawFrame(frame, kProgressCaption);
  PutText(frame.row + 1, frame.column + 2, progress_, width - 4);
}

void Screen::DrawMenuBar() {
  const int row = MenuBarRow();
  for (int i = 0; i < static_cast<int>(menu_.size()); ++i) {
    const int column = MenuTitleColumn(i);
    const attr_t attributes = i == activeMenu_ ? A_REVERSE : A_NORMAL;
    const LabeledText& title = menu_[i].title;
    const int width = static_cast<int>(title.label.size()) + 2;
    FillRect(CellRect{row, column, 1, width}, attributes);
    PutLabel(row, column + 1, title, width - 1, attributes);
  }
}

void Screen::DrawPage() {
  const CellRect page = PageRect();
  DrawFrame(CellRect{page.row - 1, page.column - 1, page.height + 2, page.width + 2}, "");
  const PageRowsText rows = RenderPage(DisplaySurface());
  for (int row = 0; row < kPageRows; ++row) {
    PutText(page.row + row, page.column, rows[row], page.width);
  }
}

void Screen::DrawKeyHint() {
  if (!RoomForKeyHint()) return;
  const CellRect window = WindowRect();
  PutText(window.row + window.height, window.column + 1, kKeyHint, window.width - 1, A_DIM);
}

void Screen::DrawNotices() {
  const CellRect window = WindowRect();
  int row = window.row + window.height + (RoomForKeyHint() ? 1 : 0);
  for (const std::string& line : NoticeRows()) PutText(row++, 1, line, COLS - 1, A_BOLD);
}
