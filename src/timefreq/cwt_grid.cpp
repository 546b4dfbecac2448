#include "timefreq/cwt_grid.h"

#include <cmath>

#include "signal/number_text.h"
#include "timefreq/time_window.h"

namespace plexo {
CwtGrid CwtGridOf(const TftRequest& request, double fileSampleInterval) {
  CwtGrid grid;
  const TimeWindow window = TimeWindowOf(request, fileSampleInterval);
  grid.dt = window.dt;
  grid.windowDefined = window.defined;
  grid.first = window.first;
  grid.columns = window.length;
  const double span = request.freqEnd - request.freqStart;
  if (request.autoFreqRes) {
    grid.freqStep = span / 100.0;
    grid.lines = 100;
  } else {
    grid.freqStep = request.freqRes;
    const double steps = std::trunc(span / grid.freqStep);
    grid.lines = std::isnan(steps) ? 0 : TruncateToCount(steps) + 1;
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
