// Multi-byte fields of CDBs and parameter lists: most significant byte first.
#ifndef SCAN_FS_SCSI_BYTE_ORDER_H
#define SCAN_FS_SCSI_BYTE_ORDER_H

#include <cstdint>

inline void StoreBigEndian16(uint8_t* at, uint32_t value) {
  at[0] = static_cast<uint8_t>(value >> 8);
  at[1] = static_cast<uint8_t>(value);
}

inline void StoreBigEndian24(uint8_t* at, uint32_t value) {
  at[0] = static_cast<uint8_t>(value >> 16);
  at[1] = static_cast<uint8_t>(value >> 8);
  at[2] = static_cast<uint8_t>(value);
}

inline void StoreBigEndian32(uint8_t* at, uint32_t value) {
  at[0] = static_cast<uint8_t>(value >> 24);
  at[1] = static_cast<uint8_t>(value >> 16);
  at[2] = static_cast<uint8_t>(value >> 8);
  at[3] = static_cast<uint8_t>(value);
}

inline uint32_t LoadBigEndian16(const uint8_t* at) {
  return static_cast<uint32_t>(at[0]) << 8 | at[1];
}

inline uint32_t LoadBigEndian24(const uint8_t* at) {
  return static_cast<uint32_t>(at[0]) << 16 | static_cast<uint32_t>(at[1]) << 8 | at[2];
}

inline uint32_t LoadBigEndian32(const uint8_t* at) {
  return static_cast<uint32_t>(at[0]) << 24 | static_cast<uint32_t>(at[1]) << 16 |
         static_cast<uint32_t>(at[2]) << 8 | at[3];
}

#endif
