// An ASPI manager whose every answer comes from the fuzz input: the support info, each host
// adapter inquiry, and for each SCSI request its status, host adapter and target status, sense
// bytes and the data it delivers, completed at once or from another thread, and whether the user
// asks to stop while it runs. Once the input has
// run out it answers as a device that has gone away: SCSI requests and resets end with SS_ERR and
// a selection timeout; the manager itself still answers (one adapter, adapters with empty names).
//
// It checks each request block before carrying it (CheckScsiRequest), that scanner commands go
// only where an INQUIRY showed the scanner, and that a step sends no more requests than its limits
// allow: at the request that goes past them, so that an endless loop of requests is caught too.
//
// The input is read front to back as the device's answers, one reply per request in the order the
// program sends them; each reply takes at least one byte, and past the input's end every byte
// reads as 0. A status byte of 00h (pending) stands for SS_COMP, since every request must end.
// The seeds in seeds/ are written in this form.
//
//   GetASPI32SupportInfo  [status] [adapter count]
//   SRB_HAInquiry         [status], and after SS_COMP: [HA_SCSI_ID] [n] n bytes of HA_ManagerId
//                         [n] n bytes of HA_Identifier (n at most 16; the rest of a text is zero)
//   SRB_ExecSCSICmd       [status] [shape], then what the shape's bits announce, in bit order
//   SRB_BusDeviceReset    [status] [SRB_HaStat]
#ifndef SCAN_FS_TESTS_FUZZ_FUZZED_ASPI_MANAGER_H
#define SCAN_FS_TESTS_FUZZ_FUZZED_ASPI_MANAGER_H

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/aspi_manager.h"
#include "scsi/command_table.h"
#include "scsi/srb.h"
#include "tests/fuzz/script_checks.h"

// Bits of a SCSI reply's shape byte.
inline constexpr uint8_t kShapeHostAdapterStatus = 0x01;  // [SRB_HaStat]
inline constexpr uint8_t kShapeTargetStatus = 0x02;       // [SRB_TargStat]
inline constexpr uint8_t kShapeSense = 0x04;              // [n] n sense bytes
inline constexpr uint8_t kShapeDeliveredLength = 0x08;    // [low] [high]
inline constexpr uint8_t kShapeData = 0x10;               // [n] n data bytes
inline constexpr uint8_t kShapeLate = 0x20;               // completes from another thread
inline constexpr uint8_t kShapeStop = 0x40;               // the user asks to stop meanwhile

struct RequestTally {
  int requests = 0;
  int afterInputEnded = 0;  // of them, answered once the input had run out
  int afterStop = 0;        // of them, sent after the user asked to stop
};

class FuzzedAspiManager : public AspiManager {
 public:
  // `stopAsked` is the user's request to stop the running command: set when a reply says so,
  // cleared at each step.
  FuzzedAspiManager(const uint8_t* input, size_t size, bool& stopAsked)
      : input_(input), size_(size), stopAsked_(stopAsked) {}
  ~FuzzedAspiManager() override { JoinLateCompletion(); }

  // The next byte of the input; 0 past its end.
  uint8_t Byte() { return position_ < size_ ? input_[position_++] : 0; }

  // Counts the requests of a new step from here, held to `limits` as each is sent.
  void BeginStep(const RequestLimits& limits) {
    JoinLateCompletion();
    limits_ = limits;
    tally_ = RequestTally{};
    stopAsked_ = false;
  }
  // The requests of the step (a completion still running is waited for).
  RequestTally EndStep() {
    JoinLateCompletion();
    return tally_;
  }

  uint32_t GetSupportInfo() override {
    const bool live = CountRequest();
    const uint8_t status = live ? Status() : SS_COMP;
    const uint8_t count = live ? Byte() : 1;
    if (status == SS_COMP) adapterCount_ = count;
    return static_cast<uint32_t>(status) << 8 | count;
  }

 private:
  static constexpr uint8_t kInquiry = 0x12;
  static constexpr size_t kInquiryProductOffset = 16;

  struct ScsiReply {
    uint8_t status = SS_ERR;
    uint8_t hostAdapterStatus = 0;
    uint8_t targetStatus = 0;
    std::vector<uint8_t> sense;  // at most SRB_SenseLen bytes of it reach the block
    // Bytes that reach a data-in buffer (at most SRB_BufLen); without it, what the CDB asks for.
    std::optional<uint16_t> deliveredLength;
    std::vector<uint8_t> data;  // the delivered bytes begin with these; the rest are zero
    bool late = false;
    bool stop = false;
  };

  // Copies up to `count` bytes of the input to `out` and returns how many there were.
  size_t Read(uint8_t* out, size_t count) {
    count = std::min(count, size_ - position_);
    if (count != 0) std::memcpy(out, input_ + position_, count);
    position_ += count;
    return count;
  }
  uint8_t Status() {
    const uint8_t status = Byte();
    return status == SS_PENDING ? SS_COMP : status;
  }
  std::vector<uint8_t> ReadCounted() {
    std::vector<uint8_t> bytes(Byte());
    bytes.resize(Read(bytes.data(), bytes.size()));
    return bytes;
  }
  void ReadText(uint8_t (&field)[16]) {
    std::memset(field, 0, sizeof field);
    const uint8_t wanted = Byte();
    Read(field, std::min<size_t>(wanted, sizeof field));
  }

