// The program on a simulated bus, for tests: fresh process-wide state, a simulated bus built from
// a configuration text, the recording front end, and every completed request block recorded.
#ifndef SCAN_FS_TESTS_SUPPORT_PROGRAM_BENCH_H
#define SCAN_FS_TESTS_SUPPORT_PROGRAM_BENCH_H

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/linux/surface_model.h"
#include "sim/simulated_bus.h"
#include "tests/support/recording_front_end.h"

struct RecordedRequest {
  uint8_t command;  // SRB_Cmd
  uint8_t hostAdapter;
  uint8_t target;
  uint8_t flags;
  uint32_t bufferLength;
  std::vector<uint8_t> cdb;
  std::vector<uint8_t> dataOut;  // the whole buffer of a command that sends data

  uint8_t operationCode() const { return cdb.empty() ? 0xFF : cdb[0]; }
};

class ProgramBench {
 public:
  // `config` is a simulator configuration text; the test fails if it does not parse.
  explicit ProgramBench(const std::string& config = "");
  ~ProgramBench();

  SimulatedBus& bus() { return *bus_; }
  RecordingFrontEnd& frontEnd() { return frontEnd_; }

  // Window creation, as at start-up.
  void Start();
  // A menu command of the main window.
  void Command(unsigned commandId);

  // Requests completed so far, in order.
  std::vector<RecordedRequest> Requests() const;
  // Their operation codes (SCSI requests only), in order.
  std::vector<uint8_t> OperationCodes() const;
  void ClearRequests();

  // The lines on the surface as "X Y TEXT".
  std::vector<std::string> SurfaceLines() const;

 private:
  RecordingFrontEnd frontEnd_;
  std::unique_ptr<SimulatedBus> bus_;
  mutable std::mutex mutex_;
  std::vector<RecordedRequest> requests_;
};

#endif
