// The limits of the inspection, each just missed and just passed, on the simulator's negative at
// 340 dpi with a defect painted into it.
#include "inspection/image_inspector.h"

#include <gtest/gtest.h>

#include <functional>

#include "inspection/report_text.h"
#include "sim/negative_image.h"

namespace {

constexpr uint32_t kWidth = 324, kLines = 486;
constexpr int kRed = 0, kGreen = 1, kBlue = 2;

// Changes the samples of row y (red, green, blue of each pixel).
using Painter = std::function<void(uint32_t y, uint8_t* row)>;

// "KIND CHANNEL FIRST-LAST" of each finding.
std::vector<std::string> Findings(const Painter& paint) {
  NegativeImage image(3 * kWidth, kLines);
  ImageInspector inspector;
  inspector.Begin(kWidth, kLines, 340, false);
  std::vector<uint8_t> row(3 * kWidth);
  for (uint32_t y = 0; y < kLines; ++y) {
    image.Read(uint64_t{y} * row.size(), row.data(), row.size());
    paint(y, row.data());
    inspector.AddRow(row.data());
  }
  const InspectionReport report = inspector.End();
  EXPECT_TRUE(report.judged);
  std::vector<std::string> found;
  for (const Finding& finding : report.findings) {
    found.push_back(std::string(FindingName(finding.kind)) + " " + ChannelName(finding.channel) +
                    " " + std::to_string(finding.first) + "-" + std::to_string(finding.last));
  }
  return found;
}

// Column x of `channel` changed over the rows before `share` of the frame's length.
Painter Column(uint32_t x, int channel, std::function<int(int)> change, double share = 1) {
  return [=](uint32_t y, uint8_t* row) {
    if (y < share * kLines)
      row[3 * x + channel] = static_cast<uint8_t>(change(row[3 * x + channel]));
  };
}

// Rows first and first + 1 of `channel` raised by `offset` over the columns before `share`.
Painter Band(uint32_t first, int channel, int offset, double share = 1) {
  return [=](uint32_t y, uint8_t* row) {
    if (y != first && y != first + 1) return;
    for (uint32_t x = 0; x < share * kWidth; ++x) row[3 * x + channel] += offset;
  };
}

Painter Scaled(int channel, double factor) {
  return [=](uint32_t, uint8_t* row) {
    for (uint32_t x = 0; x < kWidth; ++x) {
      row[3 * x + channel] = static_cast<uint8_t>(row[3 * x + channel] * factor + 0.5);
    }
  };
}

// A square of `side` pixels of red at 0: side 38 is 0.92 % of the frame, 42 is 1.12 %.
Painter ZeroPatch(uint32_t side) {
  return [=](uint32_t y, uint8_t* row) {
    if (y < 300 || y >= 300 + side) return;
    for (uint32_t x = 150; x < 150 + side; ++x) row[3 * x] = 0;
  };
}

int Offset(int levels, int value) {
  return value + levels;
}

TEST(ImageInspectorTest, EachLimitJustMissedAndJustPassed) {
  using namespace std::placeholders;
  const std::vector<std::tuple<const char*, Painter, std::vector<std::string>>> cases = {
      {"clean", [](uint32_t, uint8_t*) {}, {}},
      // A column counts from 4 levels off its neighbours, over 75 % of the length.
      {"column 3 below", Column(100, kBlue, std::bind(Offset, -3, _1)), {}},
      {"column 5 below", Column(100, kBlue, std::bind(Offset, -5, _1)), {"weak blue 100-100"}},
      {"column 5 above", Column(100, kBlue, std::bind(Offset, 5, _1)), {"strong blue 100-100"}},
      {"column over 62 %", Column(150, kGreen, std::bind(Offset, 20, _1), 0.62), {}},
      {"column over 88 %",
       Column(150, kGreen, std::bind(Offset, 20, _1), 0.88),
       {"strong green 150-150"}},
      // Dead up to level 8, stuck from 247.
      {"column at 8", Column(200, kRed, [](int) { return 8; }), {"dead red 200-200"}},
      {"column at 9", Column(200, kRed, [](int) { return 9; }), {"weak red 200-200"}},
      {"column at 247", Column(200, kRed, [](int) { return 247; }), {"stuck red 200-200"}},
      {"column at 246", Column(200, kRed, [](int) { return 246; }), {"strong red 200-200"}},
      // A band counts as a column does, across the width.
      {"band 3 above", Band(60, kGreen, 3), {}},
      {"band 5 above", Band(60, kGreen, 5), {"high band green 60-61"}},
      {"band across 62 %", Band(60, kRed, -20, 0.62), {}},
      {"band across 88 %", Band(60, kRed, -20, 0.88), {"low band red 60-61"}},
      // Clipped over 1 % of the samples.
      {"0.92 % at 0", ZeroPatch(38), {}},
      {"1.12 % at 0", ZeroPatch(42), {"clipped at 0 red 0-0"}},
      // Dim: red below 80 % of green's film base, green below 35 % of red's, blue below 20 %
      // of red's or 30 % of green's.
      {"red at 55 %", Scaled(kRed, 0.55), {}},
      {"red at 52 %", Scaled(kRed, 0.52), {"dim red 0-0"}},
      {"green at 53 %", Scaled(kGreen, 0.53), {}},
      {"green at 50 %", Scaled(kGreen, 0.50), {"dim green 0-0"}},
      {"blue at 52 %", Scaled(kBlue, 0.52), {}},
      {"blue at 47 %", Scaled(kBlue, 0.47), {"dim blue 0-0"}},
  };
  for (const auto& [name, paint, expected] : cases) {
    EXPECT_EQ(Findings(paint), expected) << name;
  }
}

}  // namespace
