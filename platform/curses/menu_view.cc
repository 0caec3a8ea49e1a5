#include "platform/curses/menu_view.h"

#include <curses.h>

#include <algorithm>
#include <string>

#include "platform/curses/drawing.h"
#include "platform/linux/linux_ui.h"

namespace {

bool Enabled(unsigned commandId) {
  return MenuCommandEnabled(commandId);
}

bool TerminalCanDim() {
  return (termattrs() & A_DIM) != 0;
}

class MenuLayer : public Layer {
 public:
  MenuLayer(Screen& screen, int popup, bool open)
      : screen_(screen), menu_(screen.menu()), popup_(popup), open_(open) {
    if (open_) Open(popup_);
  }

  MenuChoice Run();
  void Draw() override;

 private:
  void Open(int popup) {
    popup_ = popup;
    open_ = true;
    selected_ = FirstSelectable(menu_[popup_], Enabled);
  }
  void MoveToPopup(int step) {
    const int count = static_cast<int>(menu_.size());
    const int popup = ((popup_ + step) % count + count) % count;
    if (open_) {
      Open(popup);
    } else {
      popup_ = popup;
    }
  }
  // The choice of an item, or nothing when it is grayed.
  MenuChoice Choose(int item) const {
    if (!Selectable(menu_[popup_], item, Enabled)) return MenuChoice{};
    return MenuChoice{MenuChoice::Kind::kCommand, menu_[popup_].items[item].commandId};
  }
  void HandleBarKey(const Key& key);
  // Returns true with `choice` set when the menu is done.
  bool HandlePopupKey(const Key& key, MenuChoice& choice);

  Screen& screen_;
  const std::vector<MenuPopup>& menu_;
  int popup_;
  bool open_;
  int selected_ = -1;
};

MenuChoice MenuLayer::Run() {
  screen_.SetActiveMenu(popup_);
  MenuChoice choice;
  for (;;) {
    const Key key = screen_.NextKey();
    if (IsCloseKey(key)) {
      choice = MenuChoice{MenuChoice::Kind::kClose, 0};
      break;
    }
    if ((key.code == kKeyEscape && !key.alt) || key.code == KEY_F(10)) break;
    if (key.alt) {
      const int popup = PopupWithAccessKey(menu_, key.code);
      if (popup >= 0) Open(popup);
    } else if (open_) {
      if (HandlePopupKey(key, choice)) break;
    } else {
      HandleBarKey(key);
    }
    screen_.SetActiveMenu(popup_);
  }
  screen_.SetActiveMenu(-1);
  return choice;
}

void MenuLayer::HandleBarKey(const Key& key) {
  if (key.code == KEY_LEFT) {
    MoveToPopup(-1);
  } else if (key.code == KEY_RIGHT) {
    MoveToPopup(+1);
  } else if (key.code == KEY_DOWN || key.code == KEY_UP || key.code == ' ' || IsEnterKey(key)) {
    Open(popup_);
  } else if (const int popup = PopupWithAccessKey(menu_, key.code); popup >= 0) {
    Open(popup);
  }
}

bool MenuLayer::HandlePopupKey(const Key& key, MenuChoice& choice) {
  const MenuPopup& popup = menu_[popup_];
  switch (key.code) {
    case KEY_DOWN:
      selected_ = StepSelection(popup, selected_, +1, Enabled);
      return false;
    case KEY_UP:
      selected_ = StepSelection(popup, selected_, -1, Enabled);
      return false;
    case KEY_HOME:
      selected_ = FirstSelectable(popup, Enabled);
      return false;
    case KEY_END:
      selected_ = LastSelectable(popup, Enabled);
      return false;
    case KEY_LEFT:
      MoveToPopup(-1);
      return false;
    case KEY_RIGHT:
      MoveToPopup(+1);
      return false;
    default:
      break;
  }
  if (IsEnterKey(key) || key.code == ' ') {
    choice = Choose(selected_);
    return choice.kind == MenuChoice::Kind::kCommand;
  }
  const int item = ItemWithAccessKey(popup, key.code);
  if (item < 0) return false;
  choice = Choose(item);
  if (choice.kind == MenuChoice::Kind::kCommand) return true;
  beep();  // a grayed item refuses its access key
  return false;
}

void MenuLayer::Draw() {
  if (!open_) return;
  const MenuPopup& popup = menu_[popup_];
  int labelWidth = 0;
  for (const MenuItem& item : popup.items) {
    labelWidth = std::max(labelWidth, static_cast<int>(item.text.label.size()));
  }
  const CellRect frame{screen_.MenuBarRow() + 1, screen_.MenuTitleColumn(popup_),
                       static_cast<int>(popup.items.size()) + 2, labelWidth + 4};
  DrawFrame(frame, "");
  for (int i = 0; i < static_cast<int>(popup.items.size()); ++i) {
    const MenuItem& item = popup.items[i];
    const int row = frame.row + 1 + i;
    if (item.separator) {
      mvaddch(row, frame.column, ACS_LTEE);
      for (int column = 1; column < frame.width - 1; ++column) addch(ACS_HLINE);
      addch(ACS_RTEE);
      continue;
    }
    const bool grayed = !Enabled(item.commandId);
    attr_t attributes = A_NORMAL;
    if (grayed) attributes |= A_DIM;
    if (i == selected_) attributes |= A_REVERSE;
    FillRect(CellRect{row, frame.column + 1, 1, frame.width - 2}, attributes);
    if (grayed && !TerminalCanDim()) {
      // Without a dim attribute a grayed item stands in parentheses, its access letter plain.
      const std::string label = "(" + item.text.label + ")";
      PutText(row, frame.column + 1, label, labelWidth + 2, attributes);
    } else {
      PutLabel(row, frame.column + 2, item.text, labelWidth, attributes);
    }
  }
}

}  // namespace

MenuChoice RunMenu(Screen& screen, int openPopup) {
  MenuLayer layer(screen, openPopup < 0 ? 0 : openPopup, openPopup >= 0);
  ScopedLayer shown(screen, &layer);
  return layer.Run();
}
