// ASPI for Win32 request blocks in their published, byte-packed layout, and the constants the
// program and the managers use with them. On 32-bit Windows the blocks are 60, 80 and 64 bytes;
// 64-bit builds (Linux and 64-bit Windows) carry pointer-sized pointers, pinned below as well.
#ifndef SCAN_FS_SCSI_SRB_H
#define SCAN_FS_SCSI_SRB_H

#include <cstddef>
#include <cstdint>

// SRB_Cmd
inline constexpr uint8_t SC_HA_INQUIRY = 0x00;
inline constexpr uint8_t SC_GET_DEV_TYPE = 0x01;
inline constexpr uint8_t SC_EXEC_SCSI_CMD = 0x02;
inline constexpr uint8_t SC_ABORT_SRB = 0x03;
inline constexpr uint8_t SC_RESET_DEV = 0x04;

// SRB_Status
inline constexpr uint8_t SS_PENDING = 0x00;
inline constexpr uint8_t SS_COMP = 0x01;
inline constexpr uint8_t SS_ABORTED = 0x02;
inline constexpr uint8_t SS_ABORT_FAIL = 0x03;
inline constexpr uint8_t SS_ERR = 0x04;
inline constexpr uint8_t SS_INVALID_CMD = 0x80;
inline constexpr uint8_t SS_INVALID_HA = 0x81;
inline constexpr uint8_t SS_NO_DEVICE = 0x82;
inline constexpr uint8_t SS_INVALID_SRB = 0xE0;
inline constexpr uint8_t SS_FAILED_INIT = 0xE4;
inline constexpr uint8_t SS_ASPI_IS_BUSY = 0xE5;
inline constexpr uint8_t SS_BUFFER_TOO_BIG = 0xE6;
inline constexpr uint8_t SS_NO_ADAPTERS = 0xE8;

// SRB_Flags
inline constexpr uint8_t SRB_POSTING = 0x01;
inline constexpr uint8_t SRB_ENABLE_RESIDUAL_COUNT = 0x04;
inline constexpr uint8_t SRB_DIR_IN = 0x08;
inline constexpr uint8_t SRB_DIR_OUT = 0x10;
inline constexpr uint8_t SRB_EVENT_NOTIFY = 0x40;

// SRB_HaStat
inline constexpr uint8_t HASTAT_OK = 0x00;
inline constexpr uint8_t HASTAT_TIMEOUT = 0x09;
inline constexpr uint8_t HASTAT_COMMAND_TIMEOUT = 0x0B;
inline constexpr uint8_t HASTAT_MESSAGE_REJECT = 0x0D;
inline constexpr uint8_t HASTAT_BUS_RESET = 0x0E;
inline constexpr uint8_t HASTAT_PARITY_ERROR = 0x0F;
inline constexpr uint8_t HASTAT_REQUEST_SENSE_FAILED = 0x10;
inline constexpr uint8_t HASTAT_SEL_TO = 0x11;
inline constexpr uint8_t HASTAT_DO_DU = 0x12;
inline constexpr uint8_t HASTAT_BUS_FREE = 0x13;
inline constexpr uint8_t HASTAT_PHASE_ERR = 0x14;

// SRB_TargStat (SCSI status byte)
inline constexpr uint8_t STATUS_GOOD = 0x00;
inline constexpr uint8_t STATUS_CHKCOND = 0x02;
inline constexpr uint8_t STATUS_BUSY = 0x08;
inline constexpr uint8_t STATUS_RESCONF = 0x18;

inline constexpr int SENSE_LEN = 14;

#pragma pack(push, 1)

struct SRB_HAInquiry {
  uint8_t SRB_Cmd;
  uint8_t SRB_Status;
  uint8_t SRB_HaId;
  uint8_t SRB_Flags;
  uint32_t SRB_Hdr_Rsvd;
  uint8_t HA_Count;
  uint8_t HA_SCSI_ID;
  uint8_t HA_ManagerId[16];
  uint8_t HA_Identifier[16];
  uint8_t HA_Unique[16];
  uint16_t HA_Rsvd1;
};

struct SRB_ExecSCSICmd {
  uint8_t SRB_Cmd;
  uint8_t SRB_Status;
  uint8_t SRB_HaId;
  uint8_t SRB_Flags;
  uint32_t SRB_Hdr_Rsvd;
  uint8_t SRB_Target;
  uint8_t SRB_Lun;
  uint16_t SRB_Rsvd1;
  uint32_t SRB_BufLen;
  uint8_t* SRB_BufPointer;
  uint8_t SRB_SenseLen;
  uint8_t SRB_CDBLen;
  uint8_t SRB_HaStat;
  uint8_t SRB_TargStat;
  void* SRB_PostProc;
  uint8_t SRB_Rsvd2[20];  // 20 bytes in every build: only the two pointers widen on 64-bit
  uint8_t CDBByte[16];
  uint8_t SenseArea[SENSE_LEN + 2];
};

