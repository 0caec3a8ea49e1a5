// An ASPI manager whose every answer comes from the fuzz input: the support info, each host
// adapter inquiry, and for each SCSI request its status, host adapter and target status, sense
// bytes and the data it delivers, completed at once or from another thread, and whether the user
// asks to stop while it runs. Once the input has
// run out it answers as a device that has gone away: SCSI requests and resets end with SS_ERR and
// a selection timeout; the manager itself still answers (one adapter, adapters with empty names).
//
// It checks each request block before carrying it (tests/fuzz/request_checks.h), that scanner
// commands go only where an INQUIRY showed the scanner, and that a step sends no more requests
// than its limits allow: at the request that goes past them, so that an endless loop of requests
// is caught too.
#ifndef SCAN_FS_TESTS_FUZZ_FUZZED_ASPI_MANAGER_H
#define SCAN_FS_TESTS_FUZZ_FUZZED_ASPI_MANAGER_H

#include <functional>
#include <optional>
#include <thread>

#include "platform/aspi_manager.h"
#include "scsi/srb.h"
#include "tests/fuzz/replies.h"
#include "tests/fuzz/reply_stream.h"

struct RequestTally {
  int requests = 0;
  int afterInputEnded = 0;  // of them, answered once the input had run out
  int afterStop = 0;        // of them, sent after the user asked to stop
};

// How many requests a step may send (see command_script.h).
inline constexpr int kAnyNumber = -1;
struct RequestLimits {
  int total;            // or kAnyNumber
  int afterInputEnded;  // requests once the device has gone away
  int afterStop;        // requests after the request during which the user asked to stop
};

class FuzzedAspiManager : public AspiManager {
 public:
  // `askToStop` passes on the user's request to stop the running command.
  FuzzedAspiManager(ReplyStream& replies, std::function<void()> askToStop)
      : replies_(replies), askToStop_(std::move(askToStop)) {}
  ~FuzzedAspiManager() override { JoinLateCompletion(); }

  uint32_t GetSupportInfo() override;

  // Counts the requests of a new step from here, held to `limits` as each is sent.
  void BeginStep(const RequestLimits& limits);
  // The requests of the step (a completion still running is waited for).
  RequestTally EndStep();

 private:
  struct Address {
    uint8_t hostAdapter;
    uint8_t target;
    bool operator==(const Address&) const = default;
  };

  // Counts a request, within the step's limits; false when its reply is the gone device's, the
  // input having run out.
  bool CountRequest();
  static void CheckLimit(int count, int limit, const char* what);
  uint8_t InquireAdapter(SRB_HAInquiry& inquiry) override;
  void StartScsiRequest(SRB_ExecSCSICmd& request) override;
  void FinishScsiRequest(SRB_ExecSCSICmd& request, const ScsiReply& reply);
  void StartReset(SRB_BusDeviceReset& request) override;
  void CheckScannerAddress(Address address, const char* what) const;
  void JoinLateCompletion();

  ReplyStream& replies_;
  std::function<void()> askToStop_;
  RequestLimits limits_{kAnyNumber, kAnyNumber, kAnyNumber};
  bool stopAsked_ = false;
  RequestTally tally_;
  uint8_t adapterCount_ = 0;
  std::optional<Address> scanner_;  // where the latest INQUIRY showed a product "ZR-..."
  std::thread lateCompletion_;
};

#endif
