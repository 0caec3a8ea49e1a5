#include "diagnostics/confirmed_diagnostic.h"

#include <cstring>

#include "diagnostics/page_text.h"
#include "scsi/scanner_commands.h"
#include "scsi/transport.h"
#include "shell/busy_cursor.h"
#include "shell/message_boxes.h"
#include "shell/program_state.h"

namespace {

constexpr uint8_t kSendDiagnostic = 0x1D;

// No data travel; both direction bits are set all the same, as for the scanner search.
void BuildSendDiagnostic(uint8_t testSelection, SRB_ExecSCSICmd& request) {
  request =
      MakeScsiRequest(deviceAddress.hostAdapter, deviceAddress.target, SRB_DIR_IN | SRB_DIR_OUT);
  const uint8_t cdb[6] = {kSendDiagnostic, testSelection, 0x00, 0x00, 0x00, 0x00};
  request.SRB_CDBLen = sizeof cdb;
  std::memcpy(request.CDBByte, cdb, sizeof cdb);
}

}  // namespace

SelfTestRun RunConfirmedSelfTest(WindowHandle window, const SelfTestTexts& texts,
                                 uint8_t testSelection, SRB_ExecSCSICmd& request) {
  ClearDisplay(window);
  // Takes a pending unit attention off the test; sent whether or not the user goes on.
  TestUnitReady(window, 0);
  BuildSendDiagnostic(testSelection, request);
  DrawStringLine(kTitleX, kTitleY, texts.titleId);
  if (scannerLost != 0) return SelfTestRun::kScannerLost;
  if (!ConfirmOkCancel(window, texts.captionId, texts.confirmationId)) {
    ClearDisplay(window);
    return SelfTestRun::kNotRun;
  }
  const BusyCursor busy = BeginBusyCursor();
  RunRequest(request);
  EndBusyCursor(busy);
  // A user who asked to stop while the scanner tested itself gets no report: the program ends.
  return ReportProgress(0, 0) ? SelfTestRun::kRan : SelfTestRun::kNotRun;
}
