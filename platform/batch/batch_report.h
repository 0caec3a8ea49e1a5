// What batch mode tells of a run, event by event: the line format (BatchLines) or one JSON
// document (json_report.h). The front end answers the boxes and works the dialogs; a report only
// records what happened.
#ifndef SCAN_FS_PLATFORM_BATCH_BATCH_REPORT_H
#define SCAN_FS_PLATFORM_BATCH_BATCH_REPORT_H

#include <string_view>

#include "inspection/inspection_report.h"
#include "platform/batch/batch_commands.h"
#include "platform/linux/front_end.h"
#include "platform/linux/surface_model.h"
#include "resources/dialog_templates.h"

// Why a run ends with status 1.
enum class BatchWarning {
  kWarningBox,   // a box with the stop icon appeared
  kUnavailable,  // the menu grays a command
  kFault,        // a self-diagnostic found the scanner faulty
  kInspection,   // an inspection found a defect, could not judge a scan or write its preview
};

// What an inspection says of a scan whose image size the scanner never gave.
inline constexpr char kNoImageSize[] = "the scanner gave no image size: not judged";

class BatchReport {
 public:
  virtual ~BatchReport() = default;
  // Window creation ("start", no command) or the command that runs next.
  virtual void Section(std::string_view name, const BatchCommand* command) = 0;
  // A message box and the answer it was given (kIdOk, kIdCancel).
  virtual void Box(const MessageBoxRequest& box, int answer) = 0;
  // A dialog opens: its caption and static texts are in the template.
  virtual void DialogOpened(const DialogTemplate& dialog) = 0;
  virtual void Clicked(const DialogControl& control) = 0;
  // The dialog was still open after the clicks asked for, and is cancelled.
  virtual void DialogClosed() = 0;
  // After each command, every line left on the page, in drawing order.
  virtual void PageLine(const SurfaceLine& line) = 0;
  virtual void Unavailable(std::string_view name) = 0;
  // With --inspect, after a scan: the inspection of its image (nullptr: the scanner gave no
  // image size), and why its preview could not be written (empty: it was, or none was asked).
  virtual void Inspection(const InspectionReport* inspection, std::string_view previewError) = 0;
  virtual void Warning(BatchWarning why, std::string_view text) {
    (void)why;
    (void)text;
  }
};

#endif
