#include "sim/tcmu/tcmu_layout.h"

#include <linux/target_core_user.h>

const struct TcmuLayout kTcmuLayout = {
    .mailboxSize = sizeof(struct tcmu_mailbox),
    .mailboxVersion = TCMU_MAILBOX_VERSION,
    .versionOffset = offsetof(struct tcmu_mailbox, version),
    .flagsOffset = offsetof(struct tcmu_mailbox, flags),
    .ringOffsetOffset = offsetof(struct tcmu_mailbox, cmdr_off),
    .ringSizeOffset = offsetof(struct tcmu_mailbox, cmdr_size),
    .headOffset = offsetof(struct tcmu_mailbox, cmd_head),
    .tailOffset = offsetof(struct tcmu_mailbox, cmd_tail),
    .canReturnLength = TCMU_MAILBOX_FLAG_CAP_READ_LEN,

    .alignment = TCMU_OP_ALIGN_SIZE,
    .operationMask = TCMU_OP_MASK,
    .commandOperation = TCMU_OP_CMD,
    .entrySize = sizeof(struct tcmu_cmd_entry),
    .userFlagsOffset = offsetof(struct tcmu_cmd_entry, hdr.uflags),
    .returnLengthFlag = TCMU_UFLAG_READ_LEN,
    .segmentCountOffset = offsetof(struct tcmu_cmd_entry, req.iov_cnt),
    .cdbOffsetOffset = offsetof(struct tcmu_cmd_entry, req.cdb_off),
    .segmentListOffset = offsetof(struct tcmu_cmd_entry, req.iov),
    .segmentSize = sizeof(struct iovec),
    .segmentBaseOffset = offsetof(struct iovec, iov_base),
    .segmentLengthOffset = offsetof(struct iovec, iov_len),
    .statusOffset = offsetof(struct tcmu_cmd_entry, rsp.scsi_status),
    .returnLengthOffset = offsetof(struct tcmu_cmd_entry, rsp.read_len),
    .senseOffset = offsetof(struct tcmu_cmd_entry, rsp.sense_buffer),
    .senseSize = TCMU_SENSE_BUFFERSIZE,
};
