#include "platform/sg/sg_manager.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <scsi/sg.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <tuple>

#include "tests/support/temp_directory.h"

namespace {

namespace fs = std::filesystem;

// What the manager handed to the kernel for one command: direction, length, time-out, CDB.
using Transfer = std::tuple<int, unsigned, unsigned, std::vector<uint8_t>>;

// A made-up sysfs tree whose device nodes' open and ioctl calls the test scripts.
class SgManagerTest : public testing::Test {
 protected:
  // Adds hosts (number: driver) and nodes sg0, sg1... for devices at "H:C:T:L" to the tree, and
  // starts a manager on it.
  SgManager& Manager(const std::map<unsigned, std::string>& hosts,
                     const std::vector<std::string>& nodes = {}) {
    const fs::path sys = directory_.path() / "sys";
    for (const auto& [number, driver] : hosts) {
      const fs::path host = sys / "class/scsi_host" / ("host" + std::to_string(number));
      fs::create_directories(host);
      std::ofstream(host / "proc_name") << driver << "\n";
    }
    for (size_t node = 0; node < nodes.size(); ++node) Attach(node, nodes[node], "ZR-40123B");
    SgManager::Setup setup;
    setup.sysfsRoot = sys.string();
    setup.calls.open = [this](const std::string& path) {
      opened_.push_back(path);
      return path == refusedNode_ ? -EACCES : 100;
    };
    setup.calls.ioctl = [this](int, unsigned long request, void* argument) {
      if (request == SG_SCSI_RESET) resetHow_ = *static_cast<int*>(argument);
      return -ioctlError_;
    };
    setup.calls.write = [this](int, const void* data, size_t size) {
      const auto& io = *static_cast<const sg_io_hdr_t*>(data);
      transfers_.emplace_back(io.dxfer_direction, io.dxfer_len, io.timeout,
                              std::vector<uint8_t>(io.cmdp, io.cmdp + io.cmd_len));
      return static_cast<long>(size);
    };
    setup.calls.poll = [this](int, int timeoutMs) {
      waits_.push_back(timeoutMs);
      if (pollScript_.empty()) return int{POLLIN};
      const int events = pollScript_.front();
      pollScript_.erase(pollScript_.begin());
      return events;
    };
    setup.calls.read = [this](int, void* data, size_t size) {
      if (reply_) reply_(*static_cast<sg_io_hdr_t*>(data));
      return ioctlError_ != 0 ? -ioctlError_ : static_cast<long>(size);
    };
    setup.calls.close = [this](int) { ++closed_; };
    setup.notice = [this](const std::string& text) { notices_.push_back(text); };
    manager_ = std::make_unique<SgManager>(setup);
    return *manager_;
  }

  // Links node sgN to a device folder named after its address ("H:C:T:L", under `folder` when
  // given), which says what model it is.
  void Attach(size_t node, const std::string& address, const char* model,
              const std::string& folder = "") {
    const fs::path sys = directory_.path() / "sys";
    const fs::path device = sys / "devices" / folder / address;
    fs::create_directories(device);
    std::ofstream(device / "vendor") << "QUORVEL\n";
    std::ofstream(device / "model") << model << "\n";
    std::ofstream(device / "rev") << "1.32\n";
    const fs::path entry = sys / "class/scsi_generic" / ("sg" + std::to_string(node));
    fs::remove_all(entry);
    fs::create_directories(entry);
    fs::create_directory_symlink(device, entry / "device");
  }

  // Sends request_ (a 6-byte CDB unless it says otherwise) to that address.
  uint8_t Execute(uint8_t adapter, uint8_t target, uint8_t lun) {
    request_.SRB_Cmd = SC_EXEC_SCSI_CMD;
    request_.SRB_HaId = adapter;
    request_.SRB_Target = target;
    request_.SRB_Lun = lun;
    if (request_.SRB_CDBLen == 0) request_.SRB_CDBLen = 6;
    return static_cast<uint8_t>(manager_->SendCommand(&request_));
  }

