#include "plot/chart_axes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace plexo {

namespace {

bool Usable(const AxisRange& range) {
  return std::isfinite(range.low) && std::isfinite(range.high) && range.high > range.low;
}

// The power of ten of a 1-2-5 step.
int DecadeOf(double step) { return static_cast<int>(std::floor(std::log10(step) + 1e-9)); }

}  // namespace

std::vector<double> AxisTicks(const AxisRange& range, int most) {
  std::vector<double> ticks;
  if (!Usable(range) || most < 1) return ticks;
  // The smallest 1-2-5 step that gives at most `most` ticks; every step is tried from a decade
  // below the raw spacing upwards, so the choice never depends on rounding at a boundary.
  const double raw = range.Span() / std::max(1, most - 1);
  const double decade = std::pow(10.0, std::floor(std::log10(raw)) - 1);
  double step = 0.0;
  for (double power = decade;; power *= 10.0) {
    for (double mantissa : {1.0, 2.0, 5.0}) {
      const double candidate = mantissa * power;
      const double first = std::ceil(range.low / candidate - 1e-9);
      const double last = std::floor(range.high / candidate + 1e-9);
      if (last - first + 1 <= most) {
        step = candidate;
        break;
      }
    }
    if (step > 0.0) break;
  }
  const double first = std::ceil(range.low / step - 1e-9);
  const double last = std::floor(range.high / step + 1e-9);
  for (double k = first; k <= last; k += 1.0) {
    const double value = k * step;
    ticks.push_back(std::fabs(value) < step * 1e-9 ? 0.0 : value);
  }
  return ticks;
}

std::string TickText(double value, double step) {
  if (value == 0.0) return "0";
  char text[40];
  step = std::fabs(step);
  if (!(step > 0.0) || !std::isfinite(step)) {
    std::snprintf(text, sizeof text, "%.3g", value);
    return text;
  }
  const int decade = DecadeOf(step);
  if (decade >= -3 && decade < 5) {
    std::snprintf(text, sizeof text, "%.*f", std::max(0, -decade), value);
  } else {
    const int magnitude = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    std::snprintf(text, sizeof text, "%.*e", std::clamp(magnitude - decade, 0, 15), value);
  }
  return text;
}

AxisRange ZoomAbout(const AxisRange& range, double at, double factor) {
  return {at + (range.low - at) * factor, at + (range.high - at) * factor};
}

AxisRange Confined(const AxisRange& range, const AxisRange& whole) {
  const double smallest = whole.Span() * 1e-9;
  if (!std::isfinite(range.low) || !std::isfinite(range.high)) return whole;
  AxisRange r{std::min(range.low, range.high), std::max(range.low, range.high)};
  if (r.Span() < smallest) {
    const double middle = 0.5 * (r.low + r.high);
    r = {middle - 0.5 * smallest, middle + 0.5 * smallest};
  }
  if (r.Span() >= whole.Span()) return whole;
  if (r.low < whole.low) r = {whole.low, whole.low + r.Span()};
  if (r.high > whole.high) r = {whole.high - r.Span(), whole.high};
  return r;
}

AxisRange Shifted(const AxisRange& range, double delta, const AxisRange& whole) {
  return Confined({range.low + delta, range.high + delta}, whole);
}

AxisRange RangeBetween(const AxisPixels& axis, double pixel_a, double pixel_b) {
  const double a = axis.Value(pixel_a);
  const double b = axis.Value(pixel_b);
  return {std::min(a, b), std::max(a, b)};
}

}  // namespace plexo
