#include "timefreq/cwt_grid.h"

#include <cmath>

#include "signal/number_text.h"

namespace plexo {
namespace {

// trunc(value) as a sample index; far-out values are clamped (still far beyond any limit).
long long TruncateToIndex(double value) {
  constexpr double kFar = 1e15;
  if (value >= kFar) return static_cast<long long>(kFar);
  if (value <= -kFar) return -static_cast<long long>(kFar);
  return static_cast<long long>(value);
}

bool IsPositiveNumber(double value) { return value > 0.0 && std::isfinite(value); }

// In the words of "Sampling size of %d exceeds program limit of %d!".
std::string LimitMessage(const std::string& what, long long value, const std::string& unit,
                         int limit) {
  return what + " of " + FormatD(TruncateToInt(static_cast<double>(value))) + " " + unit +
         " exceeds program limit of " + FormatD(limit) + "!";
}

}  // namespace

CwtGrid CwtGridOf(const TftRequest& request, double fileSampleInterval) {
  CwtGrid grid;
  grid.dt = request.autoTimeRes == 1 ? fileSampleInterval : request.timeRes;
  if (IsPositiveNumber(grid.dt)) {
    const double start = std::trunc(request.timeStart / grid.dt);
    const double end = std::trunc(request.timeEnd / grid.dt);
    grid.windowDefined = !std::isnan(start) && !std::isnan(end);
    if (grid.windowDefined) {
      grid.first = TruncateToIndex(start);
      grid.columns = TruncateToIndex(end) - grid.first;
    }
  }
  const double span = request.freqEnd - request.freqStart;
  if (request.autoFreqRes == 1) {
    grid.freqStep = span / 100.0;
    grid.lines = 100;
  } else {
    grid.freqStep = request.freqRes;
    const double steps = std::trunc(span / grid.freqStep);
    grid.lines = std::isnan(steps) ? 0 : TruncateToIndex(steps) + 1;
  }
  return grid;
}

std::string CwtGridProblem(const CwtGrid& grid) {
  if (!IsPositiveNumber(grid.dt)) {
    return "Time resolution of " + FormatE(grid.dt) + " s is not allowed! Value has to be > 0!";
  }
  if (!IsPositiveNumber(grid.freqStep)) {
    return "Frequency resolution of " + FormatE(grid.freqStep) +
           " Hz is not allowed! Value has to be > 0!";
  }
  if (!grid.windowDefined || grid.columns <= 0) {
    return "Time window holds no samples! Please check consistence!";
  }
  if (grid.columns > kCwtMaxColumns) {
    return LimitMessage("Time window", grid.columns, "samples", kCwtMaxColumns);
  }
  if (grid.lines < 1) return "Frequency grid holds no rows! Please check consistence!";
  if (grid.lines - 1 > kCwtMaxRows) {
    return LimitMessage("Frequency grid", grid.lines - 1, "rows", kCwtMaxRows);
  }
  return {};
}

}  // namespace plexo
