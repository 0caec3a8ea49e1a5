#include "scsi/scanner_request.h"

#include <cstring>

#include "scsi/transport.h"
#include "shell/message_boxes.h"
#include "shell/program_state.h"

namespace {

// ASC 08h: logical unit communication failure, time-out, parity or CRC error. A target bridging
// to the device (the kernel's user backstore among them) reports it when the device is gone.
constexpr uint8_t kAscLogicalUnitCommunication = 0x08;
constexpr size_t kAscOffset = 12;

bool TargetLostItsDevice(const SRB_ExecSCSICmd& request) {
  const uint8_t* sense = request.SenseArea;
  return request.SRB_TargStat == STATUS_CHKCOND && request.SRB_SenseLen > kAscOffset &&
         (sense[0] & 0x7E) == 0x70 && sense[kAscOffset] == kAscLogicalUnitCommunication;
}

bool RequestGotNoAnswer(int status, const SRB_ExecSCSICmd& request) {
  switch (status) {
    case SS_ABORTED:
    case SS_INVALID_HA:
    case SS_NO_DEVICE:
      return true;
    case SS_ERR:
      return request.SRB_HaStat != HASTAT_OK || TargetLostItsDevice(request);
    default:
      return false;
  }
}

}  // namespace

int SendScannerCommand(WindowHandle owner, const ScannerCommand& command, uint8_t showError) {
  SRB_ExecSCSICmd request =
      MakeScsiRequest(deviceAddress.hostAdapter, deviceAddress.target, command.flags);
  request.SRB_BufLen = command.bufferLength;
  request.SRB_BufPointer = command.buffer;
  request.SRB_CDBLen = command.cdbLength;
  std::memcpy(request.CDBByte, command.cdb, command.cdbLength);
  const int status = RunRequest(request);
  scannerLost = RequestGotNoAnswer(status, request) ? 1 : 0;
  ReportCommandFailure(owner, status, command.errorTextId, showError);
  return status;
}

void ReportCommandFailure(WindowHandle owner, int status, unsigned errorTextId, uint8_t showError) {
  if (status != SS_COMP && showError == 1) ShowWarningText(owner, errorTextId, false);
}