  // Counts a request, within the step's limits; false when its reply is the gone device's, the
  // input having run out.
  bool CountRequest() {
    const bool inputEnded = position_ == size_;
    ++tally_.requests;
    if (inputEnded) ++tally_.afterInputEnded;
    if (stopAsked_) ++tally_.afterStop;
    CheckLimit(tally_.requests, limits_.total, "");
    CheckLimit(tally_.afterInputEnded, limits_.afterInputEnded, " to a device that had gone away");
    CheckLimit(tally_.afterStop, limits_.afterStop, " after the user asked to stop");
    return !inputEnded;
  }
  static void CheckLimit(int count, int limit, const char* what) {
    if (limit != kAnyNumber && count > limit) {
      Violation("more than " + std::to_string(limit) + " requests" + what);
    }
  }

  uint8_t InquireAdapter(SRB_HAInquiry& inquiry) override {
    JoinLateCompletion();
    const bool live = CountRequest();
    const uint8_t status = live ? Status() : SS_COMP;
    if (status != SS_COMP) return status;
    inquiry.HA_Count = adapterCount_;
    inquiry.HA_SCSI_ID = live ? Byte() : 7;
    ReadText(inquiry.HA_ManagerId);  // past the input's end: empty
    ReadText(inquiry.HA_Identifier);
    return status;
  }

  void StartScsiRequest(SRB_ExecSCSICmd& request) override {
    JoinLateCompletion();
    CheckScsiRequest(request);
    if (request.CDBByte[0] != kInquiry) CheckScannerAddress(request, "a scanner command");
    request.SRB_Status = SS_PENDING;
    ScsiReply reply;
    if (CountRequest()) {
      reply.status = Status();
      const uint8_t shape = Byte();
      if (shape & kShapeHostAdapterStatus) reply.hostAdapterStatus = Byte();
      if (shape & kShapeTargetStatus) reply.targetStatus = Byte();
      if (shape & kShapeSense) reply.sense = ReadCounted();
      if (shape & kShapeDeliveredLength) {
        const uint8_t low = Byte();
        reply.deliveredLength = static_cast<uint16_t>(low | Byte() << 8);
      }
      if (shape & kShapeData) reply.data = ReadCounted();
      reply.late = (shape & kShapeLate) != 0;
      reply.stop = (shape & kShapeStop) != 0;
    } else {
      reply.hostAdapterStatus = HASTAT_SEL_TO;  // SS_ERR
    }
    if (reply.stop) stopAsked_ = true;
    if (reply.late) {
      lateCompletion_ = std::thread([this, &request, reply] { FinishScsiRequest(request, reply); });
    } else {
      FinishScsiRequest(request, reply);
    }
  }

  void FinishScsiRequest(SRB_ExecSCSICmd& request, const ScsiReply& reply) {
    // The data-in part: what the CDB asks for, or the reply's own length, never more than the
    // block declares; a failed request may have moved data too.
    const DataDirection direction = CommandDataDirection(request.CDBByte[0]);
    if (request.SRB_BufLen != 0 &&
        (direction == DataDirection::kIn || direction == DataDirection::kUnknown)) {
      const uint32_t asked = direction == DataDirection::kIn
                                 ? CommandTransferLength(request.CDBByte)
                                 : request.SRB_BufLen;
      const uint32_t length =
          std::min<uint32_t>(reply.deliveredLength.value_or(asked), request.SRB_BufLen);
      const uint32_t given = std::min<uint32_t>(length, reply.data.size());
      if (given != 0) std::memcpy(request.SRB_BufPointer, reply.data.data(), given);
      std::memset(request.SRB_BufPointer + given, 0, length - given);
    }
    request.SRB_HaStat = reply.hostAdapterStatus;
    request.SRB_TargStat = reply.targetStatus;
    const size_t senseLength = std::min<size_t>(reply.sense.size(), request.SRB_SenseLen);
    if (senseLength != 0) std::memcpy(request.SenseArea, reply.sense.data(), senseLength);
    if (reply.status == SS_COMP && request.CDBByte[0] == kInquiry &&
        request.SRB_BufLen >= kInquiryProductOffset + 3 &&
        std::memcmp(request.SRB_BufPointer + kInquiryProductOffset, "ZR-", 3) == 0) {
      scanner_ = {request.SRB_HaId, request.SRB_Target};
    }
    Complete(&request, reply.status);
  }

  void StartReset(SRB_BusDeviceReset& request) override {
    JoinLateCompletion();
    CheckScannerAddress(request, "a bus device reset");
    const bool live = CountRequest();
    const uint8_t status = live ? Status() : SS_ERR;
    request.SRB_HaStat = live ? Byte() : HASTAT_SEL_TO;
    Complete(&request, status);
  }

  template <typename RequestBlock>
  void CheckScannerAddress(const RequestBlock& block, const char* what) const {
    if (scanner_ == std::pair(block.SRB_HaId, block.SRB_Target)) return;
    Violation(std::string(what) + " to adapter " + std::to_string(block.SRB_HaId) + ", target " +
              std::to_string(block.SRB_Target) + ", where no INQUIRY showed the scanner");
  }

  void JoinLateCompletion() {
    if (lateCompletion_.joinable()) lateCompletion_.join();
  }

  const uint8_t* input_;
  size_t size_;
  size_t position_ = 0;
  bool& stopAsked_;
  RequestLimits limits_{kAnyNumber, kAnyNumber, kAnyNumber};
  RequestTally tally_;
  uint8_t adapterCount_ = 0;
  // Adapter and target where the latest INQUIRY showed a product "ZR-...".
  std::optional<std::pair<uint8_t, uint8_t>> scanner_;
  std::thread lateCompletion_;
};

#endif
