// One command through the asynchronous interface of a SCSI generic node: the header is written
// once, the answer waited for and read back into the same header. A signal during the wait ends
// only the wait's current round, never resends the command; a second stop signal can then end
// the program at once. The wait has a limit of its own, for a kernel that does not finish a
// command it has given up (its error handling may wait for a device that never answers).
#ifndef SCAN_FS_PLATFORM_SG_SG_EXCHANGE_H
#define SCAN_FS_PLATFORM_SG_SG_EXCHANGE_H

#include <scsi/sg.h>

#include <cstdint>

#include "platform/sg/sg_device_calls.h"

// 0 when the kernel answered (the header holds its account), or -errno. -ETIMEDOUT: no answer
// within `limitMs`; the command is left to the kernel, which drops its answer once the node is
// closed and never writes to the data buffer, whose data in it copies only when read.
int ExchangeWithNode(const SgDeviceCalls& calls, int descriptor, sg_io_hdr_t& header,
                     uint32_t limitMs);

#endif
