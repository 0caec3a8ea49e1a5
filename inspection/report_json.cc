#include "inspection/report_json.h"

#include <cmath>

#include "inspection/report_text.h"

namespace {

using Json = nlohmann::ordered_json;

// Two decimals are more than the levels hold; shares keep four.
double Rounded(double value, double steps = 100) {
  return std::round(value * steps) / steps;
}

const char* KindKey(FindingKind kind) {
  switch (kind) {
    case FindingKind::kDeadColumns:
      return "dead_columns";
    case FindingKind::kStuckColumns:
      return "stuck_columns";
    case FindingKind::kWeakColumns:
      return "weak_columns";
    case FindingKind::kStrongColumns:
      return "strong_columns";
    case FindingKind::kLowBand:
      return "low_band";
    case FindingKind::kHighBand:
      return "high_band";
    case FindingKind::kDimChannel:
      return "dim_channel";
    case FindingKind::kClippedAtZero:
      return "clipped_at_zero";
    case FindingKind::kClippedAtFullScale:
      return "clipped_at_full_scale";
  }
  return "";
}

Json FindingJson(const Finding& finding, const std::string& text) {
  Json json = {{"kind", KindKey(finding.kind)}, {"channel", ChannelName(finding.channel)}};
  switch (finding.kind) {
    case FindingKind::kDeadColumns:
    case FindingKind::kStuckColumns:
    case FindingKind::kWeakColumns:
    case FindingKind::kStrongColumns:
    case FindingKind::kLowBand:
    case FindingKind::kHighBand: {
      const bool columns =
          finding.kind != FindingKind::kLowBand && finding.kind != FindingKind::kHighBand;
      json["first"] = finding.first;
      json["last"] = finding.last;
      json["offset"] = Rounded(finding.offset);
      json["least_offset"] = Rounded(finding.limit);
      if (columns) json["level"] = Rounded(finding.level);
      json[columns ? "share_of_length" : "share_of_width"] = Rounded(finding.extent, 1e4);
      break;
    }
    case FindingKind::kDimChannel:
      json["film_base"] = Rounded(finding.level);
      json["compared_with"] = finding.comparedWith == ImageChannel::kAll
                                  ? Json(nullptr)
                                  : Json(ChannelName(finding.comparedWith));
      json["compared_level"] = Rounded(finding.comparedLevel);
      json["least_share"] = finding.leastShare;
      break;
    case FindingKind::kClippedAtZero:
    case FindingKind::kClippedAtFullScale:
      json["share_of_samples"] = Rounded(finding.extent, 1e4);
      json["least_share"] = finding.limit;
      break;
  }
  json["text"] = text;
  return json;
}

}  // namespace

Json ReportJson(const InspectionReport& report) {
  Json image = {{"width", report.width}, {"lines", report.lines}};
  if (report.resolution == 0) {
    image["resolution"] = nullptr;
  } else {
    image["resolution"] = report.resolution;
    image["width_mm"] = Rounded(report.width * 25.4 / report.resolution);
    image["length_mm"] = Rounded(report.lines * 25.4 / report.resolution);
  }
  Json json = {{"image", image},
               {"judged", report.judged},
               {"lines_received", report.linesReceived},
               {"data_lost", report.dataLost}};
  const std::vector<std::string> lines = ReportLines(report);
  Json channels = Json::array();
  Json findings = Json::array();
  if (report.judged) {
    for (int c = 0; c < 3; ++c) {
      const ChannelStatistics& statistics = report.channels[c];
      channels.push_back({{"channel", ChannelName(static_cast<ImageChannel>(c))},
                          {"minimum", statistics.minimum},
                          {"mean", Rounded(statistics.mean)},
                          {"maximum", statistics.maximum},
                          {"standard_deviation", Rounded(statistics.standardDeviation)},
                          {"share_at_zero", Rounded(statistics.shareAtZero, 1e6)},
                          {"share_at_full_scale", Rounded(statistics.shareAtFullScale, 1e6)},
                          {"film_base", Rounded(statistics.filmBase)},
                          {"densest", Rounded(statistics.densest)}});
    }
    // The text lines of the findings follow the image line and the three channel lines.
    for (size_t i = 0; i < report.findings.size(); ++i) {
      findings.push_back(FindingJson(report.findings[i], lines[4 + i]));
    }
  }
  json["channels"] = channels;
  if (report.judged) {
    json["least_offsets"] = {{"columns",
                              {Rounded(report.columnLimits[0]), Rounded(report.columnLimits[1]),
                               Rounded(report.columnLimits[2])}},
                             {"bands",
                              {Rounded(report.bandLimits[0]), Rounded(report.bandLimits[1]),
                               Rounded(report.bandLimits[2])}}};
  }
  json["findings"] = findings;
  json["defects"] = report.judged ? Json(report.findings.size()) : nullptr;
  json["verdict"] = Verdict(report);
  return json;
}