  ScopedTempDirectory directory_;
  std::unique_ptr<SgManager> manager_;
  SRB_ExecSCSICmd request_{};
  std::string refusedNode_;
  int ioctlError_ = 0;
  std::function<void(sg_io_hdr_t&)> reply_;
  std::vector<std::string> opened_;
  std::vector<Transfer> transfers_;
  std::vector<int> pollScript_;  // what the waits for an answer return, in turn; then POLLIN
  std::vector<int> waits_;       // the time each wait was given, in milliseconds
  int closed_ = 0;
  int resetHow_ = 0;
  std::vector<std::string> notices_;
};

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST_F(SgManagerTest, AdaptersAreTheKernelsHostsInAscendingNumberAndTheUserLearnsWhyNoneWork) {
  EXPECT_EQ(Manager({}).GetSupportInfo(), uint32_t{SS_NO_ADAPTERS} << 8);
  EXPECT_EQ(Execute(0, 2, 0), SS_INVALID_HA);
  SgManager& manager = Manager({{10, "(null)"}, {2, "tcm_loopback"}, {0, "sym53c8xx"}});
  EXPECT_EQ(manager.GetSupportInfo(), 0x0103u);
  const std::string kNames[] = {"sym53c8xx", "tcm_loopback", "host10"};
  for (uint8_t adapter = 0; adapter <= 3; ++adapter) {
    SRB_HAInquiry inquiry{};
    inquiry.SRB_Cmd = SC_HA_INQUIRY, inquiry.SRB_HaId = adapter;
    ASSERT_EQ(manager.SendCommand(&inquiry), adapter < 3 ? SS_COMP : SS_INVALID_HA);
    if (adapter == 3) break;
    EXPECT_EQ(inquiry.HA_Count, 3);
    EXPECT_EQ(inquiry.HA_SCSI_ID, 7);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(inquiry.HA_ManagerId), 16), "scan_fs Linux sg");
    EXPECT_STREQ(reinterpret_cast<char*>(inquiry.HA_Identifier), kNames[adapter].c_str());
  }
  SRB_Header abort{};  // a request no manager here carries
  abort.SRB_Cmd = SC_ABORT_SRB;
  EXPECT_EQ(manager.SendCommand(&abort), SS_INVALID_CMD);
  EXPECT_EQ(Execute(0, 2, 0), SS_NO_DEVICE);  // the generic driver is not loaded
  ASSERT_EQ(notices_.size(), 2u);
  EXPECT_TRUE(Has(notices_[0], "No SCSI host adapter")) << notices_[0];
  EXPECT_TRUE(Has(notices_[1], "modprobe sg")) << notices_[1];
}

TEST_F(SgManagerTest, RequestsReachTheNodeOfTheirHostChannelZeroTargetAndLun) {
  Manager({{0, "sym53c8xx"}, {2, "tcm_loopback"}, {10, "ahci"}},
          {"0:0:2:0", "2:0:3:1", "2:1:3:0", "10:0:0:0", "0:0:4:0", "0:0:5:0x"});
  refusedNode_ = "/dev/sg4";
  const struct {
    uint8_t adapter, target, lun, status;
    const char* node;
  } kCases[] = {
      {0, 2, 0, SS_COMP, "/dev/sg0"},
      {1, 3, 1, SS_COMP, "/dev/sg1"},
      {1, 3, 0, SS_NO_DEVICE, nullptr},
      {2, 0, 0, SS_COMP, "/dev/sg3"},
      {0, 3, 0, SS_NO_DEVICE, nullptr},
      {3, 0, 0, SS_INVALID_HA, nullptr},
      {0, 4, 0, SS_NO_DEVICE, "/dev/sg4"},  // it will not open: the search goes on
      {0, 4, 0, SS_NO_DEVICE, "/dev/sg4"},
      {0, 5, 0, SS_NO_DEVICE, nullptr},  // no address of a device
  };
  for (const auto& c : kCases) {
    opened_.clear();
    EXPECT_EQ(Execute(c.adapter, c.target, c.lun), c.status)
        << int{c.adapter} << ":" << int{c.target} << ":" << int{c.lun};
    EXPECT_EQ(opened_, c.node ? std::vector<std::string>{c.node} : std::vector<std::string>{});
  }
  ASSERT_EQ(notices_.size(), 1u);  // once
  EXPECT_TRUE(Has(notices_[0],
                  "/dev/sg4 (adapter 0, target 4, LUN 0: QUORVEL ZR-40123B): permission denied"))
      << notices_[0];
}

