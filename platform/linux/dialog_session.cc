#include "platform/linux/dialog_session.h"

DialogSession::DialogSession(const DialogTemplate& dialogTemplate, DialogProc procedure)
    : template_(dialogTemplate), procedure_(procedure) {}

void DialogSession::Initialize() {
  procedure_(handle(), kWmInitDialog, 0, 0);
}

const DialogControl* DialogSession::Control(int controlId) const {
  for (int i = 0; i < template_.controlCount; ++i) {
    if (template_.controls[i].id == controlId) return &template_.controls[i];
  }
  return nullptr;
}

int DialogSession::GroupOf(int controlId) const {
  // A group runs from a control with the group style up to the next one.
  int group = 0;
  for (int i = 0; i < template_.controlCount; ++i) {
    if (template_.controls[i].style & kControlStyleGroup) group = i;
    if (template_.controls[i].id == controlId) return group;
  }
  return -1;
}

void DialogSession::Click(int controlId) {
  const DialogControl* control = Control(controlId);
  if (control == nullptr || control->kind == ControlKind::kGroupBox ||
      control->kind == ControlKind::kCenteredText) {
    return;
  }
  if (control->kind == ControlKind::kAutoRadioButton) {
    const int group = GroupOf(controlId);
    for (int i = 0; i < template_.controlCount; ++i) {
      const DialogControl& other = template_.controls[i];
      if (other.kind == ControlKind::kAutoRadioButton && GroupOf(other.id) == group) {
        checks_[other.id] = other.id == controlId ? kChecked : kUnchecked;
      }
    }
  }
  Command(controlId);
}

void DialogSession::Command(int controlId) {
  procedure_(handle(), kWmCommand, static_cast<uintptr_t>(controlId), 0);
}

int DialogSession::Check(int controlId) const {
  const auto found = checks_.find(controlId);
  return found == checks_.end() ? kUnchecked : found->second;
}

void DialogSession::End(intptr_t result) {
  ended_ = true;
  result_ = result;
}
