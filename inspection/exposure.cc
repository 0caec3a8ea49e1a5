#include "inspection/exposure.h"

#include <algorithm>
#include <cmath>

#include "inspection/inspection_limits.h"

namespace {

// Levels are counted in steps of 1/16 level: finer than the film's levels need.
constexpr int kStepsPerLevel = 16;
constexpr int kSteps = 256 * kStepsPerLevel;

double Quantile(const std::vector<uint32_t>& histogram, uint64_t count, double share) {
  const auto wanted = static_cast<uint64_t>(std::llround(share * static_cast<double>(count - 1)));
  uint64_t below = 0;
  for (int step = 0; step < kSteps; ++step) {
    below += histogram[step];
    if (below > wanted) return static_cast<double>(step) / kStepsPerLevel;
  }
  return 255;
}

}  // namespace

FilmLevels MeasureFilmLevels(const uint16_t* means, uint32_t columns, uint32_t stretches,
                             const std::vector<bool>& excluded) {
  std::vector<uint32_t> histogram(kSteps);
  uint64_t count = 0;
  for (uint32_t s = 0; s < stretches; ++s) {
    for (uint32_t x = 0; x < columns; ++x) {
      if (excluded[x]) continue;
      ++histogram[means[size_t{s} * columns + x] * kStepsPerLevel / 256];
      ++count;
    }
  }
  if (count == 0) return {};
  return {Quantile(histogram, count, kFilmBaseQuantile),
          Quantile(histogram, count, kDensestQuantile)};
}

void AddExposureFindings(const ChannelStatistics (&channels)[3], const double (&clippedAtZero)[3],
                         const double (&clippedAtFullScale)[3], std::vector<Finding>& findings) {
  for (int c = 0; c < 3; ++c) {
    const auto channel = static_cast<ImageChannel>(c);
    const double base = channels[c].filmBase;
    Finding dim{FindingKind::kDimChannel, channel};
    dim.level = base;
    bool isDim = base < kLeastFilmBase;
    if (isDim) {
      dim.comparedLevel = 255;
      dim.leastShare = kLeastFilmBase / 255;
    }
    for (const DimLimit& rule : kDimLimits) {
      const double compared = channels[static_cast<int>(rule.compared)].filmBase;
      if (isDim || rule.channel != channel || base >= rule.leastShare * compared) continue;
      isDim = true;
      dim.comparedWith = rule.compared;
      dim.comparedLevel = compared;
      dim.leastShare = rule.leastShare;
    }
    if (isDim) findings.push_back(dim);
    const struct {
      FindingKind kind;
      double share;
    } clipped[] = {{FindingKind::kClippedAtZero, clippedAtZero[c]},
                   {FindingKind::kClippedAtFullScale, clippedAtFullScale[c]}};
    for (const auto& [kind, share] : clipped) {
      if (share <= kClippedShare) continue;
      Finding finding{kind, channel};
      finding.extent = share;
      finding.limit = kClippedShare;
      findings.push_back(finding);
    }
  }
}
