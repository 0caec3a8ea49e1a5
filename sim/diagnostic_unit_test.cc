#include "sim/diagnostic_unit.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

DiagnosticSetup ParsedSetup(const std::string& config) {
  std::string error;
  const std::optional<SimConfig> parsed = ParseSimConfig(config, error);
  EXPECT_TRUE(parsed.has_value()) << config << ": " << error;
  return parsed ? parsed->scanner.diagnostics : DiagnosticSetup{};
}

// "ok", or the sense key and ASC of a CHECK CONDITION, or "overrun".
std::string Verdict(const CommandOutcome& outcome) {
  if (outcome.hostAdapterStatus == HASTAT_DO_DU) return "overrun";
  if (outcome.FinalAspiStatus() == SS_COMP) return "ok";
  char text[16];
  std::snprintf(text, sizeof text, "%X/%02X", outcome.sense[2], outcome.sense[12]);
  return text;
}

struct CdbCase {
  Bytes cdb;
  size_t bufferLength;
  const char* verdict;
};

class ReadBufferCdb : public testing::TestWithParam<CdbCase> {};

TEST_P(ReadBufferCdb, IsCheckedStrictly) {
  DiagnosticUnit unit(DiagnosticSetup{});
  Bytes data(GetParam().bufferLength);
  EXPECT_EQ(Verdict(unit.ReadBuffer(GetParam().cdb, data)), GetParam().verdict);
}

INSTANTIATE_TEST_SUITE_P(
    Cdbs, ReadBufferCdb,
    testing::Values(CdbCase{{0x3C, 2, 0xF9, 0, 0, 0, 0, 2, 0, 0}, 512, "ok"},
                    CdbCase{{0x3C, 2, 0xF9, 0, 1, 0xFE, 0, 0, 2, 0}, 2, "ok"},  // the last word
                    CdbCase{{0x3C, 2, 0x05, 0, 0, 0, 0, 0, 4, 0}, 4, "ok"},
                    CdbCase{{0x3C, 2, 0x04, 0, 0, 0, 0, 0, 5, 0}, 5, "ok"},
                    CdbCase{{0x3C, 0, 0xF9, 0, 0, 0, 0, 2, 0, 0}, 512, "5/24"},   // mode
                    CdbCase{{0x3C, 0x22, 0x05, 0, 0, 0, 0, 0, 4, 0}, 4, "5/24"},  // LUN bits
                    CdbCase{{0x3C, 2, 0x06, 0, 0, 0, 0, 0, 4, 0}, 4, "5/24"},     // buffer id
                    CdbCase{{0x3C, 2, 0x04, 0, 0, 0, 0, 0, 6, 0}, 6, "5/24"},     // too long
                    CdbCase{{0x3C, 2, 0x05, 0, 0, 1, 0, 0, 4, 0}, 4, "5/24"},     // offset
                    CdbCase{{0x3C, 2, 0x05, 1, 0, 0, 0, 0, 1, 0}, 4, "5/24"},     // far offset
                    CdbCase{{0x3C, 2, 0x05, 0, 0, 0, 0, 0, 4, 0x80}, 4, "5/24"},  // control
                    CdbCase{{0x3C, 2, 0x05, 0, 0, 0}, 4, "5/24"},                 // 6 bytes
                    CdbCase{{0x3C, 2, 0xF9, 0, 0, 0, 0, 2, 0, 0}, 511, "overrun"}));

TEST(DiagnosticUnitTest, SendDiagnosticKnowsTwoFormsWithoutParameterList) {
  DiagnosticUnit unit(ParsedSetup("selftime=1500,logictime=2500"));
  const std::vector<std::pair<Bytes, const char*>> cases = {
      {{0x1D, 0x04, 0, 0, 0, 0}, "ok"},   {{0x1D, 0x12, 0, 0, 0, 0}, "ok"},
      {{0x1D, 0x00, 0, 0, 0, 0}, "5/24"}, {{0x1D, 0x14, 0, 0, 0, 0}, "5/24"},
      {{0x1D, 0x06, 0, 0, 0, 0}, "5/24"}, {{0x1D, 0x12, 0, 0, 4, 0}, "5/24"},
      {{0x1D, 0x04, 1, 0, 0, 0}, "5/24"}, {{0x1D, 0x04, 0, 0, 0, 0, 0, 0, 0, 0}, "5/24"}};
  for (const auto& [cdb, verdict] : cases) {
    EXPECT_EQ(Verdict(unit.SendDiagnostic(cdb, {})), verdict) << int(cdb[1]);
  }
  EXPECT_EQ(unit.SendDiagnostic(cases[0].first, {}).busyTime.count(), 1500);
  EXPECT_EQ(unit.SendDiagnostic(cases[1].first, {}).busyTime.count(), 2500);
}

