#include "platform/batch/json_results.h"

#include <algorithm>

#include "discovery/scanner_models.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "scsi/byte_order.h"
#include "shell/program_state.h"

using json = nlohmann::ordered_json;

namespace {

constexpr int kVerdictLineY = 35;

bool Shown(const CommandView& view, unsigned stringId) {
  const char* text = StringTableText(stringId);
  return text != nullptr &&
         std::find(view.boxTexts.begin(), view.boxTexts.end(), text) != view.boxTexts.end();
}

// A fixed-width field of INQUIRY data: up to its width or a zero byte.
std::string_view Field(const uint8_t* field, size_t width) {
  const auto* end = std::find(field, field + width, uint8_t{0});
  return std::string_view(reinterpret_cast<const char*>(field), end - field);
}

// A device's text without the trailing spaces that pad it.
json DeviceText(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return JsonText(text);
}

json AdaptersJson(const CommandEvidence& evidence) {
  json adapters = json::array();
  for (const AdapterAnswer& answer : evidence.adapters) {
    json adapter = {{"board", answer.board}, {"status", answer.status}};
    if (answer.status == SS_COMP) {
      adapter["scsi_id"] = answer.scsiId;
      adapter["manager"] = DeviceText(answer.manager);
      adapter["name"] = DeviceText(answer.name);
    }
    adapters.push_back(adapter);
  }
  return adapters;
}

// The search stops at the scanner, so its last INQUIRY tells: the scanner's answer, or none.
json ScannerJson(const InquiryAnswer& last) {
  const auto& data = last.outcome.data;
  if (last.outcome.status != SS_COMP || data[16] != 'Z' || data[17] != 'R' || data[18] != '-') {
    return nullptr;
  }
  const std::string id(Field(&data[16], kProductIdLength));
  json model = nullptr;
  if (IsModel(id.c_str(), kProductIdT1)) model = "Tessaline T1";
  if (IsModel(id.c_str(), kProductIdT2)) model = "Tessaline T2";
  return {{"adapter", last.adapter},
          {"target", last.target},
          {"vendor", DeviceText(Field(&data[8], 8))},
          {"product", DeviceText(Field(&data[16], 16))},
          {"model", model},
          {"revision", DeviceText(Field(&data[32], 4))}};
}

json DataDumpJson(const CommandView& view, const CommandEvidence& evidence) {
  json dump = {{"file", Shown(view, IDS_SAVE_DONE) ? json("test_dat.txt") : json(nullptr)},
               {"lamp_hours", nullptr},
               {"scan_count", nullptr}};
  if (evidence.valuePairRead && evidence.valuePairRead->status == SS_COMP) {
    dump["lamp_hours"] = LoadBigEndian16(&evidence.valuePairRead->data[0]);
    dump["scan_count"] = LoadBigEndian16(&evidence.valuePairRead->data[2]);
  }
  return dump;
}

// The verdict the page shows, and the units or devices it names below it, without their
// parentheses.
void AddVerdict(json& diagnostic, const CommandView& view, bool ran, unsigned noProblem,
                unsigned problem) {
  diagnostic["verdict"] = ran ? "failed" : "not run";
  diagnostic["faults"] = json::array();
  for (const SurfaceLine& line : view.lines) {
    if (line.y == kVerdictLineY && line.text == StringTableText(noProblem)) {
      diagnostic["verdict"] = "no problem";
    } else if (line.y == kVerdictLineY && line.text == StringTableText(problem)) {
      diagnostic["verdict"] = "problem";
    } else if (line.y > kVerdictLineY) {
      std::string_view unit = line.text;
      if (unit.size() >= 2 && unit.front() == '(' && unit.back() == ')') {
        unit = unit.substr(1, unit.size() - 2);
      }
      diagnostic["faults"].push_back(JsonText(unit));
    }
  }
}

json SelfTestJson(const CommandView& view, const CommandEvidence& evidence) {
  json diagnostic = {{"test", "self-test"}};
  AddVerdict(diagnostic, view, evidence.selfTest.has_value(), IDS_DIAG1_NO_PROBLEM,
             IDS_DIAG1_PROBLEM);
  if (const auto& request = evidence.selfTest) {
    diagnostic["status"] = request->status;
    diagnostic["host_adapter_status"] = request->hostAdapterStatus;
    // The codes behind the verdict: the target's CHECK CONDITION, when the request reached it.
    if (request->status == SS_ERR && request->hostAdapterStatus == HASTAT_OK) {
      diagnostic["sense_key"] = request->sense[2] & 0x0F;
      diagnostic["asc"] = request->sense[12];
      diagnostic["ascq"] = request->sense[13];
    }
  }
  return diagnostic;
}

json LogicTestJson(const CommandView& view, const CommandEvidence& evidence) {
  json diagnostic = {{"test", "memory and logic"}};
  AddVerdict(diagnostic, view, evidence.logicTest.has_value(), IDS_DIAG2_NO_PROBLEM,
             IDS_DIAG2_PROBLEM);
  if (evidence.logicTest) {
    diagnostic["status"] = evidence.logicTest->status;
    const auto& result = evidence.resultRead;
    diagnostic["result_code"] =
        result && result->status == SS_COMP ? json(result->data[1]) : json(nullptr);
  }
  return diagnostic;
}

json ScanJson(const CommandView& view, const CommandEvidence& evidence) {
  const bool intoFile = saveToFile != 0;
  json scan = {
      {"resolution", scanResolution},
      {"mode", intoFile ? "file" : "memory"},
      {"file", intoFile && !Shown(view, IDS_FILE_NOT_OPENED) ? json("img_fs.tif") : json(nullptr)},
      {"bytes_per_line", nullptr},
      {"lines", nullptr},
      {"bytes_announced", nullptr},
      {"bytes_received", evidence.bytesReceived},
      {"complete", Shown(view, IDS_IMAGE_SCANNED)}};
  if (evidence.announced) {
    scan["bytes_per_line"] = evidence.announced->bytesPerLine;
    scan["lines"] = evidence.announced->lines;
    scan["bytes_announced"] = evidence.announced->bytes;
  }
  // The inspection's findings of this scan go here, as member "inspection", where batch mode
  // inspects the image it received.
  return scan;
}

}  // namespace

std::string JsonText(std::string_view bytes) {
  std::string text;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      text += c;
    } else {
      text += static_cast<char>(0xC0 | (byte >> 6));
      text += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return text;
}

void AddCommandResults(json& entry, const CommandView& view, const CommandEvidence& evidence) {
  if (evidence.lastInquiry) entry["scanner"] = ScannerJson(*evidence.lastInquiry);
  switch (view.commandId) {
    case IDM_BOARD_INFORMATION:
      entry["adapters"] = AdaptersJson(evidence);
      break;
    case IDM_SAVE_SCANNER_DATA:
      entry["data"] = DataDumpJson(view, evidence);
      break;
    case IDM_SELF_DIAGNOSTICS_1:
      entry["diagnostic"] = SelfTestJson(view, evidence);
      break;
    case IDM_SELF_DIAGNOSTICS_2:
      entry["diagnostic"] = LogicTestJson(view, evidence);
      break;
    case IDM_SCAN_NEGATIVE_FILM:
      if (view.scanPressed) entry["scan"] = ScanJson(view, evidence);
      break;
    default:
      break;
  }
}