TEST_F(SgManagerTest, TheKernelGetsTheDirectionLengthAndTimeThatTheRequestStates) {
  Manager({{0, "sym53c8xx"}}, {"0:0:2:0"});
  constexpr uint8_t kBoth = SRB_DIR_IN | SRB_DIR_OUT;
  constexpr int kIn = SG_DXFER_FROM_DEV, kOut = SG_DXFER_TO_DEV, kRefused = 0;
  constexpr unsigned kAnswer = 10000, kRead = 30000, kMotion = 60000, kLong = 120000;
  uint8_t b[4096];
  const struct {
    const char* what;
    uint8_t flags;
    std::vector<uint8_t> cdb;
    uint8_t* buffer;
    uint32_t bufferLength;
    int direction;
    unsigned length, timeout;
  } kCases[] = {
      {"INQUIRY", kBoth, {0x12, 0, 0, 0, 36, 0}, b, 36, kIn, 36, kAnswer},
      {"SCAN, as its CDB states", 0, {0x1B, 0, 0, 0, 1, 0}, b, 64, kOut, 1, kLong},
      {"SEND, small buffer", 0, {0x2A, 0, 0, 0, 0, 0, 0, 1, 0, 0}, b, 100, kOut, 100, kAnswer},
      {"flag wins", SRB_DIR_IN, {0x2A, 0, 0, 0, 0, 0, 0, 0, 9, 0}, b, 96, kIn, 96, kAnswer},
      {"no data", kBoth, {0x1D, 0x04, 0, 0, 0, 0}, b, 64, SG_DXFER_NONE, 0, kLong},
      {"READ", kBoth, {0x28, 0, 0, 0, 0, 0, 0, 0x10, 0, 0}, b, 4096, kIn, 4096, kRead},
      {"OBJECT POSITION", kBoth, {0x31, 0, 0, 0, 0, 0}, b, 0, SG_DXFER_NONE, 0, kMotion},
      {"GET DATA BUFFER STATUS", 0, {0x34, 0, 0, 0, 0, 0, 0, 0, 0x1C, 0}, b, 35, kIn, 35, kAnswer},
      {"unknown, no flag", kBoth, {0xC1, 0, 0, 0, 0, 0}, b, 8, kRefused, 0, 0},
      {"no buffer", 0, {0x28, 0, 0, 0, 0, 0, 0, 0, 8, 0}, nullptr, 8, kRefused, 0, 0},
      {"CDB too long", 0, std::vector<uint8_t>(17), b, 0, kRefused, 0, 0},
  };
  for (const auto& c : kCases) {
    transfers_.clear();
    request_ = {};
    request_.SRB_Flags = c.flags;
    request_.SRB_CDBLen = static_cast<uint8_t>(c.cdb.size());
    std::copy_n(c.cdb.begin(), std::min<size_t>(c.cdb.size(), 16), request_.CDBByte);
    request_.SRB_BufLen = c.bufferLength;
    request_.SRB_BufPointer = c.buffer;
    EXPECT_EQ(Execute(0, 2, 0), c.direction == kRefused ? SS_INVALID_SRB : SS_COMP) << c.what;
    const std::vector<Transfer> sent = {{c.direction, c.length, c.timeout, c.cdb}};
    EXPECT_EQ(transfers_, c.direction == kRefused ? std::vector<Transfer>{} : sent) << c.what;
  }
}