TEST(DiagnosticUnitTest, SelfTestOutcomes) {
  const Bytes selfTest = {0x1D, 0x04, 0, 0, 0, 0};
  EXPECT_EQ(Verdict(DiagnosticUnit(ParsedSetup("selftest=pass")).SendDiagnostic(selfTest, {})),
            "ok");
  EXPECT_EQ(Verdict(DiagnosticUnit(ParsedSetup("selftest=fail")).SendDiagnostic(selfTest, {})),
            "4/60");
  const CommandOutcome chosen =
      DiagnosticUnit(ParsedSetup("selftest=fail:24:80:06")).SendDiagnostic(selfTest, {});
  EXPECT_EQ(Verdict(chosen), "24/80");
  EXPECT_EQ(chosen.sense[13], 0x06);
  const CommandOutcome silent =
      DiagnosticUnit(ParsedSetup("selftest=fail:none")).SendDiagnostic(selfTest, {});
  EXPECT_EQ(silent.targetStatus, STATUS_CHKCOND);
  EXPECT_EQ(silent.sense, (std::array<uint8_t, 18>{}));
}

TEST(DiagnosticUnitTest, ResultBlockHoldsTheCodeOfTheLastLogicTestUntilAReset) {
  DiagnosticUnit unit(ParsedSetup("logictest=40"));
  const Bytes readResult = {0x3C, 2, 0x04, 0, 0, 0, 0, 0, 5, 0};
  Bytes block(5, 0xEE);
  ASSERT_EQ(Verdict(unit.ReadBuffer(readResult, block)), "ok");
  EXPECT_EQ(block, Bytes(5, 0));
  EXPECT_EQ(Verdict(unit.SendDiagnostic(Bytes{0x1D, 0x12, 0, 0, 0, 0}, {})), "4/44");
  unit.ReadBuffer(readResult, block);
  EXPECT_EQ(block, (Bytes{0, 40, 0, 0, 0}));
  unit.Reset();
  unit.ReadBuffer(readResult, block);
  EXPECT_EQ(block, Bytes(5, 0));
}

TEST(DiagnosticUnitTest, BuffersArePlausibleAndCanBeSetOrMadeToFail) {
  DiagnosticUnit plain(DiagnosticSetup{});
  Bytes calibration(512);
  plain.ReadBuffer(Bytes{0x3C, 2, 0xF9, 0, 0, 0, 0, 2, 0, 0}, calibration);
  for (size_t k = 0; k < 256; ++k) {
    const int word = calibration[2 * k] | calibration[2 * k + 1] << 8;
    EXPECT_TRUE(word > 12000 && word < 17000) << k;
  }
  EXPECT_NE(calibration[0], calibration[256]);

  DiagnosticUnit set(ParsedSetup("bufdata=05:1:abcd,bufferfail=f9:04:11,bufferfail=04:04:00:none"));
  Bytes pair(4);
  set.ReadBuffer(Bytes{0x3C, 2, 0x05, 0, 0, 0, 0, 0, 4, 0}, pair);
  EXPECT_EQ(pair[1], 0xAB);
  EXPECT_EQ(pair[2], 0xCD);
  const CommandOutcome timeout =
      set.ReadBuffer(Bytes{0x3C, 2, 0xF9, 0, 0, 0, 0, 2, 0, 0}, calibration);
  EXPECT_EQ(timeout.FinalAspiStatus(), SS_ERR);
  EXPECT_EQ(timeout.hostAdapterStatus, HASTAT_SEL_TO);
  EXPECT_EQ(set.ReadBuffer(Bytes{0x3C, 2, 0x04, 0, 0, 0, 0, 0, 5, 0}, pair).targetStatus,
            STATUS_CHKCOND);
}

TEST(DiagnosticUnitTest, ConfigurationErrors) {
  for (const char* wrong :
       {"selftest=maybe", "selftest=fail:04:60", "selftest=pass:1", "logictest=256",
        "selftime=600001", "bufdata=06:0:00", "bufdata=05:3:0000", "bufdata=05:0:123",
        "bufdata=05:0:zz", "bufferfail=07", "bufferfail=05:00"}) {
    std::string error;
    EXPECT_FALSE(ParseSimConfig(wrong, error).has_value()) << wrong;
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
