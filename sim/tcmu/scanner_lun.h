// The simulated scanner as the logical unit behind the kernel's SCSI target: the same device as
// on the simulated bus, reached through the ring instead.
//
// While the kernel attaches the unit, the unit answers the kernel's own identification commands
// (INQUIRY, TEST UNIT READY) from the scanner's INQUIRY data without reaching the scanner, so
// that the program then meets the scanner as after power-on: no command counted, its unit
// attention still pending.
#ifndef SCAN_FS_SIM_TCMU_SCANNER_LUN_H
#define SCAN_FS_SIM_TCMU_SCANNER_LUN_H

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "sim/command_outcome.h"
#include "sim/sim_config.h"
#include "sim/tcmu/tcmu_ring.h"
#include "sim/virtual_scanner.h"

class ScannerLun {
 public:
  explicit ScannerLun(const ScannerSetup& setup);
  // `cdb` may hold more bytes than the command's CDB: the kernel lays out vendor commands by
  // their group. The device works for the command's busy time before it answers.
  TargetReply Execute(std::span<const uint8_t> cdb, std::span<uint8_t> data);
  // The kernel has attached the unit: from now on every command reaches the scanner.
  void EndAttach() { attaching_ = false; }
  const VirtualScanner& scanner() const { return scanner_; }

 private:
  CommandOutcome Attaching(std::span<const uint8_t> cdb, std::span<uint8_t> data) const;

  VirtualScanner scanner_;
  InquiryData inquiry_;
  bool attaching_ = true;
};

// How many bytes of a CDB with this operation code the scanner takes.
size_t ScannerCdbLength(uint8_t operationCode);

// The reply carrying `outcome` through the ring, which can only carry a SCSI status.
TargetReply ReplyFor(const CommandOutcome& outcome);

// A configuration the unit can serve: only the scanner's own items, and faults the scanner
// answers with a SCSI status. The bus, its other devices and faults of the transport are the
// kernel's; on a refusal `error` names the item.
bool CheckServedConfig(const SimConfig& config, std::string& error);

#endif
