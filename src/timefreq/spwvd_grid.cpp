#include "timefreq/spwvd_grid.h"

#include <algorithm>
#include <cmath>

#include "signal/number_text.h"
#include "timefreq/spwvd_core.h"
#include "timefreq/time_window.h"

namespace plexo {
namespace {

// The smallest bin index k with k * step >= frequency; a frequency within a billionth of a step
// of a bin counts as that bin, so rounding in the quotient adds no line. -1 for a NaN.
long long FirstBinAtOrAbove(double frequency, double step) {
  const double q = frequency / step;
  if (std::isnan(q)) return -1;
  const double nearest = std::round(q);
  if (std::fabs(q - nearest) <= 1e-9) return TruncateToCount(nearest);
  return TruncateToCount(std::ceil(q));
}

}  // namespace

SpwvdGrid SpwvdWindowOf(const TftRequest& request, double fileSampleInterval) {
  SpwvdGrid grid;
  const TimeWindow window = TimeWindowOf(request, fileSampleInterval);
  grid.dt = window.dt;
  grid.windowDefined = window.defined;
  grid.first = window.first;
  grid.samples = window.length;
  return grid;
}

void CompleteSpwvdGrid(SpwvdGrid& grid, const TftRequest& request) {
  const int subsampling = request.subsampling;
  grid.decimatedDt = grid.dt * subsampling;
  grid.decimatedFs = 1.0 / grid.decimatedDt;
  grid.columns = grid.samples / subsampling;
  grid.span = request.freqEnd - request.freqStart;
  if (request.autoFreqRes) {
    grid.freqStep = grid.span / 600.0 * 0.5;
    grid.nFreq = 600;
  } else {
    grid.freqStep = request.freqRes;
    grid.nFreq = TruncateToCount(grid.decimatedFs / grid.freqStep);
  }
  grid.binStep = grid.decimatedFs / (2.0 * static_cast<double>(grid.nFreq));
  grid.shownBins =
      2 * TruncateToCount(grid.span * static_cast<double>(grid.nFreq) / grid.decimatedFs);
  // A negative end still has bin 0; beyond fs'/4 the run is refused, so N_freq - 1 only bounds
  // the smallest transforms.
  grid.topBin = grid.nFreq > 0 ? std::clamp(FirstBinAtOrAbove(request.freqEnd, grid.binStep), 0LL,
                                            grid.nFreq - 1)
                               : -1;
  grid.lines = grid.topBin + 2;
}

std::string SpwvdWindowProblem(const SpwvdGrid& grid) {
  if (!IsPositiveNumber(grid.dt)) {
    return "Time resolution of " + FormatE(grid.dt) + " s is not allowed! Value has to be > 0!";
  }
  if (!grid.windowDefined) return "Time window holds no samples! Please check consistence!";
  if (grid.samples > kSpwvdMaxWindowSamples) {
    return LimitMessage("Time window", grid.samples, "samples", kSpwvdMaxWindowSamples);
  }
  return {};
}

std::string SpwvdSubsamplingProblem(int subsampling) {
  if (subsampling > 0) return {};
  return "Subsampling size " + FormatD(subsampling) + " is not allowed! Value has to be > 0!";
}

bool SpwvdSubsamplingTooHigh(const SpwvdGrid& grid, const TftRequest& request) {
  return std::pow(grid.dt, -1.0) / request.subsampling * 0.25 < request.freqEnd;
}

std::string SpwvdFrequencyProblem(const SpwvdGrid& grid) {
  if (!IsPositiveNumber(grid.freqStep)) {
    return "Frequency resolution of " + FormatE(grid.freqStep) +
           " Hz is not allowed! Value has to be > 0!";
  }
  if (std::isnan(grid.span) || grid.shownBins < 0) {
    return "Frequency grid holds no rows! Please check consistence!";
  }
  // No bin to show (for instance frequency start = end) would leave the map empty, its white
  // axes and labels on a white ground, above a file without rows. N_freq = 0 is left to the
  // distribution's own message.
  if (grid.shownBins == 0 && grid.nFreq > 0) {
    return "Frequency grid holds no rows! Please check consistence!";
  }
  if (grid.nFreq > SPWVD_MAX_TRANSFORM_LENGTH) return SpwvdTransformLengthMessage(grid.nFreq);
  if (grid.shownBins > kSpwvdMaxShownBins) {
    return LimitMessage("Frequency grid", grid.shownBins, "bins", kSpwvdMaxShownBins);
  }
  if (grid.FileRows() > kSpwvdMaxFileRows) {
    return LimitMessage("Frequency grid", grid.FileRows(), "rows", kSpwvdMaxFileRows);
  }
  return {};
}

}  // namespace plexo
