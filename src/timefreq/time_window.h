#pragma once
// What the two Single TFT methods share of their grids: the sample interval, the time window in
// samples, and the arithmetic that keeps out-of-range values away from integer conversions.
#include <string>

#include "timefreq/tft_request.h"

namespace plexo {

struct TimeWindow {
  double dt = 0.0;       // the file's interval with automatic time resolution, else timeRes
  bool defined = false;  // dt is a positive number and both bounds gave numbers
  long long first = 0;   // h = trunc(timeStart/dt)
  long long length = 0;  // e - h, e = trunc(timeEnd/dt)
};

TimeWindow TimeWindowOf(const TftRequest& request, double fileSampleInterval);

// trunc(value) as a sample count or index; NaN gives 0, far-out values are clamped to +-1e15
// (still far beyond every limit).
long long TruncateToCount(double value);

bool IsPositiveNumber(double value);

// "<what> of <value> <unit> exceeds program limit of <limit>!", in the words of
// "Sampling size of %d exceeds program limit of %d!".
std::string LimitMessage(const std::string& what, long long value, const std::string& unit,
                         int limit);

}  // namespace plexo
