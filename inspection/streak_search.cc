#include "inspection/streak_search.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "inspection/inspection_limits.h"

namespace {

constexpr double kNoNeighbours = std::numeric_limits<double>::quiet_NaN();

// Median of a sorted window.
double MiddleOf(const double* sorted, uint32_t count) {
  return count % 2 == 1 ? sorted[count / 2] : (sorted[count / 2 - 1] + sorted[count / 2]) / 2;
}

// The median of line i's neighbours on one side (`side` -1: before it, +1: after it), every
// step-th line, as many as there are up to kNeighbourLines; none where there are none.
double SideMedian(uint32_t i, uint32_t count, uint32_t step, int side, auto&& value) {
  const uint32_t room = side < 0 ? i / step : (count - 1 - i) / step;
  const uint32_t reach = std::min(kNeighbourLines, room);
  if (reach == 0) return kNoNeighbours;
  double window[kNeighbourLines];
  for (uint32_t k = 1; k <= reach; ++k) {
    window[k - 1] = value(side < 0 ? i - k * step : i + k * step);
  }
  std::sort(window, window + reach);
  return MiddleOf(window, reach);
}

// A line differs from its neighbours only when it differs from both sides in the same
// direction: an edge of the picture beside it, or a slope across it, is not a defect. Its offset
// is from the middle of both sides (so that a slope does not hide it), but at most twice its
// offset from the nearer side (so that an edge near it, which tips one side, does not count).
double OffsetFromSides(double value, double before, double after) {
  if (std::isnan(before) || std::isnan(after)) return 0;
  const double fromBefore = value - before;
  const double fromAfter = value - after;
  if (fromBefore * fromAfter <= 0) return 0;
  const double fromMiddle = value - (before + after) / 2;
  const double fromNearer =
      fromBefore > 0 ? std::min(fromBefore, fromAfter) : std::max(fromBefore, fromAfter);
  return fromMiddle > 0 ? std::min(fromMiddle, 2 * fromNearer)
                        : std::max(fromMiddle, 2 * fromNearer);
}

double OffsetAt(uint32_t i, uint32_t count, uint32_t step, auto&& value) {
  return OffsetFromSides(value(i), SideMedian(i, count, step, -1, value),
                         SideMedian(i, count, step, +1, value));
}

// The medians of every value's neighbours on one side. Where the neighbours reach their full
// count, the window slides (one value out, one in, kept sorted), which costs a fraction of
// finding each median afresh.
std::vector<double> SideMedians(const std::vector<double>& values, uint32_t step, int side) {
  const auto count = static_cast<uint32_t>(values.size());
  const auto value = [&](uint32_t k) { return values[k]; };
  std::vector<double> medians(count);
  const uint64_t reach = uint64_t{kNeighbourLines} * step;
  for (uint32_t i = 0; i < count; ++i) {
    if (side < 0 ? i < reach : i + reach >= count) {
      medians[i] = SideMedian(i, count, step, side, value);
    }
  }
  if (count <= reach) return medians;
  // Line i's window holds lines i + k * step for k from `first` to `first` + kNeighbourLines - 1.
  const int64_t first = side < 0 ? -static_cast<int64_t>(kNeighbourLines) : 1;
  const uint32_t begin = side < 0 ? static_cast<uint32_t>(reach) : 0;
  const uint32_t end = side < 0 ? count : static_cast<uint32_t>(count - reach);
  for (uint32_t start = begin; start < std::min<uint64_t>(begin + step, end); ++start) {
    const auto at = [&](uint32_t i, int64_t k) {
      return values[static_cast<size_t>(i + k * step)];
    };
    double window[kNeighbourLines];
    for (uint32_t k = 0; k < kNeighbourLines; ++k) window[k] = at(start, first + k);
    std::sort(window, window + kNeighbourLines);
    for (uint32_t i = start; i < end; i += step) {
      medians[i] = MiddleOf(window, kNeighbourLines);
      if (i + step >= end) break;
      // Moving to line i + step: out goes the first of the window, in comes one past its last.
      double* gone = std::lower_bound(window, window + kNeighbourLines, at(i, first));
      const double incoming = at(i, first + kNeighbourLines);
      double* place = std::lower_bound(window, window + kNeighbourLines, incoming);
      if (place > gone) {
        std::copy(gone + 1, place, gone);
        *(place - 1) = incoming;
      } else {
        std::copy_backward(place, gone, gone + 1);
        *place = incoming;
      }
    }
  }
  return medians;
}

// Typical size of the offsets, robust against the few that are defects: the median absolute
// deviation scaled to a standard deviation.
double Scatter(std::vector<double> offsets) {
  if (offsets.empty()) return 0;
  const auto middle = [&offsets] {
    auto at = offsets.begin() + static_cast<std::ptrdiff_t>(offsets.size() / 2);
    std::nth_element(offsets.begin(), at, offsets.end());
    return *at;
  };
  const double centre = middle();
  for (double& offset : offsets) offset = std::fabs(offset - centre);
  return 1.4826 * middle();
}

}  // namespace

uint32_t NeighbourStep(uint32_t width, uint32_t lines) {
  return std::max<uint32_t>(1, std::min(width, lines) / kShortSideLines);
}

StreakSearch FindStreaks(const LineStretches& grid) {
  const uint32_t lines = grid.lines;
  const uint32_t stretches = grid.stretches;
  const auto mean = [&](uint32_t line, uint32_t stretch) {
    return grid.means[line * grid.lineStride + stretch * grid.stretchStride] / 256.0;
  };
  std::vector<double> profile(lines);
  for (uint32_t s = 0; s < stretches; ++s) {
    for (uint32_t i = 0; i < lines; ++i) profile[i] += grid.weights[s] * mean(i, s);
  }
  const std::vector<double> before = SideMedians(profile, grid.step, -1);
  const std::vector<double> after = SideMedians(profile, grid.step, +1);
  std::vector<double> offsets(lines);
  // How far the lines stray from their neighbours: from the middle of both sides, so that grain
  // counts in full (an offset from both sides is often 0 where a line merely lies between them).
  std::vector<double> strays;
  for (uint32_t i = 0; i < lines; ++i) {
    offsets[i] = OffsetFromSides(profile[i], before[i], after[i]);
    if (!std::isnan(before[i]) && !std::isnan(after[i])) {
      strays.push_back(profile[i] - (before[i] + after[i]) / 2);
    }
  }
  const double limit = std::max(kLeastOffset, kScatterFactor * Scatter(std::move(strays)));

  std::vector<Streak> streaks;
  for (uint32_t i = 0; i < lines; ++i) {
    const double offset = offsets[i];
    if (std::fabs(offset) < limit) continue;
    double coverage = 0;
    for (uint32_t s = 0; s < stretches; ++s) {
      const double here = OffsetAt(i, lines, grid.step, [&](uint32_t k) { return mean(k, s); });
      if (here * offset > 0 && std::fabs(here) >= std::fabs(offset) / 2) {
        coverage += grid.weights[s];
      }
    }
    if (coverage < kLeastCoverage) continue;
    Streak* last = streaks.empty() ? nullptr : &streaks.back();
    if (last != nullptr && last->last + 1 == i && last->offset * offset > 0) {
      const double count = i - last->first;
      last->offset = (last->offset * count + offset) / (count + 1);
      last->level = (last->level * count + profile[i]) / (count + 1);
      last->coverage = std::min(last->coverage, coverage);
      last->last = i;
    } else {
      streaks.push_back({i, i, offset, profile[i], coverage});
    }
  }
  return {streaks, limit};
}
