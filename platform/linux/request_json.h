// The line of the request trace (--trace FILE) that describes one completed request block:
//   SCSI request: cmd, ha, target, lun, flags, buflen, cdb (hex, SRB_CDBLen bytes), out (hex of
//   the whole buffer, for commands that send data), in (hex of the data received, up to 512
//   bytes) or in_len (when more), status, hastat, targstat, sense (hex, when status is not 01h).
//   Host adapter inquiry: cmd, ha, status, and when it succeeded scsi_id, manager, identifier.
//   Bus device reset: cmd, ha, target, lun, status, hastat.
#ifndef SCAN_FS_PLATFORM_LINUX_REQUEST_JSON_H
#define SCAN_FS_PLATFORM_LINUX_REQUEST_JSON_H

#include <cstdint>
#include <string>

// The JSON line (without its line feed) for a completed request block.
std::string DescribeRequest(const void* requestBlock, uint8_t status);

#endif
