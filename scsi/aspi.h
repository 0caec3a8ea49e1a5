// Seam: the two entry points of the ASPI manager (WNASPI32 ordinals 1 and 2), cdecl, returning
// 32 bits. A port provides both: Win32 loads WNASPI32.DLL; Linux forwards to the SCSI generic
// manager or to the simulated bus chosen at start.
#ifndef SCAN_FS_SCSI_ASPI_H
#define SCAN_FS_SCSI_ASPI_H

#include <cstdint>

// Bits 8-15: status (SS_COMP when the manager works); bits 0-7: number of host adapters.
uint32_t GetASPI32SupportInfo();
// Takes the address of one request block. A host adapter inquiry is complete on return (its
// status in the low 8 bits); other requests complete when their SRB_Status leaves SS_PENDING,
// possibly later and from another thread.
uint32_t SendASPI32Command(void* requestBlock);

#endif
