// The simulated bus and scanner as described by a short configuration text: comma-separated
// items "key=value" (fields of a value separated by ':'; "\xHH", "\," and "\:" escape bytes).
// The README documents every key.
#ifndef SCAN_FS_SIM_SIM_CONFIG_H
#define SCAN_FS_SIM_SIM_CONFIG_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scsi/srb.h"

enum class ScannerModel { kNone, kT1, kT2 };

struct AdapterSetup {
  uint8_t inquiryStatus = SS_COMP;  // what a host adapter inquiry of it ends with
  uint8_t scsiId = 7;
  std::string managerId = "Sim ASPI Manager";
  std::string identifier;  // default "Sim SCSI Host N"
};

struct OtherDevice {
  uint8_t adapter = 0;
  uint8_t target = 0;
  std::string product;
  std::string vendor = "OTHERCO";
  std::string revision = "1.0";
};

// A target whose requests fail in the transport: selection timeout or another ASPI status.
struct TargetFailure {
  uint8_t adapter = 0;
  uint8_t target = 0;
  uint8_t aspiStatus = SS_ERR;
  uint8_t hostAdapterStatus = HASTAT_OK;
};

// Makes a scanner command fail instead of running: every time, only the n-th time, or from the
// n-th time on (counting that command's operation code from 1).
struct CommandFault {
  uint8_t operationCode = 0;
  uint32_t occurrence = 0;  // 0: every time
  bool andLater = false;
  uint8_t aspiStatus = SS_ERR;
  uint8_t hostAdapterStatus = HASTAT_OK;
  bool withSense = true;  // SS_ERR with host adapter status 0: CHECK CONDITION with this sense
  uint8_t senseKey = 0x4;
  uint8_t asc = 0x44;
  uint8_t ascq = 0x00;
};

// Faults of the scanner's imaging that show in the image data only (sim/planted_defects.h).
// Places and sizes are in the scanner's optical units (1/2720 inch from the window's top left),
// so that one configuration plants the same defect at every resolution.
enum class PlantedChannel { kRed, kGreen, kBlue, kAll };

// An element of the line sensor that reads 0 or another level (dead), full scale or another
// level (stuck), or an offset in levels from the truth (weak: below it, strong: above it).
struct PlantedColumn {
  enum class Kind { kDead, kStuck, kWeak, kStrong } kind = Kind::kDead;
  uint32_t first = 0;  // sensor element
  uint32_t width = 1;  // elements
  PlantedChannel channel = PlantedChannel::kAll;
  int level = 0;  // dead, stuck: the level read; weak, strong: the offset in levels
};

// Lines that a stepping or transport fault exposes differently: an offset in levels.
struct PlantedBand {
  uint32_t first = 0;  // line, in 1/2720 inch
  uint32_t lines = 1;
  int offset = 0;
  PlantedChannel channel = PlantedChannel::kAll;
};

struct PlantedDefects {
  std::vector<PlantedColumn> columns;
  std::vector<PlantedBand> bands;
  int channelPercent[3] = {100, 100, 100};  // a dim lamp or filter: the share a channel keeps
  int grainSigma = 0;                       // film grain: standard deviation in levels
  uint32_t grainSeed = 1;

  bool any() const {
    return !columns.empty() || !bands.empty() || grainSigma > 0 || channelPercent[0] != 100 ||
           channelPercent[1] != 100 || channelPercent[2] != 100;
  }
};

// How the scanner scans and transfers its image.
struct ScanSetup {
  // The image's size in bytes per line and lines, instead of the size the window gives.
  std::optional<uint32_t> bytesPerLine;
  std::optional<uint32_t> lines;
  // READs that deliver `shortBy` bytes fewer than asked: every one (occurrence 0) or the n-th.
  uint32_t shortBy = 0;
  uint32_t shortReadOccurrence = 0;
  // What GET DATA BUFFER STATUS reports as the bytes remaining, instead of the truth: a fixed
  // count, or the count of the report before (a counter that is stuck). Every time, only the
  // n-th report, or from the n-th on.
  std::optional<uint32_t> reportedRemaining;
  bool remainingStuck = false;
  uint32_t remainingOccurrence = 0;
  bool remainingAndLater = false;
  // How long SCAN and each READ keep the scanner busy, in milliseconds.
  int scanTimeMs = 0;
  int readTimeMs = 0;
  PlantedDefects defects;
};

// Bytes laid over the power-on contents of one of the scanner's buffers.
struct BufferPatch {
  uint8_t bufferId = 0;
  size_t offset = 0;
  std::string bytes;
};

// A READ BUFFER of one buffer failing instead of running, as a CommandFault does.
struct BufferReadFault {
  uint8_t bufferId = 0;
  CommandFault fault;
};

// What the scanner's self-tests report and what its buffers hold.
struct DiagnosticSetup {
  // The built-in self-test passes, or ends with CHECK CONDITION and this sense data (or none
  // written when selfTestSense is off).
  bool selfTestPasses = true;
  bool selfTestSense = true;
  uint8_t selfTestKey = 0x4;   // HARDWARE ERROR
  uint8_t selfTestAsc = 0x60;  // lamp failure
  uint8_t selfTestAscq = 0x00;
  int selfTestMs = 5;  // how long the scanner works on it
  // The memory and logic test leaves this code in byte 1 of buffer 04h; 0 means no fault.
  uint8_t logicTestResult = 0;
  int logicTestMs = 5;
  std::vector<BufferPatch> bufferPatches;
  std::vector<BufferReadFault> bufferFaults;
};

struct ScannerSetup {
  ScannerModel model = ScannerModel::kT2;
  uint8_t adapter = 0;
  uint8_t target = 2;
  std::optional<std::string> vendor;    // default "QUORVEL"
  std::optional<std::string> product;   // default the model's identification
  std::optional<std::string> revision;  // default the model's firmware
  int inquiryLength = 36;               // bytes of INQUIRY data the scanner returns
  bool unitAttention = true;            // after power-on and reset, until reported once
  std::vector<CommandFault> faults;
  ScanSetup scan;
  DiagnosticSetup diagnostics;
};

struct SimConfig {
  uint8_t supportStatus = SS_COMP;  // status of GetASPI32SupportInfo
  int adapterCount = 1;
  std::vector<AdapterSetup> adapters;  // indexed by adapter number, filled to adapterCount
  std::vector<OtherDevice> devices;
  std::vector<TargetFailure> targetFailures;
  // Requests complete from the manager's thread after this many milliseconds; without it they
  // complete before SendASPI32Command returns (unless the device works for a while).
  std::optional<int> lateCompletionMs;
  ScannerSetup scanner;
};

// Parses `text` (may be empty: one adapter with a T2 at 0:2). On a fault returns nothing and
// describes it in `error`.
std::optional<SimConfig> ParseSimConfig(std::string_view text, std::string& error);

// The keys of every item, in alphabetical order (for --help and the shell's completion).
std::vector<std::string> SimConfigItemNames();

// Operation code of a command name of the configuration ("tur", "read", ...) or of a hex code.
std::optional<uint8_t> OperationCodeByName(std::string_view name);

#endif
