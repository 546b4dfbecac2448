#pragma once
// The arithmetic of an interactive chart's axes: where the numbered ticks go, how a range
// follows a wheel turn, a dragged rectangle or a pan, and how pixels and values map onto each
// other. No drawing here.
#include <string>
#include <vector>

#include "plot/chart_data.h"

namespace plexo {

// Tick values at the multiples inside the range of the smallest step of 1, 2 or 5 times a power
// of ten that gives at most `most` of them (a narrow range may get a single tick). Empty for a
// range that is empty or not finite.
std::vector<double> AxisTicks(const AxisRange& range, int most);

// The tick label: as few significant digits as tell neighbouring ticks `step` apart apart,
// plainly for moderate magnitudes ("0.25", "1500") and as "2.5e-06" otherwise; 0 as "0".
std::string TickText(double value, double step);

// The range shrunk (factor < 1) or grown (factor > 1) about `at`, which stays where it is.
AxisRange ZoomAbout(const AxisRange& range, double at, double factor);

// The range moved by `delta`, kept inside `whole` when it fits there.
AxisRange Shifted(const AxisRange& range, double delta, const AxisRange& whole);

// A range kept inside `whole` (moved back in, or cut to it when wider) and never narrower
// than `whole`'s span times 1e-9, so that a zoom cannot reach a range floating point cannot
// resolve.
AxisRange Confined(const AxisRange& range, const AxisRange& whole);

// The mapping of an axis range onto pixels: `from` is the pixel of range.low, `to` that of
// range.high (to < from for a vertical axis, whose values grow upwards).
struct AxisPixels {
  AxisRange range;
  double from = 0.0;
  double to = 1.0;
  double Pixel(double value) const {
    return from + (value - range.low) / range.Span() * (to - from);
  }
  double Value(double pixel) const {
    return range.low + (pixel - from) / (to - from) * range.Span();
  }
};

// The range between two pixels of an axis (in either order).
AxisRange RangeBetween(const AxisPixels& axis, double pixel_a, double pixel_b);

}  // namespace plexo
