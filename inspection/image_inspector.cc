#include "inspection/image_inspector.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "inspection/exposure.h"
#include "inspection/inspection_limits.h"
#include "inspection/streak_search.h"

namespace {

// Levels are means of whole levels: what differs from a limit by rounding alone meets it.
constexpr double kRounding = 1e-6;

FindingKind ColumnKind(const Streak& streak) {
  if (streak.offset < 0) {
    return streak.level <= kDeadLevel + kRounding ? FindingKind::kDeadColumns
                                                  : FindingKind::kWeakColumns;
  }
  return streak.level >= kStuckLevel - kRounding ? FindingKind::kStuckColumns
                                                 : FindingKind::kStrongColumns;
}

Finding StreakFinding(FindingKind kind, int channel, const Streak& streak, double limit) {
  Finding finding{kind, static_cast<ImageChannel>(channel)};
  finding.first = streak.first;
  finding.last = streak.last;
  finding.offset = streak.offset;
  finding.limit = limit;
  finding.level = streak.level;
  finding.extent = streak.coverage;
  return finding;
}

// Findings of one kind in all three channels at the same place are one finding of all channels.
std::vector<Finding> MergeChannels(const std::vector<Finding>& findings) {
  std::vector<Finding> merged;
  std::vector<bool> taken(findings.size());
  for (size_t i = 0; i < findings.size(); ++i) {
    if (taken[i]) continue;
    Finding finding = findings[i];
    std::vector<size_t> same = {i};
    for (size_t j = i + 1; j < findings.size(); ++j) {
      const Finding& other = findings[j];
      if (!taken[j] && other.kind == finding.kind && other.channel != finding.channel &&
          other.first <= finding.last && finding.first <= other.last &&
          std::none_of(same.begin(), same.end(),
                       [&](size_t k) { return findings[k].channel == other.channel; })) {
        same.push_back(j);
      }
    }
    if (same.size() == 3) {
      finding.channel = ImageChannel::kAll;
      finding.offset = finding.level = finding.limit = 0;
      for (const size_t k : same) {
        const Finding& channelFinding = findings[k];
        taken[k] = true;
        finding.first = std::min(finding.first, channelFinding.first);
        finding.last = std::max(finding.last, channelFinding.last);
        finding.offset += channelFinding.offset / 3;
        finding.level += channelFinding.level / 3;
        finding.limit = std::max(finding.limit, channelFinding.limit);
        finding.extent = std::min(finding.extent, channelFinding.extent);
      }
    }
    merged.push_back(finding);
  }
  return merged;
}

}  // namespace

void ImageInspector::Begin(uint32_t width, uint32_t lines, uint32_t resolution, bool keepPreview) {
  *this = ImageInspector();
  width_ = width;
  lines_ = lines;
  resolution_ = resolution;
  tooLarge_ = width == 0 || lines == 0 || width > kLargestSide || lines > kLargestSide;
  if (tooLarge_) return;
  const size_t samples = size_t{width} * 3;
  stretches_ = std::min(kStretches, lines);
  stretchEnd_ = lines / stretches_;
  for (uint32_t s = 0; s < stretches_; ++s) {
    const uint32_t rows = (s + 1) * uint64_t{lines} / stretches_ - s * uint64_t{lines} / stretches_;
    stretchWeights_.push_back(static_cast<double>(rows) / lines);
  }
  shortSums_.assign(samples, 0);
  sums_.assign(samples, 0);
  columnMeans_.assign(samples * stretches_, 0);
  segments_ = CutIntoSegments(width);
  for (uint32_t j = 0; j < segments_.count; ++j) {
    segmentWeights_.push_back(static_cast<double>(segments_.pixels[j]) / width);
    segmentScales_[j] = 256.0 / segments_.pixels[j];
  }
  rowMeans_.assign(size_t{lines} * segments_.count * 3, 0);
  std::fill(minimum_, minimum_ + 3, uint8_t{255});
  atZero_.assign(samples, 0);
  atFullScale_.assign(samples, 0);
  if (keepPreview) preview_ = std::make_unique<PreviewReduction>(width, lines);
}

