#include "plot/chart_data.h"

#include <algorithm>
#include <cmath>

namespace plexo {

double ChartValues::At(std::ptrdiff_t i) const {
  if (real != nullptr) return real[i];
  if (complex == nullptr) return 0.0;
  const Complex& v = complex[i];
  return part == Part::kRealPart ? v.re : std::hypot(v.re, v.im);
}

int ChartLine::NearestPoint(double at) const {
  if (count <= 0) return -1;
  if (x == nullptr) {
    if (!(x_step > 0.0)) return 0;
    const double i = std::round((at - first_x) / x_step);
    return static_cast<int>(std::clamp(i, 0.0, static_cast<double>(count - 1)));
  }
  const double* end = x + count;
  const double* above = std::lower_bound(x, end, at);
  if (above == x) return 0;
  if (above == end) return count - 1;
  return static_cast<int>(at - above[-1] <= *above - at ? above - 1 - x : above - x);
}

namespace {

// A range that can be drawn: a zero or non-finite height becomes the unit range around it.
AxisRange Drawable(double low, double high) {
  if (!std::isfinite(low) || !std::isfinite(high) || !(high > low)) return {low - 1.0, low + 1.0};
  return {low, high};
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

ChartData Chart(ChartQuantity x, double x_span, std::vector<ChartPanel> panels) {
  ChartData chart;
  chart.x = std::move(x);
  chart.full_x = std::isfinite(x_span) && x_span > 0.0 ? AxisRange{0.0, x_span} : AxisRange{};
  chart.panels = std::move(panels);
  return chart;
}

}  // namespace

ChartPanel SignalPanel(const ChartLine& line, double largest, const std::string& units) {
  ChartPanel panel;
  panel.line = line;
  panel.y = {"amplitude", Trimmed(units)};
  const double top = largest > 0.0 ? largest * 1.05 : 1.0;
  panel.full_y = Drawable(-top, top);
  return panel;
}

ChartPanel SpectrumPanel(const ChartLine& line, double largest, const std::string& units) {
  ChartPanel panel;
  panel.line = line;
  panel.y = {"magnitude", Trimmed(units)};
  panel.full_y = Drawable(0.0, largest > 0.0 ? largest * 1.05 : 1.0);
  return panel;
}

ChartPanel CurvePanel(const ChartLine& line, const std::string& name, double low, double high) {
  ChartPanel panel;
  panel.line = line;
  panel.y = {name, ""};
  const double margin = 0.05 * (high - low);
  panel.full_y = Drawable(low - margin, high + margin);
  return panel;
}

ChartPanel MapPanel(const ChartMap& map, const std::string& value_name) {
  ChartPanel panel;
  panel.kind = ChartPanel::Kind::kMap;
  panel.map = map;
  panel.y = {"frequency", "Hz"};
  panel.value = {value_name, ""};
  panel.full_y = Drawable(0.0, map.rows * map.row_step);
  panel.weight = 5;  // above a signal strip of weight 1, as in the preview pictures
  return panel;
}

ChartData TimeChart(double x_span, std::vector<ChartPanel> panels) {
  return Chart({"time", "s"}, x_span, std::move(panels));
}

ChartData FrequencyChart(double x_span, std::vector<ChartPanel> panels) {
  return Chart({"frequency", "Hz"}, x_span, std::move(panels));
}

}  // namespace plexo
