// Batch mode: runs a list of menu commands without a terminal and prints what the user would
// have seen, on standard output:
//   # NAME               before each command ("# start" before window creation)
//   box CAPTION: TEXT    each message box as it appears
//   dialog CAPTION, text TEXT, click LABEL   a dialog, its static texts and the clicks made
//   line X Y TEXT        after each command, each line left on the surface, in drawing order
//   unavailable NAME     a command the menu grays; it is not run
//   inspect LINE         with --inspect, after a scan: its inspection's report, a line each
// Line breaks print as "\n", other control bytes and bytes above 7Eh as "\xHH", "\" as "\\".
#ifndef SCAN_FS_PLATFORM_BATCH_BATCH_FRONT_END_H
#define SCAN_FS_PLATFORM_BATCH_BATCH_FRONT_END_H

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/batch/batch_commands.h"
#include "platform/batch/batch_report.h"
#include "platform/linux/front_end.h"
#include "platform/linux/progress.h"

// The line format above, on `out`.
class BatchLines : public BatchReport {
 public:
  explicit BatchLines(std::FILE* out) : out_(out) {}
  void Section(std::string_view name, const BatchCommand* command) override;
  void Box(const MessageBoxRequest& box, int answer) override;
  void DialogOpened(const DialogTemplate& dialog) override;
  void Clicked(const DialogControl& control) override;
  void DialogClosed() override;
  void PageLine(const SurfaceLine& line) override;
  void Unavailable(std::string_view name) override;
  // "inspect LINE" for each line of the report.
  void Inspection(const InspectionReport* inspection, std::string_view previewError) override;

 private:
  std::FILE* out_;
};

class BatchFrontEnd : public FrontEnd {
 public:
  explicit BatchFrontEnd(BatchReport& report) : report_(report) {}
  int ShowMessageBox(const MessageBoxRequest& box) override;
  void RunDialog(DialogSession& dialog) override;
  // Progress goes to standard error, and only when that is a terminal: standard output keeps
  // its format.
  void BusyChanged(bool busy) override;
  void ShowProgress(uint32_t done, uint32_t total) override;
  void ShowNotice(const std::string& text) override;

  // The command whose boxes and dialogs come next (nullptr: answer OK, cancel dialogs).
  void SetCommand(const BatchCommand* command) { command_ = command; }
  void PrintSurface();
  void PrintSection(std::string_view name, const BatchCommand* command);
  void PrintUnavailable(std::string_view name);
  // A warning box appeared, a command was unavailable, or a self-diagnostic found a fault.
  bool warned() const { return warned_; }
  void Warn(BatchWarning why, std::string_view text);

 private:
  BatchReport& report_;
  const BatchCommand* command_ = nullptr;
  bool warned_ = false;
  ProgressPace pace_;
  bool progressShown_ = false;
};

// Escapes a text for one line of batch output.
std::string EscapeBatchText(std::string_view text);

// Reports what else a command brought (an inspection) after its lines; returns the texts of
// the warnings among it.
using AfterCommand = std::function<std::vector<std::string>(BatchReport& report)>;

// Creates the main window, runs the commands and returns the exit status: 0, or 1 when a
// warning box appeared, a command was unavailable, a self-diagnostic found a fault or
// `afterCommand` gave a warning.
int RunBatch(const std::vector<BatchCommand>& commands, BatchReport& report,
             const AfterCommand& afterCommand = {});
// The same in the line format.
int RunBatch(const std::vector<BatchCommand>& commands, std::FILE* out,
             const AfterCommand& afterCommand = {});

#endif