void ImageInspector::AddRow(const uint8_t* rgb) {
  if (tooLarge_ || rowsAdded_ >= lines_) return;
  const size_t samples = size_t{width_} * 3;
  RowSummary summary;
  const bool sampled = rowsAdded_ % kDeviationRowStep == 0;
  SummarizeRow(rgb, width_, segments_, sampled, summary);
  for (int c = 0; c < 3; ++c) {
    uint16_t* means = &rowMeans_[(static_cast<size_t>(c) * lines_ + rowsAdded_) * segments_.count];
    uint64_t sum = 0;
    for (uint32_t j = 0; j < segments_.count; ++j) {
      sum += summary.segmentSums[j][c];
      means[j] = static_cast<uint16_t>(summary.segmentSums[j][c] * segmentScales_[j] + 0.5);
    }
    sampleSums_[c] += sum;
    if (sampled) sampledSums_[c] += sum;
    squareSums_[c] += summary.squares[c];
    minimum_[c] = std::min(minimum_[c], summary.minimum[c]);
    maximum_[c] = std::max(maximum_[c], summary.maximum[c]);
  }
  // Clipped samples are rare in a sound scan: they are counted only in rows that hold some.
  if (std::min({summary.minimum[0], summary.minimum[1], summary.minimum[2]}) == 0) {
    CountSamplesAt(rgb, samples, 0, atZero_.data());
  }
  if (std::max({summary.maximum[0], summary.maximum[1], summary.maximum[2]}) == 255) {
    CountSamplesAt(rgb, samples, 255, atFullScale_.data());
  }
  AddSamples(rgb, samples, shortSums_.data());
  if (++rowsInShortSums_ == 256) {
    for (size_t i = 0; i < samples; ++i) sums_[i] += shortSums_[i];
    std::fill(shortSums_.begin(), shortSums_.end(), uint16_t{0});
    rowsInShortSums_ = 0;
  }
  if (preview_) preview_->AddRow(rgb);
  if (++rowsAdded_ == stretchEnd_) EndStretch();
}

void ImageInspector::EndStretch() {
  const uint32_t first = static_cast<uint32_t>(stretch_ * uint64_t{lines_} / stretches_);
  const double scale = 256.0 / (stretchEnd_ - first);
  for (size_t channel = 0; channel < 3; ++channel) {
    uint16_t* means = &columnMeans_[(channel * stretches_ + stretch_) * width_];
    for (size_t column = 0; column < width_; ++column) {
      const size_t i = column * 3 + channel;
      means[column] =
          static_cast<uint16_t>((static_cast<double>(sums_[i]) + shortSums_[i]) * scale + 0.5);
    }
  }
  std::fill(sums_.begin(), sums_.end(), 0u);
  std::fill(shortSums_.begin(), shortSums_.end(), uint16_t{0});
  rowsInShortSums_ = 0;
  ++stretch_;
  stretchEnd_ = static_cast<uint32_t>((stretch_ + 1) * uint64_t{lines_} / stretches_);
}

