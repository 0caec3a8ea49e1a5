// The simulated bus and scanner as a WNASPI32.dll for the Windows program: ordinal 1
// GetASPI32SupportInfo and ordinal 2 SendASPI32Command (sim/wnaspi32.def), cdecl. The
// configuration is the text of the environment variable SCAN_FS_SIMULATE, the same text as the
// Linux program's --simulate (unset or empty: one adapter with a T2 at 0:2).
//
// Like a manager that initialises itself when asked for its support information, every call of
// GetASPI32SupportInfo builds a new bus from the variable's current text: a test can start the
// program's window again on another configuration in the same process.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "scsi/srb.h"
#include "sim/sim_config.h"
#include "sim/simulated_bus.h"

namespace {

constexpr char kConfigVariable[] = "SCAN_FS_SIMULATE";

// Never destroyed at exit: the manager's thread must not be joined while the DLL unloads.
SimulatedBus* bus = nullptr;

std::string ConfigText() {
  const DWORD length = GetEnvironmentVariableA(kConfigVariable, nullptr, 0);
  if (length == 0) return {};
  std::string text(length, '\0');
  text.resize(GetEnvironmentVariableA(kConfigVariable, text.data(), length));
  return text;
}

// A new bus from the variable; nullptr, said on standard error, when the text does not parse.
SimulatedBus* NewBus() {
  std::string error;
  const std::optional<SimConfig> config = ParseSimConfig(ConfigText(), error);
  if (!config) {
    std::fprintf(stderr, "WNASPI32 (simulated): %s: %s\n", kConfigVariable, error.c_str());
    return nullptr;
  }
  return new SimulatedBus(*config);
}

}  // namespace

extern "C" uint32_t __cdecl GetASPI32SupportInfo() {
  delete bus;
  bus = NewBus();
  if (bus == nullptr) return static_cast<uint32_t>(SS_FAILED_INIT) << 8;
  return bus->GetSupportInfo();
}

extern "C" uint32_t __cdecl SendASPI32Command(void* requestBlock) {
  if (bus == nullptr) bus = NewBus();
  if (bus == nullptr) {
    static_cast<SRB_Header*>(requestBlock)->SRB_Status = SS_FAILED_INIT;
    return SS_FAILED_INIT;
  }
  return bus->SendCommand(requestBlock);
}
