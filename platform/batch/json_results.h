// The results of one batch command as members of its JSON object, each a field of its own: the
// host adapters (board), the scanner (every command that searched), the data dump (save), a
// self-diagnostic's verdict with the codes behind it (diag1, diag2) and the scan (scan). They
// come from what the command's requests showed and from what the user was shown.
#ifndef SCAN_FS_PLATFORM_BATCH_JSON_RESULTS_H
#define SCAN_FS_PLATFORM_BATCH_JSON_RESULTS_H

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "platform/batch/json_evidence.h"
#include "platform/linux/surface_model.h"

// Bytes as JSON text: each byte stands for the character of that value (U+0000 to U+00FF), so
// that a written document shows every byte outside printable ASCII as \u00XX.
std::string JsonText(std::string_view bytes);

// What the user saw of a command, besides its requests.
struct CommandView {
  unsigned commandId = 0;  // 0 for window creation
  std::vector<SurfaceLine> lines;
  std::vector<std::string> boxTexts;  // in the order shown
  bool scanPressed = false;           // the scan dialog's Scan button was clicked
};

// Adds the command's result members to `entry`.
void AddCommandResults(nlohmann::ordered_json& entry, const CommandView& view,
                       const CommandEvidence& evidence);

#endif