struct SRB_BusDeviceReset {
  uint8_t SRB_Cmd;
  uint8_t SRB_Status;
  uint8_t SRB_HaId;
  uint8_t SRB_Flags;
  uint32_t SRB_Hdr_Rsvd;
  uint8_t SRB_Target;
  uint8_t SRB_Lun;
  uint8_t SRB_Rsvd1[12];
  uint8_t SRB_HaStat;
  uint8_t SRB_TargStat;
  void* SRB_PostProc;
  uint8_t SRB_Rsvd2[36];
};

#pragma pack(pop)

// The header common to every block: enough for a manager to tell which block it was given.
struct SRB_Header {
  uint8_t SRB_Cmd;
  uint8_t SRB_Status;
  uint8_t SRB_HaId;
  uint8_t SRB_Flags;
  uint32_t SRB_Hdr_Rsvd;
};

// Layout checks. Fields up to the first pointer sit at the same place in every build.
static_assert(offsetof(SRB_HAInquiry, SRB_Cmd) == 0);
static_assert(offsetof(SRB_HAInquiry, SRB_Status) == 1);
static_assert(offsetof(SRB_HAInquiry, SRB_HaId) == 2);
static_assert(offsetof(SRB_HAInquiry, SRB_Flags) == 3);
static_assert(offsetof(SRB_HAInquiry, SRB_Hdr_Rsvd) == 4);
static_assert(offsetof(SRB_HAInquiry, HA_Count) == 8);
static_assert(offsetof(SRB_HAInquiry, HA_SCSI_ID) == 9);
static_assert(offsetof(SRB_HAInquiry, HA_ManagerId) == 10);
static_assert(offsetof(SRB_HAInquiry, HA_Identifier) == 26);
static_assert(offsetof(SRB_HAInquiry, HA_Unique) == 42);
static_assert(offsetof(SRB_HAInquiry, HA_Rsvd1) == 58);
static_assert(sizeof(SRB_HAInquiry) == 60);

static_assert(offsetof(SRB_ExecSCSICmd, SRB_Cmd) == 0);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_Status) == 1);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_HaId) == 2);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_Flags) == 3);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_Hdr_Rsvd) == 4);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_Target) == 8);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_Lun) == 9);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_Rsvd1) == 10);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_BufLen) == 12);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_BufPointer) == 16);

static_assert(offsetof(SRB_BusDeviceReset, SRB_Target) == 8);
static_assert(offsetof(SRB_BusDeviceReset, SRB_Lun) == 9);
static_assert(offsetof(SRB_BusDeviceReset, SRB_Rsvd1) == 10);
static_assert(offsetof(SRB_BusDeviceReset, SRB_HaStat) == 22);
static_assert(offsetof(SRB_BusDeviceReset, SRB_TargStat) == 23);
static_assert(offsetof(SRB_BusDeviceReset, SRB_PostProc) == 24);

static_assert(sizeof(void*) == 4 || sizeof(void*) == 8);
inline constexpr size_t kPointerGrowth = sizeof(void*) - 4;  // 0 on 32-bit, 4 on 64-bit

static_assert(offsetof(SRB_ExecSCSICmd, SRB_SenseLen) == 20 + kPointerGrowth);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_CDBLen) == 21 + kPointerGrowth);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_HaStat) == 22 + kPointerGrowth);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_TargStat) == 23 + kPointerGrowth);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_PostProc) == 24 + kPointerGrowth);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_Rsvd2) == 28 + 2 * kPointerGrowth);
static_assert(offsetof(SRB_ExecSCSICmd, CDBByte) == 48 + 2 * kPointerGrowth);
static_assert(offsetof(SRB_ExecSCSICmd, SenseArea) == 64 + 2 * kPointerGrowth);
static_assert(sizeof(SRB_ExecSCSICmd) == 80 + 2 * kPointerGrowth);

static_assert(offsetof(SRB_BusDeviceReset, SRB_Rsvd2) == 28 + kPointerGrowth);
static_assert(sizeof(SRB_BusDeviceReset) == 64 + kPointerGrowth);

static_assert(sizeof(SRB_Header) == 8);

#endif
