#include "platform/sg/sg_status.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "scsi/srb.h"

namespace {

struct MappingCase {
  const char* what;
  SgOutcome outcome;
  AspiOutcome expected;
};

constexpr size_t kRoom = 14;

const MappingCase kCases[] = {
    {"good", {0, 0x00, 0x00, 0x00, 0}, {SS_COMP, HASTAT_OK, STATUS_GOOD, 0}},
    {"check condition with sense", {0, 0x02, 0x00, 0x08, 18}, {SS_ERR, 0, STATUS_CHKCOND, kRoom}},
    {"check condition, short sense", {0, 0x02, 0x00, 0x08, 8}, {SS_ERR, 0, STATUS_CHKCOND, 8}},
    {"check condition, no sense", {0, 0x02, 0x00, 0x00, 0}, {SS_ERR, 0, STATUS_CHKCOND, 0}},
    {"busy", {0, 0x08, 0x00, 0x00, 0}, {SS_ERR, HASTAT_OK, STATUS_BUSY, 0}},
    {"reservation conflict", {0, 0x18, 0x00, 0x00, 0}, {SS_ERR, HASTAT_OK, STATUS_RESCONF, 0}},
    {"no connect", {0, 0x00, 0x01, 0x00, 0}, {SS_ERR, HASTAT_SEL_TO, 0, 0}},
    {"bad target", {0, 0x00, 0x04, 0x00, 0}, {SS_ERR, HASTAT_SEL_TO, 0, 0}},
    {"transport lost", {0, 0x00, 0x0F, 0x00, 0}, {SS_ERR, HASTAT_SEL_TO, 0, 0}},
    {"host time-out", {0, 0x00, 0x03, 0x00, 0}, {SS_ERR, HASTAT_COMMAND_TIMEOUT, 0, 0}},
    {"aborted", {0, 0x00, 0x05, 0x00, 0}, {SS_ERR, HASTAT_COMMAND_TIMEOUT, 0, 0}},
    {"driver time-out", {0, 0x00, 0x00, 0x06, 0}, {SS_ERR, HASTAT_COMMAND_TIMEOUT, 0, 0}},
    {"bus busy", {0, 0x00, 0x02, 0x00, 0}, {SS_ERR, HASTAT_TIMEOUT, 0, 0}},
    {"parity", {0, 0x00, 0x06, 0x00, 0}, {SS_ERR, HASTAT_PARITY_ERROR, 0, 0}},
    {"bus reset", {0, 0x00, 0x08, 0x00, 0}, {SS_ERR, HASTAT_BUS_RESET, 0, 0}},
    {"other host error", {0, 0x00, 0x07, 0x00, 0}, {SS_ERR, HASTAT_PHASE_ERR, 0, 0}},
    {"host error wins over status", {0, 0x02, 0x01, 0x08, 18}, {SS_ERR, HASTAT_SEL_TO, 0, 0}},
    {"good status, driver error", {0, 0x00, 0x00, 0x04, 0}, {SS_ERR, HASTAT_OK, 0, 0}},
    {"device gone", {ENODEV, 0, 0, 0, 0}, {SS_ERR, HASTAT_SEL_TO, 0, 0}},
    {"no memory for the buffer", {ENOMEM, 0, 0, 0, 0}, {SS_BUFFER_TOO_BIG, 0, 0, 0}},
    {"refused by the driver", {EINVAL, 0, 0, 0, 0}, {SS_INVALID_SRB, 0, 0, 0}},
    {"other ioctl failure", {EIO, 0, 0, 0, 0}, {SS_ERR, HASTAT_OK, 0, 0}},
};

TEST(SgStatusTest, EveryOutcomeMapsToAFinalStatus) {
  for (const MappingCase& c : kCases) {
    const AspiOutcome mapped = MapSgOutcome(c.outcome, kRoom);
    EXPECT_EQ(mapped.status, c.expected.status) << c.what;
    EXPECT_EQ(mapped.hostStatus, c.expected.hostStatus) << c.what;
    EXPECT_EQ(mapped.targetStatus, c.expected.targetStatus) << c.what;
    EXPECT_EQ(mapped.senseBytes, c.expected.senseBytes) << c.what;
  }
}

}  // namespace
