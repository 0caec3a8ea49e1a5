// What the SCSI generic manager itself costs per request, without a device: a made-up sysfs tree
// with a disk, a CD-ROM and the scanner (as in the kernel test's guest), device calls that answer
// at once, and 29000-byte READs to the scanner. Once before any INQUIRY there (no identity to
// check) and once after one (the device's identity checked at every request), so that the check's
// share shows.
//
//   sg_request_benchmark [REQUESTS]
#include <poll.h>
#include <scsi/sg.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/sg/sg_manager.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Host 0 with a disk and a CD-ROM, host 1 with the scanner at target 2.
fs::path MakeTree() {
  const fs::path sys =
      fs::temp_directory_path() / ("sg_request_benchmark." + std::to_string(getpid()));
  const struct {
    const char* address;
    const char* model;
  } kDevices[] = {
      {"0:0:0:0", "QEMU HARDDISK"}, {"0:0:1:0", "QEMU CD-ROM"}, {"1:0:2:0", "ZR-40123B"}};
  for (const unsigned host : {0u, 1u}) {
    const fs::path entry = sys / "class/scsi_host" / ("host" + std::to_string(host));
    fs::create_directories(entry);
    std::ofstream(entry / "proc_name") << (host == 0 ? "sym53c8xx\n" : "tcm_loopback\n");
  }
  int node = 0;
  for (const auto& device : kDevices) {
    const fs::path folder = sys / "devices" / device.address;
    fs::create_directories(folder);
    std::ofstream(folder / "vendor") << "QUORVEL\n";
    std::ofstream(folder / "model") << device.model << "\n";
    std::ofstream(folder / "rev") << "1.32\n";
    const fs::path entry = sys / "class/scsi_generic" / ("sg" + std::to_string(node++));
    fs::create_directories(entry);
    fs::create_directory_symlink(folder, entry / "device");
  }
  return sys;
}

double MicrosPerRequest(SgManager& manager, uint8_t operationCode, int requests) {
  static uint8_t data[30000];
  SRB_ExecSCSICmd request{};
  const Clock::time_point start = Clock::now();
  for (int i = 0; i < requests; ++i) {
    request = {};
    request.SRB_Cmd = SC_EXEC_SCSI_CMD;
    request.SRB_HaId = 1, request.SRB_Target = 2;
    request.SRB_Flags = SRB_DIR_IN;
    request.SRB_CDBLen = operationCode == 0x12 ? 6 : 10;
    request.CDBByte[0] = operationCode;
    request.SRB_BufLen = operationCode == 0x12 ? 36 : sizeof data;
    request.SRB_BufPointer = data;
    if (manager.SendCommand(&request) != SS_COMP) {
      std::fprintf(stderr, "sg_request_benchmark: a request failed\n");
      std::exit(1);
    }
  }
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / requests;
}

}  // namespace

int main(int argc, char** argv) {
  const int requests = argc > 1 ? std::atoi(argv[1]) : 20000;
  const fs::path sys = MakeTree();
  SgManager::Setup setup;
  setup.sysfsRoot = sys.string();
  setup.calls.open = [](const std::string&) { return 100; };
  setup.calls.ioctl = [](int, unsigned long, void*) { return 0; };
  setup.calls.write = [](int, const void*, size_t size) { return static_cast<long>(size); };
  setup.calls.poll = [](int, int) { return int{POLLIN}; };
  setup.calls.read = [](int, void*, size_t size) { return static_cast<long>(size); };
  setup.calls.close = [](int) {};
  SgManager manager(setup);
  manager.GetSupportInfo();

  const double unchecked = MicrosPerRequest(manager, 0x28, requests);
  MicrosPerRequest(manager, 0x12, 1);  // the search's INQUIRY: from now on the identity counts
  const double checked = MicrosPerRequest(manager, 0x28, requests);
  std::printf(
      "SCSI generic manager, %d READs of 29000 bytes each, device calls answering at once\n",
      requests);
  std::printf("  without an identity to check   %7.1f us per request\n", unchecked);
  std::printf("  identity checked               %7.1f us per request\n", checked);
  std::printf("  a chunk on a 10 MB/s bus        2900.0 us\n");
  fs::remove_all(sys);
  return 0;
}
