// Batch mode's report as one JSON document (--json), written when the run ends:
//   {"program", "version",
//    "start": {"boxes", "lines", "scanner"},       window creation
//    "commands": [{"name", "command", "unavailable", "boxes", "dialogs", "lines",
//                  and the command's results (json_results.h), with --inspect "inspection"}],
//    "exit": {"status", "reasons": [{"reason", "command", "text"}]}}
// Texts are the program's bytes, each byte outside printable ASCII written as \u00XX.
#ifndef SCAN_FS_PLATFORM_BATCH_JSON_REPORT_H
#define SCAN_FS_PLATFORM_BATCH_JSON_REPORT_H

#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "platform/batch/batch_report.h"
#include "platform/batch/json_evidence.h"
#include "platform/batch/json_results.h"

class BatchJsonReport : public BatchReport {
 public:
  explicit BatchJsonReport(const std::string& version);

  // The ASPI manager's completion observer calls this for every finished request block.
  void RecordRequest(const void* requestBlock, uint8_t status) {
    evidence_.Record(requestBlock, status);
  }

  void Section(std::string_view name, const BatchCommand* command) override;
  void Box(const MessageBoxRequest& box, int answer) override;
  void DialogOpened(const DialogTemplate& dialog) override;
  void Clicked(const DialogControl& control) override;
  void DialogClosed() override;
  void PageLine(const SurfaceLine& line) override;
  void Unavailable(std::string_view name) override;
  // The scan's entry gets "inspection": the report's object (inspection/report_json.h), or
  // {"judged": false, "verdict", "reason"} without an image size; "preview_error" when set.
  void Inspection(const InspectionReport* inspection, std::string_view previewError) override;
  void Warning(BatchWarning why, std::string_view text) override;

  // Reasons of the exit status that the commands do not see.
  void TraceIncomplete(std::string_view text);
  void Stopped(std::string_view signalName);

  // Ends the last command and writes the document, for a run that ends with `exitStatus`.
  void Write(std::FILE* out, int exitStatus);

 private:
  using Json = nlohmann::ordered_json;

  void EndSection();
  void AddReason(std::string_view reason, std::string_view text, bool ofCommand);

  RequestEvidence evidence_;
  Json document_;
  Json entry_;  // the section being reported
  std::string sectionName_;
  CommandView view_;
  bool sectionOpen_ = false;
  bool unavailable_ = false;
};

#endif
