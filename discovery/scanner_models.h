// The product identifications of the two supported scanners, compared as whole texts.
#ifndef SCAN_FS_DISCOVERY_SCANNER_MODELS_H
#define SCAN_FS_DISCOVERY_SCANNER_MODELS_H

#include <cstring>

inline constexpr char kProductIdT1[] = "ZR-40113A";  // Tessaline T1
inline constexpr char kProductIdT2[] = "ZR-40123B";  // Tessaline T2

inline bool IsModel(const char* id, const char* model) {
  return std::strcmp(id, model) == 0;
}

#endif
