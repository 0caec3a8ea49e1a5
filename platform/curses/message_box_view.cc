#include "platform/curses/message_box_view.h"

#include <curses.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/curses/box_text.h"
#include "platform/curses/close_program.h"
#include "platform/curses/drawing.h"

namespace {

constexpr unsigned kButtonsMask = 0x0F;
constexpr unsigned kIconMask = 0xF0;
constexpr int kMargin = 2;  // between the frame and the text, on each side

// What stands for the box's icon in front of its text.
const char* IconMark(unsigned type) {
  switch (type & kIconMask) {
    case kMbIconHand:
      return "(X)";
    case kMbIconInformation:
      return "(i)";
    case 0x20:  // question
      return "(?)";
    case 0x30:  // exclamation
      return "(!)";
    default:
      return "";
  }
}

struct BoxButton {
  int answer;
  LabeledText text;
};

class MessageBoxLayer : public Layer {
 public:
  MessageBoxLayer(Screen& screen, const MessageBoxRequest& box) : screen_(screen), box_(box) {
    buttons_.push_back(BoxButton{kIdOk, ParseAccessKey("&OK")});
    if ((box.type & kButtonsMask) == kMbOkCancel) {
      buttons_.push_back(BoxButton{kIdCancel, ParseAccessKey("&Cancel")});
    }
  }

  int Run();
  void Draw() override;

 private:
  int EscapeAnswer() const { return buttons_.back().answer; }
  int ButtonWithAccessKey(int key) const {
    for (const BoxButton& button : buttons_) {
      if (button.text.HasAccessKey(key)) return button.answer;
    }
    return 0;
  }
  void MoveFocus(int step) {
    const int count = static_cast<int>(buttons_.size());
    focus_ = ((focus_ + step) % count + count) % count;
  }

  Screen& screen_;
  const MessageBoxRequest& box_;
  std::vector<BoxButton> buttons_;
  int focus_ = 0;
};

int MessageBoxLayer::Run() {
  for (;;) {
    const Key key = screen_.NextKey();
    if (IsCloseKey(key)) CloseProgramNow();
    if (IsEnterKey(key) || key.code == ' ') return buttons_[focus_].answer;
    if (key.code == kKeyEscape && !key.alt) return EscapeAnswer();
    if (const int answer = ButtonWithAccessKey(key.code); answer != 0) return answer;
    if (key.code == kKeyTab || key.code == KEY_RIGHT || key.code == KEY_DOWN) MoveFocus(+1);
    if (key.code == KEY_BTAB || key.code == KEY_LEFT || key.code == KEY_UP) MoveFocus(-1);
  }
}

void MessageBoxLayer::Draw() {
  const std::string mark = IconMark(box_.type);
  const int markWidth = mark.empty() ? 0 : static_cast<int>(mark.size()) + 1;
  const int textRoom = COLS - 2 * (1 + kMargin) - markWidth;
  const std::vector<std::string> lines = BoxLines(box_.text, textRoom);

  int buttonsWidth = 0;
  for (const BoxButton& button : buttons_) {
    buttonsWidth += static_cast<int>(button.text.label.size()) + 4 + 2;
  }
  buttonsWidth -= 2;
  int inner = std::max(buttonsWidth, static_cast<int>(box_.caption.size()) + 2);
  for (const std::string& line : lines) {
    inner = std::max(inner, markWidth + static_cast<int>(line.size()));
  }
  const int height = static_cast<int>(lines.size()) + 5;
  const CellRect frame = screen_.CenteredOverPage(height, inner + 2 * (1 + kMargin));
  DrawFrame(frame, box_.caption);

  const int textColumn = frame.column + 1 + kMargin;
  if (!mark.empty()) PutText(frame.row + 2, textColumn, mark, markWidth, A_BOLD);
  for (size_t i = 0; i < lines.size(); ++i) {
    PutText(frame.row + 2 + static_cast<int>(i), textColumn + markWidth, lines[i],
            inner - markWidth);
  }

  int column = frame.column + (frame.width - buttonsWidth) / 2;
  const int row = frame.row + frame.height - 2;
  for (int i = 0; i < static_cast<int>(buttons_.size()); ++i) {
    const LabeledText& text = buttons_[i].text;
    const attr_t attributes = i == focus_ ? A_REVERSE : A_NORMAL;
    const int width = static_cast<int>(text.label.size()) + 4;
    PutText(row, column, "[ " + text.label + " ]", width, attributes);
    PutLabel(row, column + 2, text, width - 4, attributes);
    column += width + 2;
  }
}

}  // namespace

int RunMessageBox(Screen& screen, const MessageBoxRequest& box) {
  MessageBoxLayer layer(screen, box);
  ScopedLayer shown(screen, &layer);
  return layer.Run();
}
