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

// "ok", "overrun", or the sense key and ASC of a CHECK CONDITION.
std::string Verdict(const CommandOutcome& outcome) {
  if (outcome.hostAdapterStatus == HASTAT_DO_DU) return "overrun";
  if (outcome.FinalAspiStatus() == SS_COMP) return "ok";
  char text[16];
  std::snprintf(text, sizeof text, "%X/%02X", outcome.sense[2], outcome.sense[12]);
  return text;
}

TEST(DiagnosticUnitTest, ReadBufferChecksItsCdbStrictly) {
  const std::vector<std::tuple<Bytes, size_t, const char*>> cases = {
      {{0x3C, 2, 0xF9, 0, 1, 0xFE, 0, 0, 2, 0}, 2, "ok"},      // the last word
      {{0x3C, 0, 0xF9, 0, 0, 0, 0, 2, 0, 0}, 512, "5/24"},     // mode
      {{0x3C, 0x22, 0x05, 0, 0, 0, 0, 0, 4, 0}, 4, "5/24"},    // logical unit
      {{0x3C, 2, 0x06, 0, 0, 0, 0, 0, 4, 0}, 4, "5/24"},       // buffer id
      {{0x3C, 2, 0x04, 0, 0, 0, 0, 0, 6, 0}, 6, "5/24"},       // past the end
      {{0x3C, 2, 0x05, 1, 0, 0, 0, 0, 1, 0}, 4, "5/24"},       // far offset
      {{0x3C, 2, 0x05, 0, 0, 0, 0, 0, 4, 0x80}, 4, "5/24"},    // control byte
      {{0x3C, 2, 0xF9, 0, 0, 0, 0, 2, 0, 0}, 511, "overrun"},  // request buffer too small
  };
  DiagnosticUnit unit(DiagnosticSetup{});
  for (const auto& [cdb, bufferLength, verdict] : cases) {
    Bytes data(bufferLength);
    EXPECT_EQ(Verdict(unit.ReadBuffer(cdb, data)), verdict) << int(cdb[1]) << " " << int(cdb[2]);
  }
}

TEST(DiagnosticUnitTest, SendDiagnosticKnowsTwoFormsWithoutParameterList) {
  DiagnosticUnit unit(ParsedSetup("selftime=1500,logictime=2500"));
  const std::vector<std::pair<Bytes, const char*>> cases = {
      {{0x1D, 0x04, 0, 0, 0, 0}, "ok"},   {{0x1D, 0x12, 0, 0, 0, 0}, "ok"},
      {{0x1D, 0x14, 0, 0, 0, 0}, "5/24"}, {{0x1D, 0x06, 0, 0, 0, 0}, "5/24"},
      {{0x1D, 0x12, 0, 0, 4, 0}, "5/24"}, {{0x1D, 0x04, 0, 0, 0, 0, 0, 0, 0, 0}, "5/24"}};
  for (const auto& [cdb, verdict] : cases) {
    EXPECT_EQ(Verdict(unit.SendDiagnostic(cdb, {})), verdict) << int(cdb[1]);
  }
  EXPECT_EQ(unit.SendDiagnostic(cases[0].first, {}).busyTime.count(), 1500);
  EXPECT_EQ(unit.SendDiagnostic(cases[1].first, {}).busyTime.count(), 2500);
}

TEST(DiagnosticUnitTest, ResultBlockHoldsTheLastLogicTestsCodeUntilAReset) {
  DiagnosticUnit unit(ParsedSetup("logictest=40"));
  const Bytes readResult = {0x3C, 2, 0x04, 0, 0, 0, 0, 0, 5, 0};
  Bytes block(5);
  EXPECT_EQ(Verdict(unit.SendDiagnostic(Bytes{0x1D, 0x12, 0, 0, 0, 0}, {})), "4/44");
  unit.ReadBuffer(readResult, block);
  EXPECT_EQ(block, (Bytes{0, 40, 0, 0, 0}));
  unit.Reset();
  unit.ReadBuffer(readResult, block);
  EXPECT_EQ(block, Bytes(5, 0));
}

TEST(DiagnosticUnitTest, BuffersArePlausibleAndCanBeSetOrMadeToFail) {
  Bytes calibration(512);
  DiagnosticUnit(DiagnosticSetup{})
      .ReadBuffer(Bytes{0x3C, 2, 0xF9, 0, 0, 0, 0, 2, 0, 0}, calibration);
  for (size_t k = 0; k < 256; ++k) {
    const int word = calibration[2 * k] | calibration[2 * k + 1] << 8;
    EXPECT_TRUE(word > 12000 && word < 17000) << k;
  }
  EXPECT_NE(calibration[0], calibration[256]);

  DiagnosticUnit unit(ParsedSetup("bufdata=05:1:abcd,bufferfail=f9:04:11"));
  Bytes pair(4);
  unit.ReadBuffer(Bytes{0x3C, 2, 0x05, 0, 0, 0, 0, 0, 4, 0}, pair);
  EXPECT_EQ(pair, (Bytes{0x01, 0xAB, 0xCD, 0x1F}));
  const CommandOutcome timeout =
      unit.ReadBuffer(Bytes{0x3C, 2, 0xF9, 0, 0, 0, 0, 2, 0, 0}, calibration);
  EXPECT_EQ(timeout.FinalAspiStatus(), SS_ERR);
  EXPECT_EQ(timeout.hostAdapterStatus, HASTAT_SEL_TO);

  for (const char* wrong : {"selftest=fail:04:60", "logictest=256", "bufdata=06:0:00",
                            "bufdata=05:3:0000", "bufdata=05:0:123", "bufferfail=05:00"}) {
    std::string error;
    EXPECT_FALSE(ParseSimConfig(wrong, error).has_value()) << wrong;
  }
}

}  // namespace
