// The dialog templates AboutBox and ScanFSBox as data, built from dialogs.def (which also feeds
// the resource script). Coordinates are dialog units.
#ifndef SCAN_FS_RESOURCES_DIALOG_TEMPLATES_H
#define SCAN_FS_RESOURCES_DIALOG_TEMPLATES_H

#include "resources/ids.h"

enum class ControlKind { kPushButton, kGroupBox, kAutoRadioButton, kCenteredText };

// Window style bits of a control, with their Win32 values.
inline constexpr unsigned kControlStyleNone = 0;
inline constexpr unsigned kControlStyleTabStop = 0x00010000;
inline constexpr unsigned kControlStyleGroup = 0x00020000;

struct DialogControl {
  ControlKind kind;
  int id;
  const char* text;
  int x, y, width, height;
  unsigned style;
};

struct DialogTemplate {
  const char* name;
  const char* caption;
  int x, y, width, height;
  const DialogControl* controls;
  int controlCount;
};

// The template of that name, or nullptr.
const DialogTemplate* FindDialogTemplate(const char* name);

#endif
