#include "platform/sg/sg_manager.h"

#include <gtest/gtest.h>
#include <scsi/sg.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>

#include "tests/support/temp_directory.h"

namespace {

namespace fs = std::filesystem;

struct Transfer {
  int direction;
  unsigned length;
  unsigned timeout;
  std::vector<uint8_t> cdb;
  bool operator==(const Transfer&) const = default;
};

// A made-up sysfs tree and device nodes whose open and ioctl calls the test scripts.
class SgManagerTest : public testing::Test {
 protected:
  void AddHost(unsigned number, const std::string& driverName) {
    const fs::path host = root() / "sys/class/scsi_host" / ("host" + std::to_string(number));
    fs::create_directories(host);
    std::ofstream(host / "proc_name") << driverName << "\n";
  }
  // A device at "H:C:T:L" and its node sgN.
  void AddDevice(unsigned node, const std::string& address, const std::string& model = "DISK") {
    const fs::path device = root() / "sys/devices" / address;
    fs::create_directories(device);
    std::ofstream(device / "vendor") << "TESSALIN\n";
    std::ofstream(device / "model") << model << "\n";
    const fs::path entry = root() / "sys/class/scsi_generic" / ("sg" + std::to_string(node));
    fs::create_directories(entry);
    fs::create_directory_symlink(device, entry / "device");
  }

  SgManager& Manager() {
    SgManager::Setup setup;
    setup.sysfsRoot = (root() / "sys").string();
    setup.deviceDirectory = "/dev";
    setup.calls.open = [this](const std::string& path) {
      opened_.push_back(path);
      const auto refused = openErrors_.find(path);
      return refused == openErrors_.end() ? 100 : -refused->second;
    };
    setup.calls.ioctl = [this](int, unsigned long request, void* argument) {
      if (request == SG_SCSI_RESET) {
        resetHow_ = *static_cast<int*>(argument);
        return -resetError_;
      }
      auto& io = *static_cast<sg_io_hdr_t*>(argument);
      transfers_.push_back({io.dxfer_direction, io.dxfer_len, io.timeout,
                            std::vector<uint8_t>(io.cmdp, io.cmdp + io.cmd_len)});
      if (reply_) reply_(io);
      return 0;
    };
    setup.calls.close = [](int) {};
    setup.notice = [this](const std::string& text) { notices_.push_back(text); };
    manager_ = std::make_unique<SgManager>(setup);
    return *manager_;
  }

  uint8_t Execute(uint8_t adapter, uint8_t target, uint8_t lun) {
    SRB_ExecSCSICmd request{};
    return Execute(adapter, target, lun, request);
  }
  // Sends `request` there; a CDB length of 0 becomes 6.
  uint8_t Execute(uint8_t adapter, uint8_t target, uint8_t lun, SRB_ExecSCSICmd& request) {
    request.SRB_Cmd = SC_EXEC_SCSI_CMD;
    request.SRB_HaId = adapter;
    request.SRB_Target = target;
    request.SRB_Lun = lun;
    if (request.SRB_CDBLen == 0) request.SRB_CDBLen = 6;
    return static_cast<uint8_t>(manager_->SendCommand(&request));
  }

  const fs::path& root() const { return directory_.path(); }

