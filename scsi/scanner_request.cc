#include "scsi/scanner_request.h"

#include <cstring>

#include "scsi/transport.h"
#include "shell/message_boxes.h"
#include "shell/program_state.h"

int SendScannerCommand(WindowHandle owner, const ScannerCommand& command, uint8_t showError) {
  SRB_ExecSCSICmd request =
      MakeScsiRequest(deviceAddress.hostAdapter, deviceAddress.target, command.flags);
  request.SRB_BufLen = command.bufferLength;
  request.SRB_BufPointer = command.buffer;
  request.SRB_CDBLen = command.cdbLength;
  std::memcpy(request.CDBByte, command.cdb, command.cdbLength);
  const int status = RunRequest(request);
  ReportCommandFailure(owner, status, command.errorTextId, showError);
  return status;
}

void ReportCommandFailure(WindowHandle owner, int status, unsigned errorTextId, uint8_t showError) {
  if (status != SS_COMP && showError == 1) ShowWarningText(owner, errorTextId, false);
}
