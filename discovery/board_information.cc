#include "discovery/board_information.h"

#include <cstdio>

#include "discovery/device_text.h"
#include "resources/strings.h"
#include "scsi/aspi.h"
#include "scsi/srb.h"
#include "shell/message_boxes.h"
#include "shell/program_state.h"

namespace {

constexpr int kBufferSize = 100;
constexpr int kBlockPitch = 60;  // each adapter's block of three lines

void DrawAdapterBlock(unsigned adapter, const SRB_HAInquiry& inquiry) {
  char format[kBufferSize];
  char text[kBufferSize];
  char line[kBufferSize];
  const int top = static_cast<int>(adapter) * kBlockPitch;

  LoadStringText(IDS_BOARD_TITLE, line, sizeof line);
  DrawTextLine(10, 10, line);

  LoadStringText(IDS_BOARD_ADAPTER_ID, format, sizeof format);
  std::snprintf(line, sizeof line, format, static_cast<int>(adapter),
                static_cast<int>(inquiry.HA_SCSI_ID));
  DrawTextLine(20, 35 + top, line);

  LoadStringText(IDS_BOARD_MANAGER, format, sizeof format);
  CopyDeviceText(text, sizeof text, inquiry.HA_ManagerId, sizeof inquiry.HA_ManagerId);
  std::snprintf(line, sizeof line, format, text);
  DrawTextLine(20, 55 + top, line);

  LoadStringText(IDS_BOARD_MANAGER_NAME, format, sizeof format);
  CopyDeviceText(text, sizeof text, inquiry.HA_Identifier, sizeof inquiry.HA_Identifier);
  std::snprintf(line, sizeof line, format, text);
  DrawTextLine(20, 75 + top, line);
}

}  // namespace

void ScsiBoardInformation(WindowHandle window) {
  ClearDisplay(window);
  for (unsigned adapter = 0; adapter < adapterCount; ++adapter) {
    SRB_HAInquiry inquiry{};
    inquiry.SRB_Cmd = SC_HA_INQUIRY;
    inquiry.SRB_HaId = static_cast<uint8_t>(adapter);
    // A host adapter inquiry is complete when the call returns.
    const uint8_t status = static_cast<uint8_t>(SendASPI32Command(&inquiry) & 0xFF);
    if (status == SS_COMP) {
      DrawAdapterBlock(adapter, inquiry);
      RefreshDisplay(window);
    } else if (status == SS_INVALID_HA) {
      ShowWarningText(window, IDS_BOARD_NOT_GAINED, false);
    }
  }
}