  ScopedTempDirectory directory_;
  std::unique_ptr<SgManager> manager_;
  std::map<std::string, int> openErrors_;
  std::vector<std::string> opened_;
  std::vector<Transfer> transfers_;
  std::function<void(sg_io_hdr_t&)> reply_;
  int resetHow_ = 0;
  int resetError_ = 0;
  std::vector<std::string> notices_;
};

template <typename Block>
Block RequestBlock(uint8_t command, uint8_t adapter, uint8_t target = 0) {
  Block block{};
  block.SRB_Cmd = command;
  block.SRB_HaId = adapter;
  if constexpr (requires { block.SRB_Target; }) block.SRB_Target = target;
  return block;
}

std::string Text(const uint8_t (&field)[16]) {
  return std::string(reinterpret_cast<const char*>(field),
                     strnlen(reinterpret_cast<const char*>(field), 16));
}

TEST_F(SgManagerTest, AdaptersAreTheHostsInAscendingNumber) {
  AddHost(10, "(null)");
  AddHost(2, "tcm_loopback");
  AddHost(0, "sym53c8xx");
  SgManager& manager = Manager();
  EXPECT_EQ(manager.GetSupportInfo(), 0x0103u);
  const char* const kNames[] = {"sym53c8xx", "tcm_loopback", "host10"};
  for (uint8_t adapter = 0; adapter < 3; ++adapter) {
    auto inquiry = RequestBlock<SRB_HAInquiry>(SC_HA_INQUIRY, adapter);
    ASSERT_EQ(manager.SendCommand(&inquiry), SS_COMP);
    EXPECT_EQ(inquiry.SRB_Status, SS_COMP);
    EXPECT_EQ(inquiry.HA_Count, 3);
    EXPECT_EQ(inquiry.HA_SCSI_ID, 7);
    EXPECT_EQ(Text(inquiry.HA_ManagerId), "scan_fs Linux sg");
    EXPECT_EQ(Text(inquiry.HA_Identifier), kNames[adapter]);
  }
  auto pastTheLast = RequestBlock<SRB_HAInquiry>(SC_HA_INQUIRY, 3);
  EXPECT_EQ(manager.SendCommand(&pastTheLast), SS_INVALID_HA);
  EXPECT_EQ(pastTheLast.SRB_Status, SS_INVALID_HA);
}

TEST_F(SgManagerTest, WhatKeepsDevicesOutOfReachIsToldOnce) {
  SgManager& noHosts = Manager();
  EXPECT_EQ(noHosts.GetSupportInfo() >> 8, SS_NO_ADAPTERS);
  EXPECT_EQ(Execute(0, 2, 0), SS_INVALID_HA);
  AddHost(0, "sym53c8xx");
  SgManager& noGenericDriver = Manager();
  EXPECT_EQ(noGenericDriver.GetSupportInfo(), 0x0101u);
  EXPECT_EQ(noGenericDriver.GetSupportInfo(), 0x0101u);
  EXPECT_EQ(Execute(0, 2, 0), SS_NO_DEVICE);
  ASSERT_EQ(notices_.size(), 2u);
  EXPECT_NE(notices_[0].find("No SCSI host adapter"), std::string::npos);
  EXPECT_NE(notices_[1].find("modprobe sg"), std::string::npos);
}

TEST_F(SgManagerTest, RequestsReachTheNodeOfTheirHostChannelZeroTargetAndLun) {
  AddHost(0, "sym53c8xx");
  AddHost(2, "tcm_loopback");
  AddHost(10, "ahci");
  AddDevice(0, "0:0:2:0");
  AddDevice(1, "2:0:3:1", "SCANNER AT LUN 1");
  AddDevice(2, "2:1:3:0", "ON CHANNEL 1");
  AddDevice(12, "10:0:0:0");
  Manager();
  const struct {
    uint8_t adapter, target, lun, status;
    const char* node;
  } kCases[] = {
      {0, 2, 0, SS_COMP, "/dev/sg0"},   {1, 3, 1, SS_COMP, "/dev/sg1"},
      {1, 3, 0, SS_NO_DEVICE, nullptr}, {2, 0, 0, SS_COMP, "/dev/sg12"},
      {0, 3, 0, SS_NO_DEVICE, nullptr}, {3, 0, 0, SS_INVALID_HA, nullptr},
  };
  for (const auto& c : kCases) {
    opened_.clear();
    EXPECT_EQ(Execute(c.adapter, c.target, c.lun), c.status)
        << int{c.adapter} << ":" << int{c.target} << ":" << int{c.lun};
    EXPECT_EQ(opened_, c.node ? std::vector<std::string>{c.node} : std::vector<std::string>{});
  }
}

TEST_F(SgManagerTest, TransferTakesDirectionLengthAndTimeAndFillsTheBlockBeforeItsStatus) {
  AddHost(0, "sym53c8xx");
  AddDevice(0, "0:0:2:0");
  Manager().SetCompletionObserver([](const void* block, uint8_t) {
    EXPECT_EQ(static_cast<const SRB_ExecSCSICmd*>(block)->SRB_Status, SS_PENDING);
  });
  reply_ = [](sg_io_hdr_t& io) {
    if (io.cmdp[0] != 0x12) return;
    std::memset(io.dxferp, 'I', io.dxfer_len);
    io.status = STATUS_CHKCOND;
    std::memset(io.sbp, 0x70, 18);
    io.sb_len_wr = 18;
  };
  uint8_t data[64] = {};
  SRB_ExecSCSICmd inquiry{};
  inquiry.SRB_Flags = SRB_DIR_IN | SRB_DIR_OUT;
  inquiry.SRB_BufLen = 36;
  inquiry.SRB_BufPointer = data;
  inquiry.SRB_SenseLen = 14;
  inquiry.SenseArea[14] = 0xEE;
  const uint8_t inquiryCdb[] = {0x12, 0, 0, 0, 36, 0};
  std::memcpy(inquiry.CDBByte, inquiryCdb, sizeof inquiryCdb);
  EXPECT_EQ(Execute(0, 2, 0, inquiry), SS_ERR);
  EXPECT_EQ(inquiry.SRB_TargStat, STATUS_CHKCOND);
  EXPECT_EQ(inquiry.SenseArea[13], 0x70);
  EXPECT_EQ(inquiry.SenseArea[14], 0xEE);  // no more than SRB_SenseLen
  EXPECT_EQ(data[35], 'I');                // the device wrote straight into the buffer

  SRB_ExecSCSICmd scan{};
  scan.SRB_BufLen = sizeof data;
  scan.SRB_BufPointer = data;
  const uint8_t scanCdb[] = {0x1B, 0, 0, 0, 1, 0};
  std::memcpy(scan.CDBByte, scanCdb, sizeof scanCdb);
  EXPECT_EQ(Execute(0, 2, 0, scan), SS_COMP);

  // SCAN sends what its CDB states, not the whole buffer, and may take ten minutes.
  const std::vector<Transfer> expected = {
      {SG_DXFER_FROM_DEV, 36, 60000, {inquiryCdb, inquiryCdb + 6}},
      {SG_DXFER_TO_DEV, 1, 600000, {scanCdb, scanCdb + 6}}};
  EXPECT_EQ(transfers_, expected);
}

TEST_F(SgManagerTest, ANodeThatWillNotOpenIsNoDeviceAndNamedOnce) {
  AddHost(0, "sym53c8xx");
  AddDevice(3, "0:0:2:0", "ZR-40123B");
  openErrors_["/dev/sg3"] = EACCES;
  Manager();
  EXPECT_EQ(Execute(0, 2, 0), SS_NO_DEVICE);
  EXPECT_EQ(Execute(0, 2, 0), SS_NO_DEVICE);
  ASSERT_EQ(notices_.size(), 1u);
  for (const char* part : {"/dev/sg3", "adapter 0, target 2, LUN 0", "TESSALIN ZR-40123B",
                           "permission denied", "PERMISSIONS"}) {
    EXPECT_NE(notices_[0].find(part), std::string::npos) << part << " in " << notices_[0];
  }
}

TEST_F(SgManagerTest, BusDeviceResetOnlyWhereTheKernelPermitsIt) {
  AddHost(0, "sym53c8xx");
  AddDevice(0, "0:0:2:0");
  AddDevice(1, "0:0:4:0");
  openErrors_["/dev/sg1"] = EACCES;
  SgManager& manager = Manager();
  auto reset = [&](uint8_t target) {
    auto request = RequestBlock<SRB_BusDeviceReset>(SC_RESET_DEV, 0, target);
    const uint32_t returned = manager.SendCommand(&request);
    EXPECT_EQ(returned, request.SRB_Status);
    return request.SRB_Status;
  };
  EXPECT_EQ(reset(2), SS_COMP);
  EXPECT_EQ(resetHow_, SG_SCSI_RESET_DEVICE | 0x100);  // this device only, no escalation
  resetError_ = EACCES;
  EXPECT_EQ(reset(2), SS_ERR);
  EXPECT_EQ(reset(4), SS_ERR);
  EXPECT_EQ(reset(5), SS_NO_DEVICE);
  ASSERT_EQ(notices_.size(), 2u);
  EXPECT_NE(notices_[0].find("CAP_SYS_ADMIN"), std::string::npos);
}

TEST_F(SgManagerTest, MalformedRequestsEndWithAFailureAndReachNoDevice) {
  AddHost(0, "sym53c8xx");
  AddDevice(0, "0:0:2:0");
  SgManager& manager = Manager();
  uint8_t data[8];
  const std::function<void(SRB_ExecSCSICmd&)> kFaults[] = {
      [](SRB_ExecSCSICmd& r) { r.SRB_CDBLen = 17; },
      [](SRB_ExecSCSICmd& r) { r.SRB_BufLen = 8, r.CDBByte[0] = 0x28; },  // no buffer
      [&](SRB_ExecSCSICmd& r) { r.SRB_BufLen = 8, r.SRB_BufPointer = data, r.CDBByte[0] = 0xC1; },
  };
  for (const auto& fault : kFaults) {
    SRB_ExecSCSICmd request{};
    fault(request);
    EXPECT_EQ(Execute(0, 2, 0, request), SS_INVALID_SRB);
  }
  auto abort = RequestBlock<SRB_Header>(SC_ABORT_SRB, 0);
  EXPECT_EQ(manager.SendCommand(&abort), SS_INVALID_CMD);
  EXPECT_EQ(abort.SRB_Status, SS_INVALID_CMD);
  EXPECT_TRUE(transfers_.empty());
}

}  // namespace
