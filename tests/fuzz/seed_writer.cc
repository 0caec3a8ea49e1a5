// Writes the seed corpus of the fuzz target into the folder given: a few small inputs that reach
// the scan transfer (into a file and into memory, with faults), both self-diagnostics, the data
// dump, the board information and a search with late completions. Each seed starts with the
// step to begin with, then the replies in the order the program asks for them.
#include <cstdio>
#include <string>
#include <vector>

#include "scsi/srb.h"
#include "tests/fuzz/command_script.h"
#include "tests/fuzz/replies.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes InquiryData(const std::string& vendor, const std::string& product,
                  const std::string& revision) {
  Bytes data(36, ' ');
  data[0] = 0x06;  // scanner
  data[1] = 0x00;
  data[2] = 0x02;
  data[3] = 0x02;
  data[4] = 31;
  data[5] = data[6] = data[7] = 0x00;
  std::copy(vendor.begin(), vendor.end(), data.begin() + 8);
  std::copy(product.begin(), product.end(), data.begin() + 16);
  std::copy(revision.begin(), revision.end(), data.begin() + 32);
  return data;
}

// GET DATA BUFFER STATUS: bytes per line, lines and remaining bytes at 12, 16 and 20.
Bytes DataStatus(uint32_t bytesPerLine, uint32_t lines, uint32_t remaining) {
  Bytes data(24, 0);
  for (int i = 0; i < 4; ++i) {
    const int shift = 24 - 8 * i;
    data[12 + i] = static_cast<uint8_t>(bytesPerLine >> shift);
    data[16 + i] = static_cast<uint8_t>(lines >> shift);
    data[20 + i] = static_cast<uint8_t>(remaining >> shift);
  }
  return data;
}

// Fixed-format sense data: key, ASC, ASCQ, and the information field for a residue.
Bytes Sense(uint8_t keyByte, uint8_t asc, uint8_t ascq, uint32_t information = 0) {
  Bytes sense(14, 0);
  sense[0] = 0xF0;
  sense[2] = keyByte;
  for (int i = 0; i < 4; ++i) sense[3 + i] = static_cast<uint8_t>(information >> (24 - 8 * i));
  sense[7] = 6;
  sense[12] = asc;
  sense[13] = ascq;
  return sense;
}

class Seed {
 public:
  explicit Seed(MenuStepIndex first) { bytes_.push_back(static_cast<uint8_t>(first)); }

  Seed& Support(uint8_t adapters) {
    AppendSupportReply(bytes_, {SS_COMP, adapters});
    return *this;
  }
  Seed& Adapter(const AdapterReply& reply) {
    AppendAdapterReply(bytes_, reply);
    return *this;
  }
  Seed& Reply(const ScsiReply& reply) {
    AppendScsiReply(bytes_, reply);
    return *this;
  }
  Seed& Good(int count = 1) {
    for (int i = 0; i < count; ++i) Reply(ScsiReply(SS_COMP));
    return *this;
  }
  Seed& Data(const Bytes& data, bool late = false) {
    ScsiReply reply(SS_COMP);
    reply.data = data;
    reply.late = late;
    return Reply(reply);
  }
  Seed& NoDevice(int count = 1) {
    for (int i = 0; i < count; ++i) Reply(ScsiReply(SS_NO_DEVICE));
    return *this;
  }
  Seed& CheckCondition(const Bytes& sense) {
    ScsiReply reply(SS_ERR, HASTAT_OK, STATUS_CHKCOND);
    reply.sense = sense;
    return Reply(reply);
  }

  bool WriteTo(const std::string& path) const {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes_.data(), 1, bytes_.size(), file) == bytes_.size();
    return std::fclose(file) == 0 && written;
  }

 private:
  Bytes bytes_;
};

const Bytes kT1 = InquiryData("TESSALIN", "ZR-40113A       ", "1.10");
const Bytes kT2 = InquiryData("TESSALIN", "ZR-40123B       ", "2.03");

// Reserve, the T2's page 20h and window, three gamma tables, page 02h, auto focus and SCAN.
constexpr int kT2Preparation = 2 + 1 + 2 + 3 + 3;
constexpr int kT1Preparation = 2 + 1 + 1 + 3 + 3;

// Window creation finds a T2 at adapter 0, target 0; a scan into a file is prepared up to SCAN.
Seed T2FileScan() {
  return Seed(kScanToFile).Support(1).Data(kT2).Good(kT2Preparation);
}

