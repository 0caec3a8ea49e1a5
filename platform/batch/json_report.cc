#include "platform/batch/json_report.h"

#include "inspection/report_json.h"
#include "resources/ids.h"

BatchJsonReport::BatchJsonReport(const std::string& version) {
  document_["program"] = "scan_fs";
  document_["version"] = JsonText(version);
  document_["start"] = nullptr;
  document_["commands"] = Json::array();
  document_["exit"] = {{"status", nullptr}, {"reasons", Json::array()}};
}

void BatchJsonReport::EndSection() {
  if (!sectionOpen_) return;
  sectionOpen_ = false;
  const CommandEvidence evidence = evidence_.Take();
  if (!unavailable_) AddCommandResults(entry_, view_, evidence);
  if (view_.commandId == 0) {
    document_["start"] = std::move(entry_);
  } else {
    document_["commands"].push_back(std::move(entry_));
  }
}

void BatchJsonReport::Section(std::string_view name, const BatchCommand* command) {
  EndSection();
  sectionOpen_ = true;
  unavailable_ = false;
  sectionName_ = name;
  view_ = CommandView{};
  entry_ = Json::object();
  if (command != nullptr) {
    view_.commandId = command->commandId;
    entry_["name"] = JsonText(name);
    entry_["command"] = command->menuName;
    entry_["unavailable"] = false;
  }
  entry_["boxes"] = Json::array();
  if (command != nullptr) entry_["dialogs"] = Json::array();
  entry_["lines"] = Json::array();
}

void BatchJsonReport::Box(const MessageBoxRequest& box, int answer) {
  const char* icon = "none";
  if (box.type & kMbIconHand) icon = "stop";
  if (box.type & kMbIconInformation) icon = "information";
  Json entry = {{"caption", JsonText(box.caption)}, {"icon", icon}, {"text", JsonText(box.text)}};
  if ((box.type & 0xF) == kMbOkCancel) entry["answer"] = answer == kIdCancel ? "cancel" : "ok";
  entry_["boxes"].push_back(std::move(entry));
  view_.boxTexts.push_back(box.text);
}

void BatchJsonReport::DialogOpened(const DialogTemplate& dialog) {
  Json texts = Json::array();
  for (int i = 0; i < dialog.controlCount; ++i) {
    if (dialog.controls[i].kind == ControlKind::kCenteredText) {
      texts.push_back(JsonText(dialog.controls[i].text));
    }
  }
  entry_["dialogs"].push_back({{"caption", JsonText(dialog.caption)},
                               {"texts", std::move(texts)},
                               {"clicks", Json::array()},
                               {"closed", false}});
}

void BatchJsonReport::Clicked(const DialogControl& control) {
  entry_["dialogs"].back()["clicks"].push_back(JsonText(control.text));
  if (control.id == IDC_SCAN) view_.scanPressed = true;
}

void BatchJsonReport::DialogClosed() {
  entry_["dialogs"].back()["closed"] = true;
}

void BatchJsonReport::PageLine(const SurfaceLine& line) {
  entry_["lines"].push_back({{"x", line.x}, {"y", line.y}, {"text", JsonText(line.text)}});
  view_.lines.push_back(line);
}

void BatchJsonReport::Unavailable(std::string_view) {
  entry_["unavailable"] = true;
  unavailable_ = true;
}

void BatchJsonReport::Inspection(const InspectionReport* inspection,
                                 std::string_view previewError) {
  Json& entry = entry_["inspection"];
  if (inspection != nullptr) {
    entry = ReportJson(*inspection);
  } else {
    entry = {{"judged", false}, {"verdict", "not judged"}, {"reason", kNoImageSize}};
  }
  if (!previewError.empty()) entry["preview_error"] = JsonText(previewError);
}

void BatchJsonReport::AddReason(std::string_view reason, std::string_view text, bool ofCommand) {
  Json entry = {{"reason", reason}};
  if (ofCommand) entry["command"] = JsonText(sectionName_);
  entry["text"] = JsonText(text);
  document_["exit"]["reasons"].push_back(std::move(entry));
}

void BatchJsonReport::Warning(BatchWarning why, std::string_view text) {
  switch (why) {
    case BatchWarning::kWarningBox:
      AddReason("warning", text, true);
      break;
    case BatchWarning::kUnavailable:
      AddReason("unavailable", text, true);
      break;
    case BatchWarning::kFault:
      AddReason("fault", text, true);
      break;
    case BatchWarning::kInspection:
      AddReason("inspection", text, true);
      break;
  }
}

void BatchJsonReport::TraceIncomplete(std::string_view text) {
  AddReason("trace", text, false);
}

void BatchJsonReport::Stopped(std::string_view signalName) {
  AddReason("stopped", signalName, true);
}

void BatchJsonReport::Write(std::FILE* out, int exitStatus) {
  EndSection();
  document_["exit"]["status"] = exitStatus;
  const std::string text = document_.dump(2, ' ', true, Json::error_handler_t::replace) + "\n";
  std::fwrite(text.data(), 1, text.size(), out);
  std::fflush(out);
}
