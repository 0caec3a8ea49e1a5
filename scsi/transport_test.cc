#include "scsi/transport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "resources/ids.h"
#include "scsi/scanner_commands.h"
#include "shell/program_state.h"
#include "tests/support/program_bench.h"

namespace {

TEST(TransportTest, WaitsForAStatusWrittenLaterByAnotherThread) {
  uint8_t status = SS_PENDING;
  std::atomic<bool> waiting{false};
  std::thread manager([&] {
    while (!waiting.load()) std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::atomic_ref<uint8_t>(status).store(SS_ERR, std::memory_order_release);
  });
  waiting = true;
  EXPECT_EQ(WaitForCompletion(status), SS_ERR);
  manager.join();
}

TEST(TransportTest, RequestBlockIsZeroFilledBeyondTheNamedFields) {
  const SRB_ExecSCSICmd request = MakeScsiRequest(3, 5, SRB_DIR_IN);
  EXPECT_EQ(request.SRB_Cmd, SC_EXEC_SCSI_CMD);
  EXPECT_EQ(request.SRB_HaId, 3);
  EXPECT_EQ(request.SRB_Target, 5);
  EXPECT_EQ(request.SRB_Lun, 0);
  EXPECT_EQ(request.SRB_Flags, SRB_DIR_IN);
  EXPECT_EQ(request.SRB_SenseLen, 14);
  EXPECT_EQ(static_cast<void*>(request.SRB_PostProc), nullptr);
  EXPECT_EQ(uint32_t{request.SRB_Hdr_Rsvd}, 0u);
  for (const uint8_t byte : request.SenseArea) EXPECT_EQ(byte, 0);
}

}  // namespace
