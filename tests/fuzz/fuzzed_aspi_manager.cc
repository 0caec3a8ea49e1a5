#include "tests/fuzz/fuzzed_aspi_manager.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>

#include "scsi/command_table.h"
#include "tests/fuzz/request_checks.h"
#include "tests/fuzz/violation.h"

namespace {

constexpr uint8_t kInquiry = 0x12;
constexpr size_t kInquiryProductOffset = 16;

const ScsiReply kGoneDevice(SS_ERR, HASTAT_SEL_TO);
const SupportReply kGoneDeviceManager{SS_COMP, 1};

void PutText(uint8_t (&field)[16], const std::string& text) {
  std::memset(field, 0, sizeof field);
  std::memcpy(field, text.data(), std::min(text.size(), sizeof field));
}

// The data-in part of a reply: what the CDB asks for, or the reply's own length, never more
// than the block declares; a failed request may have moved data too.
void Deliver(const ScsiReply& reply, SRB_ExecSCSICmd& request) {
  const DataDirection direction = CommandDataDirection(request.CDBByte[0]);
  if (request.SRB_BufLen == 0 ||
      (direction != DataDirection::kIn && direction != DataDirection::kUnknown)) {
    return;
  }
  const uint32_t asked =
      direction == DataDirection::kIn ? CommandTransferLength(request.CDBByte) : request.SRB_BufLen;
  const uint32_t length =
      std::min<uint32_t>(reply.deliveredLength.value_or(asked), request.SRB_BufLen);
  const uint32_t given = std::min<uint32_t>(length, reply.data.size());
  if (given != 0) std::memcpy(request.SRB_BufPointer, reply.data.data(), given);
  std::memset(request.SRB_BufPointer + given, 0, length - given);
}

bool ShowsScanner(const SRB_ExecSCSICmd& request, uint8_t status) {
  return status == SS_COMP && request.CDBByte[0] == kInquiry &&
         request.SRB_BufLen >= kInquiryProductOffset + 3 &&
         std::memcmp(request.SRB_BufPointer + kInquiryProductOffset, "ZR-", 3) == 0;
}

}  // namespace

void FuzzedAspiManager::CheckLimit(int count, int limit, const char* what) {
  if (limit != kAnyNumber && count > limit) {
    Violation("more than " + std::to_string(limit) + " requests" + what);
  }
}

bool FuzzedAspiManager::CountRequest() {
  const bool inputEnded = replies_.exhausted();
  ++tally_.requests;
  if (inputEnded) ++tally_.afterInputEnded;
  if (stopAsked_) ++tally_.afterStop;
  CheckLimit(tally_.requests, limits_.total, "");
  CheckLimit(tally_.afterInputEnded, limits_.afterInputEnded, " to a device that had gone away");
  CheckLimit(tally_.afterStop, limits_.afterStop, " after the user asked to stop");
  return !inputEnded;
}

void FuzzedAspiManager::BeginStep(const RequestLimits& limits) {
  JoinLateCompletion();
  limits_ = limits;
  tally_ = RequestTally{};
  stopAsked_ = false;
}

RequestTally FuzzedAspiManager::EndStep() {
  JoinLateCompletion();
  return tally_;
}

uint32_t FuzzedAspiManager::GetSupportInfo() {
  const SupportReply reply = CountRequest() ? ReadSupportReply(replies_) : kGoneDeviceManager;
  if (reply.status == SS_COMP) adapterCount_ = reply.adapterCount;
  return static_cast<uint32_t>(reply.status) << 8 | reply.adapterCount;
}

uint8_t FuzzedAspiManager::InquireAdapter(SRB_HAInquiry& inquiry) {
  JoinLateCompletion();
  const AdapterReply reply = CountRequest() ? ReadAdapterReply(replies_) : AdapterReply(SS_COMP);
  if (reply.status == SS_COMP) {
    inquiry.HA_Count = adapterCount_;
    inquiry.HA_SCSI_ID = reply.scsiId;
    PutText(inquiry.HA_ManagerId, reply.managerId);
    PutText(inquiry.HA_Identifier, reply.identifier);
  }
  return reply.status;
}

void FuzzedAspiManager::StartScsiRequest(SRB_ExecSCSICmd& request) {
  JoinLateCompletion();
  CheckScsiRequest(request);
  if (request.CDBByte[0] != kInquiry) {
    CheckScannerAddress({request.SRB_HaId, request.SRB_Target}, "a scanner command");
  }
  request.SRB_Status = SS_PENDING;
  const ScsiReply reply = CountRequest() ? ReadScsiReply(replies_) : kGoneDevice;
  if (reply.stop) {
    stopAsked_ = true;
    askToStop_();
  }
  if (reply.late) {
    lateCompletion_ = std::thread([this, &request, reply] { FinishScsiRequest(request, reply); });
  } else {
    FinishScsiRequest(request, reply);
  }
}

void FuzzedAspiManager::FinishScsiRequest(SRB_ExecSCSICmd& request, const ScsiReply& reply) {
  Deliver(reply, request);
  request.SRB_HaStat = reply.hostAdapterStatus;
  request.SRB_TargStat = reply.targetStatus;
  const size_t senseLength = std::min<size_t>(reply.sense.size(), request.SRB_SenseLen);
  if (senseLength != 0) std::memcpy(request.SenseArea, reply.sense.data(), senseLength);
  if (ShowsScanner(request, reply.status)) scanner_ = Address{request.SRB_HaId, request.SRB_Target};
  Complete(&request, reply.status);
}

void FuzzedAspiManager::StartReset(SRB_BusDeviceReset& request) {
  JoinLateCompletion();
  CheckScannerAddress({request.SRB_HaId, request.SRB_Target}, "a bus device reset");
  const ScsiReply reply = CountRequest() ? ReadResetReply(replies_) : kGoneDevice;
  request.SRB_HaStat = reply.hostAdapterStatus;
  Complete(&request, reply.status);
}

void FuzzedAspiManager::CheckScannerAddress(Address address, const char* what) const {
  if (scanner_ == address) return;
  Violation(std::string(what) + " to adapter " + std::to_string(address.hostAdapter) + ", target " +
            std::to_string(address.target) + ", where no INQUIRY showed the scanner");
}

void FuzzedAspiManager::JoinLateCompletion() {
  if (lateCompletion_.joinable()) lateCompletion_.join();
}