TEST_F(SgManagerTest, TheKernelsAccountOfATransferBecomesTheRequestsFinalStatus) {
  const struct {
    const char* what;
    int error;
    uint8_t status, host, driver, senseWritten;
    std::tuple<uint8_t, uint8_t, uint8_t, long> expected;  // status, HaStat, TargStat, sense
  } kCases[] = {
      {"good", 0, 0x00, 0x00, 0x00, 0, {SS_COMP, HASTAT_OK, STATUS_GOOD, 0}},
      {"sense, all the room", 0, 0x02, 0x00, 0x08, 18, {SS_ERR, 0, STATUS_CHKCOND, 14}},
      {"sense, short", 0, 0x02, 0x00, 0x08, 8, {SS_ERR, 0, STATUS_CHKCOND, 8}},
      {"busy", 0, 0x08, 0x00, 0x00, 0, {SS_ERR, HASTAT_OK, STATUS_BUSY, 0}},
      {"no connect", 0, 0x00, 0x01, 0x00, 0, {SS_ERR, HASTAT_SEL_TO, 0, 0}},
      {"host time-out", 0, 0x00, 0x03, 0x00, 0, {SS_ERR, HASTAT_COMMAND_TIMEOUT, 0, 0}},
      {"driver time-out", 0, 0x00, 0x00, 0x06, 0, {SS_ERR, HASTAT_COMMAND_TIMEOUT, 0, 0}},
      {"other host error", 0, 0x00, 0x07, 0x00, 0, {SS_ERR, HASTAT_PHASE_ERR, 0, 0}},
      {"host error wins", 0, 0x02, 0x01, 0x08, 18, {SS_ERR, HASTAT_SEL_TO, 0, 0}},
      {"device gone", ENODEV, 0, 0, 0, 0, {SS_ERR, HASTAT_SEL_TO, 0, 0}},
      {"no memory", ENOMEM, 0, 0, 0, 0, {SS_BUFFER_TOO_BIG, 0, 0, 0}},
      {"refused", EINVAL, 0, 0, 0, 0, {SS_INVALID_SRB, 0, 0, 0}},
      {"other failure", EIO, 0x02, 0, 0x08, 18, {SS_ERR, HASTAT_OK, 0, 0}},
  };
  Manager({{0, "sym53c8xx"}}, {"0:0:2:0"});
  for (const auto& c : kCases) {
    ioctlError_ = c.error;
    reply_ = [&c](sg_io_hdr_t& io) {
      std::tie(io.status, io.host_status, io.driver_status, io.sb_len_wr) =
          std::tuple(c.status, c.host, c.driver, c.senseWritten);
      std::memset(io.sbp, 0x70, c.senseWritten);
    };
    request_ = {};
    request_.SRB_SenseLen = 14;
    const uint8_t status = Execute(0, 2, 0);
    const uint8_t* sense = request_.SenseArea;
    EXPECT_EQ(std::tuple(status, request_.SRB_HaStat, request_.SRB_TargStat,
                         std::count(sense, sense + sizeof request_.SenseArea, 0x70)),
              c.expected)
        << c.what;
  }
}

TEST_F(SgManagerTest, ABusDeviceResetResetsThatDeviceOnlyWhereTheKernelPermitsIt) {
  SRB_BusDeviceReset reset{};
  reset.SRB_Cmd = SC_RESET_DEV, reset.SRB_Target = 2;
  EXPECT_EQ(Manager({{0, "sym53c8xx"}}, {"0:0:2:0"}).SendCommand(&reset), SS_COMP);
  EXPECT_EQ(resetHow_, SG_SCSI_RESET_DEVICE | 0x100);  // no escalation to the bus or host
  ioctlError_ = EACCES;
  EXPECT_EQ(manager_->SendCommand(&reset), SS_ERR);
  EXPECT_TRUE(Has(notices_.at(0), "CAP_SYS_ADMIN")) << notices_.at(0);
}

