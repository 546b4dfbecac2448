#include "timefreq/time_window.h"

#include <cmath>

#include "signal/number_text.h"

namespace plexo {

long long TruncateToCount(double value) {
  constexpr double kFar = 1e15;
  if (std::isnan(value)) return 0;
  if (value >= kFar) return static_cast<long long>(kFar);
  if (value <= -kFar) return -static_cast<long long>(kFar);
  return static_cast<long long>(value);
}

bool IsPositiveNumber(double value) { return value > 0.0 && std::isfinite(value); }

std::string LimitMessage(const std::string& what, long long value, const std::string& unit,
                         int limit) {
  // %d: the value as an int, saturated.
  return what + " of " + FormatD(TruncateToInt(static_cast<double>(value))) + " " + unit +
         " exceeds program limit of " + FormatD(limit) + "!";
}

TimeWindow TimeWindowOf(const TftRequest& request, double fileSampleInterval) {
  TimeWindow window;
  window.dt = request.autoTimeRes ? fileSampleInterval : request.timeRes;
  if (!IsPositiveNumber(window.dt)) return window;
  const double start = std::trunc(request.timeStart / window.dt);
  const double end = std::trunc(request.timeEnd / window.dt);
  window.defined = !std::isnan(start) && !std::isnan(end);
  if (window.defined) {
    window.first = TruncateToCount(start);
    window.length = TruncateToCount(end) - window.first;
  }
  return window;
}

}  // namespace plexo
