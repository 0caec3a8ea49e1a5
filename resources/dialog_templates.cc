#include "resources/dialog_templates.h"

#include <cstring>
#include <iterator>

namespace {

constexpr unsigned kControlStyleTABSTOP = kControlStyleTabStop;
constexpr unsigned kControlStyleGROUP = kControlStyleGroup;
constexpr unsigned kControlStyleNONE = kControlStyleNone;
constexpr unsigned kControlStyleTABSTOP_GROUP = kControlStyleTabStop | kControlStyleGroup;
constexpr ControlKind kControlKindPUSHBUTTON = ControlKind::kPushButton;
constexpr ControlKind kControlKindGROUPBOX = ControlKind::kGroupBox;
constexpr ControlKind kControlKindAUTORADIOBUTTON = ControlKind::kAutoRadioButton;
constexpr ControlKind kControlKindCTEXT = ControlKind::kCenteredText;

#define DIALOG_BEGIN(name, caption, x, y, width, height) \
  constexpr DialogControl k##name##Controls[] = {
#define DIALOG_CONTROL(kind, id, text, x, y, width, height, style) \
  {kControlKind##kind, id, text, x, y, width, height, kControlStyle##style},
#define DIALOG_END() \
  }                  \
  ;
#include "resources/dialogs.def"
#undef DIALOG_BEGIN
#undef DIALOG_CONTROL
#undef DIALOG_END

constexpr DialogTemplate kDialogTemplates[] = {
#define DIALOG_BEGIN(name, caption, x, y, width, height) \
  {#name,                                                \
   caption,                                              \
   x,                                                    \
   y,                                                    \
   width,                                                \
   height,                                               \
   k##name##Controls,                                    \
   static_cast<int>(std::size(k##name##Controls))},
#define DIALOG_CONTROL(kind, id, text, x, y, width, height, style)
#define DIALOG_END()
#include "resources/dialogs.def"
#undef DIALOG_BEGIN
#undef DIALOG_CONTROL
#undef DIALOG_END
};

}  // namespace

const DialogTemplate* FindDialogTemplate(const char* name) {
  for (const DialogTemplate& dialog : kDialogTemplates) {
    if (std::strcmp(dialog.name, name) == 0) return &dialog;
  }
  return nullptr;
}
