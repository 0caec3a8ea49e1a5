// Scanner Self-diagnostics 1: the scanner's built-in self-test, judged by the request's status
// and, when the scanner reports a fault, by the sense data it returned.
#include "diagnostics/confirmed_diagnostic.h"
#include "diagnostics/page_text.h"
#include "diagnostics/self_diagnostics.h"
#include "resources/strings.h"
#include "scsi/srb.h"
#include "shell/message_boxes.h"

namespace {

constexpr int kAny = -1;

// Sense byte 2 is tested whole: a set ILI or EOM bit counts as a reported fault.
enum class SenseByte2 { kZero, kNotZero };

struct FaultyUnit {
  SenseByte2 senseByte2;
  int asc;   // or kAny
  int ascq;  // or kAny
  unsigned firstDetail;
  unsigned secondDetail;
};

// The scanner's self-test faults; the first matching row names the unit. ASC 60h and 62h are
// the standard codes for a lamp failure and a scan head positioning error, ASC 80h the scanner's
// own. A fault without a row here gets no detail line.
// clang-format off
constexpr FaultyUnit kFaultyUnits[] = {
    // sense byte 2        ASC   ASCQ  line at y 55               line at y 75
    {SenseByte2::kZero,    kAny, kAny, IDS_DIAG1_UNKNOWN,         kNoLine},
    {SenseByte2::kNotZero, 0x60, kAny, IDS_DIAG1_LAMP,            kNoLine},
    {SenseByte2::kNotZero, 0x62, kAny, IDS_DIAG1_CARRIAGE_LOCK,   IDS_DIAG1_HOME_SENSOR},
    {SenseByte2::kNotZero, 0x80, 0x01, IDS_DIAG1_CPU,             kNoLine},
    {SenseByte2::kNotZero, 0x80, 0x02, IDS_DIAG1_RAM,             kNoLine},
    {SenseByte2::kNotZero, 0x80, 0x03, IDS_DIAG1_ROM,             kNoLine},
    {SenseByte2::kNotZero, 0x80, 0x04, IDS_DIAG1_HARDWARE,        kNoLine},
    {SenseByte2::kNotZero, 0x80, 0x05, IDS_DIAG1_TPU_LAMP,        kNoLine},
    {SenseByte2::kNotZero, 0x80, 0x06, IDS_DIAG1_TPU_HOME_SENSOR, kNoLine},
};
// clang-format on

bool Matches(const FaultyUnit& unit, const uint8_t* sense) {
  const SenseByte2 byte2 = sense[2] == 0 ? SenseByte2::kZero : SenseByte2::kNotZero;
  return unit.senseByte2 == byte2 && (unit.asc == kAny || unit.asc == sense[12]) &&
         (unit.ascq == kAny || unit.ascq == sense[13]);
}

void DrawFaultyUnit(const uint8_t* sense) {
  DrawStringLine(kLineX, kFirstLineY, IDS_DIAG1_PROBLEM);
  for (const FaultyUnit& unit : kFaultyUnits) {
    if (!Matches(unit, sense)) continue;
    DrawStringLine(kLineX, kFirstLineY + kLineStep, unit.firstDetail);
    DrawStringLine(kLineX, kFirstLineY + 2 * kLineStep, unit.secondDetail);
    return;
  }
}

}  // namespace

void SelfDiagnostics1(WindowHandle window) {
  constexpr SelfTestTexts kTexts = {IDS_DIAG1_TITLE, IDS_DIAG1_CAPTION, IDS_DIAG1_CONFIRM};
  SRB_ExecSCSICmd request{};
  const SelfTestRun run = RunConfirmedSelfTest(window, kTexts, kBuiltInSelfTest, request);
  if (run == SelfTestRun::kNotRun) return;

  const bool lost = run == SelfTestRun::kScannerLost;
  if (!lost && request.SRB_Status == SS_COMP) {
    DrawStringLine(kLineX, kFirstLineY, IDS_DIAG1_NO_PROBLEM);
    RefreshDisplay(window);
  } else if (lost || (request.SRB_Status == SS_ERR && request.SRB_HaStat != HASTAT_OK)) {
    // Any host adapter error, also on the TEST UNIT READY before the test, is reported as the
    // scanner not answering selection.
    ShowWarningText(window, IDS_DIAG1_SELECTION_TIMEOUT, false);
    ShowWarningText(window, IDS_DIAG1_FAILED, false);
  } else if (request.SRB_Status == SS_ERR) {
    DrawFaultyUnit(request.SenseArea);
    RefreshDisplay(window);
  } else {
    ShowWarningText(window, IDS_DIAG1_FAILED, false);
  }
}
