// The ASPI entry points on Windows: WNASPI32.DLL loaded at first use, its functions resolved by
// ordinal (1 GetASPI32SupportInfo, 2 SendASPI32Command).
#include <windows.h>

#include "scsi/aspi.h"
#include "scsi/srb.h"

namespace {

using SupportInfoFunction = DWORD(__cdecl*)();
using SendCommandFunction = DWORD(__cdecl*)(void*);

struct AspiFunctions {
  SupportInfoFunction supportInfo = nullptr;
  SendCommandFunction sendCommand = nullptr;
};

const AspiFunctions& Functions() {
  static const AspiFunctions functions = [] {
    AspiFunctions loaded;
    if (HMODULE module = LoadLibraryA("WNASPI32.DLL")) {
      loaded.supportInfo = reinterpret_cast<SupportInfoFunction>(
          reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(1))));
      loaded.sendCommand = reinterpret_cast<SendCommandFunction>(
          reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(2))));
    }
    return loaded;
  }();
  return functions;
}

}  // namespace

uint32_t GetASPI32SupportInfo() {
  if (Functions().supportInfo == nullptr) return static_cast<uint32_t>(SS_FAILED_INIT) << 8;
  return Functions().supportInfo();
}

uint32_t SendASPI32Command(void* requestBlock) {
  if (Functions().sendCommand == nullptr) {
    // Without the manager every request still ends, with a failure.
    static_cast<SRB_Header*>(requestBlock)->SRB_Status = SS_FAILED_INIT;
    return SS_FAILED_INIT;
  }
  return Functions().sendCommand(requestBlock);
}
