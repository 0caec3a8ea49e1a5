#include "platform/batch/batch_front_end.h"

#include <unistd.h>

#include "platform/linux/dialog_session.h"
#include "platform/linux/interruption.h"
#include "platform/linux/linux_ui.h"
#include "platform/linux/progress.h"
#include "resources/strings.h"

namespace {

// A self-diagnostic's verdict that the scanner is faulty: it counts like a warning, so that the
// exit status tells a faulty scanner from a sound one.
bool ReportsFaultyScanner(const std::string& line) {
  for (const unsigned verdict : {IDS_DIAG1_PROBLEM, IDS_DIAG2_PROBLEM}) {
    const char* text = StringTableText(verdict);
    if (text != nullptr && line == text) return true;
  }
  return false;
}

}  // namespace

std::string EscapeBatchText(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\n') {
      escaped += "\\n";
    } else if (c == '\\') {
      escaped += "\\\\";
    } else if (byte < 0x20 || byte > 0x7E) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      escaped += hex;
    } else {
      escaped += c;
    }
  }
  return escaped;
}

void BatchFrontEnd::BusyChanged(bool busy) {
  pace_.Restart();
  if (!busy && progressShown_) {
    std::fputs("\r\x1b[K", stderr);  // the progress line goes when the work ends
    progressShown_ = false;
  }
}

void BatchFrontEnd::ShowProgress(uint32_t done, uint32_t total) {
  if (!isatty(STDERR_FILENO) || !pace_.Due()) return;
  std::fprintf(stderr, "\r\x1b[K%s", ProgressText(done, total).c_str());
  progressShown_ = true;
}

void BatchFrontEnd::ShowNotice(const std::string& text) {
  if (progressShown_) std::fputs("\r\x1b[K", stderr);  // on a line of its own; progress follows
  FrontEnd::ShowNotice(text);
}

int BatchFrontEnd::ShowMessageBox(const MessageBoxRequest& box) {
  std::fprintf(out_, "box %s: %s\n", EscapeBatchText(box.caption).c_str(),
               EscapeBatchText(box.text).c_str());
  if (box.type & kMbIconHand) warned_ = true;
  const bool offersCancel = (box.type & 0xF) == kMbOkCancel;
  return offersCancel && command_ != nullptr && !command_->confirm ? kIdCancel : kIdOk;
}

void BatchFrontEnd::RunDialog(DialogSession& dialog) {
  const DialogTemplate& layout = dialog.dialogTemplate();
  std::fprintf(out_, "dialog %s\n", EscapeBatchText(layout.caption).c_str());
  for (int i = 0; i < layout.controlCount; ++i) {
    if (layout.controls[i].kind == ControlKind::kCenteredText) {
      std::fprintf(out_, "text %s\n", EscapeBatchText(layout.controls[i].text).c_str());
    }
  }
  if (command_ != nullptr) {
    for (const int controlId : command_->dialogClicks) {
      if (dialog.ended()) break;
      for (int i = 0; i < layout.controlCount; ++i) {
        if (layout.controls[i].id == controlId) {
          std::fprintf(out_, "click %s\n", EscapeBatchText(layout.controls[i].text).c_str());
        }
      }
      dialog.Click(controlId);
    }
  }
  if (!dialog.ended()) {
    std::fprintf(out_, "close\n");
    dialog.Cancel();
  }
}

void BatchFrontEnd::PrintSurface() {
  for (const SurfaceLine& line : DisplaySurface().lines()) {
    std::fprintf(out_, "line %d %d %s\n", line.x, line.y, EscapeBatchText(line.text).c_str());
    if (ReportsFaultyScanner(line.text)) warned_ = true;
  }
}

void BatchFrontEnd::PrintSection(std::string_view name) {
  std::fprintf(out_, "# %s\n", EscapeBatchText(name).c_str());
}

void BatchFrontEnd::PrintUnavailable(std::string_view name) {
  std::fprintf(out_, "unavailable %s\n", EscapeBatchText(name).c_str());
  warned_ = true;
}

int RunBatch(const std::vector<BatchCommand>& commands, std::FILE* out,
             const AfterCommand& afterCommand) {
  BatchFrontEnd frontEnd(out);
  bool warned = false;
  UseFrontEnd(&frontEnd);
  frontEnd.PrintSection("start");
  CreateMainWindow();
  frontEnd.PrintSurface();
  for (const BatchCommand& command : commands) {
    if (StopRequested()) break;  // the command before was asked to stop
    frontEnd.PrintSection(command.name);
    if (!MenuCommandEnabled(command.commandId)) {
      frontEnd.PrintUnavailable(command.menuName);
      continue;
    }
    frontEnd.SetCommand(&command);
    SendMenuCommand(command.commandId);
    frontEnd.SetCommand(nullptr);
    frontEnd.PrintSurface();
    if (afterCommand && afterCommand(out)) warned = true;
  }
  std::fflush(out);
  UseFrontEnd(nullptr);
  return frontEnd.warned() || warned ? 1 : 0;
}