InspectionReport ImageInspector::End(bool dataLost) {
  InspectionReport report;
  report.width = width_;
  report.lines = lines_;
  report.resolution = resolution_;
  report.linesReceived = rowsAdded_;
  report.dataLost = dataLost;
  report.judged = !tooLarge_ && !dataLost && rowsAdded_ == lines_;
  if (!report.judged) return report;

  const double samples = static_cast<double>(width_) * lines_;
  for (int c = 0; c < 3; ++c) {
    ChannelStatistics& statistics = report.channels[c];
    statistics.minimum = minimum_[c];
    statistics.maximum = maximum_[c];
    statistics.mean = sampleSums_[c] / samples;
    const double sampled =
        static_cast<double>((lines_ + kDeviationRowStep - 1) / kDeviationRowStep) * width_;
    const double sampledMean = sampledSums_[c] / sampled;
    statistics.standardDeviation =
        std::sqrt(std::max(0.0, squareSums_[c] / sampled - sampledMean * sampledMean));
    uint64_t atZero = 0, atFullScale = 0;
    for (uint32_t x = 0; x < width_; ++x) {
      atZero += atZero_[size_t{x} * 3 + c];
      atFullScale += atFullScale_[size_t{x} * 3 + c];
    }
    statistics.shareAtZero = atZero / samples;
    statistics.shareAtFullScale = atFullScale / samples;
  }
  std::vector<bool> excluded[3];
  JudgeColumns(report, excluded);
  JudgeRows(report);
  MeasureExposure(report, excluded);
  report.findings = MergeChannels(report.findings);
  // Columns from left to right, then bands from top to bottom, then the exposure.
  std::stable_sort(
      report.findings.begin(), report.findings.end(), [](const Finding& a, const Finding& b) {
        const auto group = [](const Finding& f) {
          return f.kind <= FindingKind::kStrongColumns ? 0
                 : f.kind <= FindingKind::kHighBand    ? 1
                                                       : 2;
        };
        return std::tuple(group(a), a.first, a.channel) < std::tuple(group(b), b.first, b.channel);
      });
  return report;
}

void ImageInspector::JudgeColumns(InspectionReport& report,
                                  std::vector<bool> (&excluded)[3]) const {
  for (int c = 0; c < 3; ++c) {
    excluded[c].assign(width_, false);
    const LineStretches grid{&columnMeans_[static_cast<size_t>(c) * width_ * stretches_],
                             width_,
                             stretches_,
                             1,
                             width_,
                             stretchWeights_,
                             NeighbourStep(width_, lines_)};
    const StreakSearch search = FindStreaks(grid);
    report.columnLimits[c] = search.limit;
    for (const Streak& streak : search.streaks) {
      report.findings.push_back(StreakFinding(ColumnKind(streak), c, streak, search.limit));
      for (uint32_t x = streak.first; x <= streak.last; ++x) excluded[c][x] = true;
    }
  }
}

void ImageInspector::JudgeRows(InspectionReport& report) const {
  for (int c = 0; c < 3; ++c) {
    const LineStretches grid{&rowMeans_[static_cast<size_t>(c) * lines_ * segments_.count],
                             lines_,
                             segments_.count,
                             segments_.count,
                             1,
                             segmentWeights_,
                             NeighbourStep(width_, lines_)};
    const StreakSearch search = FindStreaks(grid);
    report.bandLimits[c] = search.limit;
    for (const Streak& streak : search.streaks) {
      const FindingKind kind = streak.offset < 0 ? FindingKind::kLowBand : FindingKind::kHighBand;
      report.findings.push_back(StreakFinding(kind, c, streak, search.limit));
    }
  }
}

// The film base is measured, and clipping counted, outside the column defects: a stuck column
// is not the film's level, nor does it clip the exposure.
void ImageInspector::MeasureExposure(InspectionReport& report,
                                     const std::vector<bool> (&excluded)[3]) const {
  double clippedAtZero[3], clippedAtFullScale[3];
  for (int c = 0; c < 3; ++c) {
    const FilmLevels levels =
        MeasureFilmLevels(&columnMeans_[static_cast<size_t>(c) * width_ * stretches_], width_,
                          stretches_, excluded[c]);
    report.channels[c].filmBase = levels.base;
    report.channels[c].densest = levels.densest;
    uint64_t atZero = 0, atFullScale = 0, columns = 0;
    for (uint32_t x = 0; x < width_; ++x) {
      if (excluded[c][x]) continue;
      ++columns;
      atZero += atZero_[size_t{x} * 3 + c];
      atFullScale += atFullScale_[size_t{x} * 3 + c];
    }
    const double samples = std::max<double>(1, static_cast<double>(columns) * lines_);
    clippedAtZero[c] = atZero / samples;
    clippedAtFullScale[c] = atFullScale / samples;
  }
  AddExposureFindings(report.channels, clippedAtZero, clippedAtFullScale, report.findings);
}

std::optional<PreviewPicture> ImageInspector::Preview(const InspectionReport& report) const {
  if (!preview_ || !report.judged) return std::nullopt;
  return preview_->Positive(report);
}
