#include "platform/curses/dialog_view.h"

#include <curses.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/curses/close_program.h"
#include "platform/curses/drawing.h"

namespace {

class DialogLayer : public Layer {
 public:
  DialogLayer(Screen& screen, DialogSession& dialog)
      : screen_(screen),
        dialog_(dialog),
        template_(dialog.dialogTemplate()),
        stops_(FocusStops(template_)) {
    for (int i = 0; i < template_.controlCount; ++i) {
      texts_.push_back(ParseAccessKey(template_.controls[i].text));
    }
    if (!stops_.empty()) FocusAtStop(0);
  }

  void Run();
  void Draw() override;

 private:
  const DialogControl& Control(int index) const { return template_.controls[index]; }
  bool Checked(int index) const { return dialog_.Check(Control(index).id) == kChecked; }

  // Focuses a stop: a radio group at its checked button, or at its first.
  void FocusAtStop(int stop) {
    stop_ = stop;
    const std::vector<int>& controls = stops_[stop].controls;
    const auto checked =
        std::find_if(controls.begin(), controls.end(), [this](int i) { return Checked(i); });
    focus_ = checked != controls.end() ? *checked : controls.front();
  }
  void MoveStop(int step) {
    const int count = static_cast<int>(stops_.size());
    if (count > 0) FocusAtStop(((stop_ + step) % count + count) % count);
  }
  // Arrows in a radio group move to the next button and check it, as automatic radio buttons
  // do; elsewhere they move like Tab.
  void MoveWithArrow(int step) {
    if (stops_.empty()) return;
    if (!stops_[stop_].radioGroup) {
      MoveStop(step);
      return;
    }
    const std::vector<int>& controls = stops_[stop_].controls;
    const int count = static_cast<int>(controls.size());
    const int at =
        static_cast<int>(std::find(controls.begin(), controls.end(), focus_) - controls.begin());
    focus_ = controls[((at + step) % count + count) % count];
    dialog_.Click(Control(focus_).id);
  }
  // The control whose access key is `key`, focused; -1 when none has it.
  int FocusAccessKey(int key) {
    for (int stop = 0; stop < static_cast<int>(stops_.size()); ++stop) {
      for (const int i : stops_[stop].controls) {
        if (texts_[i].HasAccessKey(key)) {
          stop_ = stop;
          focus_ = i;
          return i;
        }
      }
    }
    return -1;
  }
  void DrawControl(int index, const CellRect& rect, const CellRect& inside);

  Screen& screen_;
  DialogSession& dialog_;
  const DialogTemplate& template_;
  std::vector<FocusStop> stops_;
  std::vector<LabeledText> texts_;
  int stop_ = 0;
  int focus_ = -1;
};

void DialogLayer::Run() {
  while (!dialog_.ended()) {
    const Key key = screen_.NextKey();
    if (IsCloseKey(key)) CloseProgramNow();
    if (key.code == kKeyEscape && !key.alt) {
      dialog_.Cancel();
    } else if (IsEnterKey(key) || key.code == ' ') {
      if (focus_ >= 0) dialog_.Click(Control(focus_).id);
    } else if (key.code == kKeyTab) {
      MoveStop(+1);
    } else if (key.code == KEY_BTAB) {
      MoveStop(-1);
    } else if (key.code == KEY_DOWN || key.code == KEY_RIGHT) {
      MoveWithArrow(+1);
    } else if (key.code == KEY_UP || key.code == KEY_LEFT) {
      MoveWithArrow(-1);
    } else if (const int control = FocusAccessKey(key.code); control >= 0) {
      dialog_.Click(Control(control).id);
    }
  }
}

void DialogLayer::Draw() {
  // Ended, but its procedure still runs (the scan): the page and the progress show instead.
  if (dialog_.ended()) return;
  const DialogLayout layout = LayoutDialog(template_, LINES, COLS);
  const CellRect frame = screen_.CenteredOverPage(layout.height, layout.width);
  DrawFrame(frame, template_.caption);
  const CellRect inside{frame.row + kDialogFrame, frame.column + kDialogFrame,
                        frame.height - 2 * kDialogFrame, frame.width - 2 * kDialogFrame};
  for (int i = 0; i < template_.controlCount; ++i) {
    const CellRect& cells = layout.controls[i];
    DrawControl(
        i,
        CellRect{inside.row + cells.row, inside.column + cells.column, cells.height, cells.width},
        inside);
  }
}

void DialogLayer::DrawControl(int index, const CellRect& rect, const CellRect& inside) {
  const LabeledText& text = texts_[index];
  const int labelWidth = static_cast<int>(text.label.size());
  const int room = inside.column + inside.width - rect.column;
  const attr_t focused = index == focus_ ? A_REVERSE : A_NORMAL;
  switch (Control(index).kind) {
    case ControlKind::kGroupBox:
      DrawGroupFrame(rect, text.label);
      break;
    case ControlKind::kAutoRadioButton:
      PutText(rect.row, rect.column, Checked(index) ? "(*)" : "( )", room);
      PutLabel(rect.row, rect.column + 4, text, room - 4, focused);
      break;
    case ControlKind::kPushButton: {
      const int width = labelWidth + 4;
      const int column = rect.column + (rect.width - width) / 2;
      PutText(rect.row, column, "[ " + text.label + " ]", width, focused);
      PutLabel(rect.row, column + 2, text, labelWidth, focused);
      break;
    }
    case ControlKind::kCenteredText: {
      // Centred on the control, and only cut where the dialog ends.
      const int column = std::max(inside.column, rect.column + (rect.width - labelWidth) / 2);
      PutLabel(rect.row, column, text, inside.column + inside.width - column);
      break;
    }
  }
}

}  // namespace

void RunDialogView(Screen& screen, DialogSession& dialog) {
  DialogLayer layer(screen, dialog);
  ScopedLayer shown(screen, &layer);
  layer.Run();
}
