#include "timefreq/align_on_threshold.h"

#include <cmath>

#include "signal/waveform.h"

namespace plexo {
namespace {

// The first index from kFirstAlignmentSample on whose real part exceeds the threshold; 0 when
// there is none.
int FirstCrossing(const Complex* x, int count, double threshold) {
  for (int i = kFirstAlignmentSample; i < count; ++i) {
    if (std::fabs(x[i].re) > threshold) return i;
  }
  return 0;
}

void Zero(Complex* x, int from, int to) {
  for (int i = from; i < to; ++i) x[i] = Complex{};
}

}  // namespace

void AlignOnThreshold(Complex* x, int count, double threshold, int target) {
  if (count <= 0) return;
  // In 64 bits: a target near the int range must not overflow the difference.
  const long long shift = static_cast<long long>(target) - FirstCrossing(x, count, threshold);
  if (shift >= count || shift <= -count) {
    Zero(x, 0, count);
  } else if (shift > 0) {
    const int s = static_cast<int>(shift);
    // From the end downwards, so that no sample is overwritten before it has moved.
    for (int i = count - 1; i >= s; --i) x[i] = x[i - s];
    Zero(x, 0, s);
  } else if (shift < 0) {
    const int s = static_cast<int>(-shift);
    for (int i = 0; i + s < count; ++i) x[i] = x[i + s];
    Zero(x, count - s, count);
  }
}

int AlignmentTarget(double timeStart, double timeEnd, double dt) {
  const double quotient = (0.2 * (timeEnd - timeStart) + timeStart) / dt;
  if (std::isnan(quotient)) return 0;
  constexpr double kLimit = 2.0 * MAX_SAMPLES;
  if (quotient >= kLimit) return static_cast<int>(kLimit);
  if (quotient <= -kLimit) return -static_cast<int>(kLimit);
  return static_cast<int>(std::trunc(quotient));
}

}  // namespace plexo
