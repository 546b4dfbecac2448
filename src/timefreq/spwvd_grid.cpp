#include "timefreq/spwvd_grid.h"

#include <cmath>

#include "signal/number_text.h"
#include "timefreq/spwvd_core.h"

namespace plexo {
namespace {

// trunc(value) as a count; far-out values are clamped (still far beyond any limit), NaN is 0.
long long TruncateToCount(double value) {
  constexpr double kFar = 1e15;
  if (std::isnan(value)) return 0;
  if (value >= kFar) return static_cast<long long>(kFar);
  if (value <= -kFar) return -static_cast<long long>(kFar);
  return static_cast<long long>(value);
}

bool IsPositiveNumber(double value) { return value > 0.0 && std::isfinite(value); }

// In the words of "Sampling size of %d exceeds program limit of %d!".
std::string LimitMessage(const std::string& what, long long value, const std::string& unit,
                         int limit) {
  return what + " of " + FormatD(value) + " " + unit + " exceeds program limit of " +
         FormatD(limit) + "!";
}

}  // namespace

SpwvdGrid SpwvdWindowOf(const TftRequest& request, double fileSampleInterval) {
  SpwvdGrid grid;
  grid.dt = request.autoTimeRes == 1 ? fileSampleInterval : request.timeRes;
  if (IsPositiveNumber(grid.dt)) {
    const double start = std::trunc(request.timeStart / grid.dt);
    const double end = std::trunc(request.timeEnd / grid.dt);
    grid.windowDefined = !std::isnan(start) && !std::isnan(end);
    if (grid.windowDefined) {
      grid.first = TruncateToCount(start);
      grid.samples = TruncateToCount(end) - grid.first;
    }
  }
  return grid;
}

void CompleteSpwvdGrid(SpwvdGrid& grid, const TftRequest& request) {
  const int subsampling = request.subsampling;
  grid.decimatedDt = grid.dt * subsampling;
  grid.decimatedFs = 1.0 / grid.decimatedDt;
  grid.columns = grid.samples / subsampling;
  grid.span = request.freqEnd - request.freqStart;
  if (request.autoFreqRes == 1) {
    grid.freqStep = grid.span / 600.0 * 0.5;
    grid.nFreq = 600;
  } else {
    grid.freqStep = request.freqRes;
    grid.nFreq = TruncateToCount(grid.decimatedFs / grid.freqStep);
  }
  grid.shownBins =
      2 * TruncateToCount(grid.span * static_cast<double>(grid.nFreq) / grid.decimatedFs);
  grid.lines = grid.shownBins / 2 + 1;
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
  if (grid.nFreq > SPWVD_MAX_TRANSFORM_LENGTH) return SpwvdTransformLengthMessage(grid.nFreq);
  if (grid.shownBins > kSpwvdMaxShownBins) {
    return LimitMessage("Frequency grid", grid.shownBins, "bins", kSpwvdMaxShownBins);
  }
  return {};
}

}  // namespace plexo
