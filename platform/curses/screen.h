// The terminal screen of the program: the main window (title line, menu bar, the framed page)
// and, over it, whatever is up at the moment (a menu, boxes, dialogs), innermost last.
//
// Everything is drawn again from the current state before the program waits for a key, when a
// layer closes, and when the program asks for it; the library sends only what changed.
#ifndef SCAN_FS_PLATFORM_CURSES_SCREEN_H
#define SCAN_FS_PLATFORM_CURSES_SCREEN_H

#include <deque>
#include <string>
#include <vector>

#include "platform/curses/dialog_layout.h"
#include "platform/curses/menu_model.h"
#include "platform/curses/page_text.h"
#include "platform/curses/terminal.h"

// The main window: title line, menu bar, and the page in a frame.
inline constexpr int kWindowWidth = kPageColumns + 2;
inline constexpr int kWindowHeight = kPageRows + 4;

// Something drawn over the main window while it is up.
class Layer {
 public:
  virtual ~Layer() = default;
  virtual void Draw() = 0;
};

class Screen {
 public:
  explicit Screen(const std::vector<MenuPopup>& menu) : menu_(menu) {}

  const std::vector<MenuPopup>& menu() const { return menu_; }

  // Smaller than the main window: only a plain message is shown, and keys other than Ctrl+C
  // wait until the terminal is large enough again.
  bool TooSmall() const;
  CellRect WindowRect() const;
  CellRect PageRect() const;
  int MenuBarRow() const { return WindowRect().row + 1; }
  int MenuTitleColumn(int popup) const;
  // Where a rectangle of this size is centred over the page, kept inside the terminal.
  CellRect CenteredOverPage(int height, int width) const;

  // The busy mark, drawn over everything while the program works.
  void SetBusy(bool busy);
  // A notice of the ASPI manager: shown under the main window, newest last, as far as the
  // terminal has rows for it.
  void AddNotice(const std::string& text);
  // How far the command is, shown in a box over the page while busy; empty for none.
  void SetProgress(std::string text);
  // The pop-up whose title the menu bar shows selected; -1 for none.
  void SetActiveMenu(int popup) { activeMenu_ = popup; }

  void PushLayer(Layer* layer) { layers_.push_back(layer); }
  // Takes the layer away and shows at once what was under it.
  void PopLayer(Layer* layer);

  // Draws everything now.
  void Redraw();
  // Draws everything, then waits for a key meant for what is shown (the terminal's size changes
  // are handled here). Keys typed while the terminal is too small wait, in order, until it is
  // large enough; Ctrl+C does not wait.
  Key NextKey();

 private:
  void DrawTooSmall();
  void DrawTitleLine();
  void DrawMenuBar();
  void DrawPage();
  void DrawKeyHint();
  void DrawNotices();
  // The rows of the notices that fit under the main window, newest last.
  std::vector<std::string> NoticeRows() const;
  void DrawProgress();
  void DrawBusyMark();

  const std::vector<MenuPopup>& menu_;
  std::vector<Layer*> layers_;
  std::vector<std::string> notices_;
  bool busy_ = false;
  std::string progress_;
  std::deque<Key> heldKeys_;  // typed while the terminal was too small
  int activeMenu_ = -1;
};

// Keeps a layer on the screen for the life of this object.
class ScopedLayer {
 public:
  ScopedLayer(Screen& screen, Layer* layer) : screen_(screen), layer_(layer) {
    screen_.PushLayer(layer_);
  }
  ~ScopedLayer() { screen_.PopLayer(layer_); }
  ScopedLayer(const ScopedLayer&) = delete;
  ScopedLayer& operator=(const ScopedLayer&) = delete;

 private:
  Screen& screen_;
  Layer* layer_;
};

#endif
