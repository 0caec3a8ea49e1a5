#include "inspection/report_text.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "inspection/inspection_limits.h"

namespace {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
  char text[512];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  return text;
}

double Percent(double share) {
  return 100 * share;
}

std::string Place(const char* one, const char* many, const Finding& finding) {
  return finding.first == finding.last ? Format("%s %u", one, finding.first)
                                       : Format("%s %u-%u", many, finding.first, finding.last);
}

std::string ImageLine(const InspectionReport& report) {
  std::string line = Format("image %u x %u pixels", report.width, report.lines);
  if (report.resolution == 0) return line + ", resolution not known";
  const double perPixel = 25.4 / report.resolution;
  return line + Format(" at %u dpi, %.1f x %.1f mm", report.resolution, report.width * perPixel,
                       report.lines * perPixel);
}

std::string NotJudgedLine(const InspectionReport& report) {
  if (report.dataLost) return "part of the image was lost: not judged";
  if (report.linesReceived < report.lines && report.width <= kLargestSide &&
      report.lines <= kLargestSide) {
    return Format("only %u of %u lines arrived: not judged", report.linesReceived, report.lines);
  }
  return Format("an image of no pixels or over %u on a side is not judged", kLargestSide);
}

std::string ChannelLine(ImageChannel channel, const ChannelStatistics& statistics) {
  return Format(
      "%s: minimum %u, mean %.1f, maximum %u, standard deviation %.1f, at 0 %.2f %%, "
      "at full scale %.2f %%, film base %.1f",
      ChannelName(channel), statistics.minimum, statistics.mean, statistics.maximum,
      statistics.standardDeviation, Percent(statistics.shareAtZero),
      Percent(statistics.shareAtFullScale), statistics.filmBase);
}

std::string FindingLine(const Finding& finding) {
  const char* channel = ChannelName(finding.channel);
  const char* direction = finding.offset < 0 ? "below" : "above";
  const double size = std::fabs(finding.offset);
  switch (finding.kind) {
    case FindingKind::kDeadColumns:
    case FindingKind::kStuckColumns:
    case FindingKind::kWeakColumns:
    case FindingKind::kStrongColumns:
      return Place("column", "columns", finding) +
             Format(
                 ", %s: %s, level %.1f, %.1f levels %s the columns beside, over %.0f %% of "
                 "the frame's length (a defect from %.1f levels over %.0f %%)",
                 channel, FindingName(finding.kind), finding.level, size, direction,
                 Percent(finding.extent), finding.limit, Percent(kLeastCoverage));
    case FindingKind::kLowBand:
    case FindingKind::kHighBand:
      return Place("row", "rows", finding) +
             Format(
                 ", %s: band %.1f levels %s the rows around it, across %.0f %% of the "
                 "frame's width (a defect from %.1f levels over %.0f %%)",
                 channel, size, direction, Percent(finding.extent), finding.limit,
                 Percent(kLeastCoverage));
    case FindingKind::kDimChannel:
      if (finding.comparedWith == ImageChannel::kAll) {
        return Format("%s: dim, film base %.1f, below the least film base of %.0f levels", channel,
                      finding.level, kLeastFilmBase);
      }
      return Format("%s: dim, film base %.1f, below %.0f %% of %s's %.1f", channel, finding.level,
                    Percent(finding.leastShare), ChannelName(finding.comparedWith),
                    finding.comparedLevel);
    case FindingKind::kClippedAtZero:
    case FindingKind::kClippedAtFullScale:
      return Format("%s: %s, %.2f %% of its samples (a defect over %.0f %%)", channel,
                    FindingName(finding.kind), Percent(finding.extent), Percent(finding.limit));
  }
  return {};
}

// What "no defect found" means for this picture: a busy one raises the least offsets.
std::string LimitsLine(const InspectionReport& report) {
  const double* columns = report.columnLimits;
  const double* bands = report.bandLimits;
  return Format(
      "least offsets (red, green, blue): columns %.1f, %.1f, %.1f levels, bands %.1f, %.1f, "
      "%.1f levels",
      columns[0], columns[1], columns[2], bands[0], bands[1], bands[2]);
}

}  // namespace

const char* ChannelName(ImageChannel channel) {
  switch (channel) {
    case ImageChannel::kRed:
      return "red";
    case ImageChannel::kGreen:
      return "green";
    case ImageChannel::kBlue:
      return "blue";
    case ImageChannel::kAll:
      break;
  }
  return "all channels";
}

const char* FindingName(FindingKind kind) {
  switch (kind) {
    case FindingKind::kDeadColumns:
      return "dead";
    case FindingKind::kStuckColumns:
      return "stuck";
    case FindingKind::kWeakColumns:
      return "weak";
    case FindingKind::kStrongColumns:
      return "strong";
    case FindingKind::kLowBand:
      return "low band";
    case FindingKind::kHighBand:
      return "high band";
    case FindingKind::kDimChannel:
      return "dim";
    case FindingKind::kClippedAtZero:
      return "clipped at 0";
    case FindingKind::kClippedAtFullScale:
      return "clipped at full scale";
  }
  return "";
}

std::string Verdict(const InspectionReport& report) {
  if (!report.judged) return "not judged";
  const size_t count = report.findings.size();
  if (count == 0) return "no defect found";
  return Format("%u defect%s found", static_cast<unsigned>(count), count == 1 ? "" : "s");
}

std::vector<std::string> ReportLines(const InspectionReport& report) {
  std::vector<std::string> lines = {ImageLine(report)};
  if (!report.judged) {
    lines.push_back(NotJudgedLine(report));
  } else {
    for (int c = 0; c < 3; ++c) {
      lines.push_back(ChannelLine(static_cast<ImageChannel>(c), report.channels[c]));
    }
    for (const Finding& finding : report.findings) lines.push_back(FindingLine(finding));
    lines.push_back(LimitsLine(report));
  }
  lines.push_back(Verdict(report));
  return lines;
}
