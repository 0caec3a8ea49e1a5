#include "platform/batch/batch_front_end.h"

#include <unistd.h>

#include "inspection/report_text.h"
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

void BatchLines::Section(std::string_view name, const BatchCommand*) {
  std::fprintf(out_, "# %s\n", EscapeBatchText(name).c_str());
}

void BatchLines::Box(const MessageBoxRequest& box, int) {
  std::fprintf(out_, "box %s: %s\n", EscapeBatchText(box.caption).c_str(),
               EscapeBatchText(box.text).c_str());
}

void BatchLines::DialogOpened(const DialogTemplate& dialog) {
  std::fprintf(out_, "dialog %s\n", EscapeBatchText(dialog.caption).c_str());
  for (int i = 0; i < dialog.controlCount; ++i) {
    if (dialog.controls[i].kind == ControlKind::kCenteredText) {
      std::fprintf(out_, "text %s\n", EscapeBatchText(dialog.controls[i].text).c_str());
    }
  }
}

void BatchLines::Clicked(const DialogControl& control) {
  std::fprintf(out_, "click %s\n", EscapeBatchText(control.text).c_str());
}

void BatchLines::DialogClosed() {
  std::fprintf(out_, "close\n");
}

void BatchLines::PageLine(const SurfaceLine& line) {
  std::fprintf(out_, "line %d %d %s\n", line.x, line.y, EscapeBatchText(line.text).c_str());
}

void BatchLines::Unavailable(std::string_view name) {
  std::fprintf(out_, "unavailable %s\n", EscapeBatchText(name).c_str());
}

void BatchLines::Inspection(const InspectionReport* inspection, std::string_view previewError) {
  if (inspection == nullptr) {
    std::fprintf(out_, "inspect %s\n", kNoImageSize);
  } else {
    for (const std::string& line : ReportLines(*inspection)) {
      std::fprintf(out_, "inspect %s\n", EscapeBatchText(line).c_str());
    }
  }
  if (!previewError.empty()) {
    std::fprintf(out_, "inspect preview not written: %s\n", EscapeBatchText(previewError).c_str());
  }
}

void BatchFrontEnd::Warn(BatchWarning why, std::string_view text) {
  warned_ = true;
  report_.Warning(why, text);
}

int BatchFrontEnd::ShowMessageBox(const MessageBoxRequest& box) {
  const bool offersCancel = (box.type & 0xF) == kMbOkCancel;
  const int answer = offersCancel && command_ != nullptr && !command_->confirm ? kIdCancel : kIdOk;
  report_.Box(box, answer);
  if (box.type & kMbIconHand) Warn(BatchWarning::kWarningBox, box.text);
  return answer;
}

void BatchFrontEnd::RunDialog(DialogSession& dialog) {
  const DialogTemplate& layout = dialog.dialogTemplate();
  report_.DialogOpened(layout);
  if (command_ != nullptr) {
    for (const int controlId : command_->dialogClicks) {
      if (dialog.ended()) break;
      for (int i = 0; i < layout.controlCount; ++i) {
        if (layout.controls[i].id == controlId) report_.Clicked(layout.controls[i]);
      }
      dialog.Click(controlId);
    }
  }
  if (!dialog.ended()) {
    report_.DialogClosed();
    dialog.Cancel();
  }
}

void BatchFrontEnd::PrintSurface() {
  for (const SurfaceLine& line : DisplaySurface().lines()) {
    report_.PageLine(line);
    if (ReportsFaultyScanner(line.text)) Warn(BatchWarning::kFault, line.text);
  }
}

void BatchFrontEnd::PrintSection(std::string_view name, const BatchCommand* command) {
  report_.Section(name, command);
}

void BatchFrontEnd::PrintUnavailable(std::string_view name) {
  report_.Unavailable(name);
  Warn(BatchWarning::kUnavailable, name);
}

int RunBatch(const std::vector<BatchCommand>& commands, std::FILE* out,
             const AfterCommand& afterCommand) {
  BatchLines lines(out);
  const int status = RunBatch(commands, lines, afterCommand);
  std::fflush(out);
  return status;
}

int RunBatch(const std::vector<BatchCommand>& commands, BatchReport& report,
             const AfterCommand& afterCommand) {
  BatchFrontEnd frontEnd(report);
  UseFrontEnd(&frontEnd);
  frontEnd.PrintSection("start", nullptr);
  CreateMainWindow();
  frontEnd.PrintSurface();
  for (const BatchCommand& command : commands) {
    if (StopRequested()) break;  // the command before was asked to stop
    frontEnd.PrintSection(command.name, &command);
    if (!MenuCommandEnabled(command.commandId)) {
      frontEnd.PrintUnavailable(command.menuName);
      continue;
    }
    frontEnd.SetCommand(&command);
    SendMenuCommand(command.commandId);
    frontEnd.SetCommand(nullptr);
    frontEnd.PrintSurface();
    if (!afterCommand) continue;
    for (const std::string& warning : afterCommand(report)) {
      frontEnd.Warn(BatchWarning::kInspection, warning);
    }
  }
  UseFrontEnd(nullptr);
  return frontEnd.warned() ? 1 : 0;
}