std::vector<std::pair<std::string, Seed>> Seeds() {
  std::vector<std::pair<std::string, Seed>> seeds;

  seeds.emplace_back("scan_t2_file", T2FileScan()
                                         .Data(DataStatus(1000, 60, 60000))
                                         .Good()
                                         .Data(DataStatus(1000, 60, 31000))
                                         .Good()
                                         .Data(DataStatus(1000, 60, 2000))
                                         .Good()
                                         .Data(DataStatus(1000, 60, 0))
                                         .Good(2));

  // A short READ (incorrect length, residue 13000) and a failing gamma table, late completions.
  ScsiReply shortRead(SS_ERR, HASTAT_OK, STATUS_CHKCOND);
  shortRead.sense = Sense(0x20, 0x00, 0x00, 13000);
  shortRead.deliveredLength = 16000;
  shortRead.late = true;
  seeds.emplace_back("scan_t1_memory_short_read", Seed(kScanToMemory)
                                                      .Support(1)
                                                      .NoDevice(2)
                                                      .Data(kT1)
                                                      .Good(4)
                                                      .CheckCondition(Sense(0x05, 0x26, 0x00))
                                                      .Good(kT1Preparation - 5)
                                                      .Data(DataStatus(972, 46, 45000))
                                                      .Reply(shortRead)
                                                      .Data(DataStatus(972, 46, 16000), true)
                                                      .Good()
                                                      .Data(DataStatus(972, 46, 0))
                                                      .Good(2));

  // The user asks to stop during the second READ, and in another scan during RESERVE UNIT.
  ScsiReply stoppingRead(SS_COMP);
  stoppingRead.stop = true;
  seeds.emplace_back("scan_t2_file_stopped", T2FileScan()
                                                 .Data(DataStatus(1000, 60, 60000))
                                                 .Good()
                                                 .Data(DataStatus(1000, 60, 31000))
                                                 .Reply(stoppingRead)
                                                 .Data(DataStatus(1000, 60, 2000))
                                                 .Good(2));
  seeds.emplace_back("scan_t1_memory_stopped_in_preparation", Seed(kScanToMemory)
                                                                  .Support(1)
                                                                  .Data(kT1)
                                                                  .Good(2)
                                                                  .Reply(stoppingRead)
                                                                  .Good(kT1Preparation - 1 + 2));

  // A remaining count that does not fall.
  seeds.emplace_back("scan_t2_stuck_counter", T2FileScan()
                                                  .Data(DataStatus(3000, 40, 120000))
                                                  .Good()
                                                  .Data(DataStatus(3000, 40, 120000))
                                                  .Good(2));

  seeds.emplace_back("diag1_lamp", Seed(kDiag1).Support(1).Data(kT2).Good().CheckCondition(
                                       Sense(0x04, 0x60, 0x00)));

  // The scanner's own codes under ASC 80h; sense byte 2 with only the ILI bit set.
  seeds.emplace_back("diag1_cpu", Seed(kDiag1).Support(1).Data(kT2).Good().CheckCondition(
                                      Sense(0x20, 0x80, 0x01)));

  seeds.emplace_back("diag2_gate_array", Seed(kDiag2)
                                             .Support(1)
                                             .Data(kT2)
                                             .Good()
                                             .CheckCondition(Sense(0x04, 0x44, 0x00))
                                             .Data({0x00, 40, 0x00, 0x00, 0x00}));

  Bytes shading(255);
  for (size_t i = 0; i < shading.size(); ++i) shading[i] = static_cast<uint8_t>(i * 7);
  seeds.emplace_back("save_data", Seed(kSave).Support(1).Data(kT2).Good().Data(shading).Data(
                                      {0x01, 0x3E, 0x10, 0x1F}));

  seeds.emplace_back("board_three_adapters",
                     Seed(kBoard)
                         .Support(3)
                         .Data(kT2)
                         .Adapter(AdapterReply(SS_COMP, 7, "ASPI32 MANAGER16", "PCI SCSI BOARD"))
                         .Adapter(AdapterReply(SS_INVALID_HA))
                         .Adapter(AdapterReply(SS_COMP, 5, "ASPI", "\x1b[2J")));

  seeds.emplace_back("info_late", Seed(kInfo)
                                      .Support(2)
                                      .NoDevice(7)
                                      .NoDevice(1)
                                      .Data(InquiryData("DISKCO", "HARD DISK", "0001"))
                                      .Data(kT2, true)
                                      .NoDevice(7)
                                      .NoDevice(2)
                                      .Data(kT2, true));
  return seeds;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  for (const auto& [name, seed] : Seeds()) {
    const std::string path = std::string(argv[1]) + "/" + name;
    if (!seed.WriteTo(path)) {
      std::perror(path.c_str());
      return 1;
    }
  }
  return 0;
}