// The answer is waited for through any number of signals, with the command sent once. A wait that
// outlasts the command's time-out and the kernel's recovery is given up as a time-out, and a
// device that goes away with the answer is one that no longer answers selection.
TEST_F(SgManagerTest, TheWaitForTheAnswerOutlastsSignalsButNotItsLimit) {
  Manager({{0, "sym53c8xx"}}, {"0:0:2:0"});
  const struct {
    std::vector<int> polls;
    int readError;
    uint8_t hostStatus;
  } kCases[] = {{{-EINTR, -EINTR, POLLIN}, 0, HASTAT_OK},
                {{0}, 0, HASTAT_COMMAND_TIMEOUT},
                {{POLLIN | POLLHUP}, EAGAIN, HASTAT_SEL_TO}};
  for (const auto& c : kCases) {
    pollScript_ = c.polls, ioctlError_ = c.readError, waits_.clear(), closed_ = 0;
    request_ = {};
    request_.SRB_CDBLen = 10, request_.CDBByte[0] = 0x2B;  // no data: 10 s
    EXPECT_EQ(Execute(0, 2, 0), c.hostStatus == HASTAT_OK ? SS_COMP : SS_ERR);
    EXPECT_EQ(request_.SRB_HaStat, c.hostStatus);
    EXPECT_EQ(std::tuple(waits_.size(), closed_), std::tuple(c.polls.size(), 1));
    for (const int wait : waits_) EXPECT_TRUE(wait > 14000 && wait <= 15000) << wait;
  }
  EXPECT_EQ(transfers_.size(), 3u);  // each command written once
}

// Every INQUIRY learns which device stands at its address. Another device there later (also one
// of the same model), one where the INQUIRY found none, or none where it found one: any other
// request is refused as no device before it reaches the kernel, and the user learns why.
TEST_F(SgManagerTest, OnlyTheDeviceThatAnInquiryFoundGetsFurtherRequests) {
  Manager({{0, "sym53c8xx"}}, {"0:0:2:0", "0:0:5:0"});
  const auto send = [this](uint8_t target, uint8_t operationCode) {
    request_ = {};
    request_.CDBByte[0] = operationCode;
    return Execute(0, target, 0);
  };
  Attach(0, "0:0:2:0", "ZR-40123B", "a");
  EXPECT_EQ(send(2, 0x00), SS_COMP);  // never probed
  EXPECT_EQ(send(2, 0x12), SS_COMP);
  EXPECT_EQ(send(2, 0x00), SS_COMP);
  Attach(0, "0:0:2:0", "ZR-40123B", "b");
  EXPECT_EQ(send(2, 0x00), SS_NO_DEVICE);
  EXPECT_EQ(send(2, 0x12), SS_COMP);  // learns again
  EXPECT_EQ(send(2, 0x00), SS_COMP);
  EXPECT_EQ(send(3, 0x12), SS_NO_DEVICE);
  Attach(2, "0:0:3:0", "DISK", "c");
  EXPECT_EQ(send(3, 0x00), SS_NO_DEVICE);
  fs::remove_all(directory_.path() / "sys/class/scsi_generic/sg0");
  EXPECT_EQ(send(2, 0x00), SS_NO_DEVICE);
  EXPECT_EQ(transfers_.size(), 5u);  // the refused requests never reached the kernel
  EXPECT_EQ(notices_, (std::vector<std::string>{
                          "Not sent: /dev/sg0 (adapter 0, target 2, LUN 0: QUORVEL ZR-40123B "
                          "1.32) is not the device that the last scanner search found there, "
                          "QUORVEL ZR-40123B 1.32. Nothing goes to it until a new search (Scanner "
                          "Information) finds the scanner.",
                          "Not sent: /dev/sg2 (adapter 0, target 3, LUN 0: QUORVEL DISK 1.32) "
                          "came after the last scanner search, which found no device there. "
                          "Nothing goes to it until a new search (Scanner Information) finds the "
                          "scanner.",
                          "The device that the scanner search found at adapter 0, target 2, LUN 0 "
                          "(/dev/sg0: QUORVEL ZR-40123B 1.32) is gone."}));
}

}  // namespace
