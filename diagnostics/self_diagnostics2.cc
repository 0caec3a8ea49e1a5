// Scanner Self-diagnostics 2: the scanner's memory and logic test, judged by the result code the
// scanner keeps in its buffer 04h.
#include "diagnostics/confirmed_diagnostic.h"
#include "diagnostics/page_text.h"
#include "diagnostics/self_diagnostics.h"
#include "resources/strings.h"
#include "scsi/scanner_commands.h"
#include "scsi/srb.h"
#include "shell/message_boxes.h"

namespace {

constexpr uint32_t kResultBlockLength = 5;
constexpr int kResultCodeOffset = 1;

struct ResultCode {
  uint8_t code;
  unsigned verdict;
  unsigned faultyDevice;
};

// The test's result codes; any code not listed is a fault of a device the table does not name.
// clang-format off
constexpr ResultCode kResultCodes[] = {
    // code (hex)  line at y 35          line at y 55
    { 0 /* 00h */, IDS_DIAG2_NO_PROBLEM, kNoLine},
    {22 /* 16h */, IDS_DIAG2_PROBLEM,    IDS_DIAG2_OFFSET_RAM},
    {23 /* 17h */, IDS_DIAG2_PROBLEM,    IDS_DIAG2_BUFFER_RAM},
    {30 /* 1Eh */, IDS_DIAG2_PROBLEM,    IDS_DIAG2_CPU_WORK_RAM},
    {31 /* 1Fh */, IDS_DIAG2_PROBLEM,    IDS_DIAG2_SHADING_UPPER},
    {32 /* 20h */, IDS_DIAG2_PROBLEM,    IDS_DIAG2_SHADING_LOWER},
    {33 /* 21h */, IDS_DIAG2_PROBLEM,    IDS_DIAG2_GAMMA_RAM},
    {40 /* 28h */, IDS_DIAG2_PROBLEM,    IDS_DIAG2_GATE_ARRAY},
    {50 /* 32h */, IDS_DIAG2_PROBLEM,    IDS_DIAG2_EEPROM},
};
// clang-format on
// Every other code, 1 to 255.
constexpr ResultCode kUnlistedCode = {0, IDS_DIAG2_PROBLEM, IDS_DIAG2_UNKNOWN};

const ResultCode& LookUpResultCode(uint8_t code) {
  for (const ResultCode& listed : kResultCodes) {
    if (listed.code == code) return listed;
  }
  return kUnlistedCode;
}

}  // namespace

void SelfDiagnostics2(WindowHandle window) {
  constexpr SelfTestTexts kTexts = {IDS_DIAG2_TITLE, IDS_DIAG2_CAPTION, IDS_DIAG2_CONFIRM};
  SRB_ExecSCSICmd request{};
  const SelfTestRun run = RunConfirmedSelfTest(window, kTexts, kMemoryAndLogicTest, request);
  if (run == SelfTestRun::kNotRun) return;

  // A test that found a fault ends with SS_ERR; its result block tells which device. An SS_ERR
  // from the host adapter means the test never reached the scanner: the block would still hold
  // the result of an earlier run.
  const bool testRan = run == SelfTestRun::kRan &&
                       (request.SRB_Status == SS_COMP ||
                        (request.SRB_Status == SS_ERR && request.SRB_HaStat == HASTAT_OK));
  if (!testRan) {
    ShowWarningText(window, IDS_DIAG2_FAILED, false);
    return;
  }
  uint8_t resultBlock[kResultBlockLength] = {};
  if (ReadBuffer(window, kDiagnosticResultBufferId, 0, resultBlock, sizeof resultBlock, 1) !=
      SS_COMP) {
    ShowWarningText(window, IDS_DIAG2_FAILED, false);
    return;
  }
  const ResultCode& result = LookUpResultCode(resultBlock[kResultCodeOffset]);
  DrawStringLine(kLineX, kFirstLineY, result.verdict);
  DrawStringLine(kLineX, kFirstLineY + kLineStep, result.faultyDevice);
  RefreshDisplay(window);
}
