// The scanner commands without a parameter list of their own: unit control, scan, read,
// positioning, data status, auto focus, read buffer and the bus device reset.
#include "scsi/scanner_commands.h"

#include "resources/strings.h"
#include "scsi/byte_order.h"
#include "scsi/scanner_request.h"
#include "scsi/srb.h"
#include "scsi/transport.h"
#include "shell/program_state.h"

namespace {

// A command that carries no data.
int SendWithoutData(WindowHandle owner, const uint8_t* cdb, uint8_t cdbLength, unsigned errorTextId,
                    uint8_t showError) {
  return SendScannerCommand(owner, {cdb, cdbLength, 0x00, nullptr, 0, errorTextId}, showError);
}

constexpr uint32_t kDataStatusLength = 28;        // asked for in the CDB
constexpr uint32_t kDataStatusBufferLength = 35;  // declared to the manager

}  // namespace

int TestUnitReady(WindowHandle owner, uint8_t showError) {
  const uint8_t cdb[6] = {0x00, 0, 0, 0, 0, 0};
  return SendWithoutData(owner, cdb, sizeof cdb, IDS_ERROR_TEST_UNIT_READY, showError);
}

int ReserveUnit(WindowHandle owner, uint8_t showError) {
  const uint8_t cdb[6] = {0x16, 0, 0, 0, 0, 0};
  return SendWithoutData(owner, cdb, sizeof cdb, IDS_ERROR_RESERVE_UNIT, showError);
}

int ReleaseUnit(WindowHandle owner, uint8_t showError) {
  const uint8_t cdb[6] = {0x17, 0, 0, 0, 0, 0};
  return SendWithoutData(owner, cdb, sizeof cdb, IDS_ERROR_RELEASE_UNIT, showError);
}

int ScanCommand(WindowHandle owner, uint8_t showError) {
  // A window list of one identifier, window 0, in a 5-byte buffer.
  uint8_t windowList[5] = {};
  const uint8_t cdb[6] = {0x1B, 0, 0, 0, 0x01, 0};
  return SendScannerCommand(
      owner, {cdb, sizeof cdb, 0x00, windowList, sizeof windowList, IDS_ERROR_SCAN}, showError);
}

int ReadImage(WindowHandle owner, uint32_t length, uint8_t* buffer, uint8_t showError) {
  uint8_t cdb[10] = {0x28, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  StoreBigEndian24(&cdb[6], length);
  return SendScannerCommand(
      owner, {cdb, sizeof cdb, SRB_DIR_IN, buffer, kReadImageBufferLength, IDS_ERROR_READ},
      showError);
}

int MediumPosition(WindowHandle owner, uint8_t showError) {
  const uint8_t cdb[10] = {0x31, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  return SendWithoutData(owner, cdb, sizeof cdb, IDS_ERROR_MEDIUM_POSITION, showError);
}

int GetDataStatus(WindowHandle owner, uint8_t showError) {
  uint8_t reply[kDataStatusBufferLength] = {};
  uint8_t cdb[10] = {0x34, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  StoreBigEndian16(&cdb[7], kDataStatusLength);
  const int status = SendScannerCommand(
      owner, {cdb, sizeof cdb, 0x00, reply, sizeof reply, IDS_ERROR_GET_DATA_STATUS}, showError);
  if (status == SS_COMP) {
    bytesPerLine = LoadBigEndian32(&reply[12]);
    imageLines = LoadBigEndian32(&reply[16]);
    remainingBytes = LoadBigEndian32(&reply[20]);
    imageByteCount = remainingBytes;
  }
  return status;
}

void ForgetImageGeometry() {
  bytesPerLine = 0;
  imageLines = 0;
  remainingBytes = 0;
  imageByteCount = 0;
}

int ExecuteAutoFocus(WindowHandle owner, uint8_t showError) {
  const uint8_t cdb[10] = {0xE0, 0x01, 0x01, 0, 0, 0, 0, 0, 0, 0};
  return SendWithoutData(owner, cdb, sizeof cdb, IDS_ERROR_EXECUTE_AUTO_FOCUS, showError);
}

int ReadBuffer(WindowHandle owner, uint8_t bufferId, uint32_t offset, uint8_t* buffer,
               uint32_t length, uint8_t showError) {
  uint8_t cdb[10] = {0x3C, 0x02, bufferId, 0, 0, 0, 0, 0, 0, 0};
  StoreBigEndian24(&cdb[3], offset);
  StoreBigEndian24(&cdb[6], length);
  return SendScannerCommand(
      owner, {cdb, sizeof cdb, SRB_DIR_IN, buffer, length, IDS_ERROR_READ_BUFFER}, showError);
}

int ResetScanner(WindowHandle owner, uint8_t showError) {
  SRB_BusDeviceReset request{};
  request.SRB_Cmd = SC_RESET_DEV;
  request.SRB_HaId = deviceAddress.hostAdapter;
  request.SRB_Target = deviceAddress.target;
  request.SRB_Lun = 0;
  const int status = RunRequest(request);
  ReportCommandFailure(owner, status, IDS_ERROR_RESET, showError);
  return status;
}
