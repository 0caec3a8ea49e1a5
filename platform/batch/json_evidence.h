// What the finished requests of one batch command showed, for its results in the JSON document:
// gathered from every request block as the ASPI manager completes it (also on the manager's
// thread), in room that does not grow with a scan's size.
#ifndef SCAN_FS_PLATFORM_BATCH_JSON_EVIDENCE_H
#define SCAN_FS_PLATFORM_BATCH_JSON_EVIDENCE_H

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "scsi/srb.h"

// A host adapter inquiry: its status, and on success what the adapter said.
struct AdapterAnswer {
  uint8_t board = 0;
  uint8_t status = 0;
  uint8_t scsiId = 0;
  std::string manager;
  std::string name;
};

// How a request ended; `data` holds the first bytes received, when it completed.
struct RequestOutcome {
  uint8_t status = 0;
  uint8_t hostAdapterStatus = 0;
  std::array<uint8_t, SENSE_LEN> sense{};
  std::array<uint8_t, 36> data{};
};

struct InquiryAnswer {
  uint8_t adapter = 0;
  uint8_t target = 0;
  RequestOutcome outcome;
};

// The image size of a GET DATA BUFFER STATUS reply.
struct AnnouncedImage {
  uint32_t bytesPerLine = 0;
  uint32_t lines = 0;
  uint32_t bytes = 0;
};

struct CommandEvidence {
  std::vector<AdapterAnswer> adapters;  // in the order asked
  std::optional<InquiryAnswer> lastInquiry;
  std::optional<RequestOutcome> valuePairRead;  // READ BUFFER 05h: lamp hours, scans
  std::optional<RequestOutcome> selfTest;       // SEND DIAGNOSTIC, the built-in self-test
  std::optional<RequestOutcome> logicTest;      // SEND DIAGNOSTIC, the memory and logic test
  std::optional<RequestOutcome> resultRead;     // READ BUFFER 04h: the logic test's result
  bool scanSent = false;
  // The first GET DATA BUFFER STATUS that answered after SCAN.
  std::optional<AnnouncedImage> announced;
  uint64_t bytesReceived = 0;  // by READs that completed without error
};

class RequestEvidence {
 public:
  // The completion observer's part: a finished request block and its final status.
  void Record(const void* requestBlock, uint8_t status);
  // What was gathered since the last call.
  CommandEvidence Take();

 private:
  void RecordScsiRequest(const SRB_ExecSCSICmd& request, uint8_t status);

  std::mutex mutex_;
  CommandEvidence evidence_;
};

#endif
