#pragma once
// What an interactive chart shows, described by its data rather than by a picture: one or more
// panels stacked from top to bottom on a shared horizontal axis, each a line graph (a waveform,
// a spectrum) or a coefficient map. The window redraws it at any range and size, and reads the
// value under the mouse from the data.
//
// The data are borrowed, not copied: the pointers must stay valid while the chart is shown
// (a preview window is shown while the calculation waits, so its buffers stay put).
#include <cstddef>
#include <string>
#include <vector>

#include "signal/complex.h"

namespace plexo {

// A closed interval of one axis, low < high for a chart that can be drawn.
struct AxisRange {
  double low = 0.0;
  double high = 1.0;
  double Span() const { return high - low; }
  bool operator==(const AxisRange&) const = default;
};

// Values read from real or complex buffers: real values as they are, complex ones as their real
// part or their modulus.
struct ChartValues {
  enum class Part { kReal, kRealPart, kModulus };
  const double* real = nullptr;
  const Complex* complex = nullptr;
  Part part = Part::kReal;
  double At(std::ptrdiff_t i) const;
  bool Empty() const { return real == nullptr && complex == nullptr; }
};

// A line graph of `count` points: point i at x(i) = x[i] where an x buffer is given (the
// frequencies of an FFT file), else first_x + i * x_step.
struct ChartLine {
  ChartValues y;
  int count = 0;
  const double* x = nullptr;
  double first_x = 0.0;
  double x_step = 1.0;
  double X(int i) const { return x != nullptr ? x[i] : first_x + i * x_step; }
  // The point nearest to horizontal position `at` (x increasing with i); -1 without points.
  int NearestPoint(double at) const;
};

// A map of rows x columns cells, cell (r, c) at values.At(r * row_stride + c); it covers
// x in [c * column_step, (c + 1) * column_step) and y in [r * row_step, (r + 1) * row_step).
struct ChartMap {
  ChartValues values;
  int rows = 0;
  int columns = 0;
  std::ptrdiff_t row_stride = 0;
  double column_step = 1.0;
  double row_step = 1.0;
  double largest = 0.0;  // the top of the colour scale
  double At(int r, int c) const { return values.At(r * row_stride + c); }
};

// The name and unit of an axis or of a map's values ("time", "s").
struct ChartQuantity {
  std::string name;
  std::string unit;
};

// A vertical line across a panel at horizontal position x, its label at the top (an onset pick).
// The primary style is the one a panel's own result takes, the secondary one a second opinion
// (a corrected pick beside the automatic one), the bound a limit that follows from them (the end
// of a window).
struct ChartMarker {
  enum class Style { kPrimary, kSecondary, kBound };
  double x = 0.0;
  std::string label;
  Style style = Style::kPrimary;
  bool operator==(const ChartMarker&) const = default;
};

struct ChartPanel {
  enum class Kind { kLine, kMap };
  Kind kind = Kind::kLine;
  ChartLine line;
  ChartMap map;
  ChartQuantity y;
  ChartQuantity value;  // a map's coefficients
  AxisRange full_y;     // the vertical range of the whole chart
  int weight = 1;       // its share of the window's height
  std::vector<ChartMarker> markers;
  std::string note;  // a sentence shown inside the panel (why its curve means nothing)
};

struct ChartData {
  ChartQuantity x;
  AxisRange full_x;
  std::vector<ChartPanel> panels;
};

// The panels of the charts the program shows. `largest` is the M the preview picture was
// scaled with (0 for a flat line, drawn in a range of +-1).
ChartPanel SignalPanel(const ChartLine& line, double largest, const std::string& units);
ChartPanel SpectrumPanel(const ChartLine& line, double largest, const std::string& units);
ChartPanel MapPanel(const ChartMap& map, const std::string& value_name);
// A line of values without a unit (a criterion) between `low` and `high`, with a margin.
ChartPanel CurvePanel(const ChartLine& line, const std::string& name, double low, double high);

// A chart of panels over x from 0 to `x_span` in the quantity "time" (s) or "frequency" (Hz).
ChartData TimeChart(double x_span, std::vector<ChartPanel> panels);
ChartData FrequencyChart(double x_span, std::vector<ChartPanel> panels);

}  // namespace plexo
