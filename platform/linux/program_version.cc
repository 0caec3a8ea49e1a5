#include "platform/linux/program_version.h"

#include <string_view>

#include "resources/dialog_templates.h"

std::string ProgramVersion() {
  constexpr std::string_view kPrefix = "Version ";
  const DialogTemplate* about = FindDialogTemplate("AboutBox");
  for (int i = 0; about != nullptr && i < about->controlCount; ++i) {
    const std::string_view text = about->controls[i].text;
    if (about->controls[i].id == IDC_ABOUT_VERSION && text.substr(0, kPrefix.size()) == kPrefix) {
      return std::string(text.substr(kPrefix.size()));
    }
  }
  return "unknown";
}
