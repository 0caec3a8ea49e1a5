#include "platform/batch/json_evidence.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "scsi/byte_order.h"
#include "scsi/command_table.h"
#include "scsi/scanner_commands.h"

namespace {

constexpr uint8_t kInquiry = 0x12;
constexpr uint8_t kScan = 0x1B;
constexpr uint8_t kSendDiagnostic = 0x1D;
constexpr uint8_t kRead = 0x28;
constexpr uint8_t kGetDataBufferStatus = 0x34;
constexpr uint8_t kReadBuffer = 0x3C;
constexpr uint8_t kSelfTestBit = 0x04;

// A fixed-width text of a host adapter inquiry: up to its width or a zero byte.
std::string FieldText(const uint8_t* field, size_t width) {
  const auto* end = std::find(field, field + width, uint8_t{0});
  return std::string(field, end);
}

RequestOutcome OutcomeOf(const SRB_ExecSCSICmd& request, uint8_t status) {
  RequestOutcome outcome;
  outcome.status = status;
  outcome.hostAdapterStatus = request.SRB_HaStat;
  std::memcpy(outcome.sense.data(), request.SenseArea, outcome.sense.size());
  const uint32_t received = std::min(CommandTransferLength(request.CDBByte), request.SRB_BufLen);
  if (status == SS_COMP && request.SRB_BufPointer != nullptr &&
      CommandDataDirection(request.CDBByte[0]) == DataDirection::kIn) {
    std::memcpy(outcome.data.data(), request.SRB_BufPointer,
                std::min<size_t>(received, outcome.data.size()));
  }
  return outcome;
}

}  // namespace

void RequestEvidence::Record(const void* requestBlock, uint8_t status) {
  const auto* header = static_cast<const SRB_Header*>(requestBlock);
  std::lock_guard lock(mutex_);
  if (header->SRB_Cmd == SC_HA_INQUIRY) {
    const auto& inquiry = *static_cast<const SRB_HAInquiry*>(requestBlock);
    AdapterAnswer answer{inquiry.SRB_HaId, status, 0, {}, {}};
    if (status == SS_COMP) {
      answer.scsiId = inquiry.HA_SCSI_ID;
      answer.manager = FieldText(inquiry.HA_ManagerId, sizeof inquiry.HA_ManagerId);
      answer.name = FieldText(inquiry.HA_Identifier, sizeof inquiry.HA_Identifier);
    }
    evidence_.adapters.push_back(std::move(answer));
  } else if (header->SRB_Cmd == SC_EXEC_SCSI_CMD) {
    RecordScsiRequest(*static_cast<const SRB_ExecSCSICmd*>(requestBlock), status);
  }
}

void RequestEvidence::RecordScsiRequest(const SRB_ExecSCSICmd& request, uint8_t status) {
  const uint8_t* cdb = request.CDBByte;
  switch (cdb[0]) {
    case kInquiry:
      evidence_.lastInquiry =
          InquiryAnswer{request.SRB_HaId, request.SRB_Target, OutcomeOf(request, status)};
      break;
    case kSendDiagnostic:
      (cdb[1] & kSelfTestBit ? evidence_.selfTest : evidence_.logicTest) =
          OutcomeOf(request, status);
      break;
    case kReadBuffer:
      if (cdb[2] == kValuePairBufferId) evidence_.valuePairRead = OutcomeOf(request, status);
      if (cdb[2] == kDiagnosticResultBufferId) evidence_.resultRead = OutcomeOf(request, status);
      break;
    case kScan:
      evidence_.scanSent = true;
      break;
    case kGetDataBufferStatus:
      if (evidence_.scanSent && !evidence_.announced && status == SS_COMP) {
        const RequestOutcome reply = OutcomeOf(request, status);
        evidence_.announced =
            AnnouncedImage{LoadBigEndian32(&reply.data[12]), LoadBigEndian32(&reply.data[16]),
                           LoadBigEndian32(&reply.data[20])};
      }
      break;
    case kRead:
      if (status == SS_COMP) {
        evidence_.bytesReceived += std::min(CommandTransferLength(cdb), request.SRB_BufLen);
      }
      break;
    default:
      break;
  }
}

CommandEvidence RequestEvidence::Take() {
  std::lock_guard lock(mutex_);
  return std::exchange(evidence_, CommandEvidence{});
}
